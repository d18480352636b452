#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "platform/springboard/BBAction.h"
#include "platform/springboard/BBBulletin.h"
#include "platform/springboard/BBServer.h"
#include "platform/springboard/SBGrabberTongue.h"
#include "platform/springboard/SpringBoard.h"
#include "platform/springboard/SpringBoardState.h"
#include "platform/uikit/UIPress.h"
#include "platform/uikit/UIPressesEvent.h"

#include "tests/springboard/HomeScreenTestDevice.h"

using foundation::Value;
using runtime::Block;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;

namespace {

Ref<Object> makeBulletin(device::Process& process, const char* identifier)
{
    auto bulletin = makeObject(process, "BBBulletin");
    send(bulletin, SEL("setTitle:"), Value("Brix"));
    send(bulletin, SEL("setMessage:"), Value("Test notification"));
    send(bulletin, SEL("setSectionID:"), Value("com.apple.MobileSMS"));
    send(bulletin, SEL("setBulletinID:"), Value(identifier));
    send(bulletin, SEL("setClearable:"), true);
    auto action = send<Ref<Object>>(process.runtime().classNamed("BBAction"),
        SEL("actionWithLaunchBundleID:callblock:"), Value("com.apple.MobileSMS"), Block<void()> {});
    send(bulletin, SEL("setDefaultAction:"), action.get());
    return bulletin;
}

Ref<Object> buttonEvent(device::Process& process, std::vector<std::pair<int64_t, double>> presses)
{
    std::vector<Ref<uikit::UIPress>> list;
    for (auto [type, force] : presses)
        list.push_back(uikit::UIPress::make(process.runtime(), type, force));
    return uikit::UIPressesEvent::make(process, list);
}

} // namespace

TEST(BulletinServer, recordsTracesAndHandsOnWhatIsPublished)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto* server = springboard::SpringBoardState::of(process).startUpObjects().bulletinServer.get();
    ASSERT_NE(server, nullptr);
    std::vector<std::pair<std::string, uint64_t>> delivered;
    server->addObserver([&delivered](springboard::BBBulletin& bulletin, uint64_t destinations) {
        delivered.emplace_back(bulletin.bulletinID().string(), destinations);
    });

    auto bulletin = makeBulletin(process, "b1");
    send(server, SEL("publishBulletin:destinations:"), bulletin.get(), uint64_t(15));
    send(server, SEL("publishBulletin:destinations:"), static_cast<Object*>(nullptr), uint64_t(15));

    ASSERT_EQ(server->publishedBulletins().size(), 1u);
    auto* published = server->publishedBulletins()[0].get();
    EXPECT_TRUE(published->clearable());
    EXPECT_EQ(published->defaultAction()->launchBundleID().string(), "com.apple.MobileSMS");
    auto events = test.device().trace().eventsOfType("bulletin.published");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]["bulletinID"], "b1");
    EXPECT_EQ(events[0]["title"], "Brix");
    EXPECT_EQ(events[0]["message"], "Test notification");
    EXPECT_EQ(events[0]["sectionID"], "com.apple.MobileSMS");
    EXPECT_EQ(events[0]["destinations"], 15);

    // Observers hear of it on the next turn of the main queue, not during the publication.
    EXPECT_TRUE(delivered.empty());
    ASSERT_TRUE(test.device().scheduler().runDue(100));
    EXPECT_EQ(delivered, (std::vector<std::pair<std::string, uint64_t>> { { "b1", 15 } }));
}

TEST(SpringBoardButtons, handlesThePressesOfTheButtonsItKnows)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto application = send<Ref<Object>>(process.runtime().classNamed("UIApplication"), SEL("sharedApplication"));
    auto* springBoard = dynamic_cast<springboard::SpringBoard*>(application.get());
    ASSERT_NE(springBoard, nullptr);

    EXPECT_TRUE(
        send<bool>(application, SEL("_handlePhysicalButtonEvent:"), buttonEvent(process, { { 101, 0.9 } }).get()));
    EXPECT_TRUE(send<bool>(
        application, SEL("_handlePhysicalButtonEvent:"), buttonEvent(process, { { 7, 0 }, { 104, 1 } }).get()));
    EXPECT_FALSE(send<bool>(application, SEL("_handlePhysicalButtonEvent:"), buttonEvent(process, { { 7, 0 } }).get()));
    EXPECT_FALSE(send<bool>(application, SEL("_handlePhysicalButtonEvent:"), buttonEvent(process, {}).get()));
    EXPECT_FALSE(send<bool>(application, SEL("_handlePhysicalButtonEvent:"), static_cast<Object*>(nullptr)));
    EXPECT_EQ(springBoard->handledPresses(), (std::vector<int64_t> { 101, 104 }));

    auto event = buttonEvent(process, { { 101, 0.9 } });
    auto first = send<Value>(event, SEL("allPresses"))[0].object();
    EXPECT_EQ(send<int64_t>(first, SEL("type")), 101);
    EXPECT_EQ(static_cast<int64_t>(send<double>(first, SEL("force"))), 0);
}

TEST(GrabberTongue, dismissesOnlyWhatIsShown)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto* tongue = springboard::SpringBoardState::of(process).startUpObjects().grabberTongue.get();
    ASSERT_NE(tongue, nullptr);
    EXPECT_FALSE(send<bool>(tongue, SEL("dismissWithStyle:animated:"), int64_t(0), true));
    EXPECT_FALSE(tongue->lastDismissalStyle());

    send(tongue, SEL("presentAnimated:"), true);
    EXPECT_TRUE(send<bool>(tongue, SEL("isVisible")));
    EXPECT_TRUE(send<bool>(tongue, SEL("dismissWithStyle:animated:"), int64_t(2), false));
    EXPECT_FALSE(send<bool>(tongue, SEL("isVisible")));
    EXPECT_EQ(tongue->lastDismissalStyle(), 2);
}

TEST(LockScreenManager, locksThroughTheActivationMethodAndCompletesWhenTheLockScreenIsUp)
{
    HomeScreenTestDevice test;
    auto& process = test.homeScreen();
    auto manager = send<Ref<Object>>(process.runtime().classNamed("SBLockScreenManager"), SEL("sharedInstance"));

    int activations = 0;
    auto previous = std::make_shared<Imp>();
    *previous = process.runtime().hookMessage(*process.runtime().classNamed("SBLockScreenManager"),
        SEL("_activateLockScreenAnimated:animationProvider:automatically:inScreenOffMode:dimInAnimation:"
            "dismissNotificationCenter:completion:"),
        Imp::of([&activations, previous](Object* self, Selector sel, bool animated, Object* provider,
                    bool automatically, bool screenOff, bool dim, bool dismissCenter, Block<void()> completion) {
            ++activations;
            (*previous)(
                self, sel, animated, provider, automatically, screenOff, dim, dismissCenter, std::move(completion));
        }));

    send(manager, SEL("lockUIFromSource:withOptions:"), int64_t(1), Value());
    EXPECT_EQ(activations, 1);
    EXPECT_TRUE(send<bool>(manager, SEL("isUILocked")));

    int completions = 0;
    send(manager,
        SEL("_activateLockScreenAnimated:animationProvider:automatically:inScreenOffMode:dimInAnimation:"
            "dismissNotificationCenter:completion:"),
        true, static_cast<Object*>(nullptr), false, false, false, true,
        Block<void()>([&completions] { ++completions; }));
    auto& scheduler = test.device().scheduler();
    ASSERT_TRUE(scheduler.advance(0.1));
    EXPECT_EQ(completions, 0);
    ASSERT_TRUE(scheduler.advance(0.5));
    EXPECT_EQ(completions, 1);

    EXPECT_TRUE(send<bool>(manager, SEL("unlockUIFromSource:withOptions:"), int64_t(0), Value()));
    EXPECT_FALSE(send<bool>(manager, SEL("isUILocked")));
    EXPECT_FALSE(send<bool>(manager, SEL("unlockUIFromSource:withOptions:"), int64_t(0), Value()));
}
