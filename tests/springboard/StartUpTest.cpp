#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

#include "platform/springboard/BBServer.h"
#include "platform/springboard/SBGrabberTongue.h"
#include "platform/springboard/SBHomeScreenViewController.h"
#include "platform/springboard/SBNotificationBannerWindow.h"
#include "platform/springboard/SpringBoard.h"
#include "platform/springboard/SpringBoardApp.h"
#include "platform/springboard/SpringBoardState.h"
#include "platform/uikit/UIStatusBarWindow.h"

#include "tests/springboard/HomeScreenTestDevice.h"

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;

namespace {

constexpr const char* serverInit = "initWithQueue:dataProviderManager:syncService:dismissalSyncCache:observerListener:"
                                   "utilitiesListener:conduitListener:systemStateListener:settingsListener:";

// Hooks a plug-in might install before start-up, each counting its calls.
struct StartUpWitness {
    std::map<std::string, int> calls;

    void install(device::Process& process)
    {
        if (process.bundleIdentifier() != springboard::bundleIdentifier)
            return;
        auto& runtime = process.runtime();
        auto count = [this](const std::string& name) { ++calls[name]; };
        auto queueInit = std::make_shared<Imp>();
        *queueInit = runtime.hookMessage(*runtime.classNamed("BBServer"), SEL("initWithQueue:"),
            Imp::of([queueInit, count](Object* self, Selector sel, Value queue) -> Ref<Object> {
                count("initWithQueue:");
                return (*queueInit).operator()<Ref<Object>>(self, sel, queue);
            }));
        auto fullInit = std::make_shared<Imp>();
        *fullInit = runtime.hookMessage(*runtime.classNamed("BBServer"), Selector::named(serverInit),
            Imp::of([fullInit, count](Object* self, Selector sel, Value queue, Object* a, Object* b, Object* c,
                        Object* d, Object* e, Object* f, Object* g, Object* h) -> Ref<Object> {
                count("initWithQueue:...");
                return (*fullInit).operator()<Ref<Object>>(self, sel, queue, a, b, c, d, e, f, g, h);
            }));
        auto statusBar = std::make_shared<Imp>();
        *statusBar = runtime.hookMessage(*runtime.classNamed("UIStatusBarWindow"), SEL("initWithFrame:"),
            Imp::of([statusBar, count](Object* self, Selector sel, uikit::Rect frame) -> Ref<Object> {
                count("initWithFrame:");
                return (*statusBar).operator()<Ref<Object>>(self, sel, frame);
            }));
        auto viewDidLoad = std::make_shared<Imp>();
        *viewDidLoad = runtime.hookMessage(*runtime.classNamed("SBHomeScreenViewController"), SEL("viewDidLoad"),
            Imp::of([viewDidLoad, count](Object* self, Selector sel) {
                count("viewDidLoad");
                (*viewDidLoad)(self, sel);
            }));
        auto dealloc = std::make_shared<Imp>();
        *dealloc = runtime.hookMessage(
            *runtime.classNamed("BBServer"), SEL("dealloc"), Imp::of([dealloc, count](Object* self, Selector sel) {
                count("BBServer dealloc");
                (*dealloc)(self, sel);
            }));
    }
};

} // namespace

TEST(SpringBoardStartUp, makesTheHomeScreenObjectsWhereHooksInstalledBeforehandSeeThem)
{
    auto witness = std::make_shared<StartUpWitness>();
    HomeScreenTestDevice test({}, [witness](device::Process& process) { witness->install(process); });
    auto& process = test.homeScreen();

    EXPECT_EQ(witness->calls["initWithQueue:..."], 1);
    EXPECT_EQ(witness->calls["initWithQueue:"], 0);
    EXPECT_EQ(witness->calls["initWithFrame:"], 1);
    EXPECT_EQ(witness->calls["viewDidLoad"], 1);

    auto& objects = springboard::SpringBoardState::of(process).startUpObjects();
    ASSERT_TRUE(objects.application && objects.bulletinServer && objects.statusBarWindow && objects.homeScreenWindow
        && objects.homeScreenController && objects.bannerWindow && objects.grabberTongue);
    auto* runtime = &process.runtime();
    EXPECT_EQ(send<Ref<Object>>(runtime->classNamed("UIApplication"), SEL("sharedApplication")).get(),
        objects.application.get());
    EXPECT_EQ(objects.bulletinServer.get()->workQueueLabel(), springboard::BBServer::queueLabel);
    EXPECT_NEAR(objects.statusBarWindow.get()->windowLevel(), 1000, 1e-9);
    EXPECT_FALSE(objects.statusBarWindow.get()->isHidden());

    // The home screen is the key window; the banner window never is.
    EXPECT_TRUE(send<bool>(objects.homeScreenWindow.get(), SEL("isKeyWindow")));
    EXPECT_FALSE(send<bool>(objects.bannerWindow.get(), SEL("isKeyWindow")));
    EXPECT_TRUE(objects.homeScreenController.get()->isViewLoaded());
    auto* iconList = objects.homeScreenController.get()->iconListView();
    ASSERT_NE(iconList, nullptr);
    EXPECT_NEAR(iconList->frame().minY(), 44, 1e-9);
    EXPECT_NEAR(iconList->frame().height(), 844 - 44 - 34, 1e-9);

    auto* managerClass = runtime->classNamed("SBLockScreenManager");
    auto manager = send<Ref<Object>>(managerClass, SEL("sharedInstance"));
    EXPECT_TRUE(manager);
    EXPECT_EQ(send<Ref<Object>>(managerClass, SEL("sharedInstance")).get(), manager.get());
}

TEST(SpringBoardStartUp, systemsBefore13MakeTheBulletinServerWithItsQueueAlone)
{
    auto witness = std::make_shared<StartUpWitness>();
    device::Hardware hardware;
    hardware.systemVersion = "12.4";
    HomeScreenTestDevice test(hardware, [witness](device::Process& process) { witness->install(process); });
    test.homeScreen();
    EXPECT_EQ(witness->calls["initWithQueue:"], 1);
    EXPECT_EQ(witness->calls["initWithQueue:..."], 0);
}

TEST(SpringBoardStartUp, endingTheProcessReleasesWhatItsStartUpMade)
{
    auto witness = std::make_shared<StartUpWitness>();
    HomeScreenTestDevice test({}, [witness](device::Process& process) { witness->install(process); });
    runtime::WeakRef<springboard::SBHomeScreenViewController> controller;
    {
        auto& process = test.homeScreen();
        controller = springboard::SpringBoardState::of(process).startUpObjects().homeScreenController.get();
        ASSERT_TRUE(controller);
    }
    test.device().terminate(springboard::bundleIdentifier);
    EXPECT_EQ(witness->calls["BBServer dealloc"], 1);
    EXPECT_FALSE(controller);
}

TEST(SpringBoardStartUp, eachAppHasItsOwnClassesAndUIKitIsInBoth)
{
    HomeScreenTestDevice test;
    auto& home = test.homeScreen().runtime();
    auto& messages = test.messagesApp().runtime();
    for (const char* name : { "NCNotificationShortLookViewController", "NCNotificationViewController",
             "NCNotificationContentContainerViewController", "_NCNotificationViewControllerView",
             "NCNotificationViewControllerView", "SBNotificationBannerWindow", "SBHomeScreenViewController",
             "SBGrabberTongue", "SpringBoard", "SBLockScreenManager", "BBServer", "BBBulletin", "BBAction" }) {
        EXPECT_NE(home.classNamed(name), nullptr) << name;
        EXPECT_EQ(messages.classNamed(name), nullptr) << name;
    }
    for (const char* name : { "CKConversationListController", "CKConversationList", "CKConversation", "IMChat",
             "IMChatRegistry", "IMMessage" }) {
        EXPECT_EQ(home.classNamed(name), nullptr) << name;
        EXPECT_NE(messages.classNamed(name), nullptr) << name;
    }
    for (const char* name : { "UIView", "UIWindow", "UIViewController", "UIScreen", "UIDevice", "UIApplication" }) {
        ASSERT_NE(home.classNamed(name), nullptr) << name;
        ASSERT_NE(messages.classNamed(name), nullptr) << name;
        EXPECT_NE(home.classNamed(name), messages.classNamed(name)) << name;
    }
}
