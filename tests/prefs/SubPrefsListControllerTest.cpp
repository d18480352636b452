#include "platform/preferences/PSSwitchTableCell.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UISwitch.h"

#include "tests/prefs/SettingsTestDevice.h"
#include "tweak/Settings.h"

using namespace settingstest;

namespace {

std::vector<std::string> titlesOf(PSListController* page)
{
    std::vector<std::string> titles;
    for (auto& group : page->groups()) {
        for (auto& row : group.rows)
            titles.push_back(row->name().string());
    }
    return titles;
}

bool switchShows(PSListController* page, const std::string& title)
{
    auto* cell = dynamic_cast<preferences::PSSwitchTableCell*>(page->cellFor(SettingsTestDevice::row(page, title)));
    return cell && cell->control()->isOn();
}

// Counts the messages a page class answers, as a debugging tool would.
struct MessageCounter {
    MessageCounter(runtime::Runtime& runtime, const char* className, const char* selector)
    {
        auto* cls = runtime.classNamed(className);
        auto previous = std::make_shared<runtime::Imp>();
        auto* count = &calls;
        *previous = runtime.hookMessage(
            *cls, Selector::named(selector), runtime::Imp::of([previous, count](Object* self, Selector sel) {
                ++*count;
                (*previous)(self, sel);
            }));
    }
    int calls { 0 };
};

} // namespace

TEST(SubPrefsListControllerTest, takesItsFileAndTitleFromTheRowThatOpensIt)
{
    SettingsTestDevice test;
    auto* root = test.openRoot();
    auto* appearance = test.tap(root, "Appearance");
    ASSERT_NE(appearance, nullptr);
    EXPECT_EQ(runtime::classNameOf(appearance), "BRXSubPrefsListController");
    EXPECT_EQ(appearance->title(), Value("Appearance"));
    EXPECT_EQ(appearance->navigationItem()->title(), Value("Appearance"));
    EXPECT_EQ(test.visibleBar()->topItem(), appearance->navigationItem());
    auto titles = titlesOf(appearance);
    ASSERT_FALSE(titles.empty());
    EXPECT_EQ(titles.front(), "Colour mode");

    test.app().goBack();
    test.runDue();
    auto* text = test.tap(root, "Text");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->title(), Value("Text"));
    EXPECT_EQ(titlesOf(text).front(), "Header size");
}

TEST(SubPrefsListControllerTest, keepsItsRowsWhenTheSettingsAppComesBack)
{
    SettingsTestDevice test;
    MessageCounter subReloads(test.runtime(), "PSListController", "reloadSpecifiers");
    auto* root = test.openRoot();
    MessageCounter pageReloads(test.runtime(), "BRXSubPrefsListController", "reloadSpecifiers");
    auto* pictures = test.tap(root, "Profile pictures");
    ASSERT_NE(pictures, nullptr);
    ASSERT_TRUE(switchShows(pictures, "Telegram"));
    int before = subReloads.calls;

    test.app().enterBackground();
    ASSERT_TRUE(preferences::Domain(test.device(), "com.ostwyn.brixprefs").set("enableTelegram", Value(false)));
    test.runDue();
    test.app().enterForeground();
    test.runDue();
    EXPECT_EQ(pageReloads.calls, 0);
    // The two pages below it (the app's own and Brix's first) ask to be reloaded, and are.
    EXPECT_EQ(subReloads.calls, before + 2);
    EXPECT_TRUE(switchShows(pictures, "Telegram"));
}

TEST(SubPrefsListControllerTest, aRowWithoutAFileOpensAnEmptyPage)
{
    SettingsTestDevice test;
    auto* root = test.openRoot();
    ASSERT_NE(root, nullptr);
    for (const char* file : { "", "Missing" }) {
        SCOPED_TRACE(file);
        auto row = PSSpecifier::make(test.runtime(), Value("Nowhere"), PSSpecifier::LinkCell);
        row->setDetailControllerClassName("BRXSubPrefsListController");
        if (*file)
            row->setProperty(Value(file), "BRXSub");
        auto page = root->openLink(*row);
        test.runDue();
        auto* list = dynamic_cast<PSListController*>(page.get());
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->groups().empty());
        EXPECT_EQ(list->title(), Value("Nowhere"));
        test.app().goBack();
        test.runDue();
    }
    auto errors = test.events("settings.error");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[1].value("message", "").find("Missing.plist"), std::string::npos);
}

TEST(SubPrefsListControllerTest, resetClearsEveryKeyAndRestartsTheHomeScreenOnce)
{
    SettingsTestDevice test({}, { { "timeToDismiss", Value(9) }, { "enabled", Value(false) } });
    auto* root = test.openRoot();
    auto* pictures = test.tap(root, "Profile pictures");
    auto* cell
        = dynamic_cast<preferences::PSSwitchTableCell*>(pictures->cellFor(SettingsTestDevice::row(pictures, "Slack")));
    ASSERT_TRUE(cell->control()->toggle());
    test.runDue();
    EXPECT_EQ(test.stored("enableSlack"), Value(false));
    test.app().goBack();
    test.runDue();

    auto* reset = test.tap(root, "Reset");
    ASSERT_NE(reset, nullptr);
    test.tap(reset, "Reset all settings");
    test.advance(1);
    for (auto& key : brix::settingKeys)
        EXPECT_TRUE(test.stored(std::string(key.key)).isNil()) << key.key;
    EXPECT_EQ(test.count("command.launched"), 1u);
    EXPECT_EQ(test.count("process.exited", "bundleId", "com.apple.springboard"), 1u);
    EXPECT_EQ(test.count("process.launched", "bundleId", "com.apple.springboard"), 2u);
    // Nothing was asked first, and the Settings app stays.
    EXPECT_EQ(reset->presented(), nullptr);
    EXPECT_TRUE(test.settings().isRunning());
    EXPECT_EQ(test.app().topPage(), reset);
}

TEST(AppearanceSettingsTest, tintsByVersionAndStyleEachTimeItIsAsked)
{
    device::Hardware modern;
    modern.style = device::Hardware::Style::Dark;
    SettingsTestDevice test(modern);
    auto* root = test.openRoot();
    ASSERT_NE(root, nullptr);
    auto appearance = runtime::newObject(test.runtime().classNamed("BRXAppearanceSettings"));
    auto tint = [&] {
        return dynamic_cast<uikit::UIColor*>(SettingsTestDevice::object(appearance.get(), "tintColor").get())->color();
    };
    EXPECT_NEAR(tint().red, 238 / 255.0, 1e-9);
    EXPECT_NEAR(tint().green, 70 / 255.0, 1e-9);
    EXPECT_NEAR(tint().blue, 107 / 255.0, 1e-9);
    test.device().hardware().style = device::Hardware::Style::Light;
    EXPECT_EQ(tint(), (graphics::Color { 1, 0, 0, 1 }));
    test.device().hardware().style = device::Hardware::Style::Dark;
    test.device().hardware().systemVersion = "12.5";
    EXPECT_EQ(tint(), (graphics::Color { 1, 0, 0, 1 }));

    auto separatorColor = SettingsTestDevice::object(appearance.get(), "tableViewCellSeparatorColor");
    auto* separator = dynamic_cast<uikit::UIColor*>(separatorColor.get());
    ASSERT_NE(separator, nullptr);
    EXPECT_EQ(separator->alpha(), 0);
    EXPECT_TRUE(send<bool>(appearance, SEL("translucentNavigationBar")));
    // The pages wear it: no lines between cells.
    ASSERT_NE(root->table()->separatorColor(), nullptr);
    EXPECT_EQ(root->table()->separatorColor()->alpha(), 0);
}
