#include "tools/brix/BannerDrawing.h"

#include <fstream>
#include <gtest/gtest.h>
#include <vector>

#include "platform/graphics/Image.h"

#include "tests/support/TempDirectory.h"

namespace {

using tools::BannerOptionError;
using tools::BannerOptions;
using tools::drawBanner;

class BannerDrawingTest : public ::testing::Test {
protected:
    tools::DrawnBanner draw(BannerOptions options)
    {
        auto drawn = drawBanner(options, png());
        EXPECT_TRUE(drawn.drawn) << drawn.failure;
        return drawn;
    }

    std::filesystem::path png() const { return m_folder.path() / "banner.png"; }

    graphics::Image readPng() const
    {
        std::ifstream file(png(), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        auto image = graphics::Image::decode(bytes);
        EXPECT_TRUE(image) << image.error().message;
        return std::move(image.value());
    }

    void writeText(const std::string& name, const std::string& text) const
    {
        std::ofstream(m_folder.path() / name) << text;
    }
    std::string path(const std::string& name) const { return (m_folder.path() / name).string(); }

    TempDirectory m_folder;
};

TEST_F(BannerDrawingTest, aPlainBannerIsDrawnOnTheScreenAndInspected)
{
    BannerOptions options;
    options.header = "Alice";
    options.body = "Hi there";
    options.screen = "320x700";
    auto drawn = draw(options);

    EXPECT_EQ(drawn.banner["header"], "Alice");
    EXPECT_EQ(drawn.banner["body"], "Hi there");
    EXPECT_EQ(drawn.banner["tiny"], false);
    EXPECT_EQ(drawn.banner["frame"][2], 320);
    auto image = readPng();
    EXPECT_EQ(image.width(), 960);
    EXPECT_EQ(image.height(), 2100);
}

TEST_F(BannerDrawingTest, optionsReachTheBannerThroughThePreferencesAndTheNotification)
{
    BannerOptions tiny;
    tiny.header = "Alice";
    tiny.body = "Hi";
    tiny.tiny = true;
    EXPECT_EQ(draw(tiny).banner["tiny"], true);

    BannerOptions dark;
    dark.header = "Alice";
    dark.mode = 1;
    EXPECT_EQ(draw(dark).banner["colorMode"], 1);

    BannerOptions privacy;
    privacy.header = "Alice";
    privacy.body = "Secret";
    privacy.privacy = true;
    EXPECT_EQ(draw(privacy).banner["header"], "Content hidden");

    BannerOptions alarm;
    alarm.header = "Alarm";
    alarm.body = "Wake up";
    alarm.alarm = true;
    alarm.snoozable = true;
    auto buttons = draw(alarm).banner["buttons"];
    ASSERT_TRUE(buttons.is_array());
    std::vector<std::string> names;
    for (auto& button : buttons)
        names.push_back(button["name"]);
    EXPECT_NE(std::find(names.begin(), names.end(), "snooze"), names.end());
}

TEST_F(BannerDrawingTest, anExpandedBannerShowsAllItsLines)
{
    BannerOptions options;
    options.header = "Alice";
    options.body = "One two three four five six seven eight nine ten eleven twelve thirteen fourteen fifteen sixteen "
                   "seventeen eighteen nineteen twenty twenty-one twenty-two twenty-three twenty-four";
    auto compact = draw(options).banner;
    options.expanded = true;
    auto expanded = draw(options).banner;
    EXPECT_EQ(compact["bodyLabel"]["numberOfLines"], 2);
    EXPECT_EQ(expanded["bodyLabel"]["numberOfLines"], 15);
    EXPECT_GT(expanded["bodyLabel"]["lines"].get<int>(), 2);
    EXPECT_GT(expanded["frame"][3].get<double>(), compact["frame"][3].get<double>() + 10);
}

TEST_F(BannerDrawingTest, badOptionsAndUnreadablePicturesAreRefusedBeforeAnythingRuns)
{
    BannerOptions snoozeWithoutAlarm;
    snoozeWithoutAlarm.snoozable = true;
    EXPECT_THROW(drawBanner(snoozeWithoutAlarm, png()), BannerOptionError);

    BannerOptions badScreen;
    badScreen.screen = "wide";
    EXPECT_THROW(drawBanner(badScreen, png()), BannerOptionError);

    BannerOptions unknownKey;
    unknownKey.settings = { "noSuchKey=1" };
    EXPECT_THROW(drawBanner(unknownKey, png()), BannerOptionError);

    BannerOptions badValue;
    badValue.fontSizes = { "header=large" };
    EXPECT_THROW(drawBanner(badValue, png()), BannerOptionError);

    BannerOptions missingPicture;
    missingPicture.picture = path("absent.png");
    EXPECT_THROW(drawBanner(missingPicture, png()), BannerOptionError);

    writeText("text.png", "not a picture");
    BannerOptions notAPicture;
    notAPicture.icon = path("text.png");
    EXPECT_THROW(drawBanner(notAPicture, png()), BannerOptionError);

    EXPECT_FALSE(std::filesystem::exists(png()));
}

TEST_F(BannerDrawingTest, aBannerSwitchedOffBySettingsIsReportedNotDrawn)
{
    BannerOptions options;
    options.header = "Alice";
    options.settings = { "enabled=NO" };
    auto drawn = drawBanner(options, png());
    EXPECT_FALSE(drawn.drawn);
    EXPECT_FALSE(std::filesystem::exists(png()));
}

} // namespace
