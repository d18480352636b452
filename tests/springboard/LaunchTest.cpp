#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Classes.h"
#include "platform/springboard/SpringBoardApp.h"

#include "tests/springboard/HomeScreenTestDevice.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;

namespace {

constexpr const char* listenerApp = "com.example.listener";
constexpr const char* pingName = "com.example.ping";
constexpr size_t maxTasks = 1000;

// The names of the system-wide notifications its listener heard.
using Heard = std::vector<std::string>;

// An app whose start-up registers a listener for "com.example.ping" on the
// system-wide bus, as the Messages app's conversation list does.
device::AppDefinition listeningApp(std::shared_ptr<Heard> heard)
{
    auto defineClasses = [heard](device::Process& process) {
        auto& runtime = process.runtime();
        foundation::defineClasses(runtime);
        auto& cls = runtime.defineClass<runtime::NSObject>("Listener", "NSObject");
        runtime.define(cls, SEL("heard:"), runtime::Imp::of([heard](Object*, Selector, Object* notification) {
            heard->push_back(send<Value>(notification, SEL("name")).string());
        }));
    };
    auto startUp = [](device::Process& process) {
        auto listener = runtime::newObject(process.runtime().classNamed("Listener"));
        process.device().distributedCenter().addObserver(process, listener.get(), SEL("heard:"), pingName);
        process.keep(listener);
    };
    return { listenerApp, defineClasses, startUp };
}

bool launch(device::Process& home, Value identifier, bool suspended = true)
{
    auto application = send<Ref<Object>>(home.runtime().classNamed("UIApplication"), SEL("sharedApplication"));
    return send<bool>(application, SEL("launchApplicationWithIdentifier:suspended:"), identifier, suspended);
}

std::vector<std::string> types(const device::Trace& trace)
{
    std::vector<std::string> result;
    for (auto& event : trace.events())
        result.push_back(event["type"].get<std::string>());
    return result;
}

} // namespace

TEST(Launch, startsAnAppThatIsNotRunningAndIsCompleteWhenTheCallReturns)
{
    HomeScreenTestDevice test;
    auto heard = std::make_shared<Heard>();
    test.device().defineApp(listeningApp(heard));
    auto& home = test.homeScreen();
    size_t before = test.device().trace().events().size();

    EXPECT_TRUE(launch(home, listenerApp));
    auto* app = test.device().process(listenerApp);
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(test.device().distributedCenter().observerCount(), 1u);
    auto launched = test.device().trace().eventsOfType("app.launched");
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0]["bundleId"], listenerApp);
    EXPECT_EQ(launched[0]["suspended"], true);
    EXPECT_EQ(launched[0]["result"], "started");
    auto all = types(test.device().trace());
    EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<long>(before), all.end()),
        (std::vector<std::string> { "process.launched", "app.launched" }));

    // Asking again finds it running and starts nothing.
    EXPECT_TRUE(launch(home, listenerApp, false));
    EXPECT_EQ(test.device().process(listenerApp), app);
    EXPECT_EQ(test.device().trace().eventsOfType("process.launched").size(), 2u);
    launched = test.device().trace().eventsOfType("app.launched");
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[1]["result"], "running");
    EXPECT_EQ(launched[1]["suspended"], false);
}

TEST(Launch, aPostingRightAfterTheLaunchRequestReachesTheNewApp)
{
    HomeScreenTestDevice test;
    auto heard = std::make_shared<Heard>();
    test.device().defineApp(listeningApp(heard));
    auto& home = test.homeScreen();
    // From a turn of the home screen's main queue, as a plug-in asks for it.
    home.mainQueue().async([&home, &test] {
        launch(home, listenerApp);
        test.device().distributedCenter().post(pingName, {}, &home);
    });
    ASSERT_TRUE(test.device().scheduler().runDue(maxTasks));
    EXPECT_EQ(*heard, Heard { pingName });

    // Ended and asked for again, the app starts afresh and hears the next posting.
    test.device().terminate(listenerApp);
    test.device().distributedCenter().post(pingName);
    ASSERT_TRUE(test.device().scheduler().runDue(maxTasks));
    EXPECT_EQ(heard->size(), 1u);
    home.mainQueue().async([&home, &test] {
        launch(home, listenerApp);
        test.device().distributedCenter().post(pingName, {}, &home);
    });
    ASSERT_TRUE(test.device().scheduler().runDue(maxTasks));
    EXPECT_EQ(heard->size(), 2u);
}

TEST(Launch, refusesAppsTheDeviceDoesNotHave)
{
    HomeScreenTestDevice test;
    auto& home = test.homeScreen();
    size_t processes = test.device().processes().size();
    EXPECT_FALSE(launch(home, "com.example.missing"));
    EXPECT_FALSE(launch(home, ""));
    EXPECT_FALSE(launch(home, Value(5)));
    EXPECT_FALSE(launch(home, Value()));
    EXPECT_EQ(test.device().processes().size(), processes);
    auto launched = test.device().trace().eventsOfType("app.launched");
    ASSERT_EQ(launched.size(), 4u);
    EXPECT_EQ(launched[0]["bundleId"], "com.example.missing");
    for (auto& event : launched)
        EXPECT_EQ(event["result"], "unknown");
    EXPECT_TRUE(launched[2]["bundleId"].is_null());
}
