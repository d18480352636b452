#include "platform/uikit/LayoutEngine.h"

#include <gtest/gtest.h>

#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIView.h"

#include "tests/uikit/ConstraintHelpers.h"
#include "tests/uikit/UIKitTestProcess.h"

using constraints::atLeast;
using constraints::equal;
using constraints::fixed;
using constraints::frameOf;
using constraints::useConstraints;
using runtime::Object;
using runtime::Ref;
using runtime::send;
using runtime::Value;
using uikit::makeRect;

namespace {

// A view whose content asks for a size the test chooses.
class SizedView : public uikit::UIView {
public:
    using UIView::UIView;

    std::optional<uikit::Size> intrinsicContentSize(double) const override { return m_size; }
    void setContentSize(std::optional<uikit::Size> size)
    {
        m_size = size;
        invalidateIntrinsicContentSize();
    }

private:
    std::optional<uikit::Size> m_size;
};

class LayoutEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test.runtime().defineClass<SizedView>("SizedView", "UIView");
        root = test.makeView("UIView", makeRect(0, 0, 390, 844));
    }

    // A subview of `parent` that takes its place from constraints.
    Ref<Object> addView(const Ref<Object>& parent, const char* className = "UIView")
    {
        auto view = test.makeView(className);
        useConstraints(view);
        send(parent, SEL("addSubview:"), view.get());
        return view;
    }

    Ref<Object> addSizedView(const Ref<Object>& parent, double width, double height)
    {
        auto view = addView(parent, "SizedView");
        dynamic_cast<SizedView*>(view.get())->setContentSize(uikit::Size { width, height });
        return view;
    }

    void layout() { send(root, SEL("layoutIfNeeded")); }

    UIKitTestProcess test;
    Ref<Object> root;
};

} // namespace

TEST_F(LayoutEngineTest, placesViewsByEdgesCentresAndSizesInTheirSuperviewsCoordinates)
{
    auto container = addView(root);
    equal(container, "leadingAnchor", root, "leadingAnchor", 10);
    equal(container, "trailingAnchor", root, "trailingAnchor", -10);
    equal(container, "topAnchor", root, "topAnchor", 50);
    fixed(container, "heightAnchor", 100);
    auto corner = addView(container);
    equal(corner, "leadingAnchor", container, "leadingAnchor", 5);
    equal(corner, "topAnchor", container, "topAnchor", 7);
    fixed(corner, "widthAnchor", 30);
    fixed(corner, "heightAnchor", 40);
    auto centred = addView(container);
    equal(centred, "centerXAnchor", container, "centerXAnchor");
    equal(centred, "centerYAnchor", container, "centerYAnchor", 10);
    fixed(centred, "widthAnchor", 20);
    fixed(centred, "heightAnchor", 20);
    auto below = addView(container);
    equal(below, "leadingAnchor", corner, "trailingAnchor", 4);
    equal(below, "topAnchor", corner, "bottomAnchor", 2);
    equal(below, "trailingAnchor", container, "trailingAnchor", -6);
    equal(below, "bottomAnchor", container, "bottomAnchor");

    layout();
    EXPECT_FRAME_NEAR(container, 10, 50, 370, 100);
    EXPECT_FRAME_NEAR(corner, 5, 7, 30, 40);
    EXPECT_FRAME_NEAR(centred, 175, 50, 20, 20);
    EXPECT_FRAME_NEAR(below, 39, 49, 325, 51);
    // A view that translates its autoresizing mask keeps the frame it was given.
    EXPECT_FRAME_NEAR(root, 0, 0, 390, 844);
}

TEST_F(LayoutEngineTest, aViewBoundedOnlyFromBelowTakesTheLeastHeightAllowed)
{
    auto banner = addView(root);
    equal(banner, "leadingAnchor", root, "leadingAnchor");
    equal(banner, "trailingAnchor", root, "trailingAnchor");
    auto top = equal(banner, "topAnchor", root, "topAnchor", -70);
    auto icon = addView(banner);
    equal(icon, "leadingAnchor", banner, "leadingAnchor", 15);
    equal(icon, "topAnchor", banner, "topAnchor", 59);
    fixed(icon, "widthAnchor", 45);
    fixed(icon, "heightAnchor", 45);
    auto body = addSizedView(banner, 200, 60);
    equal(body, "leadingAnchor", icon, "trailingAnchor", 16);
    equal(body, "topAnchor", icon, "topAnchor", 0);
    auto margin = atLeast(banner, "bottomAnchor", body, "bottomAnchor", 22);
    auto alternate = atLeast(banner, "bottomAnchor", icon, "bottomAnchor", 22);

    layout();
    // The body is the lower of the two: 59 + 60 + 22.
    EXPECT_FRAME_NEAR(banner, 0, -70, 390, 141);
    EXPECT_FRAME_NEAR(body, 76, 59, 200, 60);

    // When the body shrinks, the icon bounds the banner.
    dynamic_cast<SizedView*>(body.get())->setContentSize(uikit::Size { 200, 20 });
    layout();
    EXPECT_FRAME_NEAR(banner, 0, -70, 390, 126);

    // A larger margin on one bound only moves the bottom by what that bound needs.
    send(margin, SEL("setConstant:"), 80.0);
    layout();
    EXPECT_NEAR(frameOf(banner).size.height, 59 + 20 + 80, 1e-6);
    send(alternate, SEL("setConstant:"), 100.0);
    layout();
    EXPECT_NEAR(frameOf(banner).size.height, 59 + 45 + 100, 1e-6);

    // An upper bound leaves room above; the least height is still taken.
    auto box = addView(root);
    auto ceiling = send<Ref<Object>>(
        constraints::anchor(box, "heightAnchor"), SEL("constraintLessThanOrEqualToConstant:"), 300.0);
    send(ceiling, SEL("setActive:"), true);
    equal(box, "topAnchor", root, "topAnchor", 400);
    atLeast(box, "bottomAnchor", root, "topAnchor", 450);
    layout();
    EXPECT_NEAR(frameOf(box).size.height, 50, 1e-6);
}

TEST_F(LayoutEngineTest, aViewBoundedOnlyFromAboveSitsAtItsBoundWhereverItsSuperviewGoes)
{
    // A row "at least 8 below the text" sits 8 below it, also once the
    // banner holding both has moved above the top of the screen.
    auto banner = addView(root);
    equal(banner, "leadingAnchor", root, "leadingAnchor");
    equal(banner, "trailingAnchor", root, "trailingAnchor");
    auto top = equal(banner, "topAnchor", root, "topAnchor", 0);
    fixed(banner, "heightAnchor", 180);
    auto text = addView(banner);
    equal(text, "leadingAnchor", banner, "leadingAnchor", 16);
    equal(text, "topAnchor", banner, "topAnchor", 40);
    fixed(text, "widthAnchor", 200);
    fixed(text, "heightAnchor", 60);
    auto row = addView(banner);
    equal(row, "leadingAnchor", banner, "leadingAnchor", 15);
    fixed(row, "widthAnchor", 360);
    fixed(row, "heightAnchor", 36);
    atLeast(row, "topAnchor", text, "bottomAnchor", 8);

    layout();
    EXPECT_FRAME_NEAR(row, 15, 108, 360, 36);
    for (double offset : { -70.0, -1070.0, 200.0 }) {
        send(top, SEL("setConstant:"), offset);
        layout();
        EXPECT_NEAR(frameOf(banner).origin.y, offset, 1e-6);
        EXPECT_FRAME_NEAR(row, 15, 108, 360, 36);
    }
}

TEST_F(LayoutEngineTest, measuresALabelAtTheWidthTheHorizontalSolutionGivesIt)
{
    auto container = addView(root);
    equal(container, "leadingAnchor", root, "leadingAnchor");
    equal(container, "topAnchor", root, "topAnchor");
    auto width = fixed(container, "widthAnchor", 300);
    auto label = addView(container, "UILabel");
    send(label, SEL("setNumberOfLines:"), int64_t { 0 });
    send(label, SEL("setText:"),
        Value("A message long enough to need more than one line at the widths this test gives its label, "
              "and then some more words so that narrowing it adds lines."));
    equal(label, "leadingAnchor", container, "leadingAnchor", 10);
    equal(label, "trailingAnchor", container, "trailingAnchor", -10);
    equal(label, "topAnchor", container, "topAnchor", 8);
    atLeast(container, "bottomAnchor", label, "bottomAnchor", 8);

    auto* measured = dynamic_cast<uikit::UILabel*>(label.get());
    double oneLine = measured->intrinsicContentSize(0)->height;
    layout();
    double wideHeight = measured->intrinsicContentSize(280)->height;
    EXPECT_FRAME_NEAR(label, 10, 8, 280, wideHeight);
    EXPECT_GT(wideHeight, oneLine);
    EXPECT_NEAR(frameOf(container).size.height, wideHeight + 16, 1e-6);

    // Narrower, the text takes more lines and the container grows with it.
    send(width, SEL("setConstant:"), 160.0);
    layout();
    double narrowHeight = measured->intrinsicContentSize(140)->height;
    EXPECT_GT(narrowHeight, wideHeight);
    EXPECT_FRAME_NEAR(label, 10, 8, 140, narrowHeight);

    // New text is measured again.
    send(label, SEL("setText:"), Value("Short"));
    layout();
    EXPECT_NEAR(frameOf(label).size.height, oneLine, 1e-6);
}

TEST_F(LayoutEngineTest, intrinsicSizesYieldToRequiredConstraints)
{
    // Hugged: the view keeps its content's size where nothing else decides.
    auto hugged = addSizedView(root, 120, 30);
    equal(hugged, "leadingAnchor", root, "leadingAnchor", 5);
    equal(hugged, "topAnchor", root, "topAnchor", 5);
    // Stretched and squeezed by required constraints.
    auto stretched = addSizedView(root, 120, 30);
    equal(stretched, "leadingAnchor", root, "leadingAnchor");
    equal(stretched, "trailingAnchor", root, "trailingAnchor");
    equal(stretched, "topAnchor", hugged, "bottomAnchor");
    fixed(stretched, "heightAnchor", 10);
    // A priority below the compression resistance gives way to it.
    auto resisting = addSizedView(root, 120, 30);
    equal(resisting, "topAnchor", stretched, "bottomAnchor");
    auto weakWidth
        = send<Ref<Object>>(constraints::anchor(resisting, "widthAnchor"), SEL("constraintEqualToConstant:"), 50.0);
    send(weakWidth, SEL("setPriority:"), 500.0);
    send(weakWidth, SEL("setActive:"), true);

    layout();
    EXPECT_FRAME_NEAR(hugged, 5, 5, 120, 30);
    EXPECT_FRAME_NEAR(stretched, 0, 35, 390, 10);
    EXPECT_NEAR(frameOf(resisting).size.width, 120, 1e-6);

    // Above it, the constraint wins.
    send(weakWidth, SEL("setPriority:"), 900.0);
    layout();
    EXPECT_NEAR(frameOf(resisting).size.width, 50, 1e-6);
}

TEST_F(LayoutEngineTest, aDimensionCanFollowTheOtherDimension)
{
    // A badge whose height equals its width, and a width that follows a height.
    auto badge = addView(root);
    equal(badge, "leadingAnchor", root, "leadingAnchor", 10);
    equal(badge, "topAnchor", root, "topAnchor", 10);
    auto width = fixed(badge, "widthAnchor", 22);
    equal(badge, "heightAnchor", badge, "widthAnchor");
    auto bar = addView(root);
    equal(bar, "leadingAnchor", root, "leadingAnchor");
    equal(bar, "topAnchor", root, "topAnchor", 100);
    fixed(bar, "heightAnchor", 40);
    auto wide = send<Ref<Object>>(constraints::anchor(bar, "widthAnchor"), SEL("constraintEqualToAnchor:multiplier:"),
        constraints::anchor(bar, "heightAnchor").get(), 2.5);
    send(wide, SEL("setActive:"), true);

    layout();
    EXPECT_FRAME_NEAR(badge, 10, 10, 22, 22);
    EXPECT_FRAME_NEAR(bar, 0, 100, 100, 40);

    send(width, SEL("setConstant:"), 38.0);
    layout();
    EXPECT_FRAME_NEAR(badge, 10, 10, 38, 38);
}

TEST_F(LayoutEngineTest, aChangedConstantIsSolvedAgainAndKeepsTheRestInPlace)
{
    auto banner = addView(root);
    equal(banner, "leadingAnchor", root, "leadingAnchor");
    equal(banner, "trailingAnchor", root, "trailingAnchor");
    auto top = equal(banner, "topAnchor", root, "topAnchor", -70);
    fixed(banner, "heightAnchor", 120);
    auto label = addSizedView(banner, 50, 20);
    equal(label, "leadingAnchor", banner, "leadingAnchor", 25);
    equal(label, "topAnchor", banner, "topAnchor", 44);

    layout();
    EXPECT_FRAME_NEAR(banner, 0, -70, 390, 120);
    // A drag: many constants in a row, each laid out.
    for (int step = 0; step <= 100; ++step) {
        send(top, SEL("setConstant:"), -70.0 + step * 1.5);
        layout();
        ASSERT_NEAR(frameOf(banner).origin.y, -70.0 + step * 1.5, 1e-6) << "step " << step;
    }
    EXPECT_FRAME_NEAR(label, 25, 44, 50, 20);

    // An inactive constraint no longer counts; activating it again does.
    send(top, SEL("setActive:"), false);
    send(top, SEL("setConstant:"), 10.0);
    layout();
    EXPECT_FALSE(send<bool>(top, SEL("isActive")));
    send(top, SEL("setActive:"), true);
    layout();
    EXPECT_NEAR(frameOf(banner).origin.y, 10, 1e-6);
}

TEST_F(LayoutEngineTest, reportsConstraintsThatCannotHoldAndLaysOutTheRest)
{
    auto view = addView(root);
    equal(view, "leadingAnchor", root, "leadingAnchor", 3);
    equal(view, "topAnchor", root, "topAnchor", 4);
    fixed(view, "widthAnchor", 100);
    auto contradiction = fixed(view, "widthAnchor", 200);
    fixed(view, "heightAnchor", 10);
    auto other = test.makeView();
    auto stranger = addView(root);
    equal(stranger, "leadingAnchor", other, "leadingAnchor");
    fixed(stranger, "widthAnchor", 7);
    fixed(stranger, "heightAnchor", 8);

    testing::internal::CaptureStderr();
    layout();
    std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_NE(reported.find(".width == 200"), std::string::npos) << reported;
    EXPECT_NE(reported.find("contradicts"), std::string::npos) << reported;
    EXPECT_NE(reported.find("share no tree"), std::string::npos) << reported;
    EXPECT_FRAME_NEAR(view, 3, 4, 100, 10);
    EXPECT_NEAR(frameOf(stranger).size.width, 7, 1e-6);

    // Mixing axes is refused when the constraint is made.
    testing::internal::CaptureStderr();
    auto mixed = send<Ref<Object>>(constraints::anchor(view, "topAnchor"), SEL("constraintEqualToAnchor:"),
        constraints::anchor(root, "leadingAnchor").get());
    auto edgeConstant
        = send<Ref<Object>>(constraints::anchor(view, "topAnchor"), SEL("constraintEqualToConstant:"), 5.0);
    reported = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(mixed);
    EXPECT_FALSE(edgeConstant);
    EXPECT_NE(reported.find("cannot be related"), std::string::npos) << reported;
    (void)contradiction;
}

TEST_F(LayoutEngineTest, autoresizingViewsFollowTheirConstrainedSuperviews)
{
    auto container = addView(root);
    equal(container, "leadingAnchor", root, "leadingAnchor", 20);
    equal(container, "topAnchor", root, "topAnchor", 30);
    auto width = fixed(container, "widthAnchor", 200);
    fixed(container, "heightAnchor", 100);
    // A blur made with the container's (still empty) bounds, flexible in both directions.
    auto blur = test.makeView("UIView", send<uikit::Rect>(container, SEL("bounds")));
    send(blur, SEL("setAutoresizingMask:"), uint64_t { 2 | 16 });
    send(container, SEL("addSubview:"), blur.get());
    // A constrained view inside the blur, tied to the blur's edges.
    auto inner = addView(blur);
    equal(inner, "trailingAnchor", blur, "trailingAnchor", -5);
    equal(inner, "bottomAnchor", blur, "bottomAnchor", -5);
    fixed(inner, "widthAnchor", 10);
    fixed(inner, "heightAnchor", 10);

    layout();
    EXPECT_FRAME_NEAR(container, 20, 30, 200, 100);
    EXPECT_FRAME_NEAR(blur, 0, 0, 200, 100);
    EXPECT_FRAME_NEAR(inner, 185, 85, 10, 10);

    // A fixed-size mark at the right edge, with a flexible left margin.
    auto mark = test.makeView("UIView", makeRect(190, 0, 10, 10));
    send(mark, SEL("setAutoresizingMask:"), uint64_t { 1 });
    send(container, SEL("addSubview:"), mark.get());

    send(width, SEL("setConstant:"), 300.0);
    layout();
    EXPECT_FRAME_NEAR(blur, 0, 0, 300, 100);
    EXPECT_FRAME_NEAR(mark, 290, 0, 10, 10);
    EXPECT_FRAME_NEAR(inner, 285, 85, 10, 10);

    // Without constraints, a frame change reaches autoresizing subviews directly.
    send(container, SEL("setTranslatesAutoresizingMaskIntoConstraints:"), true);
    send(container, SEL("setFrame:"), makeRect(0, 0, 100, 50));
    EXPECT_FRAME_NEAR(blur, 0, 0, 100, 50);
    EXPECT_FRAME_NEAR(mark, 90, 0, 10, 10);
}

TEST_F(LayoutEngineTest, leavingTheTreeDeactivatesTheConstraintsThatCrossIt)
{
    auto container = addView(root);
    auto child = addView(container);
    auto toRoot = equal(container, "topAnchor", root, "topAnchor", 5);
    auto inside = equal(child, "topAnchor", container, "topAnchor", 5);
    auto across = equal(child, "leadingAnchor", root, "leadingAnchor", 5);
    auto rootToChild = equal(root, "centerXAnchor", child, "centerXAnchor");

    send(container, SEL("removeFromSuperview"));
    EXPECT_FALSE(send<bool>(toRoot, SEL("isActive")));
    EXPECT_FALSE(send<bool>(across, SEL("isActive")));
    EXPECT_FALSE(send<bool>(rootToChild, SEL("isActive")));
    EXPECT_TRUE(send<bool>(inside, SEL("isActive")));

    // A view that goes takes its constraints with it.
    auto sibling = addView(root);
    auto toSibling = equal(sibling, "topAnchor", root, "topAnchor");
    auto fromRoot = equal(root, "bottomAnchor", sibling, "bottomAnchor");
    send(sibling, SEL("removeFromSuperview"));
    EXPECT_FALSE(send<bool>(toSibling, SEL("isActive")));
    send(sibling, SEL("addSubview:"), test.makeView().get());
    auto own = equal(sibling, "heightAnchor", sibling, "widthAnchor");
    sibling = nullptr;
    EXPECT_FALSE(send<bool>(own, SEL("isActive")));
    EXPECT_FALSE(send<bool>(fromRoot, SEL("isActive")));
}

// Subtrees of a fixed root are independent parts until a constraint links them.
TEST_F(LayoutEngineTest, subtreesShareAPartOnlyWhileAConstraintLinksThem)
{
    auto place = [&](const Ref<Object>& view, double left, double top, double height) {
        equal(view, "leadingAnchor", root, "leadingAnchor", left);
        fixed(view, "widthAnchor", 100);
        auto topConstraint = equal(view, "topAnchor", root, "topAnchor", top);
        send(topConstraint, SEL("setPriority:"), 250.0);
        return fixed(view, "heightAnchor", height);
    };
    auto first = addView(root);
    auto firstHeight = place(first, 10, 20, 50);
    auto second = addView(root);
    place(second, 10, 300, 40);
    auto third = addView(root);
    place(third, 200, 400, 30);
    layout();
    auto* engine = dynamic_cast<uikit::UIView*>(root.get())->existingLayoutState()->engine.get();
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(engine->partCount(), 3u);
    EXPECT_FRAME_NEAR(second, 10, 300, 100, 40);

    auto link = equal(second, "topAnchor", first, "bottomAnchor", 5);
    layout();
    EXPECT_EQ(engine->partCount(), 2u);
    EXPECT_FRAME_NEAR(second, 10, 75, 100, 40);
    send(firstHeight, SEL("setConstant:"), 80.0);
    layout();
    EXPECT_FRAME_NEAR(first, 10, 20, 100, 80);
    EXPECT_FRAME_NEAR(second, 10, 105, 100, 40);

    send(link, SEL("setActive:"), false);
    send(third, SEL("removeFromSuperview"));
    layout();
    EXPECT_EQ(engine->partCount(), 2u);
    EXPECT_FRAME_NEAR(first, 10, 20, 100, 80);
    EXPECT_FRAME_NEAR(second, 10, 300, 100, 40);
    EXPECT_EQ(engine->viewCount(), 3u);
}

// A part made again keeps its place among the others, as a layout of the
// whole tree would order them, also after its subtree moved among the subviews.
TEST_F(LayoutEngineTest, partsMadeAgainKeepTheOrderOfTheSubviews)
{
    std::vector<Ref<Object>> banners;
    for (int i = 0; i < 3; ++i) {
        banners.push_back(addView(root));
        equal(banners.back(), "leadingAnchor", root, "leadingAnchor", 10.0 * i);
        fixed(banners.back(), "widthAnchor", 100 + i);
    }
    layout();
    auto* engine = dynamic_cast<uikit::UIView*>(root.get())->existingLayoutState()->engine.get();
    ASSERT_NE(engine, nullptr);
    auto wholeTree = [&] {
        engine->setNeedsRebuild();
        layout();
        return engine->dump();
    };
    std::string ordered = wholeTree();

    auto inner = addView(banners[1]);
    fixed(inner, "heightAnchor", 7);
    layout();
    std::string afterChange = engine->dump();
    EXPECT_EQ(afterChange, wholeTree());
    EXPECT_NE(afterChange, ordered);

    send(root, SEL("insertSubview:atIndex:"), banners[2].get(), int64_t { 0 });
    fixed(banners[2], "heightAnchor", 9);
    layout();
    std::string afterMove = engine->dump();
    EXPECT_EQ(afterMove, wholeTree());
    EXPECT_EQ(engine->partCount(), 3u);
}

// A root with constraints of its own lays its subtrees out together, as one part.
TEST_F(LayoutEngineTest, aRootWithConstraintsOfItsOwnIsOnePart)
{
    auto first = addView(root);
    equal(first, "leadingAnchor", root, "leadingAnchor", 10);
    equal(first, "topAnchor", root, "topAnchor", 20);
    fixed(first, "widthAnchor", 100);
    fixed(first, "heightAnchor", 50);
    auto second = addView(root);
    equal(second, "leadingAnchor", root, "leadingAnchor", 30);
    equal(second, "topAnchor", root, "topAnchor", 200);
    fixed(second, "widthAnchor", 60);
    fixed(second, "heightAnchor", 40);
    layout();
    auto* engine = dynamic_cast<uikit::UIView*>(root.get())->existingLayoutState()->engine.get();
    EXPECT_EQ(engine->partCount(), 2u);

    fixed(root, "widthAnchor", 390);
    layout();
    EXPECT_EQ(engine->partCount(), 1u);
    EXPECT_FRAME_NEAR(first, 10, 20, 100, 50);
    EXPECT_FRAME_NEAR(second, 30, 200, 60, 40);
}
