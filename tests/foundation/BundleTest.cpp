#include "platform/foundation/Bundle.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "platform/foundation/PropertyList.h"

#include "tests/foundation/Printing.h"
#include "tests/uikit/UIKitTestProcess.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;

namespace {

constexpr const char* bundlePath = "/Library/Application Support/Brix/Assets.bundle";

class BundleTest : public ::testing::Test {
protected:
    void write(const std::string& devicePath, const std::string& contents)
    {
        auto host = test.device().hostPath(devicePath);
        std::filesystem::create_directories(host.parent_path());
        std::ofstream(host, std::ios::binary) << contents;
    }

    Ref<Object> bundle(const Value& path = bundlePath)
    {
        return send<Ref<Object>>(test.runtime().classNamed("NSBundle"), SEL("bundleWithPath:"), path);
    }

    Value localized(const Ref<Object>& bundle, const Value& key, const Value& value = {}, const Value& table = {})
    {
        return send<Value>(bundle, SEL("localizedStringForKey:value:table:"), key, value, table);
    }

    UIKitTestProcess test;
};

} // namespace

TEST_F(BundleTest, isFoundByDevicePathOnlyWhenTheFolderExists)
{
    EXPECT_FALSE(bundle());
    write(std::string(bundlePath) + "/glyphs/black/whatsapp.png", "png");
    auto assets = bundle();
    ASSERT_TRUE(assets);
    EXPECT_EQ(bundle().get(), assets.get()) << "the same path gives the same bundle";
    EXPECT_EQ(send<Value>(assets, SEL("bundlePath")), Value(bundlePath));
    EXPECT_FALSE(bundle(std::string(bundlePath) + "/glyphs/black/whatsapp.png")) << "a file is not a bundle";
    EXPECT_FALSE(bundle(Value()));
    EXPECT_FALSE(bundle("relative/path"));
}

TEST_F(BundleTest, findsResourcesByNameAndType)
{
    write(std::string(bundlePath) + "/glyphs/black/whatsapp.png", "png");
    write(std::string(bundlePath) + "/en.lproj/note.txt", "text");
    write("/Library/Application Support/Brix/secret.txt", "secret");
    auto assets = bundle();
    ASSERT_TRUE(assets);
    auto path = [&](const Value& name, const Value& type) {
        return send<Value>(assets, SEL("pathForResource:ofType:"), name, type);
    };
    EXPECT_EQ(path("glyphs/black/whatsapp", "png"), Value(std::string(bundlePath) + "/glyphs/black/whatsapp.png"));
    EXPECT_EQ(
        path("glyphs/black/whatsapp.png", Value()), Value(std::string(bundlePath) + "/glyphs/black/whatsapp.png"));
    EXPECT_EQ(path("note", "txt"), Value(std::string(bundlePath) + "/en.lproj/note.txt")) << "localised resources too";
    EXPECT_EQ(send<Value>(assets, SEL("pathForResource:ofType:inDirectory:"), Value("whatsapp"), Value("png"),
                  Value("glyphs/black")),
        Value(std::string(bundlePath) + "/glyphs/black/whatsapp.png"));
    EXPECT_TRUE(path("glyphs/white/whatsapp", "png").isNil());
    EXPECT_TRUE(path(Value(), "png").isNil());
    // A name may not climb out of the bundle.
    EXPECT_TRUE(path("../secret", "txt").isNil());
    EXPECT_TRUE(path("glyphs/../../secret", "txt").isNil());
}

TEST_F(BundleTest, localizesFromTheDefaultTableAndFallsBackAsThePlatformDoes)
{
    write(std::string(bundlePath) + "/en.lproj/Localizable.strings",
        "/* Banner */\n\"NOW\" = \"now\";\n\"EMPTY\" = \"\";\n");
    write(std::string(bundlePath) + "/Base.lproj/Localizable.strings",
        "\"NOW\" = \"base now\";\n\"ONLY_BASE\" = \"b\";\n");
    write(std::string(bundlePath) + "/en.lproj/Other.strings", "\"NOW\" = \"other now\";\n");
    auto assets = bundle();
    ASSERT_TRUE(assets);
    EXPECT_EQ(localized(assets, "NOW"), Value("now"));
    EXPECT_EQ(localized(assets, "NOW", "fallback", ""), Value("now"));
    EXPECT_EQ(localized(assets, "NOW", {}, "Other"), Value("other now"));
    EXPECT_EQ(localized(assets, "EMPTY", "fallback"), Value(""));
    // The first localisation with the table answers, without mixing in the next.
    EXPECT_EQ(localized(assets, "ONLY_BASE"), Value("ONLY_BASE"));
    // A missing key answers a non-empty value, else the key; a nil key its value or "".
    EXPECT_EQ(localized(assets, "MISSING", "Fallback"), Value("Fallback"));
    EXPECT_EQ(localized(assets, "MISSING", ""), Value("MISSING"));
    EXPECT_EQ(localized(assets, "MISSING"), Value("MISSING"));
    EXPECT_EQ(localized(assets, Value(), "Fallback"), Value("Fallback"));
    EXPECT_EQ(localized(assets, Value()), Value(""));
    // A table nowhere in the bundle: every key falls back.
    EXPECT_EQ(localized(assets, "NOW", "Now", "Missing"), Value("Now"));
}

TEST_F(BundleTest, readsTablesFromTheBaseOrRootAndInPropertyListForm)
{
    Value entries = Value::dictionary();
    entries.set("OPEN", "Open");
    auto data = foundation::serializePropertyList(entries, foundation::PropertyListFormat::Binary);
    ASSERT_TRUE(data);
    write(std::string(bundlePath) + "/Localizable.strings", std::string(data->begin(), data->end()));
    auto assets = bundle();
    ASSERT_TRUE(assets);
    EXPECT_EQ(localized(assets, "OPEN"), Value("Open"));

    write("/Library/Other.bundle/Base.lproj/Localizable.strings", "\"OPEN\" = \"Öffnen\";");
    auto other = bundle("/Library/Other.bundle");
    ASSERT_TRUE(other);
    EXPECT_EQ(localized(other, "OPEN"), Value("Öffnen"));
}

TEST_F(BundleTest, aMalformedTableIsReportedAndEveryKeyFallsBack)
{
    write(std::string(bundlePath) + "/en.lproj/Localizable.strings", "\"NOW\" = \"now\"\n\"CLOSE\" = \"Close\";");
    auto assets = bundle();
    ASSERT_TRUE(assets);
    testing::internal::CaptureStderr();
    EXPECT_EQ(localized(assets, "NOW", "now (fallback)"), Value("now (fallback)"));
    std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_NE(reported.find("Localizable.strings is malformed: line 2"), std::string::npos) << reported;
}
