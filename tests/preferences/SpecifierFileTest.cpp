#include "platform/preferences/SpecifierFile.h"

#include "tests/preferences/SettingsFrameworkDevice.h"

using namespace frameworktest;
using preferences::SpecifierFile;

TEST(SpecifierFileTest, readsRowsAndTranslatesTheirTexts)
{
    SettingsFrameworkDevice test;
    test.writeText(std::string(bundleFolder) + "/en.lproj/Page.strings",
        "\"Hello\" = \"Bonjour\";\n\"Later\" = \"Plus tard\";\n\"Note\" = \"Remarque\";\n\"Page\" = \"La page\";\n");
    test.writeSpecifierFile("Page",
        { row("PSGroupCell", "Hello", { { "footerText", Value("Note") } }),
            setting("PSSwitchCell", "Later", "later", Value(false), { { "id", Value("later-row") } }),
            setting("PSLinkListCell", "Choice", "choice", Value(1),
                { { "validValues", Value(Value::Array { Value(1), Value(2) }) },
                    { "validTitles", Value(Value::Array { Value("Hello") }) } }),
            row("PSButtonCell", "Go", { { "action", Value("go:") } }) },
        Value("Page"));
    auto page = SpecifierFile::load(test.settings(), *test.bundle(), "Page", nullptr);
    ASSERT_TRUE(page.isOk()) << page.error().message;
    EXPECT_EQ(page->title, Value("La page"));
    EXPECT_TRUE(page->problems.empty());
    ASSERT_EQ(page->specifiers.size(), 4u);
    auto& group = page->specifiers[0];
    EXPECT_EQ(group->cellType(), PSSpecifier::GroupCell);
    EXPECT_EQ(group->name(), Value("Bonjour"));
    EXPECT_EQ(group->property("footerText"), Value("Remarque"));
    auto& toggle = page->specifiers[1];
    EXPECT_EQ(toggle->cellType(), PSSpecifier::SwitchCell);
    EXPECT_EQ(toggle->name(), Value("Plus tard"));
    EXPECT_EQ(toggle->identifier(), Value("later-row"));
    EXPECT_EQ(toggle->property("key"), Value("later"));
    EXPECT_EQ(toggle->getter().name(), "readPreferenceValue:");
    EXPECT_EQ(toggle->setter().name(), "setPreferenceValue:specifier:");
    // A choice without a title of its own is titled by its value.
    auto& choice = page->specifiers[2];
    EXPECT_EQ(choice->detailControllerClassName(), "PSListItemsController");
    EXPECT_EQ(choice->titleForValue(Value(1)), Value("Bonjour"));
    EXPECT_EQ(choice->titleForValue(Value(2.0)), Value("2"));
    EXPECT_TRUE(choice->titleForValue(Value(3)).isNil());
    auto& button = page->specifiers[3];
    EXPECT_EQ(button->buttonAction().name(), "go:");
    EXPECT_TRUE(button->getter().isNull());
}

TEST(SpecifierFileTest, refusesWhatIsNotAPageAndLeavesBadRowsOut)
{
    SettingsFrameworkDevice test;
    auto& process = test.settings();
    auto missing = SpecifierFile::load(process, *test.bundle(), "Missing", nullptr);
    ASSERT_FALSE(missing.isOk());
    EXPECT_NE(missing.error().message.find("no specifier file Missing.plist"), std::string::npos);
    test.writeText(std::string(bundleFolder) + "/Text.plist", "not a property list");
    EXPECT_NE(SpecifierFile::load(process, *test.bundle(), "Text", nullptr).error().message.find("cannot be read"),
        std::string::npos);
    test.writePlist(std::string(bundleFolder) + "/List.plist", Value(Value::Array {}));
    EXPECT_NE(SpecifierFile::load(process, *test.bundle(), "List", nullptr).error().message.find("not a dictionary"),
        std::string::npos);
    test.writePlist(std::string(bundleFolder) + "/Empty.plist", Value::dictionary());
    EXPECT_NE(SpecifierFile::load(process, *test.bundle(), "Empty", nullptr).error().message.find("\"items\""),
        std::string::npos);

    test.writeSpecifierFile("Rows",
        { Value("a row"), Value(Value::Dictionary { { "label", Value("No cell") } }), row("PSMagicCell", "Magic"),
            row("PSStaticTextCell", "Fine") });
    auto page = SpecifierFile::load(process, *test.bundle(), "Rows", nullptr);
    ASSERT_TRUE(page.isOk());
    ASSERT_EQ(page->specifiers.size(), 1u);
    EXPECT_EQ(page->specifiers[0]->name(), Value("Fine"));
    ASSERT_EQ(page->problems.size(), 3u);
    EXPECT_NE(page->problems[0].find("item 0 is not a dictionary"), std::string::npos);
    EXPECT_NE(page->problems[1].find("item 1 has no \"cell\""), std::string::npos);
    EXPECT_NE(page->problems[2].find("\"PSMagicCell\""), std::string::npos);
}
