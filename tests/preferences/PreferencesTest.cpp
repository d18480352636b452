#include <fstream>
#include <gtest/gtest.h>

#include "platform/apps/Apps.h"
#include "platform/device/Device.h"
#include "platform/foundation/PropertyList.h"
#include "platform/preferences/Domain.h"
#include "platform/runtime/Send.h"

#include "tests/support/TempDirectory.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;

namespace {

constexpr const char* domainName = "com.example.prefs";
constexpr const char* domainPath = "/var/mobile/Library/Preferences/com.example.prefs.plist";

// Two processes of one device, each with the preference library.
class PreferencesTest : public ::testing::Test {
protected:
    PreferencesTest()
        : device(root.path())
    {
        apps::defineApps(device);
    }

    Ref<Object> preferencesIn(const char* bundleIdentifier)
    {
        auto& process = device.launch(bundleIdentifier);
        auto* cls = process.runtime().classNamed("HBPreferences");
        return send<Ref<Object>>(runtime::alloc(cls), "initWithIdentifier:", domainName);
    }

    std::string fileContents()
    {
        std::ifstream in(device.hostPath(domainPath), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    void settle() { ASSERT_TRUE(device.scheduler().advance(1, 1000)); }

    TempDirectory root;
    device::Device device;
};

} // namespace

TEST_F(PreferencesTest, boundVariablesHoldDefaultsUntilAValueIsStored)
{
    auto preferences = preferencesIn("com.apple.springboard");
    bool flag = false;
    int64_t number = 0;
    send(preferences, "registerBool:default:forKey:", &flag, true, "flag");
    send(preferences, "registerInteger:default:forKey:", &number, 7, "number");
    EXPECT_TRUE(flag);
    EXPECT_EQ(number, 7);
    EXPECT_EQ(send<Value>(preferences, "objectForKey:", "number"), Value(7));

    send(preferences, "setObject:forKey:", Value(12), "number");
    EXPECT_EQ(number, 12) << "the writing process sees its own change at once";
    EXPECT_EQ(send<Value>(preferences, "objectForKey:", "number"), Value(12));
}

TEST_F(PreferencesTest, oneInstancePerDomainAndProcess)
{
    auto first = preferencesIn("com.apple.springboard");
    auto second = preferencesIn("com.apple.springboard");
    auto elsewhere = preferencesIn("com.apple.MobileSMS");
    EXPECT_EQ(first.get(), second.get());
    EXPECT_NE(first.get(), elsewhere.get());
}

TEST_F(PreferencesTest, aWriteInOneProcessReachesAnotherWithoutRestart)
{
    auto home = preferencesIn("com.apple.springboard");
    auto settings = preferencesIn("com.apple.MobileSMS");
    int64_t timeToDismiss = 0;
    bool enabled = false;
    send(home, "registerInteger:default:forKey:", &timeToDismiss, 5, "timeToDismiss");
    send(home, "registerBool:default:forKey:", &enabled, true, "enabled");

    send(settings, "setObject:forKey:", Value(2), "timeToDismiss");
    EXPECT_EQ(timeToDismiss, 5) << "delivery is asynchronous, on the observer's main queue";
    settle();
    EXPECT_EQ(timeToDismiss, 2);

    send(settings, "setObject:forKey:", Value(false), "enabled");
    settle();
    EXPECT_FALSE(enabled);

    send(settings, "removeAllObjects");
    settle();
    EXPECT_EQ(timeToDismiss, 5);
    EXPECT_TRUE(enabled);
}

TEST_F(PreferencesTest, writesAreTracedWithTheirKeys)
{
    auto preferences = preferencesIn("com.apple.springboard");
    send(preferences, "setObject:forKey:", Value(3), "timeToDismiss");
    auto events = device.trace().eventsOfType("preferences.changed");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]["keys"], nlohmann::ordered_json::array({ "timeToDismiss" }));
    EXPECT_EQ(device.trace().eventsOfType("distributed.posted").size(), 1u);
}

TEST_F(PreferencesTest, wrongTypesReadAsTheDefault)
{
    preferences::Domain domain(device, domainName);
    ASSERT_TRUE(domain.set("number", Value("twelve")));
    ASSERT_TRUE(domain.set("flag", Value(Value::Array { Value(1) })));
    ASSERT_TRUE(domain.set("count", Value(true)));
    auto preferences = preferencesIn("com.apple.springboard");
    int64_t number = 0;
    int64_t count = 0;
    bool flag = false;
    send(preferences, "registerInteger:default:forKey:", &number, 4, "number");
    send(preferences, "registerInteger:default:forKey:", &count, 4, "count");
    send(preferences, "registerBool:default:forKey:", &flag, true, "flag");
    EXPECT_EQ(number, 4);
    EXPECT_EQ(count, 1) << "booleans and numbers convert into each other";
    EXPECT_TRUE(flag);
}

TEST_F(PreferencesTest, corruptDomainGivesDefaultsAndIsLeftAsItWas)
{
    auto path = device.hostPath(domainPath);
    std::filesystem::create_directories(path.parent_path());
    const std::string garbage = "<?xml version=\"1.0\"?><plist><dict><key>number</key><integer>9";
    std::ofstream(path, std::ios::binary) << garbage;

    auto preferences = preferencesIn("com.apple.springboard");
    int64_t number = 0;
    send(preferences, "registerInteger:default:forKey:", &number, 4, "number");
    EXPECT_EQ(number, 4);
    send<Value>(preferences, "objectForKey:", "number");
    device.scheduler().advance(1, 1000);
    EXPECT_EQ(fileContents(), garbage) << "reading never rewrites the domain";
}

TEST_F(PreferencesTest, interruptedWriteLeavesTheOldDomain)
{
    preferences::Domain domain(device, domainName);
    ASSERT_TRUE(domain.set("number", Value(1)));
    auto before = fileContents();

    // A writer that died after writing its temporary file and before the
    // rename leaves that file beside the domain; the domain itself is whole.
    auto path = device.hostPath(domainPath);
    std::ofstream(path.parent_path() / ".com.example.prefs.plist.tmp-crashed", std::ios::binary) << "bplist00\x01\x02";
    auto preferences = preferencesIn("com.apple.springboard");
    int64_t number = 0;
    send(preferences, "registerInteger:default:forKey:", &number, 4, "number");
    EXPECT_EQ(number, 1);
    EXPECT_EQ(fileContents(), before);

    ASSERT_TRUE(domain.set("number", Value(2)));
    EXPECT_EQ(domain.read()["number"], Value(2));
}

TEST_F(PreferencesTest, unwritableDomainReportsAndKeepsTheOldValues)
{
    preferences::Domain domain(device, domainName);
    ASSERT_TRUE(domain.set("number", Value(1)));
    preferences::Domain invalid(device, "../escape");
    EXPECT_FALSE(invalid.set("number", Value(1)));
    Value object = Value(runtime::Ref<runtime::Object>());
    EXPECT_TRUE(domain.set("nothing", Value())) << "storing nil removes the key";
    EXPECT_EQ(domain.read()["number"], Value(1));
}
