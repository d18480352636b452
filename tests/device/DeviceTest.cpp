#include "platform/device/Device.h"

#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/Send.h"

#include "tests/support/TempDirectory.h"

using namespace device;
namespace fs = std::filesystem;

namespace {

// Records, in a list the test owns, when it is destroyed.
struct Recorder {
    explicit Recorder(Process& process)
        : process(&process)
    {
    }
    ~Recorder()
    {
        if (log)
            log->push_back(name + " destroyed");
    }
    Process* process;
    std::vector<std::string>* log { nullptr };
    std::string name;
};
struct FirstService : Recorder {
    using Recorder::Recorder;
};
struct SecondService : Recorder {
    using Recorder::Recorder;
};

struct DestructionWitness {
    explicit DestructionWitness(bool& flag)
        : destroyed(&flag)
    {
    }
    ~DestructionWitness() { *destroyed = true; }
    bool* destroyed;
};

std::vector<std::string> bundleIds(const std::vector<Trace::Event>& events)
{
    std::vector<std::string> result;
    for (auto& event : events)
        result.push_back(event["bundleId"]);
    return result;
}

} // namespace

TEST(Device, laysOutItsRootOnceAndAgain)
{
    TempDirectory temp;
    auto root = temp.path() / "root";
    {
        Device device(root);
        EXPECT_TRUE(fs::is_directory(root / "private/var/mobile/Library/Preferences"));
        EXPECT_TRUE(fs::is_directory(root / "Library/MobileSubstrate/DynamicLibraries"));
        ASSERT_TRUE(fs::is_symlink(root / "var"));
        EXPECT_EQ(fs::read_symlink(root / "var"), "private/var");
        std::ofstream(root / "var/mobile/Library/Preferences/kept.plist") << "kept";
    }
    // A second device on the same root keeps what is there.
    Device again(root);
    EXPECT_TRUE(fs::exists(root / "private/var/mobile/Library/Preferences/kept.plist"));

    // A root whose var is a real folder cannot hold the link: a clear error.
    auto broken = temp.path() / "broken";
    fs::create_directories(broken / "var");
    EXPECT_THROW(Device { broken }, fs::filesystem_error);
    // Nor can a root that is a file.
    std::ofstream(temp.path() / "file") << "x";
    EXPECT_THROW(Device { temp.path() / "file" }, fs::filesystem_error);
    // Neither the current folder (an empty path) nor the host's root will do.
    EXPECT_THROW(Device { "" }, fs::filesystem_error);
    EXPECT_THROW(Device { "/" }, fs::filesystem_error);
}

TEST(Device, hostPathsStayInsideTheRoot)
{
    TempDirectory temp;
    Device device(temp.path() / "root");
    auto root = device.root();
    EXPECT_EQ(device.hostPath("/"), root);
    EXPECT_EQ(device.hostPath("/var/mobile/Library"), root / "var/mobile/Library");
    EXPECT_EQ(device.hostPath("//var/./mobile//Library/"), root / "var/mobile/Library");
    EXPECT_EQ(device.hostPath("/var/mobile/../mobile/x"), root / "var/mobile/x");
    EXPECT_EQ(device.hostPath("/a/.."), root);

    // Relative paths, escapes and embedded NULs are refused.
    EXPECT_TRUE(device.hostPath("").empty());
    EXPECT_TRUE(device.hostPath("var/mobile").empty());
    EXPECT_TRUE(device.hostPath("/..").empty());
    EXPECT_TRUE(device.hostPath("/../etc/passwd").empty());
    EXPECT_TRUE(device.hostPath("/var/../../etc").empty());
    EXPECT_TRUE(device.hostPath(std::string_view("/var/\0x", 7)).empty());

    // /var and /private/var reach the same folder.
    std::ofstream(device.hostPath("/var/mobile/note.txt")) << "hello";
    std::ifstream in(device.hostPath("/private/var/mobile/note.txt"));
    std::string text;
    in >> text;
    EXPECT_EQ(text, "hello");
}

TEST(Device, launchBuildsTheAppThenStartsItAndTraces)
{
    TempDirectory temp;
    Device device(temp.path() / "root");
    std::vector<std::string> steps;
    int startUps = 0;
    device.defineApp({ "com.example.app",
        [&](Process& process) {
            steps.push_back("classes");
            process.runtime().defineClass<runtime::NSObject>("AppThing", "NSObject");
        },
        [&](Process& process) {
            ++startUps;
            steps.push_back(device.trace().eventsOfType("process.launched").empty() ? "start-up before trace"
                                                                                    : "start-up after trace");
            steps.push_back(process.runtime().classNamed("AppThing") ? "classes there" : "classes missing");
        } });

    Process& process = device.launch("com.example.app");
    EXPECT_EQ(steps, (std::vector<std::string> { "classes", "start-up before trace", "classes there" }));
    EXPECT_EQ(process.bundleIdentifier(), "com.example.app");
    EXPECT_TRUE(process.isRunning());
    EXPECT_EQ(
        bundleIds(device.trace().eventsOfType("process.launched")), (std::vector<std::string> { "com.example.app" }));

    // Launching a running app finds it.
    EXPECT_EQ(&device.launch("com.example.app"), &process);
    EXPECT_EQ(startUps, 1);
    EXPECT_EQ(device.trace().eventsOfType("process.launched").size(), 1u);
    EXPECT_EQ(device.process("com.example.app"), &process);
    EXPECT_EQ(device.process("com.example.other"), nullptr);

    // An app without a definition starts bare: only the root class.
    Process& bare = device.launch("com.example.unknown");
    EXPECT_NE(bare.runtime().classNamed("NSObject"), nullptr);
    EXPECT_EQ(bare.runtime().classNamed("AppThing"), nullptr);
    EXPECT_EQ(device.processes(), (std::vector<Process*> { &process, &bare }));
    // Two processes never share a run time.
    EXPECT_NE(&bare.runtime(), &process.runtime());
}

TEST(Device, terminateEndsTheProcessAndTraces)
{
    TempDirectory temp;
    Device device(temp.path() / "root");
    Process& process = device.launch("com.example.app");
    auto& cls = process.runtime().defineClass<runtime::NSObject>("Kept", "NSObject");
    auto kept = runtime::newObject(&cls);
    runtime::WeakRef<runtime::Object> weak(kept);
    process.keep(std::move(kept));

    bool pendingDestroyed = false;
    bool ran = false;
    process.mainQueue().after(
        1, [witness = std::make_shared<DestructionWitness>(pendingDestroyed), &ran] { ran = true; });
    process.queue("com.example.worker").async([&ran] { ran = true; });

    device.terminate("com.example.app");
    EXPECT_TRUE(pendingDestroyed);
    EXPECT_EQ(device.process("com.example.app"), nullptr);
    EXPECT_TRUE(device.processes().empty());
    EXPECT_EQ(weak.get(), nullptr);
    EXPECT_EQ(
        bundleIds(device.trace().eventsOfType("process.exited")), (std::vector<std::string> { "com.example.app" }));
    EXPECT_TRUE(device.scheduler().advance(2, 100));
    EXPECT_FALSE(ran);

    // Ending an app that does not run does nothing.
    device.terminate("com.example.app");
    EXPECT_EQ(device.trace().eventsOfType("process.exited").size(), 1u);
}

TEST(Device, processEndReleasesKeptObjectsThenServicesNewestFirst)
{
    TempDirectory temp;
    Device device(temp.path() / "root");
    std::vector<std::string> log;
    Process& process = device.launch("com.example.app");
    auto& first = process.service<FirstService>();
    first.log = &log;
    first.name = "first";
    auto& second = process.service<SecondService>();
    second.log = &log;
    second.name = "second";
    EXPECT_EQ(&process.service<FirstService>(), &first);
    EXPECT_EQ(process.existingService<SecondService>(), &second);

    // A kept object's dealloc still finds the services.
    auto& cls = process.runtime().defineClass<runtime::NSObject>("Kept", "NSObject");
    process.runtime().define(cls, SEL("dealloc"), runtime::Imp::of([&](runtime::Object* self, runtime::Selector) {
        log.push_back(process.existingService<FirstService>() ? "kept released, services alive" : "kept released late");
        self->finishDeallocation();
    }));
    process.keep(runtime::newObject(&cls));

    process.terminate();
    EXPECT_FALSE(process.isRunning());
    EXPECT_EQ(
        log, (std::vector<std::string> { "kept released, services alive", "second destroyed", "first destroyed" }));
    EXPECT_EQ(process.existingService<FirstService>(), nullptr);

    // After the end nothing is kept and new queues start closed.
    bool destroyed = false;
    process.queue("late").async([witness = std::make_shared<DestructionWitness>(destroyed)] {});
    EXPECT_TRUE(destroyed);
    device.terminate("com.example.app");
    EXPECT_EQ(device.trace().eventsOfType("process.exited").size(), 1u);
}

TEST(Device, aProcessEndedFromItsOwnTaskLivesUntilTheTaskReturns)
{
    TempDirectory temp;
    Device device(temp.path() / "root");
    device.defineApp({ "com.example.app",
        [](Process& process) { process.runtime().defineClass<runtime::NSObject>("AppThing", "NSObject"); }, {} });
    Process& process = device.launch("com.example.app");
    bool classStillThere = false;
    bool relaunched = false;
    process.mainQueue().async([&] {
        device.terminate("com.example.app");
        // The run time of the ended process is still usable here.
        classStillThere = process.runtime().classNamed("AppThing") != nullptr && !process.isRunning();
        relaunched = &device.launch("com.example.app") != &process;
    });
    EXPECT_TRUE(device.scheduler().runDue(100));
    EXPECT_TRUE(classStillThere);
    EXPECT_TRUE(relaunched);
    EXPECT_EQ(device.processes().size(), 1u);
    EXPECT_EQ(bundleIds(device.trace().eventsOfType("process.launched")),
        (std::vector<std::string> { "com.example.app", "com.example.app" }));
}

TEST(Device, switchingOffEndsProcessesNewestFirst)
{
    TempDirectory temp;
    std::vector<std::string> log;
    bool destroyed = false;
    {
        Device device(temp.path() / "root");
        for (std::string id : { "com.example.one", "com.example.two" }) {
            auto& recorder = device.launch(id).service<FirstService>();
            recorder.log = &log;
            recorder.name = id;
        }
        device.process("com.example.one")
            ->mainQueue()
            .after(5, [witness = std::make_shared<DestructionWitness>(destroyed), &log] { log.push_back("ran"); });
    }
    EXPECT_EQ(log, (std::vector<std::string> { "com.example.two destroyed", "com.example.one destroyed" }));
    EXPECT_TRUE(destroyed);
}
