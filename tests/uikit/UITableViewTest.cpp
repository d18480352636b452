#include "platform/uikit/UITableView.h"

#include <gtest/gtest.h>

#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/NSIndexPath.h"
#include "platform/uikit/TouchDelivery.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UILabel.h"

#include "tests/uikit/UIKitTestProcess.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;
using uikit::UITableView;
using uikit::UITableViewCell;

namespace {

// A data source and delegate with sections of titled rows, recording what it is told.
struct TestSource : runtime::NSObject {
    using NSObject::NSObject;
    std::vector<std::vector<std::string>> sections;
    std::vector<Value> headers;
    std::vector<std::pair<int64_t, int64_t>> selected;
    std::vector<double> offsets;
    bool answersSections { true };
    UITableView* reloadFromInside { nullptr };
};

void defineSource(runtime::Runtime& runtime, bool answersSections)
{
    auto builder = runtime::ClassBuilder::define<TestSource>(
        runtime, answersSections ? "TestSource" : "TestSourceWithoutSections", "NSObject");
    if (answersSections) {
        builder.method("numberOfSectionsInTableView:", runtime::Imp::of([](TestSource* self, Selector, Object*) {
            return static_cast<int64_t>(self->sections.size());
        }));
    }
    builder
        .method("tableView:numberOfRowsInSection:",
            runtime::Imp::of([](TestSource* self, Selector, Object*, int64_t section) {
                return static_cast<int64_t>(self->sections[static_cast<size_t>(section)].size());
            }))
        .method("tableView:titleForHeaderInSection:",
            runtime::Imp::of([](TestSource* self, Selector, Object*, int64_t section) {
                return static_cast<size_t>(section) < self->headers.size() ? self->headers[static_cast<size_t>(section)]
                                                                           : Value();
            }))
        .method("tableView:cellForRowAtIndexPath:",
            runtime::Imp::of([&runtime](TestSource* self, Selector, Object*, Object* object) -> Ref<Object> {
                auto* path = dynamic_cast<uikit::NSIndexPath*>(object);
                auto& title = self->sections[static_cast<size_t>(path->section())][static_cast<size_t>(path->row())];
                if (self->reloadFromInside)
                    self->reloadFromInside->reloadData();
                if (title.empty())
                    return nullptr;
                auto cell = send<Ref<Object>>(runtime::alloc(runtime.classNamed("UITableViewCell")),
                    SEL("initWithStyle:reuseIdentifier:"), int64_t(1), Value("row"));
                send(send<Ref<Object>>(cell, SEL("textLabel")), SEL("setText:"), Value(title));
                return cell;
            }))
        .method("tableView:didSelectRowAtIndexPath:",
            runtime::Imp::of([](TestSource* self, Selector, Object*, Object* object) {
                auto* path = dynamic_cast<uikit::NSIndexPath*>(object);
                self->selected.push_back({ path->section(), path->row() });
            }))
        .method("scrollViewDidScroll:", runtime::Imp::of([](TestSource* self, Selector, Object* view) {
            self->offsets.push_back(send<uikit::Point>(view, SEL("contentOffset")).y);
        }));
}

struct TableTest : ::testing::Test {
    TableTest()
    {
        defineSource(process.runtime(), true);
        defineSource(process.runtime(), false);
        source = Ref<TestSource>(dynamic_cast<TestSource*>(process.make("TestSource").get()));
        auto made = send<Ref<Object>>(runtime::alloc(process.runtime().classNamed("UITableView")),
            SEL("initWithFrame:style:"), uikit::makeRect(0, 0, 390, 600), int64_t(UITableView::InsetGrouped));
        table = Ref<UITableView>(dynamic_cast<UITableView*>(made.get()));
        send(table, SEL("setDataSource:"), source.get());
        send(table, SEL("setDelegate:"), source.get());
    }
    std::string titleAt(size_t section, size_t row)
    {
        auto* cell = table->cell(section, row);
        return cell ? cell->textLabel()->text().string() : "(none)";
    }

    UIKitTestProcess process;
    Ref<TestSource> source;
    Ref<UITableView> table;
};

} // namespace

TEST_F(TableTest, asksItsDataSourceForSectionsRowsTitlesAndCells)
{
    source->sections = { { "a", "b" }, { "c" } };
    source->headers = { Value("First"), Value() };
    table->reloadData();
    ASSERT_EQ(table->numberOfSections(), 2u);
    EXPECT_EQ(table->numberOfRows(0), 2u);
    EXPECT_EQ(table->numberOfRows(1), 1u);
    EXPECT_EQ(titleAt(0, 1), "b");
    EXPECT_EQ(titleAt(1, 0), "c");
    EXPECT_EQ(table->cell(2, 0), nullptr);
    EXPECT_EQ(table->headerTitle(0), Value("First"));
    EXPECT_TRUE(table->headerTitle(1).isNil());
    auto path = uikit::NSIndexPath::make(process.runtime(), 1, 0);
    EXPECT_EQ(send<Ref<Object>>(table, SEL("cellForRowAtIndexPath:"), path.get()).get(), table->cell(0, 1));

    // Asked again, it shows what the data source says now.
    source->sections = { { "d" } };
    table->reloadData();
    EXPECT_EQ(table->numberOfSections(), 1u);
    EXPECT_EQ(titleAt(0, 0), "d");
}

TEST_F(TableTest, copesWithDataSourcesThatAnswerLittle)
{
    // No section count means one section; no cell means an empty row; a reload from inside is not heard.
    auto plain = Ref<TestSource>(dynamic_cast<TestSource*>(process.make("TestSourceWithoutSections").get()));
    plain->sections = { { "x", "", "z" } };
    plain->reloadFromInside = table.get();
    send(table, SEL("setDataSource:"), plain.get());
    table->reloadData();
    ASSERT_EQ(table->numberOfSections(), 1u);
    ASSERT_EQ(table->numberOfRows(0), 3u);
    EXPECT_EQ(titleAt(0, 1), "");
    EXPECT_EQ(titleAt(0, 2), "z");
    send(table, SEL("setDataSource:"), static_cast<Object*>(nullptr));
    table->reloadData();
    EXPECT_EQ(table->numberOfSections(), 0u);
}

TEST_F(TableTest, laysRowsOutBelowItsHeaderAndTellsItsDelegateOfTaps)
{
    source->sections = { { "a", "b" }, { "c" } };
    auto header = process.makeView("UIView", uikit::makeRect(5, 5, 100, 120));
    table->setTableHeaderView(dynamic_cast<uikit::UIView*>(header.get()));
    table->reloadData();
    auto frame = send<uikit::Rect>(header, SEL("frame"));
    EXPECT_NEAR(frame.minX(), 0, 1e-9);
    EXPECT_NEAR(frame.minY(), 0, 1e-9);
    EXPECT_NEAR(frame.width(), 390, 1e-9);
    EXPECT_NEAR(frame.height(), 120, 1e-9);
    auto first = table->rectForRow(0, 0);
    EXPECT_GT(first.minY(), 120);
    EXPECT_NEAR(first.minX(), 16, 1e-9);
    EXPECT_NEAR(first.width(), 358, 1e-9);
    EXPECT_NEAR(first.height(), UITableViewCell::defaultHeight, 1e-9);
    EXPECT_NEAR(table->rectForRow(0, 1).minY(), first.maxY(), 1e-9);
    EXPECT_GT(table->contentSize().height, table->rectForRow(1, 0).maxY());

    EXPECT_TRUE(table->selectRow(1, 0));
    EXPECT_FALSE(table->selectRow(1, 1));
    EXPECT_EQ(source->selected, (std::vector<std::pair<int64_t, int64_t>> { { 1, 0 } }));
}

// A finger through the screen: a tap on a row selects it, in the content as
// scrolled; a finger that moved, or one beside every row, selects nothing.
TEST_F(TableTest, aTapOnARowSelectsItWhereverTheContentIsScrolled)
{
    source->sections = { { "a", "b" }, { "c" } };
    table->reloadData();
    auto window = process.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
    send(window, SEL("setHidden:"), false);
    send(window, SEL("addSubview:"), static_cast<Object*>(table.get()));
    auto& delivery = uikit::TouchDelivery::of(process.process());
    auto touch = [&](uikit::Point down, uikit::Point up) {
        delivery.deliver(1, down, uikit::UITouch::Began);
        process.device().scheduler().advance(0.05);
        delivery.deliver(1, up, uikit::UITouch::Ended);
    };
    auto centreOf = [&](size_t section, size_t row) {
        auto frame = table->rectForRow(section, row);
        double offset = table->contentOffset().y;
        return uikit::Point { frame.minX() + frame.width() / 2, frame.minY() + frame.height() / 2 - offset };
    };
    using Rows = std::vector<std::pair<int64_t, int64_t>>;

    auto c = centreOf(1, 0);
    touch(c, { c.x + 3, c.y + 2 });
    EXPECT_EQ(source->selected, (Rows { { 1, 0 } }));
    touch(c, { c.x, c.y + 30 });
    EXPECT_EQ(source->selected, (Rows { { 1, 0 } })) << "a finger that moved as far as a scroll selects nothing";
    touch({ 4, 4 }, { 4, 4 });
    EXPECT_EQ(source->selected, (Rows { { 1, 0 } })) << "beside the rows";

    table->setContentOffset({ 0, 20 });
    auto b = centreOf(0, 1);
    touch(b, b);
    EXPECT_EQ(source->selected, (Rows { { 1, 0 }, { 0, 1 } }));
}

TEST_F(TableTest, scrollingMovesTheContentAndTellsTheDelegateOfEachChange)
{
    source->sections = { { "a", "b", "c" } };
    table->reloadData();
    table->setContentOffset({ 0, 30 });
    table->setContentOffset({ 0, 30 });
    EXPECT_NEAR(table->bounds().minY(), 30, 1e-9);
    EXPECT_EQ(source->offsets, std::vector<double> { 30 });
    // A pull past the top springs back when let go; so does a push past the end.
    table->dragTo(-80);
    EXPECT_EQ(source->offsets, (std::vector<double> { 30, -80, 0 }));
    table->setContentSize({ 390, 1000 });
    table->dragTo(900);
    EXPECT_NEAR(table->contentOffset().y, 400, 1e-9);
}

TEST_F(TableTest, givesItsCellsTheSeparatorColourSaveTheLastOfASection)
{
    source->sections = { { "a", "b" } };
    send(table, SEL("setSeparatorColor:"), uikit::UIColor::make(process.runtime(), 0, 0, 0, 0).get());
    table->reloadData();
    auto separatorOf = [&](size_t row) -> uikit::UIView* {
        for (auto& view : table->cell(0, row)->subviews()) {
            if (view->frame().height() == 0.5)
                return view.get();
        }
        return nullptr;
    };
    ASSERT_NE(separatorOf(0), nullptr);
    EXPECT_FALSE(separatorOf(0)->isHidden());
    EXPECT_EQ(separatorOf(0)->backgroundColor()->alpha(), 0);
    EXPECT_TRUE(separatorOf(1)->isHidden());
}
