#include "tools/brix/SettingsDriver.h"

#include <gtest/gtest.h>

#include "platform/apps/Apps.h"
#include "platform/device/Device.h"
#include "platform/preferences/Domain.h"
#include "platform/preferences/PSListController.h"

#include "tests/support/TempDirectory.h"
#include "tools/brix/DeviceRoot.h"
#include "tools/brix/scenario/ScreenRenderer.h"

using foundation::Value;
using tools::SettingsDriver;

namespace {

// A device root laid out as the tool lays out its own, with the built Brix and settings bundle.
struct DriverTest : ::testing::Test {
    DriverTest()
    {
        auto prepared = tools::prepareDeviceRoot(root.path());
        EXPECT_TRUE(prepared) << prepared.error().message;
        device = std::make_unique<device::Device>(root.path());
        apps::defineApps(*device);
    }

    Value stored(const std::string& key) { return preferences::Domain(*device, "com.ostwyn.brixprefs").read()[key]; }
    std::string failureOf(foundation::Result<std::string> result)
    {
        return result.isOk() ? "succeeded with " + result.value() : result.error().message;
    }
    size_t count(const std::string& type) { return device->trace().eventsOfType(type).size(); }

    TempDirectory root;
    std::unique_ptr<device::Device> device;
};

const SettingsDriver::Row* find(const SettingsDriver::Page& page, const std::string& title)
{
    for (auto& section : page.sections) {
        for (auto& row : section.rows) {
            if (row.title == title)
                return &row;
        }
    }
    return nullptr;
}

} // namespace

TEST_F(DriverTest, describesAPageWithTheValuesItsRowsShow)
{
    SettingsDriver driver(*device);
    auto root = driver.openRoot();
    ASSERT_TRUE(root.isOk()) << root.error().message;
    auto page = driver.describe(*root.value());
    EXPECT_EQ(page.title, "Brix");
    EXPECT_EQ(page.barButton, "Respring");
    ASSERT_NE(find(page, "Dismiss after"), nullptr);
    EXPECT_EQ(find(page, "Dismiss after")->kind, "slider");
    EXPECT_EQ(find(page, "Dismiss after")->value, "5");
    EXPECT_EQ(find(page, "Enabled")->value, "on");
    EXPECT_EQ(find(page, "Appearance")->kind, "link");
    EXPECT_EQ(find(page, "Send test banner")->kind, "button");

    auto appearance = driver.openPage("appearance");
    ASSERT_TRUE(appearance.isOk()) << appearance.error().message;
    auto sub = driver.describe(*appearance.value());
    EXPECT_EQ(sub.title, "Appearance");
    EXPECT_EQ(find(sub, "Colour mode")->value, "Follow system");
    EXPECT_EQ(find(sub, "Text alignment")->value, "Natural");
    EXPECT_FALSE(driver.openPage("Nowhere").isOk());
}

TEST_F(DriverTest, setWorksTheRowsControlAndRefusesWhatItCannotTake)
{
    SettingsDriver driver(*device);
    EXPECT_EQ(failureOf(driver.set("Dismiss after", "3")), "succeeded with 3");
    EXPECT_EQ(stored("timeToDismiss"), Value(3));
    EXPECT_EQ(failureOf(driver.set("colour mode", "light")), "succeeded with Light");
    EXPECT_EQ(stored("containerColor"), Value(2));
    EXPECT_EQ(failureOf(driver.set("Text alignment", "2")), "succeeded with Centre");
    EXPECT_EQ(stored("textAlignment"), Value(2));
    // "Messages" opens a page on the first page; the setting of that name is a switch elsewhere.
    EXPECT_EQ(failureOf(driver.set("Messages", "off")), "succeeded with off");
    EXPECT_EQ(stored("enableMessages"), Value(false));
    EXPECT_EQ(failureOf(driver.set("Enabled", "on")), "succeeded with on");
    EXPECT_TRUE(stored("enabled").isNil());

    EXPECT_NE(failureOf(driver.set("Dismiss after", "45")).find("from 1 to 30"), std::string::npos);
    EXPECT_NE(failureOf(driver.set("Dismiss after", "2.5")).find("steps"), std::string::npos);
    EXPECT_NE(failureOf(driver.set("Dismiss after", "soon")).find("from 1 to 30"), std::string::npos);
    EXPECT_NE(failureOf(driver.set("Enabled", "maybe")).find("on or off"), std::string::npos);
    EXPECT_NE(failureOf(driver.set("Colour mode", "Purple")).find("Follow system, Dark, Light, Opaque dark"),
        std::string::npos);
    auto unknown = failureOf(driver.set("Volume", "3"));
    EXPECT_NE(unknown.find("no setting titled \"Volume\""), std::string::npos);
    EXPECT_NE(unknown.find("Profile pictures"), std::string::npos);
    EXPECT_NE(
        failureOf(driver.set("Dismiss after", "4", "Appearance")).find("on the page Appearance"), std::string::npos);
    EXPECT_EQ(stored("timeToDismiss"), Value(3));
}

TEST_F(DriverTest, tapAsksBeforeARespringAndRunsTheBundlesActions)
{
    SettingsDriver driver(*device);
    auto unconfirmed = driver.tap("Respring", false);
    ASSERT_TRUE(unconfirmed.isOk()) << unconfirmed.error().message;
    EXPECT_FALSE(unconfirmed->done);
    EXPECT_EQ(unconfirmed->lines.front(), "Brix asks: Are you sure you want to respring?");
    EXPECT_EQ(count("command.launched"), 0u);

    auto confirmed = driver.tap("Respring", true);
    ASSERT_TRUE(confirmed.isOk());
    EXPECT_TRUE(confirmed->done);
    EXPECT_EQ(confirmed->lines.back(), "The home screen restarted.");
    EXPECT_EQ(count("command.launched"), 1u);

    auto banner = driver.tap("Send test banner", false);
    ASSERT_TRUE(banner.isOk());
    EXPECT_EQ(banner->lines.back(), "A Brix banner shows on the home screen.");
    EXPECT_EQ(count("bulletin.published"), 1u);

    ASSERT_TRUE(driver.set("Show buttons", "on").isOk());
    auto reset = driver.tap("Reset all settings", false);
    ASSERT_TRUE(reset.isOk());
    EXPECT_TRUE(preferences::Domain(*device, "com.ostwyn.brixprefs").read().entries().empty());
    EXPECT_EQ(count("command.launched"), 2u);
    EXPECT_FALSE(driver.tap("Nothing to tap", true).isOk());
}

TEST_F(DriverTest, inAScenarioTheDriverLeavesTheClockAlone)
{
    SettingsDriver driver(*device, SettingsDriver::Waiting::DueWorkOnly);
    auto outcome = driver.performAction("sendTestBanner");
    ASSERT_TRUE(outcome.isOk()) << outcome.error().message;
    EXPECT_EQ(device->scheduler().now(), 0);
    EXPECT_EQ(count("bulletin.published"), 1u);
    ASSERT_TRUE(driver.respring().isOk());
    EXPECT_EQ(device->scheduler().now(), 0);
    // The confirmed alert goes away first; the command follows once the device's time moves on.
    EXPECT_EQ(count("command.launched"), 0u);
    ASSERT_TRUE(device->scheduler().advance(1, SettingsDriver::maxTasks));
    EXPECT_EQ(count("command.launched"), 1u);
    EXPECT_FALSE(driver.performAction("noSuchAction").isOk());
}

TEST(SettingsDriverPicture, theFirstPagesTitleIsLightInTheDarkStyle)
{
    TempDirectory root;
    ASSERT_TRUE(tools::prepareDeviceRoot(root.path()));
    device::Hardware hardware;
    hardware.style = device::Hardware::Style::Dark;
    device::Device device(root.path(), hardware);
    apps::defineApps(device);
    SettingsDriver driver(device);
    ASSERT_TRUE(driver.openRoot().isOk());
    auto screen = tools::scenario::ScreenRenderer::render(device, driver.settingsProcess(), 1);
    ASSERT_TRUE(screen) << screen.error().message;
    // The navigation bar's title, "Brix", in the middle of the bar below the status bar.
    int light = 0;
    int dark = 0;
    for (int y = 50; y < 82; ++y) {
        for (int x = 150; x < 240; ++x) {
            auto pixel = screen.value().pixel(x, y);
            if (pixel.red > 200 && pixel.green > 200 && pixel.blue > 200)
                ++light;
            if (pixel.red + pixel.green + pixel.blue < 3 * 40)
                ++dark;
        }
    }
    EXPECT_GT(light, 40) << "the title is drawn in white";
    EXPECT_GT(dark, light) << "on the dark bar";
}

TEST_F(DriverTest, theFirstPageOpensByItsTitleAndATapSaysWhichPageItOpened)
{
    SettingsDriver driver(*device);
    auto root = driver.openPage("Brix");
    ASSERT_TRUE(root.isOk()) << root.error().message;
    EXPECT_EQ(driver.describe(*root.value()).barButton, "Respring");
    EXPECT_TRUE(driver.openPage("brix").isOk());

    auto appearance = driver.tap("Appearance", false);
    ASSERT_TRUE(appearance.isOk()) << appearance.error().message;
    EXPECT_EQ(appearance.value().lines, std::vector<std::string> { "Opened the page Appearance." });
    EXPECT_TRUE(appearance.value().done);
    auto reset = driver.tap("Reset", false);
    ASSERT_TRUE(reset.isOk()) << reset.error().message;
    EXPECT_EQ(reset.value().lines, std::vector<std::string> { "Opened the page Reset." });
}
