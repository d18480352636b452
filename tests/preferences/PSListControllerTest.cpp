#include "platform/preferences/PSListItemsController.h"
#include "platform/preferences/PSSegmentTableCell.h"
#include "platform/preferences/PSSliderTableCell.h"
#include "platform/preferences/PSSwitchTableCell.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UISwitch.h"

#include "tests/preferences/SettingsFrameworkDevice.h"

using namespace frameworktest;

namespace {

template <typename Cell> Cell* cellOf(PSListController* page, const std::string& title)
{
    return dynamic_cast<Cell*>(page->cellFor(rowTitled(page, title)));
}

std::string shown(PSListController* page, const std::string& title)
{
    auto* cell = cellOf<preferences::PSTableCell>(page, title);
    return cell ? cell->displayedValue().string() : "(no cell)";
}

Value::Array valueRows()
{
    return {
        row("PSGroupCell", "Values"),
        setting("PSSwitchCell", "Flag", "flag", Value(true), { { "PostNotification", Value("com.example/changed") } }),
        setting("PSSliderCell", "Steps", "steps", Value(3),
            { { "min", Value(0) }, { "max", Value(10) }, { "isSegmented", Value(true) },
                { "segmentCount", Value(10) } }),
        setting("PSSliderCell", "Level", "level", Value(0.5), { { "min", Value(0) }, { "max", Value(1) } }),
        setting("PSSegmentCell", "Mode", "mode", Value(1),
            { { "validValues", Value(Value::Array { Value(0), Value(1), Value(2) }) },
                { "validTitles", Value(Value::Array { Value("Zero"), Value("One"), Value("Two") }) } }),
        setting("PSLinkListCell", "Letter", "letter", Value("y"),
            { { "validValues", Value(Value::Array { Value("x"), Value("y") }) },
                { "validTitles", Value(Value::Array { Value("Ex"), Value("Why") }) } }),
    };
}

// A page class with actions for its buttons, counting what it receives.
struct ActionPage : PSListController {
    using PSListController::PSListController;
    int bare { 0 };
    std::vector<std::string> withSpecifier;
};

void defineActionPage(runtime::Runtime& runtime)
{
    runtime::ClassBuilder::define<ActionPage>(runtime, "ActionPage", "PSListController")
        .method("act", runtime::Imp::of([](ActionPage* self, Selector) { ++self->bare; }))
        .method("actWith:", runtime::Imp::of([](ActionPage* self, Selector, Object* specifier) {
            self->withSpecifier.push_back(send<Value>(specifier, SEL("name")).string());
        }));
}

} // namespace

TEST(PSListControllerTest, rowsShowTheStoredValueElseTheirDefault)
{
    SettingsFrameworkDevice test;
    test.writeSpecifierFile("Values", valueRows());
    ASSERT_TRUE(preferences::Domain(test.device(), testDomain).set("flag", Value(false)));
    ASSERT_TRUE(preferences::Domain(test.device(), testDomain).set("mode", Value(2)));
    auto* page = test.openPage("Values");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(shown(page, "Flag"), "off");
    EXPECT_EQ(shown(page, "Steps"), "3");
    EXPECT_EQ(shown(page, "Level"), "0.5");
    EXPECT_EQ(shown(page, "Mode"), "Two");
    EXPECT_EQ(shown(page, "Letter"), "Why");
    EXPECT_EQ(cellOf<preferences::PSSliderTableCell>(page, "Steps")->control()->maximumValue(), 10);
}

TEST(PSListControllerTest, aChangedControlStoresItsValueAndPostsItsRowsNotification)
{
    SettingsFrameworkDevice test;
    test.writeSpecifierFile("Values", valueRows());
    auto* page = test.openPage("Values");
    ASSERT_NE(page, nullptr);

    ASSERT_TRUE(cellOf<preferences::PSSwitchTableCell>(page, "Flag")->control()->toggle());
    EXPECT_EQ(test.stored("flag"), Value(false));
    auto posted = test.events("distributed.posted");
    ASSERT_FALSE(posted.empty());
    EXPECT_EQ(posted.back()["name"], "com.example/changed");
    EXPECT_EQ(posted.back()["sender"], preferences::SettingsApp::bundleIdentifier);

    // A slider in steps stores the nearest step, a whole number as an integer; a free one any value.
    ASSERT_TRUE(cellOf<preferences::PSSliderTableCell>(page, "Steps")->control()->slide(7.4));
    EXPECT_EQ(test.stored("steps"), Value(7));
    EXPECT_TRUE(test.stored("steps").isInteger());
    EXPECT_EQ(shown(page, "Steps"), "7");
    ASSERT_TRUE(cellOf<preferences::PSSliderTableCell>(page, "Level")->control()->slide(0.25));
    EXPECT_EQ(test.stored("level"), Value(0.25));
    // Out of range is as far as the slider goes.
    ASSERT_TRUE(cellOf<preferences::PSSliderTableCell>(page, "Steps")->control()->slide(40));
    EXPECT_EQ(test.stored("steps"), Value(10));

    ASSERT_TRUE(cellOf<preferences::PSSegmentTableCell>(page, "Mode")->control()->selectSegment(0));
    EXPECT_EQ(test.stored("mode"), Value(0));
    EXPECT_EQ(shown(page, "Mode"), "Zero");
    EXPECT_EQ(test.events("preferences.changed").size(), 5u);
}

TEST(PSListControllerTest, aListLinkOpensItsChoicesWithTheCurrentOneChecked)
{
    SettingsFrameworkDevice test;
    test.writeSpecifierFile("Values", valueRows());
    auto* page = test.openPage("Values");
    auto place = page->rowOf(rowTitled(page, "Letter"));
    ASSERT_TRUE(place);
    ASSERT_TRUE(page->table()->selectRow(place->first, place->second));
    test.runDue();
    auto* list = dynamic_cast<preferences::PSListItemsController*>(test.app().topPage());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->title(), Value("Letter"));
    auto checked = [&](const char* title) {
        return list->cellFor(rowTitled(list, title))->accessoryType() == uikit::UITableViewCell::Checkmark;
    };
    EXPECT_FALSE(checked("Ex"));
    EXPECT_TRUE(checked("Why"));
    ASSERT_TRUE(list->chooseTitled("Ex"));
    EXPECT_EQ(test.stored("letter"), Value("x"));
    EXPECT_TRUE(checked("Ex"));
    EXPECT_FALSE(checked("Why"));
    EXPECT_FALSE(list->chooseTitled("Zed"));
    ASSERT_TRUE(test.app().goBack());
    test.runDue();
    EXPECT_EQ(shown(page, "Letter"), "Ex");
}

TEST(PSListControllerTest, buttonsSendTheirActionToTheirPage)
{
    SettingsFrameworkDevice test;
    defineActionPage(test.runtime());
    test.writeSpecifierFile("Buttons",
        { row("PSButtonCell", "Bare", { { "action", Value("act") } }),
            row("PSButtonCell", "With", { { "action", Value("actWith:") } }),
            row("PSButtonCell", "Unanswered", { { "action", Value("nobodyAnswers") } }) });
    auto* page = dynamic_cast<ActionPage*>(test.openPage("Buttons", "ActionPage"));
    ASSERT_NE(page, nullptr);
    for (size_t row = 0; row < 3; ++row)
        EXPECT_TRUE(page->table()->selectRow(0, row));
    EXPECT_EQ(page->bare, 1);
    EXPECT_EQ(page->withSpecifier, std::vector<std::string> { "With" });
    auto errors = test.events("settings.error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].value("message", "").find("Unanswered"), std::string::npos);
}

TEST(PSListControllerTest, groupsMakeTitledSectionsThatEndWithTheirFooter)
{
    SettingsFrameworkDevice test;
    test.writeSpecifierFile("Groups",
        { row("PSStaticTextCell", "Before any group"),
            row("PSGroupCell", "First", { { "footerText", Value("The end.") } }), row("PSStaticTextCell", "One"),
            row("PSStaticTextCell", "Two"), row("PSGroupCell", ""), row("PSStaticTextCell", "Three") });
    auto* page = test.openPage("Groups");
    auto* table = page->table();
    ASSERT_EQ(table->numberOfSections(), 3u);
    EXPECT_TRUE(table->headerTitle(0).isNil());
    EXPECT_EQ(table->numberOfRows(0), 1u);
    EXPECT_EQ(table->headerTitle(1), Value("First"));
    EXPECT_EQ(table->footerTitle(1), Value("The end."));
    EXPECT_EQ(table->numberOfRows(1), 2u);
    EXPECT_EQ(table->numberOfRows(2), 1u);
    EXPECT_EQ(table->cell(1, 1)->textLabel()->text(), Value("Two"));
    // Rows lie one below the other, sections apart.
    EXPECT_NEAR(table->rectForRow(1, 1).minY(), table->rectForRow(1, 0).maxY(), 1e-9);
    EXPECT_GT(table->rectForRow(2, 0).minY(), table->rectForRow(1, 1).maxY());
}

TEST(PSListControllerTest, rowsThatCannotWorkAreReportedAndChangeNothing)
{
    SettingsFrameworkDevice test;
    test.writeSpecifierFile("Broken",
        { row("PSLinkCell", "Nowhere", { { "detail", Value("NoSuchPage") } }),
            row("PSSwitchCell", "Unkept", { { "key", Value("unkept") } }) });
    auto* page = test.openPage("Broken");
    ASSERT_TRUE(page->table()->selectRow(0, 0));
    test.runDue();
    EXPECT_EQ(test.app().topPage(), page);
    ASSERT_TRUE(dynamic_cast<preferences::PSSwitchTableCell*>(page->table()->cell(0, 1))->control()->toggle());
    EXPECT_TRUE(test.events("preferences.changed").empty());
    auto errors = test.events("settings.error");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].value("message", "").find("NoSuchPage"), std::string::npos);
    EXPECT_NE(errors[1].value("message", "").find("\"defaults\""), std::string::npos);
}
