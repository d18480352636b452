#include <gtest/gtest.h>

#include "platform/apps/Apps.h"
#include "platform/device/Device.h"
#include "platform/device/DispatchQueueObject.h"
#include "platform/device/NSTask.h"
#include "platform/device/SymbolTable.h"
#include "platform/runtime/Send.h"

#include "tests/support/TempDirectory.h"

using namespace device;
using foundation::Value;
using runtime::Object;
using runtime::Ref;

namespace {

constexpr const char* home = "com.apple.springboard";

struct SystemDevice {
    SystemDevice()
        : device(temp.path())
    {
        apps::defineApps(device);
    }
    Ref<Object> task(Process& process, const char* path, Value arguments)
    {
        auto made = runtime::newObject(process.runtime().classNamed("NSTask"));
        runtime::send(made, SEL("setLaunchPath:"), Value(path));
        runtime::send(made, SEL("setArguments:"), arguments);
        return made;
    }
    size_t count(const std::string& type, const std::string& bundle = {})
    {
        size_t found = 0;
        for (auto& event : device.trace().eventsOfType(type))
            found += bundle.empty() || event.value("bundleId", "") == bundle;
        return found;
    }
    TempDirectory temp;
    Device device;
};

Value words(std::initializer_list<const char*> list)
{
    Value result = Value::array();
    for (auto* word : list)
        result.append(Value(word));
    return result;
}

} // namespace

TEST(SystemCommands, killallBackboarddRestartsTheHomeScreenOnALaterTurn)
{
    SystemDevice system;
    auto& settings = system.device.launch("com.apple.Preferences");
    system.device.launch(home);
    auto task = system.task(settings, "/usr/bin/killall", words({ "backboardd" }));
    runtime::send(task, SEL("launch"));
    auto launched = system.device.trace().eventsOfType("command.launched");
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0]["arguments"], Trace::Event::array({ "backboardd" }));
    EXPECT_TRUE(runtime::send<bool>(task, SEL("isRunning")));
    // The command runs as a process of its own: nothing happens before the device's next turn.
    EXPECT_EQ(system.count("process.exited"), 0u);
    Process* before = system.device.process(home);
    ASSERT_TRUE(system.device.scheduler().runDue(1000));
    EXPECT_EQ(system.count("process.exited", home), 1u);
    EXPECT_EQ(system.count("process.launched", home), 2u);
    EXPECT_NE(system.device.process(home), nullptr);
    EXPECT_NE(system.device.process(home), before);
    auto exited = system.device.trace().eventsOfType("command.exited");
    ASSERT_EQ(exited.size(), 1u);
    EXPECT_EQ(exited[0]["status"], 0);

    // A task launches once.
    runtime::send(task, SEL("launch"));
    EXPECT_EQ(system.count("command.launched"), 1u);
    EXPECT_EQ(system.device.trace().eventsOfType("command.failed").back()["reason"], "the task was launched already");
}

TEST(SystemCommands, killallOfAnAppEndsItAndSaysSoWhenNothingMatches)
{
    SystemDevice system;
    auto& settings = system.device.launch("com.apple.Preferences");
    system.device.launch("com.apple.MobileSMS");
    runtime::send(
        system.task(settings, "/usr/bin/killall", words({ "MobileSMS", "nothing-of-that-name" })), SEL("launch"));
    ASSERT_TRUE(system.device.scheduler().runDue(1000));
    EXPECT_EQ(system.device.process("com.apple.MobileSMS"), nullptr);
    auto exited = system.device.trace().eventsOfType("command.exited");
    ASSERT_EQ(exited.size(), 1u);
    EXPECT_EQ(exited[0]["status"], 1);
    EXPECT_NE(exited[0].value("output", "").find("nothing-of-that-name"), std::string::npos);
}

TEST(SystemCommands, aTaskThatCannotRunSaysWhyAndRunsNothing)
{
    SystemDevice system;
    auto& settings = system.device.launch("com.apple.Preferences");
    auto reasonOf = [&](Ref<Object> task) {
        runtime::send(task, SEL("launch"));
        EXPECT_FALSE(runtime::send<bool>(task, SEL("isRunning")));
        return system.device.trace().eventsOfType("command.failed").back().value("reason", "");
    };
    EXPECT_NE(reasonOf(system.task(settings, "/usr/bin/nothing", words({}))).find("no program"), std::string::npos);
    EXPECT_EQ(reasonOf(system.task(settings, "", words({}))), "the task has no launch path");
    EXPECT_EQ(reasonOf(system.task(settings, "/usr/bin/killall", Value(Value::Array { Value(3) }))),
        "an argument is not a string");
    EXPECT_EQ(system.count("command.launched"), 0u);
}

TEST(SymbolTable, findsASymbolOnlyAsTheTypeItWasExportedWith)
{
    TempDirectory temp;
    Device device(temp.path());
    Process process(device, "com.example.program");
    runtime::WeakRef<Object> variable;
    int other = 7;
    auto& symbols = SymbolTable::of(process);
    symbols.define("__variable", &variable);
    symbols.define("__number", &other);
    auto program = SymbolTable::open(process, {}, 8);
    ASSERT_TRUE(program);
    EXPECT_EQ(program.symbol<runtime::WeakRef<Object>>("__variable"), &variable);
    EXPECT_EQ(program.symbol<int>("__variable"), nullptr);
    EXPECT_EQ(program.symbol<int>("__number"), &other);
    EXPECT_EQ(program.symbol<int>("__missing"), nullptr);
    EXPECT_FALSE(SymbolTable::open(process, "/usr/lib/libother.dylib", 8));
    symbols.remove("__number");
    EXPECT_EQ(program.symbol<int>("__number"), nullptr);
    program.close();
    EXPECT_EQ(program.symbol<runtime::WeakRef<Object>>("__variable"), nullptr);
}

TEST(DispatchQueueObject, runsWorkOnItsQueueUntilItsProcessEnds)
{
    TempDirectory temp;
    Device device(temp.path());
    // Ended by hand, so that the process's run time outlives the queue object.
    Process process(device, "com.example.queues");
    DispatchQueueObject::registerClass(process);
    auto queue = DispatchQueueObject::make(process, "com.example.work");
    ASSERT_NE(queue, nullptr);
    EXPECT_EQ(runtime::send<Value>(queue, SEL("label")), Value("com.example.work"));
    std::vector<std::string> ranOn;
    auto record = [&] {
        auto* current = device.scheduler().currentQueue();
        ranOn.push_back(current ? current->label() : "none");
    };
    EXPECT_TRUE(dispatchSync(queue.get(), record));
    EXPECT_EQ(ranOn, std::vector<std::string> { "com.example.work" });
    EXPECT_EQ(device.scheduler().currentQueue(), nullptr);
    EXPECT_TRUE(dispatchAsync(queue.get(), record));
    EXPECT_EQ(ranOn.size(), 1u);
    ASSERT_TRUE(device.scheduler().runDue(10));
    EXPECT_EQ(ranOn, (std::vector<std::string> { "com.example.work", "com.example.work" }));
    EXPECT_FALSE(dispatchSync(nullptr, record));
    EXPECT_FALSE(dispatchSync(runtime::newObject(process.runtime().classNamed("NSObject")).get(), record));
    process.terminate();
    EXPECT_FALSE(dispatchSync(queue.get(), record));
    EXPECT_EQ(ranOn.size(), 2u);
}
