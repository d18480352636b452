#include "platform/device/DistributedNotificationCenter.h"
#include "platform/device/SymbolTable.h"
#include "platform/foundation/Classes.h"
#include "platform/preferences/Preferences.h"
#include "platform/springboard/BBAction.h"
#include "platform/springboard/BBBulletin.h"
#include "platform/springboard/BBServer.h"
#include "platform/springboard/SpringBoardApp.h"
#include "platform/springboard/SpringBoardState.h"

#include "tests/controller/ControllerTestDevice.h"

using namespace controllertest;
using springboard::BBServer;

namespace {

constexpr const char* bannerTestName = "com.mavrel.brix.receivedbannertest";

// What the settings page sends, from its own process.
void requestTestBanner(ControllerTestDevice& test)
{
    test.device().distributedCenter().post(bannerTestName, Value::dictionary());
    test.runDue();
}

BBServer* startUpServer(ControllerTestDevice& test)
{
    return springboard::SpringBoardState::of(test.home()).startUpObjects().bulletinServer.get();
}

Ref<BBServer> makeServer(ControllerTestDevice& test, const char* label, bool withServices)
{
    auto server = runtime::alloc(test.runtime().classNamed("BBServer"));
    Object* none = nullptr;
    Ref<Object> made = withServices ? send<Ref<Object>>(server,
                           SEL("initWithQueue:dataProviderManager:syncService:dismissalSyncCache:observerListener:"
                               "utilitiesListener:conduitListener:systemStateListener:settingsListener:"),
                           Value(label), none, none, none, none, none, none, none, none)
                                    : send<Ref<Object>>(server, SEL("initWithQueue:"), Value(label));
    return Ref<BBServer>(dynamic_cast<BBServer*>(made.get()));
}

std::vector<std::string> feedback(ControllerTestDevice& test)
{
    std::vector<std::string> played;
    for (auto& event : test.events("feedback"))
        played.push_back(event.value("kind", "") + " " + std::to_string(event.value("value", 0)));
    return played;
}

} // namespace

TEST(TestBanner, aRequestConfirmsAndPublishesAMessagesBulletinThatBecomesABanner)
{
    ControllerTestDevice test;
    requestTestBanner(test);
    EXPECT_EQ(feedback(test), std::vector<std::string> { "alertSound 4095" });
    auto published = test.events("bulletin.published");
    ASSERT_EQ(published.size(), 1u);
    EXPECT_EQ(published[0]["title"], "Brix");
    EXPECT_EQ(published[0]["message"], "Test notification");
    EXPECT_EQ(published[0]["sectionID"], "com.apple.MobileSMS");
    EXPECT_EQ(published[0]["destinations"], 15);
    EXPECT_EQ(published[0]["queue"], BBServer::queueLabel);

    auto* server = startUpServer(test);
    ASSERT_NE(server, nullptr);
    ASSERT_EQ(server->publishedBulletins().size(), 1u);
    auto& bulletin = *server->publishedBulletins()[0];
    std::set<std::string> identifiers { bulletin.bulletinID().string(), bulletin.recordID().string(),
        bulletin.publisherBulletinID().string() };
    EXPECT_EQ(identifiers.size(), 3u);
    EXPECT_EQ(bulletin.bulletinID().string().size(), 36u);
    EXPECT_TRUE(bulletin.date().isDate());
    EXPECT_EQ(bulletin.publicationDate(), bulletin.date());
    EXPECT_EQ(bulletin.lastInterruptDate(), bulletin.date());
    EXPECT_TRUE(bulletin.clearable());
    EXPECT_TRUE(bulletin.showsMessagePreview());
    ASSERT_NE(bulletin.defaultAction(), nullptr);
    EXPECT_EQ(bulletin.defaultAction()->launchBundleID(), Value("com.apple.MobileSMS"));
    EXPECT_FALSE(bulletin.defaultAction()->hasCallblock());

    auto* banner = springboard::BannerPresenter::of(test.home()).currentBanner();
    ASSERT_NE(banner, nullptr);
    auto view = bannerOf(banner);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(ivar(view.get(), "header"), Value("Brix"));
}

TEST(TestBanner, twoRequestsPublishTwoBulletinsAndTwoBanners)
{
    ControllerTestDevice test;
    requestTestBanner(test);
    requestTestBanner(test);
    auto published = test.events("bulletin.published");
    ASSERT_EQ(published.size(), 2u);
    EXPECT_NE(published[0]["bulletinID"], published[1]["bulletinID"]);
    auto& banners = springboard::BannerPresenter::of(test.home()).presentedBanners();
    ASSERT_EQ(banners.size(), 2u);
    EXPECT_NE(banners[0], banners[1]);
    EXPECT_NE(bannerOf(banners[1].get()), nullptr);
}

TEST(TestBanner, theConfirmationPlaysWhateverVibrateOnSendSays)
{
    // The device's feedback support decides the sound; the setting does not silence it.
    struct Case {
        int64_t level;
        const char* played;
    };
    for (auto& sample :
        { Case { 0, "alertSound 4095" }, Case { 1, "systemSound 1520" }, Case { 2, "alertSound 4095" } }) {
        SCOPED_TRACE(sample.level);
        device::Hardware hardware;
        hardware.feedbackSupportLevel = sample.level;
        ControllerTestDevice test({ { "vibrate_on_send", Value(false) } }, hardware);
        requestTestBanner(test);
        EXPECT_EQ(feedback(test), std::vector<std::string> { sample.played });
        EXPECT_EQ(test.events("bulletin.published").size(), 1u);
    }
}

TEST(TestBanner, theNewestServerIsUsedAndAnOlderOnesEndLeavesItCaptured)
{
    ControllerTestDevice test;
    auto older = makeServer(test, "com.example.older", false);
    auto newer = makeServer(test, "com.example.newer", true);
    ASSERT_TRUE(older && newer);
    older = nullptr;
    requestTestBanner(test);
    EXPECT_EQ(newer->publishedBulletins().size(), 1u);
    EXPECT_TRUE(startUpServer(test)->publishedBulletins().empty());
    // The server's queue is the newest server's, found once through the program's symbols.
    EXPECT_EQ(test.events("bulletin.published")[0]["queue"], "com.example.newer");
}

TEST(TestBanner, withoutABulletinServerOnlyTheConfirmationPlays)
{
    ControllerTestDevice test;
    // A home screen whose bulletin server has not been made: the same frameworks, no server.
    test.device().defineApp({ "com.apple.springboard",
        [](device::Process& process) {
            foundation::defineClasses(process.runtime());
            device::DistributedNotificationCenter::registerClass(process);
            preferences::defineClasses(process);
            springboard::defineClasses(process);
        },
        [](device::Process& process) {
            auto home = runtime::newObject(process.runtime().classNamed("SBHomeScreenViewController"));
            send<Ref<Object>>(home, SEL("view"));
            process.keep(home);
        } });
    // The recorder belongs to the first home screen's run time, which goes with it.
    test.recorder = nullptr;
    test.device().terminate("com.apple.springboard");
    test.device().launch("com.apple.springboard");
    test.device().distributedCenter().post(bannerTestName, Value::dictionary());
    ASSERT_TRUE(test.device().scheduler().runDue(ControllerTestDevice::maxTasks));
    EXPECT_EQ(feedback(test), std::vector<std::string> { "alertSound 4095" });
    EXPECT_TRUE(test.events("bulletin.published").empty());
}

TEST(TestBanner, aServerQueueThatCannotBeFoundPublishesNothingAndDoesNotCrash)
{
    // Without the symbol, or with its variable empty, the bulletin is not published any other way.
    for (bool removeSymbol : { true, false }) {
        SCOPED_TRACE(removeSymbol);
        ControllerTestDevice test;
        auto& symbols = device::SymbolTable::of(test.home());
        if (removeSymbol)
            symbols.remove(BBServer::serverQueueSymbol);
        else
            *symbols.lookUp<runtime::WeakRef<Object>>(BBServer::serverQueueSymbol) = nullptr;
        requestTestBanner(test);
        EXPECT_EQ(feedback(test).size(), 1u);
        EXPECT_TRUE(test.events("bulletin.published").empty());
        EXPECT_TRUE(startUpServer(test)->publishedBulletins().empty());
        EXPECT_EQ(springboard::BannerPresenter::of(test.home()).currentBanner(), nullptr);
        // The queue is looked up once: a later request does not find it either.
        requestTestBanner(test);
        EXPECT_EQ(feedback(test).size(), 2u);
        EXPECT_TRUE(test.events("bulletin.published").empty());
    }
}

TEST(TestBanner, aHomeScreenControllerListensFromLoadingItsViewUntilItGoes)
{
    ControllerTestDevice test;
    auto& center = test.device().distributedCenter();
    size_t before = center.observerCount();
    auto controller = runtime::newObject(test.runtime().classNamed("SBHomeScreenViewController"));
    EXPECT_EQ(center.observerCount(), before);
    send<Ref<Object>>(controller, SEL("view"));
    EXPECT_EQ(center.observerCount(), before + 1);
    controller = nullptr;
    EXPECT_EQ(center.observerCount(), before);
    requestTestBanner(test);
    EXPECT_EQ(test.events("bulletin.published").size(), 1u);
}
