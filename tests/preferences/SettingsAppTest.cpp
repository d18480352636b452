#include "platform/preferences/PreferenceBundleLoader.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIWindow.h"

#include "tests/preferences/SettingsFrameworkDevice.h"

using namespace frameworktest;

TEST(SettingsAppTest, nestsThePagesInANavigationControllerWhoseBarShowsThem)
{
    SettingsFrameworkDevice test;
    test.writeSpecifierFile("Page", { row("PSStaticTextCell", "Text") }, Value("A page"));
    auto& app = test.app();
    ASSERT_NE(app.window(), nullptr);
    EXPECT_FALSE(app.window()->isHidden());
    EXPECT_EQ(app.window()->rootViewController(), app.rootController());
    EXPECT_EQ(app.pages()->parent(), app.rootController());
    EXPECT_TRUE(app.pages()->isNavigationBarHidden());
    auto* bar = app.rootController()->navigationBar();
    EXPECT_EQ(bar->topItem(), app.firstPage()->navigationItem());
    EXPECT_EQ(bar->topItem()->title(), Value("Settings"));
    EXPECT_FALSE(bar->showsBackButton());
    EXPECT_FALSE(app.goBack());

    auto* page = test.openPage("Page");
    EXPECT_EQ(page->navigationController(), app.pages());
    EXPECT_EQ(page->navigationController()->navigationController(), app.rootController());
    EXPECT_EQ(bar->topItem(), page->navigationItem());
    EXPECT_EQ(bar->topItem()->title(), Value("A page"));
    EXPECT_TRUE(bar->showsBackButton());
    EXPECT_TRUE(app.goBack());
    test.runDue();
    EXPECT_EQ(bar->topItem(), app.firstPage()->navigationItem());
}

TEST(SettingsAppTest, anEntryThatCannotOpenSaysWhyAndOpensNothing)
{
    SettingsFrameworkDevice test;
    test.writePlist(std::string(preferences::PreferenceBundleLoader::entriesFolder) + "/Ghost.plist",
        Value(Value::Dictionary { { "entry",
            Value(Value::Dictionary {
                { "label", Value("Ghost") }, { "bundle", Value("Ghost") }, { "detail", Value("GhostPage") } }) } }));
    auto& app = test.app();
    auto unknown = app.openEntry("Nobody");
    ASSERT_FALSE(unknown.isOk());
    EXPECT_NE(unknown.error().message.find("\"Nobody\""), std::string::npos);
    auto ghost = app.openEntry("Ghost");
    ASSERT_FALSE(ghost.isOk());
    EXPECT_NE(ghost.error().message.find("no such bundle"), std::string::npos);
    EXPECT_EQ(app.topPage(), app.firstPage());
}
