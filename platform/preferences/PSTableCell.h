#pragma once

#include "platform/preferences/PSSpecifier.h"
#include "platform/uikit/UITableViewCell.h"

namespace preferences {

// The cell of one specifier: its name as the title and, by its cell type, a
// disclosure chevron for links, the title of the current choice for list
// links, the action's tint for buttons. Cells that hold a control (switch,
// slider, segments) are subclasses. A cell shows the value it read when it
// was given its specifier or last refreshed; it reads and writes values
// only through the specifier's target.
//
// Messages: initWithStyle:reuseIdentifier:specifier:, specifier,
// setSpecifier:, refreshCellContents.
class PSTableCell : public uikit::UITableViewCell {
public:
    using UITableViewCell::UITableViewCell;

    // The cell a page makes for `specifier`; nil for a group.
    static runtime::Ref<PSTableCell> make(runtime::Runtime&, PSSpecifier&);

    PSSpecifier* specifier() const { return m_specifier.get(); }
    void setSpecifier(PSSpecifier*);
    // Reads the value again and shows it.
    virtual void refreshCellContents();
    // The value as the cell shows it, in words ("on", "5", a choice's
    // title); nil for cells that show none.
    virtual foundation::Value displayedValue() const;
    // Whether a tap on the row does something (links and buttons).
    bool isSelectable() const;

    void applyAppearance(const Appearance&) override;

    static void registerClass(device::Process&);

protected:
    // The value from the target, or the specifier's "default" when the
    // target has none.
    foundation::Value currentValue() const;

private:
    runtime::Ref<PSSpecifier> m_specifier;
};

} // namespace preferences
