#include "platform/springboard/SpringBoardApp.h"

#include "platform/foundation/Version.h"
#include "platform/runtime/Send.h"
#include "platform/springboard/BBAction.h"
#include "platform/springboard/BBBulletin.h"
#include "platform/springboard/BBServer.h"
#include "platform/springboard/BannerPresenter.h"
#include "platform/springboard/IconRenderer.h"
#include "platform/springboard/NCNotificationAction.h"
#include "platform/springboard/NCNotificationContent.h"
#include "platform/springboard/NCNotificationContentContainerViewController.h"
#include "platform/springboard/NCNotificationOptions.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookView.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/springboard/NCNotificationViewController.h"
#include "platform/springboard/NCNotificationViewControllerView.h"
#include "platform/springboard/SBGrabberTongue.h"
#include "platform/springboard/SBHomeScreenViewController.h"
#include "platform/springboard/SBLockScreenManager.h"
#include "platform/springboard/SBNotificationBannerDestination.h"
#include "platform/springboard/SBNotificationBannerWindow.h"
#include "platform/springboard/SpringBoard.h"
#include "platform/springboard/SpringBoardState.h"
#include "platform/springboard/UNNotification.h"
#include "platform/springboard/UNNotificationContent.h"
#include "platform/springboard/UNNotificationRequest.h"
#include "platform/uikit/UIKit.h"
#include "platform/uikit/UIStatusBarWindow.h"

namespace springboard {

using foundation::Value;
using runtime::Object;
using runtime::Ref;

namespace {

    Ref<Object> create(device::Process& process, std::string_view className)
    {
        return runtime::newObject(process.runtime().classNamed(className));
    }

    Ref<Object> createWithFrame(device::Process& process, std::string_view className, uikit::Rect frame)
    {
        return runtime::send<Ref<Object>>(
            runtime::alloc(process.runtime().classNamed(className)), SEL("initWithFrame:"), frame);
    }

    template <typename T> T* kept(device::Process& process, const Ref<Object>& object)
    {
        process.keep(object);
        return dynamic_cast<T*>(object.get());
    }

    // Systems before 13.0 create the server with its queue alone.
    Ref<Object> createBulletinServer(device::Process& process)
    {
        auto server = runtime::alloc(process.runtime().classNamed("BBServer"));
        Value queue(BBServer::queueLabel);
        if (foundation::compareVersions(process.device().hardware().systemVersion, "13.0") < 0)
            return runtime::send<Ref<Object>>(server, SEL("initWithQueue:"), queue);
        Object* none = nullptr;
        return runtime::send<Ref<Object>>(server,
            SEL("initWithQueue:dataProviderManager:syncService:dismissalSyncCache:observerListener:utilitiesListener:"
                "conduitListener:systemStateListener:settingsListener:"),
            queue, none, none, none, none, none, none, none, none);
    }

    uikit::Rect screenBounds(device::Process& process)
    {
        auto& hardware = process.device().hardware();
        return uikit::makeRect(0, 0, hardware.screenWidth, hardware.screenHeight);
    }

    void createHomeScreen(device::Process& process, SpringBoardState::StartUpObjects& objects)
    {
        auto controller = create(process, "SBHomeScreenViewController");
        runtime::send<Ref<Object>>(controller, SEL("view"));
        auto window = createWithFrame(process, "UIWindow", screenBounds(process));
        runtime::send(window, SEL("setRootViewController:"), controller.get());
        runtime::send(window, SEL("makeKeyAndVisible"));
        objects.homeScreenController = kept<SBHomeScreenViewController>(process, controller);
        objects.homeScreenWindow = kept<uikit::UIWindow>(process, window);
    }

} // namespace

void defineClasses(device::Process& process)
{
    uikit::defineClasses(process);
    if (process.runtime().classNamed("SpringBoard"))
        return;
    SpringBoard::registerClass(process);
    UNNotificationContent::registerClass(process);
    UNNotificationRequest::registerClass(process);
    UNNotification::registerClass(process);
    NCNotificationAction::registerClass(process);
    NCNotificationOptions::registerClass(process);
    NCNotificationContent::registerClass(process);
    NCNotificationRequest::registerClass(process);
    NCNotificationShortLookView::registerClass(process);
    NCNotificationViewControllerView::registerClass(process);
    NCNotificationViewController::registerClass(process);
    NCNotificationShortLookViewController::registerClass(process);
    NCNotificationContentContainerViewController::registerClass(process);
    SBNotificationBannerWindow::registerClass(process);
    SBNotificationBannerDestination::registerClass(process);
    SBHomeScreenViewController::registerClass(process);
    SBGrabberTongue::registerClass(process);
    SBLockScreenManager::registerClass(process);
    BBAction::registerClass(process);
    BBBulletin::registerClass(process);
    BBServer::registerClass(process);
    IconRenderer::registerClass(process);
}

void startUp(device::Process& process)
{
    auto& objects = SpringBoardState::of(process).startUpObjects();
    objects.application = kept<SpringBoard>(process, create(process, "SpringBoard"));
    objects.bulletinServer = kept<BBServer>(process, createBulletinServer(process));
    if (auto* server = objects.bulletinServer.get()) {
        auto* owner = &process;
        server->addObserver([owner](BBBulletin& bulletin, uint64_t destinations) {
            if (destinations & BBServer::Banner)
                BannerPresenter::of(*owner).presentBulletin(bulletin);
        });
    }

    auto statusBarFrame
        = uikit::makeRect(0, 0, process.device().hardware().screenWidth, uikit::UIStatusBarWindow::height);
    auto statusBar = createWithFrame(process, "UIStatusBarWindow", statusBarFrame);
    runtime::send(statusBar, SEL("setHidden:"), false);
    objects.statusBarWindow = kept<uikit::UIStatusBarWindow>(process, statusBar);

    createHomeScreen(process, objects);
    runtime::send<Ref<Object>>(process.runtime().classNamed("SBLockScreenManager"), SEL("sharedInstance"));
    objects.bannerWindow = kept<SBNotificationBannerWindow>(
        process, createWithFrame(process, "SBNotificationBannerWindow", screenBounds(process)));
    objects.grabberTongue = kept<SBGrabberTongue>(process, create(process, "SBGrabberTongue"));
}

device::AppDefinition appDefinition()
{
    return { bundleIdentifier, &defineClasses, &startUp };
}

} // namespace springboard
