#include "platform/springboard/BannerPresenter.h"

#include <fstream>
#include <gtest/gtest.h>

#include "platform/graphics/PngCodec.h"
#include "platform/springboard/BBServer.h"
#include "platform/springboard/IconRenderer.h"
#include "platform/springboard/NCNotificationContent.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/springboard/SBNotificationBannerWindow.h"
#include "platform/springboard/SpringBoardState.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/ViewAnimation.h"

#include "tests/springboard/HomeScreenTestDevice.h"

using foundation::Value;
using runtime::Block;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;
using runtime::WeakRef;
using springboard::BannerPresenter;
using springboard::NCNotificationAction;
using springboard::NCNotificationRequest;
using springboard::NCNotificationShortLookViewController;

namespace {

Ref<NCNotificationRequest> request(
    device::Process& process, const char* identifier, const char* app = "com.example.chat")
{
    NCNotificationRequest::Contents contents;
    contents.sectionIdentifier = app;
    contents.notificationIdentifier = identifier;
    contents.title = "Alice";
    contents.message = "Hi";
    contents.defaultAction = NCNotificationAction::make(process.runtime(), "open");
    contents.clearAction = NCNotificationAction::make(process.runtime(), "clear");
    return NCNotificationRequest::make(process, contents);
}

springboard::SBNotificationBannerWindow* bannerWindow(device::Process& process)
{
    return springboard::SpringBoardState::of(process).startUpObjects().bannerWindow.get();
}

uikit::UIView* viewOf(const Ref<NCNotificationShortLookViewController>& controller)
{
    return controller->viewIfLoaded();
}

} // namespace

TEST(BannerPresenter, presentsABannerInTheBannerWindowBelowTheStatusBar)
{
    for (double bottomSafeArea : { 34.0, 0.0 }) {
        device::Hardware hardware;
        hardware.bottomSafeArea = bottomSafeArea;
        HomeScreenTestDevice test(hardware);
        auto& process = test.homeScreen();
        auto& presenter = BannerPresenter::of(process);
        EXPECT_TRUE(bannerWindow(process)->isHidden());

        auto controller = presenter.presentBanner(*request(process, "n1"));
        ASSERT_TRUE(controller);
        EXPECT_EQ(viewOf(controller)->superview(), bannerWindow(process));
        EXPECT_FALSE(bannerWindow(process)->isHidden());
        auto frame = viewOf(controller)->frame();
        EXPECT_NEAR(frame.origin.y, bottomSafeArea > 0 ? 70 : 28, 1e-9);
        EXPECT_NEAR(frame.width(), 390, 1e-9);
        EXPECT_EQ(presenter.currentBanner(), controller.get());
        EXPECT_EQ(presenter.controllerForNotification("n1"), controller.get());
        EXPECT_EQ(presenter.controllerForNotification("n2"), nullptr);
        // Its actions go to the system's banner destination.
        EXPECT_TRUE(runtime::isKindOf(controller->delegate(), "SBNotificationBannerDestination"));
    }
}

TEST(BannerPresenter, aBannerSlidesDownIntoItsPlace)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto& scheduler = test.device().scheduler();
    ASSERT_TRUE(scheduler.advanceTo(1));
    auto controller = BannerPresenter::of(process).presentBanner(*request(process, "n1"));
    ASSERT_TRUE(controller);
    auto* view = viewOf(controller);
    // The model holds the place at once; the screen shows the way there.
    EXPECT_NEAR(view->frame().origin.y, 70, 1e-9);
    double above = 70 - BannerPresenter::slideInDistance;
    EXPECT_NEAR(uikit::presentationFrame(view, 1).origin.y, above, 1e-9);
    double halfway = uikit::presentationFrame(view, 1 + BannerPresenter::slideInDuration / 2).origin.y;
    EXPECT_GT(halfway, above + 1);
    EXPECT_LT(halfway, 69);
    EXPECT_NEAR(uikit::presentationFrame(view, 1 + BannerPresenter::slideInDuration).origin.y, 70, 1e-9);
    ASSERT_TRUE(scheduler.advance(1));
    EXPECT_NEAR(uikit::presentationFrame(view, scheduler.now()).origin.y, 70, 1e-9);
}

TEST(BannerPresenter, presentsANewerBannerFromTheCurrentOne)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto& presenter = BannerPresenter::of(process);
    auto older = presenter.presentBanner(*request(process, "n1"));
    auto newer = presenter.presentBanner(*request(process, "n2"));
    ASSERT_TRUE(older && newer);
    EXPECT_EQ(newer->presenting(), older.get());
    EXPECT_EQ(viewOf(newer)->window(), bannerWindow(process));
    // The newer banner takes the older one's place on the screen.
    EXPECT_NEAR(viewOf(newer)->frame().origin.y, viewOf(older)->frame().origin.y, 1e-9);
    EXPECT_NEAR(viewOf(newer)->frame().height(), viewOf(older)->frame().height(), 1e-9);
    EXPECT_EQ(presenter.currentBanner(), newer.get());
    ASSERT_EQ(presenter.presentedBanners().size(), 2u);

    auto presented = test.device().trace().eventsOfType("system.presented");
    ASSERT_EQ(presented.size(), 1u);
    EXPECT_EQ(presented[0]["id"], "n1");
    EXPECT_EQ(presented[0]["presented"], "n2");
}

TEST(BannerPresenter, aNewerBannerWhosePresentationIsRefusedNeverEntersTheWindow)
{
    // A plug-in that keeps every presentation from a notification controller from happening.
    HomeScreenTestDevice test({}, [](device::Process& process) {
        auto* cls = process.runtime().classNamed("NCNotificationViewController");
        process.runtime().hookMessage(*cls, SEL("presentViewController:animated:completion:"),
            Imp::of([](Object*, Selector, Object*, bool, Block<void()>) {}));
    });
    auto& process = test.homeScreen();
    auto& presenter = BannerPresenter::of(process);
    auto older = presenter.presentBanner(*request(process, "n1"));
    ASSERT_TRUE(older);
    WeakRef<springboard::NCNotificationViewController> newer;
    {
        auto refusedRequest = request(process, "n2");
        EXPECT_FALSE(presenter.presentBanner(*refusedRequest));
        newer = presenter.controllerForNotification("n2");
    }
    // Nothing holds the refused controller.
    EXPECT_FALSE(newer);
    EXPECT_EQ(presenter.currentBanner(), older.get());
    EXPECT_EQ(bannerWindow(process)->subviews().size(), 1u);
    EXPECT_TRUE(test.device().trace().eventsOfType("system.presented").empty());
}

TEST(BannerPresenter, theSystemDismissesABannerAfterItsTimeoutAndLetsGoOfIt)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto& scheduler = test.device().scheduler();
    WeakRef<NCNotificationShortLookViewController> controller(
        BannerPresenter::of(process).presentBanner(*request(process, "n1")).get());
    ASSERT_TRUE(controller);
    ASSERT_TRUE(scheduler.advanceTo(BannerPresenter::bannerTimeout - 0.01));
    EXPECT_TRUE(test.device().trace().eventsOfType("system.dismissed").empty());

    ASSERT_TRUE(scheduler.advanceTo(BannerPresenter::bannerTimeout + 0.5));
    auto dismissed = test.device().trace().eventsOfType("system.dismissed");
    ASSERT_EQ(dismissed.size(), 1u);
    EXPECT_EQ(dismissed[0]["id"], "n1");
    EXPECT_EQ(dismissed[0]["transition"], NCNotificationShortLookViewController::Expired);
    EXPECT_FALSE(controller);
    EXPECT_EQ(BannerPresenter::of(process).currentBanner(), nullptr);
    EXPECT_TRUE(bannerWindow(process)->isHidden());
}

TEST(BannerPresenter, aDismissalAskedForAgainCompletesWithTheFirstAndIsTracedOnce)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto& scheduler = test.device().scheduler();
    auto controller = BannerPresenter::of(process).presentBanner(*request(process, "n1"));
    std::vector<std::string> completions;
    auto record = [&completions](const char* name) {
        return Block<void(bool)>([&completions, name](bool finished) {
            completions.push_back(std::string(name) + (finished ? ":yes" : ":no"));
        });
    };
    auto dismiss = SEL("dismissViewControllerWithTransition:completion:");
    send(controller, dismiss, int64_t(0), record("first"));
    ASSERT_TRUE(scheduler.advance(0.1));
    send(controller, dismiss, int64_t(3), record("second"));
    ASSERT_TRUE(scheduler.advance(0.3));
    EXPECT_EQ(completions, (std::vector<std::string> { "first:yes", "second:yes" }));
    send(controller, dismiss, int64_t(0), record("late"));
    EXPECT_EQ(completions.size(), 2u);
    ASSERT_TRUE(scheduler.runDue());
    EXPECT_EQ(completions.back(), "late:yes");
    // Neither the repeated requests nor the system's own timeout are traced again.
    ASSERT_TRUE(scheduler.advanceTo(BannerPresenter::bannerTimeout + 1));
    auto dismissed = test.device().trace().eventsOfType("system.dismissed");
    ASSERT_EQ(dismissed.size(), 1u);
    EXPECT_EQ(dismissed[0]["transition"], 0);
}

TEST(BannerPresenter, aTapOpensTheAppAndEndsThePresentation)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto controller = BannerPresenter::of(process).presentBanner(*request(process, "n1", "com.apple.MobileSMS"));
    auto recognizers = viewOf(controller)->gestureRecognizers();
    ASSERT_FALSE(recognizers.empty());
    dynamic_cast<uikit::UITapGestureRecognizer*>(recognizers[0].get())->recognizeTap();

    auto& trace = test.device().trace();
    auto opened = trace.eventsOfType("app.opened");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0]["id"], "n1");
    EXPECT_EQ(opened[0]["bundleId"], "com.apple.MobileSMS");
    EXPECT_EQ(trace.eventsOfType("action.executed")[0]["id"], "n1");
    ASSERT_TRUE(test.device().scheduler().advance(0.5));
    auto dismissed = trace.eventsOfType("system.dismissed");
    ASSERT_EQ(dismissed.size(), 1u);
    EXPECT_EQ(dismissed[0]["transition"], NCNotificationShortLookViewController::ActionPerformed);

    // Clearing ends the presentation too, but opens nothing; an action naming an app opens that one.
    auto other = BannerPresenter::of(process).presentBanner(*request(process, "n2"));
    send(other, SEL("_askDelegateToExecuteAction:withParameters:animated:"),
        send<Ref<Object>>(other->notificationRequest(), SEL("clearAction")).get(), Value::dictionary(), false);
    auto launcher = NCNotificationAction::make(process.runtime(), "call", {}, "com.apple.mobilephone");
    send(other, SEL("_askDelegateToExecuteAction:withParameters:animated:"), static_cast<Object*>(launcher.get()),
        Value::dictionary(), false);
    opened = trace.eventsOfType("app.opened");
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1]["bundleId"], "com.apple.mobilephone");
    ASSERT_TRUE(test.device().scheduler().advance(0.5));
    EXPECT_EQ(trace.eventsOfType("system.dismissed").size(), 2u);
}

TEST(BannerPresenter, theListShowsNotificationsOutsideTheBannerWindow)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto& presenter = BannerPresenter::of(process);
    auto first = presenter.showInList(*request(process, "n1"));
    auto second = presenter.showInList(*request(process, "n2"));
    ASSERT_TRUE(first && second);
    EXPECT_NE(viewOf(first)->window(), nullptr);
    EXPECT_NE(viewOf(first)->window(), bannerWindow(process));
    EXPECT_GT(
        viewOf(second)->frame().origin.y, viewOf(first)->frame().origin.y + viewOf(first)->frame().height() - 1e-9);
    EXPECT_EQ(presenter.currentBanner(), nullptr);
    EXPECT_TRUE(presenter.presentedBanners().empty());
    EXPECT_EQ(presenter.controllerForNotification("n2"), second.get());
    // The list does not time out.
    ASSERT_TRUE(test.device().scheduler().advance(BannerPresenter::bannerTimeout * 2));
    EXPECT_TRUE(test.device().trace().eventsOfType("system.dismissed").empty());
}

TEST(IconRenderer, answersTheIconOfAnAppFromTheIconCache)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto* imageClass = process.runtime().classNamed("UIImage");
    auto icon = [&](const char* bundle) {
        return send<Ref<Object>>(
            imageClass, SEL("_applicationIconImageForBundleIdentifier:format:"), Value(bundle), int64_t(8));
    };
    EXPECT_FALSE(icon("com.apple.MobileSMS"));
    auto path = test.device().hostPath(springboard::IconRenderer::iconPath("com.apple.MobileSMS"));
    std::filesystem::create_directories(path.parent_path());
    auto picture = graphics::encodePng(graphics::Image::create(4, 4).value());
    ASSERT_TRUE(picture);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(picture.value().data()),
            static_cast<std::streamsize>(picture.value().size()));
    EXPECT_TRUE(icon("com.apple.MobileSMS"));
    EXPECT_FALSE(icon("com.apple.mobilephone"));
    // Names that would reach outside the cache find nothing.
    EXPECT_FALSE(icon("../IconsCache/com.apple.MobileSMS"));
    EXPECT_FALSE(icon(".."));
}

TEST(BannerPresenter, presentsBulletinsPublishedForTheBannerDestination)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto* server = springboard::SpringBoardState::of(process).startUpObjects().bulletinServer.get();
    auto& presenter = BannerPresenter::of(process);
    auto publish = [&](const char* identifier, uint64_t destinations) {
        auto bulletin = makeObject(process, "BBBulletin");
        send(bulletin, SEL("setBulletinID:"), Value(identifier));
        send(bulletin, SEL("setTitle:"), Value("Brix"));
        send(bulletin, SEL("setSectionID:"), Value("com.apple.MobileSMS"));
        send(bulletin, SEL("setClearable:"), true);
        send(server, SEL("publishBulletin:destinations:"), bulletin.get(), destinations);
        ASSERT_TRUE(test.device().scheduler().runDue(1000));
    };

    publish("b1", springboard::BBServer::LockScreen);
    EXPECT_EQ(presenter.currentBanner(), nullptr);
    publish("b2", 15);
    auto* shown = presenter.currentBanner();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->notificationIdentifier().string(), "b2");
    auto* request = shown->notificationRequest();
    EXPECT_EQ(request->sectionIdentifier().string(), "com.apple.MobileSMS");
    EXPECT_EQ(request->content()->title().string(), "Brix");
    EXPECT_EQ(request->defaultAction()->launchBundleID().string(), "com.apple.MobileSMS");
    EXPECT_NE(request->clearAction(), nullptr);

    // A namer names what the system shows on its own.
    int count = 0;
    presenter.setNotificationNamer([&count] { return "named" + std::to_string(++count); });
    publish("b3", springboard::BBServer::Banner);
    EXPECT_EQ(presenter.currentBanner()->notificationIdentifier().string(), "named1");
}
