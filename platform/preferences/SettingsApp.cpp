#include "platform/preferences/SettingsApp.h"

#include "platform/foundation/Value.h"
#include "platform/preferences/HBAppearanceSettings.h"
#include "platform/preferences/HBListController.h"
#include "platform/preferences/HBRootListController.h"
#include "platform/preferences/PSListController.h"
#include "platform/preferences/PSListItemsController.h"
#include "platform/preferences/PSSegmentTableCell.h"
#include "platform/preferences/PSSliderTableCell.h"
#include "platform/preferences/PSSwitchTableCell.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/preferences/PreferenceBundleLoader.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/NSIndexPath.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIKit.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIWindow.h"

namespace preferences {

using foundation::Error;
using foundation::Result;
using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using uikit::UINavigationController;
using uikit::UIViewController;

namespace {

    constexpr const char* firstPageClass = "PSUIPrefsListController";

    Ref<UINavigationController> makeNavigation(device::Process& process, Object* root)
    {
        auto made = runtime::send<Ref<Object>>(runtime::alloc(process.runtime().classNamed("UINavigationController")),
            SEL("initWithRootViewController:"), root);
        return Ref<UINavigationController>(dynamic_cast<UINavigationController*>(made.get()));
    }

    // The first page: a row per installed bundle.
    void defineFirstPage(device::Process& process)
    {
        auto builder
            = runtime::ClassBuilder::define<PSListController>(process.runtime(), firstPageClass, "PSListController");
        auto* owner = &process;
        builder.method("tableView:didSelectRowAtIndexPath:",
            Imp::of([owner](PSListController* self, Selector, Object*, uikit::NSIndexPath* index) {
                auto place = uikit::NSIndexPath::indexesOf(index);
                PSSpecifier* row = place ? self->specifierAt(place->first, place->second) : nullptr;
                if (row)
                    (void)SettingsApp::of(*owner).openEntry(row->name().string());
            }));
    }

    Value entrySpecifiers(device::Process& process, Object* target)
    {
        auto& runtime = process.runtime();
        Value list = Value::array();
        list.append(Value(PSSpecifier::make(runtime, Value(), PSSpecifier::GroupCell)));
        for (auto& entry : PreferenceBundleLoader::of(process).entries()) {
            auto row = PSSpecifier::make(runtime, Value(entry.label), PSSpecifier::LinkCell);
            row->setProperty(Value(entry.bundle), "bundle");
            row->setProperty(Value(entry.detail), "detail");
            if (!entry.icon.empty())
                row->setProperty(Value(entry.icon), "icon");
            row->setDetailControllerClassName(entry.detail);
            row->setTarget(target);
            list.append(Value(row));
        }
        return list;
    }

} // namespace

SettingsApp::SettingsApp(device::Process& process)
    : m_process(&process)
{
}

SettingsApp::~SettingsApp() = default;

SettingsApp& SettingsApp::of(device::Process& process)
{
    return process.service<SettingsApp>();
}

void SettingsApp::defineClasses(device::Process& process)
{
    uikit::defineClasses(process);
    if (process.runtime().classNamed("PSListController"))
        return;
    PSSpecifier::registerClass(process);
    PSTableCell::registerClass(process);
    PSSwitchTableCell::registerClass(process);
    PSSliderTableCell::registerClass(process);
    PSSegmentTableCell::registerClass(process);
    PSListController::registerClass(process);
    PSListItemsController::registerClass(process);
    HBAppearanceSettings::registerClass(process);
    HBListController::registerClass(process);
    HBRootListController::registerClass(process);
    defineFirstPage(process);
}

void SettingsApp::startUp(device::Process& process)
{
    of(process).start();
}

device::AppDefinition SettingsApp::appDefinition()
{
    return { bundleIdentifier, &SettingsApp::defineClasses, &SettingsApp::startUp };
}

void SettingsApp::start()
{
    auto& runtime = m_process->runtime();
    auto page = runtime::newObject(runtime.classNamed(firstPageClass));
    m_firstPage = Ref<PSListController>(dynamic_cast<PSListController*>(page.get()));
    if (!m_firstPage)
        return;
    runtime::send(m_firstPage.get(), SEL("setTitle:"), Value("Settings"));
    if (auto* kept = runtime::ivarPointer<Value>(m_firstPage.get(), "_specifiers"))
        *kept = entrySpecifiers(*m_process, m_firstPage.get());
    m_pages = makeNavigation(*m_process, m_firstPage.get());
    runtime::send(m_pages.get(), SEL("setNavigationBarHidden:"), true);
    m_root = makeNavigation(*m_process, m_pages.get());

    auto* screen = uikit::UIKitState::of(*m_process).mainScreen();
    auto window = runtime::send<Ref<Object>>(runtime::alloc(runtime.classNamed("UIWindow")), SEL("initWithFrame:"),
        screen ? screen->bounds() : uikit::Rect {});
    m_window = Ref<uikit::UIWindow>(dynamic_cast<uikit::UIWindow*>(window.get()));
    // What shows behind the status bar, above the navigation bar.
    bool dark = screen && screen->userInterfaceStyle() == uikit::UITraitCollection::Dark;
    double shade = dark ? 0.07 : 0.97;
    runtime::send(
        m_window.get(), SEL("setBackgroundColor:"), uikit::UIColor::make(runtime, shade, shade, shade, 1).get());
    runtime::send(m_window.get(), SEL("setRootViewController:"), static_cast<Object*>(m_root.get()));
    runtime::send(m_window.get(), SEL("makeKeyAndVisible"));
    runtime::send(m_root.get(), SEL("viewWillAppear:"), false);
    runtime::send(m_root.get(), SEL("viewDidAppear:"), false);
    m_process->keep(Ref<Object>(m_window.get()));
}

uikit::UIWindow* SettingsApp::window() const
{
    return m_window.get();
}

UINavigationController* SettingsApp::rootController() const
{
    return m_root.get();
}

UINavigationController* SettingsApp::pages() const
{
    return m_pages.get();
}

PSListController* SettingsApp::firstPage() const
{
    return m_firstPage.get();
}

UIViewController* SettingsApp::topPage() const
{
    return m_pages ? m_pages->topViewController() : nullptr;
}

Result<Ref<UIViewController>> SettingsApp::openEntry(const std::string& label)
{
    if (!m_firstPage || !m_pages)
        return Error { "the Settings app has no pages" };
    while (m_pages->viewControllers().size() > 1)
        m_pages->pop(UIViewController::Transition::Immediate);
    for (auto& group : m_firstPage->groups()) {
        for (auto& row : group.rows) {
            if (row->name().isString() && row->name().string() == label)
                return openBundle(row->property("bundle").string(), row->detailControllerClassName(), row.get());
        }
    }
    return Error { "no settings bundle is labelled \"" + label + "\"" };
}

Result<Ref<UIViewController>> SettingsApp::openBundle(
    const std::string& bundle, const std::string& detail, Object* specifier)
{
    auto loaded = PreferenceBundleLoader::of(*m_process).load(bundle);
    if (!loaded)
        return loaded.error();
    runtime::Class* cls = detail.empty() ? nullptr : m_process->runtime().classNamed(detail);
    if (!cls)
        return report("the bundle " + bundle + " defines no page class \"" + detail + "\"");
    auto made = runtime::newObject(cls);
    Ref<UIViewController> page(dynamic_cast<UIViewController*>(made.get()));
    if (!page)
        return report("the page class \"" + detail + "\" of " + bundle + " is not a view controller");
    if (auto* list = dynamic_cast<PSListController*>(page.get()))
        list->setBundle(loaded.value().get());
    runtime::sendIfResponds(page.get(), SEL("setSpecifier:"), specifier);
    m_pages->push(page.get(), UIViewController::Transition::Animated);
    return page;
}

Error SettingsApp::report(const std::string& message) const
{
    m_process->device().trace().emit(
        "settings.error", { { "bundleId", m_process->bundleIdentifier() }, { "message", message } });
    return Error { message };
}

bool SettingsApp::goBack()
{
    return m_pages && m_pages->pop(UIViewController::Transition::Animated);
}

void SettingsApp::enterBackground()
{
    m_background = true;
}

void SettingsApp::enterForeground()
{
    if (!m_background)
        return;
    m_background = false;
    if (!m_pages)
        return;
    auto stack = m_pages->viewControllers();
    for (auto& page : stack) {
        if (runtime::sendIfResponds<bool>(page.get(), SEL("shouldReloadSpecifiersOnResume")))
            runtime::send(page.get(), SEL("reloadSpecifiers"));
    }
}

} // namespace preferences
