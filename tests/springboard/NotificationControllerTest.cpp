#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/springboard/NCNotificationViewControllerView.h"
#include "platform/springboard/SBNotificationBannerWindow.h"
#include "platform/springboard/SpringBoardState.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UITapGestureRecognizer.h"

#include "tests/springboard/HomeScreenTestDevice.h"

using foundation::Value;
using runtime::Block;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;
using springboard::NCNotificationAction;
using springboard::NCNotificationRequest;

namespace {

NCNotificationRequest::Contents messageContents(device::Process& process)
{
    NCNotificationRequest::Contents contents;
    contents.sectionIdentifier = "com.apple.MobileSMS";
    contents.threadIdentifier = "+15551234567";
    contents.title = "Alice";
    contents.message = "Hi there";
    contents.icons = Value::Array { Value(uikit::UIImage::make(process.runtime(), { 40, 40 }, 3)) };
    contents.userInfo = Value::Dictionary { { "CKBBUserInfoKeyChatIdentifier", "chat42" } };
    contents.defaultAction = NCNotificationAction::make(process.runtime(), "open");
    contents.clearAction = NCNotificationAction::make(process.runtime(), "clear");
    contents.supplementaryActions = Value::Dictionary {
        { "default", Value::Array { Value(NCNotificationAction::make(process.runtime(), "com.apple.reply")) } },
    };
    return contents;
}

Ref<Object> makeController(device::Process& process, const char* className, Object* request)
{
    return send<Ref<Object>>(
        runtime::alloc(process.runtime().classNamed(className)), SEL("initWithNotificationRequest:"), request);
}

// A short-look controller whose view is in the home screen's banner window, as the system presents banners.
struct Banner {
    Ref<Object> request;
    Ref<Object> controller;
    Ref<Object> hostView;
};

Banner presentBanner(device::Process& process)
{
    Banner banner;
    banner.request = NCNotificationRequest::make(process, messageContents(process));
    banner.controller = makeController(process, "NCNotificationShortLookViewController", banner.request.get());
    banner.hostView = send<Ref<Object>>(banner.controller, SEL("view"));
    auto* window = springboard::SpringBoardState::of(process).startUpObjects().bannerWindow.get();
    send(window, SEL("addSubview:"), banner.hostView.get());
    return banner;
}

} // namespace

TEST(NotificationRequest, carriesTheAppsPayloadAndItsActions)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto request = NCNotificationRequest::make(process, messageContents(process));

    EXPECT_EQ(send<Value>(request, SEL("sectionIdentifier")).string(), "com.apple.MobileSMS");
    EXPECT_EQ(send<Value>(request, SEL("threadIdentifier")).string(), "+15551234567");
    auto userNotification = send<Ref<Object>>(request, SEL("userNotification"));
    auto content = send<Ref<Object>>(send<Ref<Object>>(userNotification, SEL("request")), SEL("content"));
    EXPECT_EQ(send<Value>(content, SEL("userInfo"))["CKBBUserInfoKeyChatIdentifier"].string(), "chat42");
    EXPECT_TRUE(send<bool>(send<Ref<Object>>(request, SEL("options")), SEL("dismissAutomatically")));
    EXPECT_EQ(send<Value>(send<Ref<Object>>(request, SEL("clearAction")), SEL("identifier")).string(), "clear");
    EXPECT_EQ(send<Ref<Object>>(request, SEL("closeAction")).get(), nullptr);
    auto supplementary = send<Value>(request, SEL("supplementaryActions"));
    EXPECT_EQ(send<Value>(supplementary["default"][0].object(), SEL("identifier")).string(), "com.apple.reply");

    auto contents = messageContents(process);
    contents.hasOptions = false;
    EXPECT_EQ(send<Ref<Object>>(NCNotificationRequest::make(process, contents), SEL("options")).get(), nullptr);
}

TEST(NotificationController, buildsTheHostViewOfTheSystemVersionAroundTheContent)
{
    for (auto [version, hostClass] : { std::pair { "11.4", "_NCNotificationViewControllerView" },
             std::pair { "12.0", "NCNotificationViewControllerView" },
             std::pair { "13.3", "NCNotificationViewControllerView" } }) {
        device::Hardware hardware;
        hardware.systemVersion = version;
        HomeScreenTestDevice test(hardware);
        auto& process = test.homeScreen();
        auto request = NCNotificationRequest::make(process, messageContents(process));
        auto controller = makeController(process, "NCNotificationShortLookViewController", request.get());
        auto host = send<Ref<Object>>(controller, SEL("view"));
        EXPECT_EQ(runtime::classNameOf(host.get()), hostClass) << version;
        EXPECT_EQ(send<Ref<Object>>(host, SEL("nextResponder")).get(), controller.get());

        auto content = send<Ref<Object>>(host, SEL("contentView"));
        EXPECT_EQ(send<Ref<Object>>(content, SEL("superview")).get(), host.get());
        EXPECT_EQ(send<Value>(content, SEL("primaryText")).string(), "Alice");
        EXPECT_TRUE(send<Value>(content, SEL("primarySubtitleText")).isNil());
        EXPECT_EQ(send<Value>(content, SEL("secondaryText")).string(), "Hi there");
        EXPECT_TRUE(send<Value>(content, SEL("summaryText")).isNil());
        EXPECT_EQ(send<Value>(content, SEL("icons")).count(), 1u);
    }
}

TEST(NotificationController, theBannerWindowNeverBecomesKeyUnlikeOtherWindows)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto bannerWindow = send<Ref<Object>>(runtime::alloc(process.runtime().classNamed("SBNotificationBannerWindow")),
        SEL("initWithFrame:"), uikit::makeRect(0, 0, 390, 844));
    auto plainWindow = send<Ref<Object>>(runtime::alloc(process.runtime().classNamed("UIWindow")),
        SEL("initWithFrame:"), uikit::makeRect(0, 0, 390, 844));
    EXPECT_FALSE(send<bool>(bannerWindow, SEL("_canBecomeKeyWindow")));
    EXPECT_TRUE(send<bool>(plainWindow, SEL("_canBecomeKeyWindow")));

    send(bannerWindow, SEL("makeKeyAndVisible"));
    EXPECT_FALSE(send<bool>(bannerWindow, SEL("isKeyWindow")));
    EXPECT_FALSE(send<bool>(bannerWindow, SEL("isHidden")));
    EXPECT_NEAR(
        send<double>(bannerWindow, SEL("windowLevel")), springboard::SBNotificationBannerWindow::bannerLevel, 1e-9);
}

TEST(NotificationController, theSystemsDismissalFinishesOnlyAfterItsTransitionHasRun)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto banner = presentBanner(process);
    runtime::WeakRef<Object> controller(banner.controller.get());

    std::vector<bool> finished;
    send(banner.controller, SEL("dismissViewControllerWithTransition:completion:"), int64_t(0),
        Block<void(bool)>([&finished](bool done) { finished.push_back(done); }));
    banner.controller = nullptr; // the system holds the controller while the transition runs
    ASSERT_TRUE(controller);

    auto& scheduler = test.device().scheduler();
    ASSERT_TRUE(scheduler.advance(0.2));
    EXPECT_TRUE(finished.empty());
    EXPECT_NE(send<Ref<Object>>(banner.hostView, SEL("superview")).get(), nullptr);

    ASSERT_TRUE(scheduler.advance(0.2));
    EXPECT_EQ(finished, std::vector<bool> { true });
    EXPECT_EQ(send<Ref<Object>>(banner.hostView, SEL("superview")).get(), nullptr);
    auto events = test.device().trace().eventsOfType("system.dismissed");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]["transition"], 0);
    EXPECT_EQ(events[0]["finished"], true);
    EXPECT_FALSE(controller);
}

TEST(NotificationController, aTapOnTheBannerPerformsTheDefaultActionThroughTheDelegateMethod)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto banner = presentBanner(process);

    // The system's own recognizer on the host view reaches _handleTapOnView:.
    auto* host = dynamic_cast<uikit::UIView*>(banner.hostView.get());
    ASSERT_EQ(host->gestureRecognizers().size(), 1u);
    auto* tap = dynamic_cast<uikit::UITapGestureRecognizer*>(host->gestureRecognizers()[0].get());
    ASSERT_NE(tap, nullptr);
    tap->recognizeTap();

    auto events = test.device().trace().eventsOfType("action.executed");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]["action"], "open");
    EXPECT_TRUE(events[0]["parameters"].is_object());

    // An action given explicitly travels with its parameters; a missing action performs nothing.
    auto clear = send<Ref<Object>>(banner.request, SEL("clearAction"));
    send(banner.controller, SEL("_askDelegateToExecuteAction:withParameters:animated:"), clear.get(),
        Value(Value::Dictionary { { "reason", "test" } }), false);
    send(banner.controller, SEL("_askDelegateToExecuteAction:withParameters:animated:"), static_cast<Object*>(nullptr),
        Value(), false);
    events = test.device().trace().eventsOfType("action.executed");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1]["action"], "clear");
    EXPECT_EQ(events[1]["parameters"]["reason"], "test");
}

TEST(NotificationController, longLooksOpenByPressOrPullAndReportWhenShown)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto banner = presentBanner(process);
    auto& scheduler = test.device().scheduler();

    std::vector<bool> results;
    auto record = Block<void(bool)>([&results](bool shown) { results.push_back(shown); });
    send(banner.controller, SEL("_presentLongLookViaClickPresentationInteraction:"), static_cast<Object*>(nullptr));
    send(banner.controller, SEL("presentLongLookAnimated:trigger:completion:"), true, int64_t(1), record);
    ASSERT_TRUE(scheduler.advance(1));
    // The long look showed once; asking again while it shows reports that nothing new was shown.
    EXPECT_EQ(results, std::vector<bool> { false });
    auto* controller = dynamic_cast<springboard::NCNotificationViewController*>(banner.controller.get());
    EXPECT_TRUE(controller->isPresentingLongLook());
    EXPECT_EQ(controller->longLookTrigger(), springboard::NCNotificationViewController::Click);
    EXPECT_EQ(test.device().trace().eventsOfType("system.longLook").size(), 1u);

    // A second banner opens its long look when its content is pulled down far enough.
    auto second = presentBanner(process);
    auto content = send<Ref<Object>>(second.hostView, SEL("contentView"));
    auto* pan = dynamic_cast<uikit::UIPanGestureRecognizer*>(
        dynamic_cast<uikit::UIView*>(content.get())->gestureRecognizers().at(0).get());
    ASSERT_NE(pan, nullptr);
    using State = uikit::UIGestureRecognizer::State;
    pan->setState(State::Began);
    pan->setTranslation({ 0, 39 });
    pan->setState(State::Ended);
    EXPECT_FALSE(
        dynamic_cast<springboard::NCNotificationViewController*>(second.controller.get())->isPresentingLongLook());
    pan->setState(State::Began);
    pan->setTranslation({ 0, 41 });
    pan->setState(State::Ended);
    auto* secondController = dynamic_cast<springboard::NCNotificationViewController*>(second.controller.get());
    EXPECT_TRUE(secondController->isPresentingLongLook());
    EXPECT_EQ(secondController->longLookTrigger(), springboard::NCNotificationViewController::Scroll);
}

TEST(ContentContainerController, refusesRequestsItCannotShowAndAppliesItsInteractionAnswer)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    const char* container = "NCNotificationContentContainerViewController";
    EXPECT_EQ(makeController(process, container, nullptr).get(), nullptr);
    auto contents = messageContents(process);
    contents.sectionIdentifier = Value();
    EXPECT_EQ(makeController(process, container, NCNotificationRequest::make(process, contents).get()).get(), nullptr);

    auto request = NCNotificationRequest::make(process, messageContents(process));
    auto controller = makeController(process, container, request.get());
    ASSERT_TRUE(controller);
    EXPECT_EQ(send<Ref<Object>>(controller, SEL("notificationRequest")).get(), request.get());
    EXPECT_TRUE(send<bool>(controller, SEL("userInteractionEnabled")));
    send(controller, SEL("setUserInteractionEnabled:"), false);
    auto view = send<Ref<Object>>(controller, SEL("view"));
    EXPECT_FALSE(send<bool>(view, SEL("isUserInteractionEnabled")));

    // Whatever answers userInteractionEnabled decides for a view that loads later.
    process.runtime().hookMessage(*process.runtime().classNamed(container), SEL("userInteractionEnabled"),
        Imp::of([](Object*, Selector) { return true; }));
    auto another = makeController(process, container, request.get());
    send(another, SEL("setUserInteractionEnabled:"), false);
    EXPECT_TRUE(send<bool>(send<Ref<Object>>(another, SEL("view")), SEL("isUserInteractionEnabled")));
}
