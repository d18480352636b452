#include "platform/springboard/BBServer.h"

#include <gtest/gtest.h>

#include "platform/device/SymbolTable.h"
#include "platform/springboard/BannerPresenter.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/springboard/SpringBoardState.h"

#include "tests/springboard/HomeScreenTestDevice.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;
using springboard::BBServer;

namespace {

runtime::WeakRef<Object>* exportedQueue(device::Process& process)
{
    auto program = device::SymbolTable::open(process, {}, 8);
    return program.symbol<runtime::WeakRef<Object>>(BBServer::serverQueueSymbol);
}

Ref<Object> bulletin(device::Process& process, const char* title)
{
    auto made = makeObject(process, "BBBulletin");
    send(made, SEL("setTitle:"), Value(title));
    send(made, SEL("setMessage:"), Value("Body"));
    send(made, SEL("setSectionID:"), Value("com.example.app"));
    send(made, SEL("setBulletinID:"), Value(title));
    return made;
}

} // namespace

TEST(BBServerTest, exportsTheNewestServersQueueForAsLongAsAServerHoldsIt)
{
    HomeScreenTestDevice test;
    auto& home = test.homeScreen();
    auto* variable = exportedQueue(home);
    ASSERT_NE(variable, nullptr);
    auto* startUp = springboard::SpringBoardState::of(home).startUpObjects().bulletinServer.get();
    ASSERT_NE(startUp, nullptr);
    EXPECT_EQ(variable->get(), startUp->workQueue());
    EXPECT_EQ(startUp->workQueue()->label(), BBServer::queueLabel);

    auto other = send<Ref<Object>>(
        runtime::alloc(home.runtime().classNamed("BBServer")), SEL("initWithQueue:"), Value("com.example.other"));
    auto* otherServer = dynamic_cast<BBServer*>(other.get());
    ASSERT_NE(otherServer, nullptr);
    EXPECT_EQ(variable->get(), otherServer->workQueue());
    // The variable is weak: when the server that made the queue goes, it reads nil.
    other = nullptr;
    EXPECT_EQ(variable->get(), nullptr);
}

TEST(BBServerTest, publishesOnWhicheverQueueItIsCalledAndShowsBannerBulletinsOnly)
{
    HomeScreenTestDevice test;
    auto& home = test.homeScreen();
    auto* server = springboard::SpringBoardState::of(home).startUpObjects().bulletinServer.get();
    send(server, SEL("publishBulletin:destinations:"), bulletin(home, "quiet").get(), uint64_t(BBServer::LockScreen));
    device::dispatchSync(server->workQueue(), [&] {
        send(server, SEL("publishBulletin:destinations:"), bulletin(home, "loud").get(), uint64_t(BBServer::Banner));
    });
    ASSERT_TRUE(test.device().scheduler().runDue(1000));
    auto published = test.device().trace().eventsOfType("bulletin.published");
    ASSERT_EQ(published.size(), 2u);
    EXPECT_TRUE(published[0]["queue"].is_null());
    EXPECT_EQ(published[1]["queue"], BBServer::queueLabel);
    EXPECT_EQ(server->publishedBulletins().size(), 2u);
    auto& banners = springboard::BannerPresenter::of(home).presentedBanners();
    ASSERT_EQ(banners.size(), 1u);
    EXPECT_EQ(banners[0]->notificationIdentifier(), Value("loud"));
}
