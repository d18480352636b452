#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/Bundle.h"
#include "platform/preferences/PSSpecifier.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UIViewController.h"

namespace preferences {

// A page of the Settings app: a grouped table of the rows its specifiers
// describe. The page asks for its specifiers through the run time
// (`specifiers`, which answers the kept list "_specifiers" unless a subclass
// does more), so a bundle's page class decides what it shows. Group
// specifiers start the table's sections; a group's name titles its section
// and its "footerText" ends it.
//
// The page is the target of its rows: `readPreferenceValue:` reads a row's
// "key" from the preference domain named by its "defaults" (the row's
// "default" when nothing is stored), and `setPreferenceValue:specifier:`
// stores the value there and posts the row's "PostNotification"
// system-wide. Tapping a link opens the page its specifier names (a list
// link opens the list of its choices), tapping a button sends its action to
// the specifier's target.
//
// Messages: loadSpecifiersFromPlistName:target:, specifiers, setSpecifiers:,
// reloadSpecifiers, reload, specifier, setSpecifier:,
// shouldReloadSpecifiersOnResume, readPreferenceValue:,
// setPreferenceValue:specifier:, bundle, table, the table's data source and
// delegate messages, and scrollViewDidScroll:.
class PSListController : public uikit::UIViewController {
public:
    struct Group {
        runtime::Ref<PSSpecifier> header; // nil before the first group specifier
        std::vector<runtime::Ref<PSSpecifier>> rows;
    };

    using UIViewController::UIViewController;

    uikit::UITableView* table() const { return m_table.get(); }
    // The settings bundle the page's files come from; nil for the app's own pages.
    foundation::Bundle* bundle() const { return m_bundle.get(); }
    void setBundle(foundation::Bundle* bundle) { m_bundle = bundle; }
    PSSpecifier* specifier() const { return m_specifier.get(); }
    // Names the page after the specifier, unless it has a title already.
    void setSpecifier(PSSpecifier*);
    // The kept list "_specifiers"; a list set that is not an array is kept empty.
    foundation::Value specifiers() const { return m_specifiers; }
    void setSpecifiers(const foundation::Value&);

    // The specifiers as the page shows them now, asked through the run time.
    std::vector<runtime::Ref<PSSpecifier>> currentSpecifiers();
    // The sections of the table as last loaded.
    const std::vector<Group>& groups() const { return m_groups; }
    PSSpecifier* specifierAt(size_t section, size_t row) const;
    std::optional<std::pair<size_t, size_t>> rowOf(const PSSpecifier*) const;
    // The cell that shows a specifier, once the table has loaded.
    uikit::UITableViewCell* cellFor(const PSSpecifier*) const;

    foundation::Value loadSpecifiersFromPlistName(const std::string& name, runtime::Object* target);
    void reloadSpecifiers();
    void reload();

    foundation::Value readPreferenceValue(PSSpecifier&) const;
    void setPreferenceValue(const foundation::Value&, PSSpecifier&);

    // What a tap on a row does (see above). Answers the page opened, if any.
    runtime::Ref<uikit::UIViewController> openLink(PSSpecifier&);
    // Sends a button's action; answers false when nothing answers it.
    bool performButtonAction(PSSpecifier&);

    static void registerClass(device::Process&);

protected:
    device::Process& process() const { return *m_process; }
    // Rebuilds the groups from the current specifiers.
    void regroup();
    // Reports a problem of the page's files on the device's trace.
    void reportProblem(const std::string& message) const;

private:
    void setUp(device::Process&);
    void makeTable();
    void didSelectRow(size_t section, size_t row);
    // Nil outside the groups.
    const Group* groupAt(int64_t section) const;
    static void defineTableMethods(runtime::ClassBuilder&);

    device::Process* m_process { nullptr };
    foundation::Value m_specifiers;
    runtime::Ref<PSSpecifier> m_specifier;
    runtime::Ref<uikit::UITableView> m_table;
    runtime::Ref<foundation::Bundle> m_bundle;
    std::vector<Group> m_groups;
};

} // namespace preferences
