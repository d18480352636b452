#include "platform/springboard/SBNotificationBannerWindow.h"
#include "platform/springboard/SpringBoardState.h"
#include "platform/uikit/UIKit.h"
#include "platform/uikit/UIStatusBarWindow.h"

#include "tests/controller/ControllerTestDevice.h"

using namespace controllertest;
using runtime::Block;

namespace {

constexpr int64_t longTime = 100;

struct Completions {
    int dismissals { 0 };
    int longLooks { 0 };
};

void askForEverything(Object* controller, const std::shared_ptr<Completions>& completions)
{
    send(controller, SEL("_presentLongLookForScrollAnimated:completion:"), true,
        Block<void(bool)>([completions](bool) { ++completions->longLooks; }));
    send(controller, SEL("_presentLongLookViaClickPresentationInteraction:"), static_cast<Object*>(nullptr));
    send(controller, SEL("presentLongLookAnimated:trigger:completion:"), true, int64_t(1),
        Block<void(bool)>([completions](bool) { ++completions->longLooks; }));
    send(controller, SEL("dismissViewControllerWithTransition:completion:"), int64_t(1),
        Block<void(bool)>([completions](bool) { ++completions->dismissals; }));
}

// Records what the picture provider of that class is asked, in place of its own lookup.
// Objects are kept as identities: the record lives in the run time until it goes.
struct ProviderCall {
    const Object* request;
    Value header;
    Value body;
    const Object* banner;
};

std::shared_ptr<std::vector<ProviderCall>> recordProvider(ControllerTestDevice& test, const char* className)
{
    auto calls = std::make_shared<std::vector<ProviderCall>>();
    auto& runtime = test.runtime();
    auto* cls = runtime.classNamed(className);
    EXPECT_NE(cls, nullptr) << className;
    if (!cls)
        return calls;
    runtime.hookMessage(*cls, SEL("contactPhotoForNotification:withHeader:withBody:forView:"),
        runtime::Imp::of([calls](Object*, Selector, Object* request, Value header, Value body, Object* banner) {
            calls->push_back({ request, header, body, banner });
        }));
    return calls;
}

} // namespace

TEST(Hosting, aControllerOutsideTheBannerWindowBehavesAsWithoutBrix)
{
    ControllerTestDevice test;
    auto listed = test.showInList(test.message("n1", "Alice", "Hi"));
    ASSERT_TRUE(listed);
    auto completions = std::make_shared<Completions>();
    askForEverything(listed, completions);
    test.advance(1);
    EXPECT_FALSE(test.eventsFor("system.longLook", "n1").empty());
    EXPECT_EQ(completions->longLooks, 2);
    auto dismissed = test.eventsFor("system.dismissed", "n1");
    ASSERT_EQ(dismissed.size(), 1u);
    EXPECT_EQ(dismissed[0]["transition"], 1);
    EXPECT_EQ(completions->dismissals, 1);
}

TEST(Hosting, theSystemsOwnLongLooksAndDismissalsOfABannerAreDropped)
{
    ControllerTestDevice test({ { "timeToDismiss", longTime } });
    auto controller = test.notify("n1");
    auto completions = std::make_shared<Completions>();
    askForEverything(controller, completions);
    test.advance(1);
    EXPECT_TRUE(test.eventsFor("system.longLook", "n1").empty());
    EXPECT_TRUE(test.eventsFor("system.dismissed", "n1").empty());
    EXPECT_EQ(completions->longLooks, 0);
    EXPECT_EQ(completions->dismissals, 0);
    EXPECT_TRUE(bannerOf(controller));
    // Nor does the system's own timeout end the banner.
    test.advance(springboard::BannerPresenter::bannerTimeout);
    EXPECT_TRUE(test.eventsFor("system.dismissed", "n1").empty());
}

TEST(Hosting, brixsOwnDismissalReachesTheSystemWithTransitionZero)
{
    ControllerTestDevice test({ { "timeToDismiss", longTime } });
    auto controller = test.notify("n1");
    int called = 0;
    send(controller, SEL("dismissViewControllerWithTransition:completion:"), int64_t(30),
        Block<void(bool)>([&called](bool) { ++called; }));
    EXPECT_FALSE(flag(controller, "hasDismissed"));
    test.advance(0.3);
    auto dismissed = test.eventsFor("system.dismissed", "n1");
    ASSERT_EQ(dismissed.size(), 1u);
    EXPECT_EQ(dismissed[0]["transition"], 0);
    EXPECT_TRUE(flag(controller, "hasDismissed"));
    EXPECT_EQ(called, 0);
}

TEST(Hosting, aBannerFollowsTheSystemStyleOnlyWithoutAFixedColourMode)
{
    auto modeAfterDarkening = [](int64_t interfaceMode, const char* version) {
        device::Hardware hardware;
        hardware.systemVersion = version;
        ControllerTestDevice test({ { "containerColor", interfaceMode }, { "timeToDismiss", longTime } }, hardware);
        auto banner = bannerOf(test.notify("n1"));
        test.device().hardware().style = device::Hardware::Style::Dark;
        uikit::screenStyleDidChange(test.home());
        return send<uint64_t>(send<Ref<Object>>(banner, SEL("colorSet")), SEL("mode"));
    };
    EXPECT_EQ(modeAfterDarkening(0, "14.4"), 1u);
    EXPECT_EQ(modeAfterDarkening(2, "14.4"), 2u);
    EXPECT_EQ(modeAfterDarkening(0, "12.4"), 2u);
}

TEST(Hosting, aNotificationPresentedOverAHeldBannerUpdatesItInstead)
{
    ControllerTestDevice test({ { "timeToDismiss", longTime } });
    auto contents = test.message("n1", "Alice", "Hi", "com.apple.MobileSMS");
    contents.clearAction = test.action("clear");
    auto held = test.notify(contents);
    test.setHoldFlag(false);
    auto newer = test.notify(test.message("n2", "Alice", "Are you there?", "com.apple.MobileSMS"));
    EXPECT_FALSE(newer);
    EXPECT_FALSE(send<Ref<Object>>(held, SEL("presentedViewController")));
    ASSERT_FALSE(test.recorder->commands.empty());
    auto& update = test.recorder->commands.back();
    EXPECT_EQ(update["command"], Value("updateReply"));
    EXPECT_EQ(update["header"], Value("Alice"));
    EXPECT_EQ(update["body"], Value("Are you there?"));
    // The older notification is cleared, without feedback, and its banner stays.
    auto executed = test.eventsFor("action.executed", "n1");
    ASSERT_EQ(executed.size(), 1u);
    EXPECT_EQ(executed[0]["action"], "clear");
    EXPECT_TRUE(test.events("feedback").empty());
    EXPECT_TRUE(bannerOf(held));

    test.setHoldFlag(true);
    EXPECT_TRUE(test.notify("n3"));
    EXPECT_FALSE(test.eventsFor("system.presented", "n1").empty());
}

TEST(Hosting, recordsTheFirstStatusBarWindow)
{
    ControllerTestDevice test;
    auto* cls = test.runtime().classNamed("UIStatusBarWindow");
    Object* first = springboard::SpringBoardState::of(test.home()).startUpObjects().statusBarWindow.get();
    ASSERT_TRUE(first);
    EXPECT_EQ(send<Ref<Object>>(cls, SEL("brixSharedWindow")).get(), first);
    auto second = send<Ref<Object>>(runtime::alloc(cls), SEL("initWithFrame:"), uikit::Rect {});
    ASSERT_TRUE(second);
    EXPECT_EQ(send<Ref<Object>>(cls, SEL("brixSharedWindow")).get(), first);

    // Messages makes no status-bar window of its own at start-up.
    auto& messages = test.device().launch("com.apple.MobileSMS");
    auto* messagesClass = messages.runtime().classNamed("UIStatusBarWindow");
    EXPECT_FALSE(send<Ref<Object>>(messagesClass, SEL("brixSharedWindow")));
    auto made = send<Ref<Object>>(runtime::alloc(messagesClass), SEL("initWithFrame:"), uikit::Rect {});
    send<Ref<Object>>(runtime::alloc(messagesClass), SEL("initWithFrame:"), uikit::Rect {});
    EXPECT_EQ(send<Ref<Object>>(messagesClass, SEL("brixSharedWindow")).get(), made.get());
}

TEST(Hosting, handsEachNewBannerToThePictureProviderOfItsApp)
{
    ControllerTestDevice test({ { "timeToDismiss", longTime } });
    auto calls = recordProvider(test, "BrixWhatsAppContactPhotoProvider");
    auto telegramCalls = recordProvider(test, "BrixTelegramContactPhotoProvider");
    auto contents = test.message("n1", "Alice", "Hi", "net.whatsapp.WhatsAppSMB");
    auto controller = test.notify(contents);
    ASSERT_EQ(calls->size(), 1u);
    auto& call = calls->front();
    EXPECT_EQ(call.request, send<Ref<Object>>(controller, SEL("notificationRequest")).get());
    EXPECT_EQ(call.header, Value("Alice"));
    EXPECT_EQ(call.body, Value("Hi"));
    EXPECT_EQ(call.banner, bannerOf(controller).get());

    // Each app goes to its own provider; an app without one gets no picture.
    test.post("dismissnoani");
    test.notify(test.message("n2", "Bob", "Hi", "ph.telegra.Telegraph"));
    test.post("dismissnoani");
    test.notify(test.message("n3", "Bob", "Hi", "com.example.chat"));
    EXPECT_EQ(calls->size(), 1u);
    EXPECT_EQ(telegramCalls->size(), 1u);
}

TEST(Hosting, noPictureIsLookedUpForADisabledApp)
{
    for (const char* setting : { "enableWhatsApp", "enablePfps" }) {
        ControllerTestDevice test({ { setting, false } });
        auto calls = recordProvider(test, "BrixWhatsAppContactPhotoProvider");
        test.notify(test.message("n1", "Alice", "Hi", "net.whatsapp.WhatsApp"));
        EXPECT_TRUE(calls->empty()) << setting;
    }
}

TEST(Hosting, theBannerWindowTakesTheKeyboardAndContentTakesTouches)
{
    ControllerTestDevice test;
    Object* window = springboard::SpringBoardState::of(test.home()).startUpObjects().bannerWindow.get();
    EXPECT_TRUE(send<bool>(window, SEL("_canBecomeKeyWindow")));
    auto container = runtime::newObject(test.runtime().classNamed("NCNotificationContentContainerViewController"));
    send(container, SEL("setUserInteractionEnabled:"), false);
    EXPECT_TRUE(send<bool>(container, SEL("userInteractionEnabled")));
}

TEST(Hosting, loadingTheViewResetsTheFlagsAndSubscribesToCommands)
{
    ControllerTestDevice test;
    auto request = test.request(test.message("n1", "Alice", "Hi"));
    auto controller
        = send<Ref<Object>>(runtime::alloc(test.runtime().classNamed("NCNotificationShortLookViewController")),
            SEL("initWithNotificationRequest:"), request.get());
    send(controller, SEL("setHasDismissed:"), true);
    send(controller, SEL("setWasExternallyDismissed:"), true);
    send(controller, SEL("setBrixIdentifier:"), Value("abcdefgh"));
    test.post("dismiss");
    EXPECT_FALSE(flag(controller, "dismissCalled"));
    send<Ref<Object>>(controller, SEL("view"));
    EXPECT_FALSE(flag(controller, "hasDismissed"));
    EXPECT_FALSE(flag(controller, "wasExternallyDismissed"));
    test.post("dismiss");
    EXPECT_TRUE(flag(controller, "dismissCalled"));
}
