#include <algorithm>

#include "platform/springboard/SBGrabberTongue.h"
#include "platform/springboard/SBLockScreenManager.h"
#include "platform/springboard/SpringBoard.h"
#include "platform/springboard/SpringBoardState.h"
#include "platform/uikit/UIPress.h"
#include "platform/uikit/UIPressesEvent.h"

#include "tests/controller/ControllerTestDevice.h"

using namespace controllertest;

namespace {

std::map<std::string, Value> settings()
{
    return { { "timeToDismiss", 100 } };
}

int countOf(ControllerTestDevice& test, const char* word)
{
    auto words = test.recorder->words();
    return static_cast<int>(std::count(words.begin(), words.end(), word));
}

bool pressButton(ControllerTestDevice& test, int64_t type, double force)
{
    auto& objects = springboard::SpringBoardState::of(test.home()).startUpObjects();
    auto event = uikit::UIPressesEvent::make(test.home(), { uikit::UIPress::make(test.runtime(), type, force) });
    return send<bool>(objects.application.get(), SEL("_handlePhysicalButtonEvent:"), event.get());
}

// The view of a notification the system would present, with these texts.
Ref<Object> presentedView(ControllerTestDevice& test, Value title, Value message, Value summary)
{
    auto contents = test.message("n9", std::move(title), std::move(message));
    contents.summaryText = std::move(summary);
    auto request = test.request(contents);
    auto controller
        = send<Ref<Object>>(runtime::alloc(test.runtime().classNamed("NCNotificationShortLookViewController")),
            SEL("initWithNotificationRequest:"), request.get());
    return send<Ref<Object>>(controller, SEL("view"));
}

} // namespace

TEST(SystemEvents, theGrabberDismissesAHeldBannerInsteadOfItself)
{
    ControllerTestDevice test(settings());
    auto* tongue = springboard::SpringBoardState::of(test.home()).startUpObjects().grabberTongue.get();
    auto dismissTongue = [&] { return send<bool>(tongue, SEL("dismissWithStyle:animated:"), int64_t(2), true); };

    // Nothing held: the system's own answer.
    EXPECT_FALSE(dismissTongue());
    send(tongue, SEL("presentAnimated:"), true);
    EXPECT_TRUE(dismissTongue());
    EXPECT_FALSE(tongue->isVisible());
    EXPECT_EQ(countOf(test, "dismiss"), 0);

    auto controller = test.notify("n1");
    test.setHoldFlag(false);
    send(tongue, SEL("presentAnimated:"), true);
    EXPECT_TRUE(dismissTongue());
    EXPECT_TRUE(tongue->isVisible());
    EXPECT_EQ(countOf(test, "dismiss"), 1);
    EXPECT_TRUE(flag(controller, "isDismissing"));
}

TEST(SystemEvents, theHomeButtonWithoutForceRemovesAHeldBanner)
{
    ControllerTestDevice test(settings());
    auto controller = test.notify("n1");
    auto* application = springboard::SpringBoardState::of(test.home()).startUpObjects().application.get();

    EXPECT_TRUE(pressButton(test, 101, 0.9));
    EXPECT_EQ(countOf(test, "dismissnoani"), 0);

    test.setHoldFlag(false);
    EXPECT_TRUE(pressButton(test, 102, 0));
    EXPECT_TRUE(pressButton(test, 101, 1.0));
    EXPECT_EQ(countOf(test, "dismissnoani"), 0);
    EXPECT_TRUE(pressButton(test, 101, 0.9));
    EXPECT_EQ(countOf(test, "dismissnoani"), 1);
    EXPECT_FALSE(bannerOf(controller));
    // The system handled every press itself.
    EXPECT_EQ(application->handledPresses(), (std::vector<int64_t> { 101, 102, 101, 101 }));

    auto empty = uikit::UIPressesEvent::make(test.home(), {});
    test.setHoldFlag(false);
    EXPECT_FALSE(send<bool>(application, SEL("_handlePhysicalButtonEvent:"), empty.get()));
    EXPECT_EQ(countOf(test, "dismissnoani"), 1);
}

TEST(SystemEvents, lockingAlwaysRemovesBannersBeforeTheLockScreenShows)
{
    ControllerTestDevice test(settings());
    auto* manager = springboard::SpringBoardState::of(test.home()).lockScreenManager();
    auto lockedWhenCommanded = std::make_shared<std::vector<bool>>();
    test.recorder->onCommand = [manager, lockedWhenCommanded](const Value& command) {
        if (command["command"].string() == "dismissnoani")
            lockedWhenCommanded->push_back(manager->isUILocked());
    };
    send(manager, SEL("lockUIFromSource:withOptions:"), int64_t(0), Value());
    EXPECT_EQ(*lockedWhenCommanded, std::vector<bool> { false });
    EXPECT_TRUE(manager->isUILocked());

    send<bool>(manager, SEL("unlockUIFromSource:withOptions:"), int64_t(0), Value());
    auto controller = test.notify("n1");
    send(manager, SEL("lockUIFromSource:withOptions:"), int64_t(0), Value());
    EXPECT_EQ(lockedWhenCommanded->size(), 2u);
    EXPECT_FALSE(bannerOf(controller));
    EXPECT_EQ(manager->activationCount(), 2);
}

TEST(SystemEvents, aPresentationOverAHeldBannerBecomesAnUpdateWithBothTexts)
{
    auto updatesOn = [](const char* version, Value message, Value summary) {
        device::Hardware hardware;
        hardware.systemVersion = version;
        ControllerTestDevice test(settings(), hardware);
        auto controller = test.notify("n1");
        send(controller, SEL("attemptUpdateReply:"), presentedView(test, "Alice", message, summary).get());
        std::vector<Value> updates;
        for (auto& command : test.recorder->commands) {
            if (command["command"].string() == "updateReply")
                updates.push_back(command);
        }
        return updates;
    };
    auto modern = updatesOn("14.4", "", "2 more messages");
    ASSERT_EQ(modern.size(), 1u);
    EXPECT_EQ(modern[0]["header"], Value("Alice"));
    EXPECT_EQ(modern[0]["body"], Value("2 more messages"));
    EXPECT_TRUE(updatesOn("11.4", "", "2 more messages").empty());
    EXPECT_TRUE(updatesOn("14.4", Value(), Value()).empty());
    EXPECT_EQ(updatesOn("11.4", "Hi", Value()).size(), 1u);
}

TEST(SystemEvents, attemptDeleteClearsWithoutFeedbackOrDismissal)
{
    ControllerTestDevice test(settings());
    auto contents = test.message("n1", "Alice", "Hi");
    contents.clearAction = test.action("clear");
    auto controller = test.notify(contents);
    send(controller, SEL("attemptDelete"));
    ASSERT_EQ(test.eventsFor("action.executed", "n1").size(), 1u);
    EXPECT_TRUE(test.events("feedback").empty());
    EXPECT_FALSE(flag(controller, "dismissCalled"));
    EXPECT_TRUE(bannerOf(controller));
}
