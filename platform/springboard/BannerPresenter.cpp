#include "platform/springboard/BannerPresenter.h"

#include <algorithm>

#include "platform/device/Device.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/springboard/BBAction.h"
#include "platform/springboard/BBBulletin.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/springboard/SBHomeScreenViewController.h"
#include "platform/springboard/SBNotificationBannerDestination.h"
#include "platform/springboard/SBNotificationBannerWindow.h"
#include "platform/springboard/SpringBoardState.h"
#include "platform/uikit/UIStatusBarWindow.h"
#include "platform/uikit/ViewAnimation.h"

namespace springboard {

using runtime::Block;
using runtime::Object;
using runtime::Ref;
using runtime::WeakRef;

namespace {

    // The gap between two notifications of the list.
    constexpr double listSpacing = 8;

    // The identifiers the system gives the actions it makes for a bulletin.
    constexpr const char* defaultActionIdentifier = "com.apple.UNNotificationDefaultActionIdentifier";
    constexpr const char* clearActionIdentifier = "com.apple.UNNotificationDismissActionIdentifier";

    template <typename T> void erase(std::vector<Ref<T>>& list, const Object* object)
    {
        std::erase_if(list, [object](const Ref<T>& entry) { return entry.get() == object; });
    }

} // namespace

BannerPresenter::BannerPresenter(device::Process& process)
    : m_process(&process)
{
}

BannerPresenter::~BannerPresenter() = default;

BannerPresenter& BannerPresenter::of(device::Process& process)
{
    return process.service<BannerPresenter>();
}

Object* BannerPresenter::destination()
{
    if (!m_destination) {
        m_destination = runtime::instantiate<SBNotificationBannerDestination>(
            m_process->runtime(), "SBNotificationBannerDestination");
    }
    return m_destination.get();
}

Ref<NCNotificationShortLookViewController> BannerPresenter::makeController(NCNotificationRequest& request)
{
    auto* cls = m_process->runtime().classNamed("NCNotificationShortLookViewController");
    auto made = runtime::send<Ref<Object>>(
        runtime::alloc(cls), SEL("initWithNotificationRequest:"), static_cast<Object*>(&request));
    Ref<NCNotificationShortLookViewController> controller(
        dynamic_cast<NCNotificationShortLookViewController*>(made.get()));
    if (!controller)
        return nullptr;
    runtime::send(controller.get(), SEL("setDelegate:"), destination());
    // Entries of controllers that have gone are dropped once the list has
    // doubled since the last time, so a burst costs the same per controller.
    if (m_made.size() >= 2 * m_madeAfterPruning) {
        std::erase_if(m_made, [](const WeakRef<NCNotificationViewController>& entry) { return !entry.get(); });
        m_madeAfterPruning = std::max<size_t>(m_made.size(), 16);
    }
    m_made.emplace_back(controller.get());
    // Loading the view runs `viewDidLoad`, before the view goes anywhere.
    runtime::send<Ref<Object>>(controller, SEL("view"));
    return controller;
}

Ref<NCNotificationShortLookViewController> BannerPresenter::presentBanner(NCNotificationRequest& request)
{
    if (auto* current = currentBanner())
        return presentOver(*current, request);
    auto controller = makeController(request);
    if (!controller || !showInBannerWindow(*controller))
        return nullptr;
    didPresent(controller);
    return controller;
}

Ref<NCNotificationShortLookViewController> BannerPresenter::presentOver(
    NCNotificationViewController& presenter, NCNotificationRequest& request)
{
    Ref<NCNotificationViewController> protect(&presenter);
    auto controller = makeController(request);
    if (!controller)
        return nullptr;
    runtime::send(&presenter, SEL("presentViewController:animated:completion:"), static_cast<Object*>(controller.get()),
        true, Block<void()> {});
    if (controller->presenting() != &presenter)
        return nullptr;
    didPresent(controller);
    return controller;
}

bool BannerPresenter::showInBannerWindow(NCNotificationShortLookViewController& controller)
{
    auto* window = SpringBoardState::of(*m_process).startUpObjects().bannerWindow.get();
    auto* view = controller.viewIfLoaded();
    if (!window || !view)
        return false;
    // The banner slides down from above the screen; its frame is its place at once.
    uikit::Rect place = bannerFrame();
    uikit::Rect above = place;
    above.origin.y -= slideInDistance;
    runtime::send(view, SEL("setFrame:"), above);
    runtime::send(window, SEL("setHidden:"), false);
    runtime::send(window, SEL("addSubview:"), static_cast<Object*>(view));
    Ref<Object> slidden(view);
    uikit::animate(
        *m_process, slideInDuration, [slidden, place] { runtime::send(slidden.get(), SEL("setFrame:"), place); }, {});
    return true;
}

void BannerPresenter::didPresent(const Ref<NCNotificationShortLookViewController>& controller)
{
    m_presented.push_back(controller);
    m_presentedSet.insert(controller.get());
    scheduleTimeout(*controller);
}

void BannerPresenter::scheduleTimeout(NCNotificationShortLookViewController& controller)
{
    WeakRef<NCNotificationShortLookViewController> weak(&controller);
    auto* owner = m_process;
    m_process->mainQueue().after(bannerTimeout, [weak, owner] {
        Ref<NCNotificationShortLookViewController> controller = weak.strong();
        if (!controller || !BannerPresenter::of(*owner).m_presentedSet.contains(controller.get()))
            return;
        if (controller->dismissal() != NCNotificationShortLookViewController::Dismissal::None)
            return;
        runtime::send(controller.get(), SEL("dismissViewControllerWithTransition:completion:"),
            static_cast<int64_t>(NCNotificationShortLookViewController::Expired), Block<void(bool)> {});
    });
}

Ref<NCNotificationShortLookViewController> BannerPresenter::presentBulletin(BBBulletin& bulletin)
{
    auto& runtime = m_process->runtime();
    NCNotificationRequest::Contents contents;
    contents.sectionIdentifier = bulletin.sectionID();
    contents.notificationIdentifier = m_namer ? foundation::Value(m_namer()) : bulletin.bulletinID();
    contents.title = bulletin.title();
    contents.message = bulletin.message();
    contents.userInfo = foundation::Value::dictionary();
    auto* launch = bulletin.defaultAction();
    contents.defaultAction = NCNotificationAction::make(runtime, defaultActionIdentifier, {},
        launch && !launch->launchBundleID().isEmptyText() ? launch->launchBundleID() : bulletin.sectionID());
    if (bulletin.clearable())
        contents.clearAction = NCNotificationAction::make(runtime, clearActionIdentifier);
    auto request = NCNotificationRequest::make(*m_process, std::move(contents));
    return request ? presentBanner(*request) : nullptr;
}

Ref<NCNotificationShortLookViewController> BannerPresenter::showInList(NCNotificationRequest& request)
{
    auto controller = makeController(request);
    auto* list = listView();
    auto* view = controller ? controller->viewIfLoaded() : nullptr;
    if (!list || !view)
        return nullptr;
    auto frame = view->frame();
    frame.origin = { 0, listSpacing + static_cast<double>(m_listed.size()) * (frame.height() + listSpacing) };
    runtime::send(view, SEL("setFrame:"), frame);
    runtime::send(list, SEL("addSubview:"), static_cast<Object*>(view));
    m_listed.push_back(controller);
    return controller;
}

uikit::UIView* BannerPresenter::listView()
{
    if (m_listView)
        return m_listView.get();
    auto* home = SpringBoardState::of(*m_process).startUpObjects().homeScreenController.get();
    auto* homeView = home ? home->viewIfLoaded() : nullptr;
    if (!homeView)
        return nullptr;
    auto bounds = homeView->bounds();
    double top = uikit::UIStatusBarWindow::height;
    auto frame = uikit::makeRect(0, top, bounds.width(), std::max(0.0, bounds.height() - top));
    auto list = runtime::send<Ref<Object>>(
        runtime::alloc(m_process->runtime().classNamed("UIView")), SEL("initWithFrame:"), frame);
    m_listView = dynamic_cast<uikit::UIView*>(list.get());
    runtime::send(homeView, SEL("addSubview:"), list.get());
    return m_listView.get();
}

NCNotificationShortLookViewController* BannerPresenter::currentBanner() const
{
    for (auto it = m_presented.rbegin(); it != m_presented.rend(); ++it) {
        auto& controller = *it;
        auto* view = controller->viewIfLoaded();
        if (controller->dismissal() == NCNotificationShortLookViewController::Dismissal::None && view && view->window())
            return controller.get();
    }
    return nullptr;
}

NCNotificationViewController* BannerPresenter::controllerForNotification(std::string_view identifier) const
{
    for (auto it = m_made.rbegin(); it != m_made.rend(); ++it) {
        auto* controller = it->get();
        if (!controller)
            continue;
        auto name = controller->notificationIdentifier();
        if (name.isString() && name.string() == identifier)
            return controller;
    }
    return nullptr;
}

uikit::Rect BannerPresenter::bannerFrame() const
{
    auto& hardware = m_process->device().hardware();
    double top = hardware.bottomSafeArea > 0 ? bannerTop : bannerTopWithoutHomeIndicator;
    return uikit::makeRect(0, top, hardware.screenWidth, NCNotificationViewController::shortLookHeight);
}

void BannerPresenter::dismissalDidFinish(NCNotificationViewController& controller)
{
    Ref<NCNotificationViewController> protect(&controller);
    erase(m_presented, &controller);
    m_presentedSet.erase(&controller);
    erase(m_listed, &controller);
    if (m_presented.empty()) {
        if (auto* window = SpringBoardState::of(*m_process).startUpObjects().bannerWindow.get())
            runtime::send(window, SEL("setHidden:"), true);
    }
}

} // namespace springboard
