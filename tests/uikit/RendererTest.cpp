#include "platform/uikit/Renderer.h"

#include <gtest/gtest.h>

#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIView.h"

#include "tests/support/TempDirectory.h"
#include "tests/uikit/UIKitTestProcess.h"

using graphics::Image;
using graphics::Pixel;
using runtime::Object;
using runtime::Ref;
using runtime::send;
using runtime::Value;
using uikit::makeRect;

namespace {

// A view that blurs what lies beneath it in the dark style, through the C++ hook.
class DarkBlurView : public uikit::UIView {
public:
    using UIView::UIView;
    std::optional<int64_t> blurStyle() const override { return 2; }
};

Ref<Object> color(UIKitTestProcess& test, double red, double green, double blue, double alpha = 1)
{
    return send<Ref<Object>>(
        test.runtime().classNamed("UIColor"), SEL("colorWithRed:green:blue:alpha:"), red, green, blue, alpha);
}

Ref<Object> coloredView(UIKitTestProcess& test, uikit::Rect frame, double red, double green, double blue)
{
    auto view = test.makeView("UIView", frame);
    send(view, SEL("setBackgroundColor:"), color(test, red, green, blue));
    return view;
}

Image render(const Ref<Object>& root, double width, double height, double scale = 1)
{
    auto image = uikit::renderView(dynamic_cast<uikit::UIView*>(root.get()), { width, height }, scale);
    EXPECT_TRUE(image.isOk());
    return image.isOk() ? std::move(image).value() : Image();
}

bool isRed(Pixel pixel)
{
    return pixel.red > 220 && pixel.green < 40 && pixel.blue < 40 && pixel.alpha > 220;
}

bool isBlue(Pixel pixel)
{
    return pixel.blue > 220 && pixel.red < 40 && pixel.green < 40 && pixel.alpha > 220;
}

} // namespace

TEST(Renderer, drawsBackgroundsAtTheViewsFramesAndScale)
{
    UIKitTestProcess test;
    auto root = test.makeView("UIView", makeRect(0, 0, 100, 60));
    auto box = coloredView(test, makeRect(20, 10, 40, 20), 1, 0, 0);
    send(root, SEL("addSubview:"), box);
    Image image = render(root, 100, 60, 3);
    ASSERT_EQ(image.width(), 300);
    ASSERT_EQ(image.height(), 180);
    EXPECT_TRUE(isRed(image.pixel(120, 60))) << "the red view's centre";
    EXPECT_EQ(image.pixel(50, 20).alpha, 0) << "nothing outside it";
    EXPECT_EQ(image.pixel(185, 95).alpha, 0);
    // Layer colours and corners: the same view rounded leaves its corners out.
    send(send<Ref<Object>>(box, SEL("layer")), SEL("setCornerRadius:"), 8.0);
    send(send<Ref<Object>>(box, SEL("layer")), SEL("setContinuousCorners:"), true);
    Image rounded = render(root, 100, 60, 3);
    EXPECT_EQ(rounded.pixel(61, 31).alpha, 0);
    EXPECT_TRUE(isRed(rounded.pixel(120, 60)));
}

TEST(Renderer, skipsHiddenAndTransparentViewsWithTheirSubviews)
{
    UIKitTestProcess test;
    auto root = test.makeView("UIView", makeRect(0, 0, 60, 20));
    auto hidden = coloredView(test, makeRect(0, 0, 20, 20), 1, 0, 0);
    auto transparent = coloredView(test, makeRect(20, 0, 20, 20), 1, 0, 0);
    auto visible = coloredView(test, makeRect(40, 0, 20, 20), 1, 0, 0);
    send(hidden, SEL("setHidden:"), true);
    send(transparent, SEL("setAlpha:"), 0.0);
    send(hidden, SEL("addSubview:"), coloredView(test, makeRect(0, 0, 10, 10), 0, 0, 1));
    send(transparent, SEL("addSubview:"), coloredView(test, makeRect(0, 0, 10, 10), 0, 0, 1));
    for (auto& view : { hidden, transparent, visible })
        send(root, SEL("addSubview:"), view);
    Image image = render(root, 60, 20);
    EXPECT_EQ(image.pixel(5, 5).alpha, 0);
    EXPECT_EQ(image.pixel(15, 15).alpha, 0);
    EXPECT_EQ(image.pixel(25, 5).alpha, 0);
    EXPECT_EQ(image.pixel(35, 15).alpha, 0);
    EXPECT_TRUE(isRed(image.pixel(50, 10)));
}

TEST(Renderer, appliesAlphaToAViewAndItsSubviewsTogether)
{
    UIKitTestProcess test;
    auto root = test.makeView("UIView", makeRect(0, 0, 40, 20));
    auto parent = coloredView(test, makeRect(0, 0, 40, 20), 1, 0, 0);
    send(parent, SEL("addSubview:"), coloredView(test, makeRect(20, 0, 20, 20), 0, 0, 1));
    send(parent, SEL("setAlpha:"), 0.5);
    send(root, SEL("addSubview:"), parent);
    Image image = render(root, 40, 20);
    EXPECT_NEAR(image.pixel(10, 10).alpha, 128, 2);
    // The blue subview covers the red at half strength; no red shows through it.
    EXPECT_NEAR(image.pixel(30, 10).alpha, 128, 2);
    EXPECT_LT(image.pixel(30, 10).red, 10);
}

TEST(Renderer, clipsSubviewsToViewsThatClip)
{
    UIKitTestProcess test;
    auto root = test.makeView("UIView", makeRect(0, 0, 100, 100));
    auto parent = test.makeView("UIView", makeRect(10, 10, 40, 40));
    send(parent, SEL("addSubview:"), coloredView(test, makeRect(20, 20, 60, 60), 0, 0, 1));
    send(root, SEL("addSubview:"), parent);
    Image overflowing = render(root, 100, 100);
    EXPECT_TRUE(isBlue(overflowing.pixel(70, 70)));

    send(parent, SEL("setClipsToBounds:"), true);
    EXPECT_TRUE(send<bool>(send<Ref<Object>>(parent, SEL("layer")), SEL("masksToBounds")));
    Image clipped = render(root, 100, 100);
    EXPECT_EQ(clipped.pixel(70, 70).alpha, 0);
    EXPECT_TRUE(isBlue(clipped.pixel(45, 45)));
    // Clipping follows the layer's rounded corners.
    send(send<Ref<Object>>(parent, SEL("layer")), SEL("setCornerRadius:"), 20.0);
    Image round = render(root, 100, 100);
    EXPECT_EQ(round.pixel(48, 48).alpha, 0);
    EXPECT_TRUE(isBlue(round.pixel(40, 40)));
}

TEST(Renderer, drawsALabelsTextInItsColourOnItsLine)
{
    UIKitTestProcess test;
    auto root = test.makeView("UIView", makeRect(0, 0, 200, 100));
    send(root, SEL("setBackgroundColor:"), color(test, 1, 1, 1));
    auto label = test.makeView("UILabel", makeRect(10, 40, 180, 24));
    send(label, SEL("setText:"), Value("Alice: Hi there"));
    send(label, SEL("setTextColor:"), color(test, 0, 0, 1));
    send(root, SEL("addSubview:"), label);

    Image image = render(root, 200, 100, 2);
    int onLine = 0;
    int elsewhere = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            Pixel pixel = image.pixel(x, y);
            bool ink = pixel.blue > 150 && pixel.red < 100;
            bool inLabel = y >= 80 && y < 128 && x >= 20 && x < 380;
            (inLabel ? onLine : elsewhere) += ink ? 1 : 0;
        }
    }
    EXPECT_GT(onLine, 50);
    EXPECT_EQ(elsewhere, 0);

    // Centred text starts further right than left-aligned text.
    auto firstInkColumn = [](const Image& picture) {
        for (int x = 0; x < picture.width(); ++x) {
            for (int y = 0; y < picture.height(); ++y) {
                if (picture.pixel(x, y).blue > 150 && picture.pixel(x, y).red < 100)
                    return x;
            }
        }
        return -1;
    };
    int left = firstInkColumn(image);
    send(label, SEL("setTextAlignment:"), int64_t(1));
    int centred = firstInkColumn(render(root, 200, 100, 2));
    EXPECT_GT(centred, left + 20);
}

TEST(Renderer, drawsOnlyTheLinesALabelAllows)
{
    UIKitTestProcess test;
    auto root = test.makeView("UIView", makeRect(0, 0, 120, 300));
    auto label = test.makeView("UILabel", makeRect(0, 0, 120, 300));
    send(label, SEL("setText:"), Value("one two three four five six seven eight nine ten eleven twelve"));
    send(label, SEL("setNumberOfLines:"), int64_t(0));
    send(root, SEL("addSubview:"), label);
    auto inkedRows = [&] {
        Image image = render(root, 120, 300);
        int rows = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y).alpha > 0) {
                    ++rows;
                    break;
                }
            }
        }
        return rows;
    };
    int all = inkedRows();
    send(label, SEL("setNumberOfLines:"), int64_t(1));
    int one = inkedRows();
    EXPECT_GT(one, 5);
    EXPECT_LT(one * 2, all);
}

TEST(Renderer, drawsImageViewsByTheirContentMode)
{
    UIKitTestProcess test;
    Image picture = Image::create(20, 10).value();
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x)
            picture.setPixel(x, y, x < 10 ? Pixel { 255, 0, 0, 255 } : Pixel { 0, 0, 255, 255 });
    }
    auto image = uikit::UIImage::make(test.runtime(), std::move(picture));
    auto root = test.makeView("UIView", makeRect(0, 0, 40, 40));
    auto imageView = send<Ref<Object>>(
        runtime::alloc(test.runtime().classNamed("UIImageView")), SEL("initWithImage:"), image.get());
    send(imageView, SEL("setFrame:"), makeRect(0, 0, 40, 40));
    send(imageView, SEL("setContentMode:"), int64_t(1));
    send(root, SEL("addSubview:"), imageView);
    Image fitted = render(root, 40, 40);
    EXPECT_EQ(fitted.pixel(20, 5).alpha, 0);
    EXPECT_TRUE(isRed(fitted.pixel(5, 20)));
    EXPECT_TRUE(isBlue(fitted.pixel(35, 20)));

    send(imageView, SEL("setContentMode:"), int64_t(2));
    send(imageView, SEL("setClipsToBounds:"), true);
    Image filled = render(root, 40, 40);
    EXPECT_TRUE(isRed(filled.pixel(5, 2)));
    EXPECT_TRUE(isBlue(filled.pixel(35, 38)));
}

TEST(Renderer, blursAndTintsWhatLiesBeneathABlurView)
{
    UIKitTestProcess test;
    test.runtime().defineClass<DarkBlurView>("TestDarkBlurView", "UIView");
    auto root = coloredView(test, makeRect(0, 0, 100, 60), 1, 1, 1);
    send(root, SEL("addSubview:"), coloredView(test, makeRect(0, 0, 50, 60), 0, 0, 0));
    auto blur = test.makeView("TestDarkBlurView", makeRect(0, 0, 100, 30));
    send(root, SEL("addSubview:"), blur);
    Image image = render(root, 100, 60);
    // Beneath the blur the white side turns dark grey and the edge softens;
    // below it the picture is untouched.
    Pixel tintedWhite = image.pixel(90, 10);
    EXPECT_LT(tintedWhite.red, 140);
    EXPECT_GT(tintedWhite.red, 30);
    EXPECT_GT(image.pixel(47, 10).red, image.pixel(20, 10).red + 5);
    EXPECT_EQ(image.pixel(90, 50), (Pixel { 255, 255, 255, 255 }));
    EXPECT_EQ(image.pixel(47, 50), (Pixel { 0, 0, 0, 255 }));
}

TEST(Renderer, blurViewsTintByTheirEffectsStyle)
{
    UIKitTestProcess test;
    auto root = coloredView(test, makeRect(0, 0, 40, 20), 0.5, 0.5, 0.5);
    auto blurOf = [&](int64_t style) {
        auto effect = send<Ref<Object>>(test.runtime().classNamed("UIBlurEffect"), SEL("effectWithStyle:"), style);
        auto blur = send<Ref<Object>>(
            runtime::alloc(test.runtime().classNamed("UIVisualEffectView")), SEL("initWithEffect:"), effect);
        send(blur, SEL("setFrame:"), makeRect(0, 0, 20, 20));
        return blur;
    };
    auto light = blurOf(1);
    auto dark = blurOf(2);
    send(dark, SEL("setFrame:"), makeRect(20, 0, 20, 20));
    send(root, SEL("addSubview:"), light);
    send(root, SEL("addSubview:"), dark);
    Image image = render(root, 40, 20);
    EXPECT_GT(image.pixel(10, 10).red, 160) << "light lightens";
    EXPECT_LT(image.pixel(30, 10).red, 80) << "dark darkens";
    send(light, SEL("setEffect:"), nullptr);
    EXPECT_NEAR(render(root, 40, 20).pixel(10, 10).red, 128, 2) << "no effect, no blur";
}

TEST(Renderer, drawsAnimationsAsTheyAreShownAtAnInstant)
{
    UIKitTestProcess test;
    auto root = test.makeView("UIView", makeRect(0, 0, 200, 20));
    auto box = coloredView(test, makeRect(0, 0, 20, 20), 1, 0, 0);
    send(root, SEL("addSubview:"), box);
    double start = test.device().scheduler().now();
    send(test.runtime().classNamed("UIView"), SEL("animateWithDuration:animations:"), 1.0, runtime::Block<void()>([&] {
        send(box, SEL("setFrame:"), makeRect(100, 0, 20, 20));
        send(box, SEL("setAlpha:"), 0.0);
    }));
    auto* view = dynamic_cast<uikit::UIView*>(root.get());
    auto halfway = uikit::renderView(view, { 200, 20 }, 1, start + 0.5);
    ASSERT_TRUE(halfway.isOk());
    // Halfway along an ease-in-ease-out curve: at 50 points, half faded.
    EXPECT_EQ(halfway->pixel(10, 10).alpha, 0);
    EXPECT_NEAR(halfway->pixel(60, 10).alpha, 128, 8);
    EXPECT_EQ(halfway->pixel(110, 10).alpha, 0);
    auto ended = uikit::renderView(view, { 200, 20 }, 1, start + 2);
    EXPECT_EQ(ended->pixel(110, 10).alpha, 0) << "faded out at the end";
    send(box, SEL("setAlpha:"), 1.0);
    EXPECT_TRUE(isRed(render(root, 200, 20).pixel(110, 10))) << "the model is where the animation ends";
}

TEST(Renderer, refusesSizesItCannotDrawAndWritesPngFiles)
{
    UIKitTestProcess test;
    auto root = coloredView(test, makeRect(0, 0, 10, 10), 1, 0, 0);
    auto* view = dynamic_cast<uikit::UIView*>(root.get());
    EXPECT_FALSE(uikit::renderView(view, { 0, 10 }, 1).isOk());
    EXPECT_FALSE(uikit::renderView(view, { 10, 10 }, -2).isOk());
    EXPECT_FALSE(uikit::renderView(view, { NAN, 10 }, 1).isOk());
    EXPECT_FALSE(uikit::renderView(view, { 100000, 100000 }, 3).isOk());
    EXPECT_TRUE(uikit::renderView(nullptr, { 10, 10 }, 1).isOk());

    TempDirectory folder;
    auto path = folder.path() / "view.png";
    ASSERT_TRUE(uikit::writeRenderedView(view, { 10, 10 }, 2, path));
    auto written = Image::load(path);
    ASSERT_TRUE(written.isOk());
    EXPECT_EQ(written->width(), 20);
    EXPECT_TRUE(isRed(written->pixel(10, 10)));
    EXPECT_FALSE(uikit::writeRenderedView(view, { 10, 10 }, 1, folder.path() / "missing" / "view.png"));
}
