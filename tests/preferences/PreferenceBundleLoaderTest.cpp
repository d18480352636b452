#include "platform/preferences/PreferenceBundleLoader.h"

#include "tests/preferences/SettingsFrameworkDevice.h"

using namespace frameworktest;
using preferences::PreferenceBundleLoader;

namespace {

Value entry(const char* label, const char* bundle, const char* detail)
{
    return Value(Value::Dictionary { { "entry",
        Value(Value::Dictionary { { "label", Value(label) }, { "bundle", Value(bundle) }, { "detail", Value(detail) },
            { "cell", Value("PSLinkCell") } }) } });
}

} // namespace

TEST(PreferenceBundleLoaderTest, readsEntriesInFileOrderAndReportsTheOthers)
{
    SettingsFrameworkDevice test;
    std::string folder = PreferenceBundleLoader::entriesFolder;
    test.writePlist(folder + "/b.plist", entry("Second", "Two", "TwoPage"));
    test.writePlist(folder + "/a.plist", entry("First", "One", "OnePage"));
    test.writeText(folder + "/c.plist", "garbage");
    test.writePlist(folder + "/d.plist", Value(Value::Dictionary { { "entry", Value::dictionary() } }));
    test.writeText(folder + "/notes.txt", "not an entry");
    auto entries = PreferenceBundleLoader::of(test.settings()).entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].label, "First");
    EXPECT_EQ(entries[0].bundle, "One");
    EXPECT_EQ(entries[0].detail, "OnePage");
    EXPECT_EQ(entries[1].label, "Second");
    // The first page lists them, and each file that is not an entry was reported once at start-up.
    auto* first = test.app().firstPage();
    ASSERT_EQ(first->groups().size(), 1u);
    ASSERT_EQ(first->groups()[0].rows.size(), 2u);
    EXPECT_EQ(first->groups()[0].rows[1]->name(), Value("Second"));
    auto errors = test.events("bundle.error");
    ASSERT_GE(errors.size(), 2u);
    EXPECT_EQ(errors[0]["path"], folder + "/c.plist");
    EXPECT_EQ(errors[1]["path"], folder + "/d.plist");
}

TEST(PreferenceBundleLoaderTest, aBundleThatCannotLoadSaysWhy)
{
    SettingsFrameworkDevice test;
    auto& loader = PreferenceBundleLoader::of(test.settings());
    auto reason = [&](const std::string& bundle) {
        auto loaded = loader.load(bundle);
        return loaded.isOk() ? std::string("loaded") : loaded.error().message;
    };
    std::string folder = PreferenceBundleLoader::bundlesFolder;
    EXPECT_NE(reason("../Escape").find("is not a bundle name"), std::string::npos);
    EXPECT_NE(reason("Absent").find("no such bundle"), std::string::npos);
    test.writeText(folder + "/NoInfo.bundle/Root.plist", "");
    EXPECT_NE(reason("NoInfo").find("Info.plist cannot be read"), std::string::npos);
    test.writePlist(folder + "/NoLibrary.bundle/Info.plist", Value::dictionary());
    EXPECT_NE(reason("NoLibrary").find("CFBundleExecutable"), std::string::npos);
    test.writePlist(
        folder + "/Text.bundle/Info.plist", Value(Value::Dictionary { { "CFBundleExecutable", Value("Text.so") } }));
    test.writeText(folder + "/Text.bundle/Text.so", "not a library");
    EXPECT_NE(reason("Text").find("cannot be loaded"), std::string::npos);
    test.writePlist(folder + "/NoEntry.bundle/Info.plist",
        Value(Value::Dictionary { { "CFBundleExecutable", Value("NoEntry.so") } }));
    std::filesystem::copy_file(
        DEVICE_TEST_PLUGIN_WITHOUT_ENTRY, test.device().hostPath(folder + "/NoEntry.bundle/NoEntry.so"));
    EXPECT_NE(reason("NoEntry").find("no entry point device_bundle_load"), std::string::npos);
    EXPECT_EQ(test.events("bundle.error").size(), 6u);
}
