#pragma once

#include <string>

#include "platform/device/Device.h"
#include "platform/foundation/Result.h"
#include "platform/runtime/Ref.h"
#include "platform/uikit/Forward.h"

namespace preferences {

class PSListController;

// The Settings app (a per-process service of the process
// "com.apple.Preferences"). Its window shows a navigation controller whose
// only page is a second navigation controller with its bar hidden, as the
// platform nests them; the inner one holds the pages the user opens, the
// outer one's bar shows them. The first page lists the installed settings
// bundles (see PreferenceBundleLoader); opening one loads its code and
// pushes its first page, handing it the entry's specifier.
class SettingsApp {
public:
    static constexpr const char* bundleIdentifier = "com.apple.Preferences";

    explicit SettingsApp(device::Process&);
    ~SettingsApp();
    static SettingsApp& of(device::Process&);

    // The app's classes: UIKit's, the Preferences framework's and the preference library's pages.
    static void defineClasses(device::Process&);
    // Builds the window and the first page.
    static void startUp(device::Process&);
    static device::AppDefinition appDefinition();

    uikit::UIWindow* window() const;
    uikit::UINavigationController* rootController() const;
    // The stack of pages the user moves through.
    uikit::UINavigationController* pages() const;
    PSListController* firstPage() const;
    // The page on top (an alert presented over it does not count).
    uikit::UIViewController* topPage() const;

    // A tap on the first page's row for the bundle labelled `label`, from
    // the first page: answers the bundle's page, or why it could not open
    // (which the app also traces, as `bundle.error` or `settings.error`).
    foundation::Result<runtime::Ref<uikit::UIViewController>> openEntry(const std::string& label);
    // The back button; answers false on the first page.
    bool goBack();

    // The user leaves the app, and comes back to it: each page on the stack
    // that asks for it (`shouldReloadSpecifiersOnResume`) reloads its specifiers.
    void enterBackground();
    void enterForeground();
    bool isInBackground() const { return m_background; }

private:
    foundation::Result<runtime::Ref<uikit::UIViewController>> openBundle(
        const std::string& bundle, const std::string& detail, runtime::Object* specifier);
    void start();
    // Traces `settings.error` and answers the error.
    foundation::Error report(const std::string& message) const;

    device::Process* m_process;
    runtime::Ref<uikit::UIWindow> m_window;
    runtime::Ref<uikit::UINavigationController> m_root;
    runtime::Ref<uikit::UINavigationController> m_pages;
    runtime::Ref<PSListController> m_firstPage;
    bool m_background { false };
};

} // namespace preferences
