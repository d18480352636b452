#include "platform/graphics/Canvas.h"

#include <gtest/gtest.h>

#include "platform/graphics/BoxBlur.h"
#include "platform/graphics/TextLayout.h"

using graphics::Canvas;
using graphics::Color;
using graphics::ContentMode;
using graphics::CornerStyle;
using graphics::Image;
using graphics::Pixel;
using graphics::Rect;
using graphics::RoundedRect;

namespace {

constexpr Color red { 1, 0, 0, 1 };
constexpr Color blue { 0, 0, 1, 1 };

Image blank(int width, int height)
{
    return Image::create(width, height).value();
}

bool isRed(Pixel pixel)
{
    return pixel.red > 200 && pixel.green < 60 && pixel.blue < 60 && pixel.alpha > 200;
}

bool isBlue(Pixel pixel)
{
    return pixel.blue > 200 && pixel.red < 60 && pixel.green < 60 && pixel.alpha > 200;
}

int countPixels(const Image& image, bool (*matches)(Pixel))
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += matches(image.pixel(x, y)) ? 1 : 0;
    }
    return count;
}

// A picture whose left half is red and right half blue.
Image redBlue(int width, int height)
{
    Image image = blank(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, x < width / 2 ? Pixel { 255, 0, 0, 255 } : Pixel { 0, 0, 255, 255 });
    }
    return image;
}

} // namespace

TEST(Canvas, fillsRoundedRectanglesWithAlphaAtItsScale)
{
    Image image = blank(60, 60);
    {
        Canvas canvas(image, 3);
        canvas.fill({ Rect { 0, 0, 20, 20 }, 5 }, red);
        canvas.fill({ Rect { 10, 0, 10, 10 } }, Color { 0, 0, 1, 0.5 });
    }
    EXPECT_TRUE(isRed(image.pixel(5, 50)));
    EXPECT_EQ(image.pixel(0, 0).alpha, 0) << "the rounded corner is left out";
    EXPECT_EQ(image.pixel(59, 59).alpha, 0);
    EXPECT_TRUE(isRed(image.pixel(2, 30)));
    // Half-transparent blue over red.
    Pixel mixed = image.pixel(45, 15);
    EXPECT_NEAR(mixed.red, 128, 3);
    EXPECT_NEAR(mixed.blue, 128, 3);
    EXPECT_EQ(mixed.alpha, 255);
}

TEST(Canvas, continuousCornersBendEarlierThanCircularOnes)
{
    // Radius 20 on a 100-pixel square: a circular corner meets the top edge
    // 20 pixels from the corner, a continuous one about 30 pixels from it.
    auto fillWith = [](CornerStyle style) {
        Image image = blank(100, 100);
        Canvas canvas(image);
        canvas.fill({ Rect { 0, 0, 100, 100 }, 20, style }, red);
        return image;
    };
    Image circular = fillWith(CornerStyle::Circular);
    Image continuous = fillWith(CornerStyle::Continuous);
    EXPECT_EQ(circular.pixel(24, 0).alpha, 255);
    EXPECT_LT(continuous.pixel(22, 0).alpha, 250);
    EXPECT_EQ(continuous.pixel(34, 0).alpha, 255);
    EXPECT_EQ(continuous.pixel(1, 1).alpha, 0);
    // At the diagonal both pass near the same point.
    EXPECT_NEAR(circular.pixel(6, 6).alpha, continuous.pixel(6, 6).alpha, 40);
    // Absurd radii are clamped to half the shorter side, and negative ones to zero.
    Image pill = blank(100, 40);
    Image square = blank(10, 10);
    {
        Canvas pillCanvas(pill);
        pillCanvas.fill({ Rect { 0, 0, 100, 40 }, 1e9, CornerStyle::Continuous }, red);
        Canvas squareCanvas(square);
        squareCanvas.fill({ Rect { 0, 0, 10, 10 }, -30 }, red);
    }
    EXPECT_TRUE(isRed(pill.pixel(50, 20)));
    EXPECT_EQ(pill.pixel(0, 0).alpha, 0);
    EXPECT_TRUE(isRed(square.pixel(0, 0)));
}

TEST(Canvas, continuousCornersOfHalfTheSideDrawACircle)
{
    // A 40-point icon with radius 20, drawn at 3 pixels per point.
    auto iconWith = [](CornerStyle style) {
        Image image = blank(120, 120);
        Canvas canvas(image, 3);
        canvas.fill({ Rect { 0, 0, 40, 40 }, 20, style }, red);
        return image;
    };
    Image continuous = iconWith(CornerStyle::Continuous);
    Image circle = iconWith(CornerStyle::Circular);
    // Outside the circle on the diagonal (a rounded square would cover it), inside just within.
    EXPECT_EQ(continuous.pixel(15, 15).alpha, 0);
    EXPECT_EQ(continuous.pixel(22, 22).alpha, 255);
    int differing = 0;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 120; ++x) {
            if (std::abs(continuous.pixel(x, y).alpha - circle.pixel(x, y).alpha) > 64)
                ++differing;
        }
    }
    EXPECT_LT(differing, 12) << "the continuous shape is the circle, to within the curve's approximation";
}

TEST(Canvas, clipsToRoundedRectanglesUntilRestored)
{
    Image image = blank(40, 40);
    {
        Canvas canvas(image);
        canvas.save();
        canvas.clipTo({ Rect { 10, 10, 20, 20 }, 10 });
        canvas.fill({ Rect { 0, 0, 40, 40 } }, red);
        canvas.restore();
        canvas.fill({ Rect { 0, 0, 5, 5 } }, blue);
    }
    EXPECT_TRUE(isRed(image.pixel(20, 20)));
    EXPECT_EQ(image.pixel(11, 11).alpha, 0) << "outside the round clip";
    EXPECT_EQ(image.pixel(35, 35).alpha, 0);
    EXPECT_TRUE(isBlue(image.pixel(2, 2))) << "the clip ended with restore";
}

TEST(Canvas, placesPicturesByContentMode)
{
    Rect frame { 0, 0, 100, 100 };
    auto fit = graphics::placeImage({ 200, 100 }, frame, ContentMode::ScaleAspectFit);
    EXPECT_NEAR(fit.x, 0, 1e-9);
    EXPECT_NEAR(fit.y, 25, 1e-9);
    EXPECT_NEAR(fit.width, 100, 1e-9);
    EXPECT_NEAR(fit.height, 50, 1e-9);
    auto fill = graphics::placeImage({ 200, 100 }, frame, ContentMode::ScaleAspectFill);
    EXPECT_NEAR(fill.x, -50, 1e-9);
    EXPECT_NEAR(fill.width, 200, 1e-9);
    EXPECT_NEAR(fill.height, 100, 1e-9);
    auto top = graphics::placeImage({ 20, 10 }, frame, ContentMode::Top);
    EXPECT_NEAR(top.x, 40, 1e-9);
    EXPECT_NEAR(top.y, 0, 1e-9);
    auto bottomRight = graphics::placeImage({ 20, 10 }, frame, ContentMode::BottomRight);
    EXPECT_NEAR(bottomRight.x, 80, 1e-9);
    EXPECT_NEAR(bottomRight.y, 90, 1e-9);
    EXPECT_EQ(graphics::placeImage({ 20, 10 }, frame, ContentMode::ScaleToFill), frame);
    EXPECT_TRUE(graphics::placeImage({ 0, 10 }, frame, ContentMode::ScaleAspectFit).isEmpty());
}

TEST(Canvas, drawsPicturesWithAspectFitAndFill)
{
    Image picture = redBlue(40, 20);
    Image fitted = blank(30, 30);
    Image filled = blank(30, 30);
    {
        Canvas fit(fitted);
        fit.drawImage(picture, 1, { 0, 0, 30, 30 }, ContentMode::ScaleAspectFit);
        Canvas fill(filled);
        fill.save();
        fill.clipTo({ Rect { 0, 0, 30, 30 } });
        fill.drawImage(picture, 1, { 0, 0, 30, 30 }, ContentMode::ScaleAspectFill);
        fill.restore();
    }
    // Fit: a 30 × 15 band in the middle, red on the left and blue on the right.
    EXPECT_EQ(fitted.pixel(15, 2).alpha, 0);
    EXPECT_TRUE(isRed(fitted.pixel(3, 15)));
    EXPECT_TRUE(isBlue(fitted.pixel(27, 15)));
    // Fill: the whole square, cropped at the sides.
    EXPECT_TRUE(isRed(filled.pixel(5, 1)));
    EXPECT_TRUE(isBlue(filled.pixel(25, 28)));
    EXPECT_EQ(countPixels(filled, [](Pixel pixel) { return pixel.alpha == 0; }), 0);

    // A 2× picture is half as large in points.
    Image natural = blank(40, 40);
    {
        Canvas canvas(natural);
        canvas.drawImage(picture, 2, { 0, 0, 40, 40 }, ContentMode::TopLeft, 0.5);
    }
    EXPECT_NEAR(natural.pixel(2, 2).alpha, 128, 2);
    EXPECT_EQ(natural.pixel(25, 5).alpha, 0);
    EXPECT_EQ(natural.pixel(5, 15).alpha, 0);
}

TEST(Canvas, drawsTextInItsColourWithinItsLines)
{
    Image image = blank(200, 60);
    graphics::TextLayout layout("Hello world", graphics::Font(20));
    layout.setWidth(200);
    auto metrics = layout.measure();
    {
        Canvas canvas(image);
        canvas.drawText(layout, { 0, 10 }, red);
    }
    int inked = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y).alpha == 0)
                continue;
            ++inked;
            EXPECT_GE(y, 10);
            EXPECT_LE(y, 10 + metrics.height + 1);
            EXPECT_LE(x, metrics.width + 1);
        }
    }
    EXPECT_GT(inked, 100);
    EXPECT_GT(countPixels(image, isRed), 20);
}

TEST(Canvas, textInAFontOfSizeZeroDrawsNothingAndBreaksNothing)
{
    Image image = blank(50, 50);
    {
        Canvas canvas(image);
        canvas.drawText(graphics::TextLayout("Invisible", graphics::Font(-10)), { 0, 0 }, red);
        canvas.fill({ Rect { 20, 20, 10, 10 } }, blue);
    }
    EXPECT_EQ(countPixels(image, isRed), 0);
    EXPECT_TRUE(isBlue(image.pixel(25, 25)));
}

TEST(Canvas, blursWhatLiesBeneathAndTintsIt)
{
    // A hard edge between black and white columns becomes a ramp of greys
    // inside the blurred rectangle and stays hard outside it.
    Image image = blank(120, 60);
    {
        Canvas canvas(image);
        canvas.fill({ Rect { 0, 0, 60, 60 } }, Color { 0, 0, 0, 1 });
        canvas.fill({ Rect { 60, 0, 60, 60 } }, Color { 1, 1, 1, 1 });
        canvas.drawBlurredBackdrop({ Rect { 20, 0, 80, 30 } }, 8, Color { 1, 0, 0, 0.2 });
    }
    Pixel nearEdge = image.pixel(57, 10);
    EXPECT_GT(nearEdge.green, 30) << "black picked up white from across the edge";
    EXPECT_LT(image.pixel(63, 10).green, 230);
    EXPECT_EQ(image.pixel(57, 45).green, 0) << "below the rectangle nothing changed";
    EXPECT_EQ(image.pixel(63, 45).green, 255);
    EXPECT_GT(image.pixel(25, 10).red, image.pixel(25, 10).green) << "the tint lies over the blur";
}

TEST(Canvas, transparencyLayersComposeTheirContentAsOne)
{
    Image image = blank(40, 20);
    {
        Canvas canvas(image);
        canvas.beginTransparencyLayer({ 0, 0, 40, 20 });
        canvas.fill({ Rect { 0, 0, 30, 20 } }, red);
        canvas.fill({ Rect { 10, 0, 30, 20 } }, blue);
        canvas.endTransparencyLayer(0.5);
    }
    // Where the two overlap only the blue shows, at half strength.
    EXPECT_NEAR(image.pixel(20, 10).alpha, 128, 2);
    EXPECT_LT(image.pixel(20, 10).red, 10);
    EXPECT_NEAR(image.pixel(5, 10).alpha, 128, 2);
}

TEST(BoxBlur, spreadsAPointEvenlyAndKeepsItsTotal)
{
    Image image = blank(21, 21);
    image.setPixel(10, 10, { 255, 255, 255, 255 });
    graphics::boxBlur(image, 2, 1);
    Pixel centre = image.pixel(10, 10);
    Pixel corner = image.pixel(8, 12);
    EXPECT_EQ(centre, corner);
    EXPECT_NEAR(centre.alpha, 255 / 25.0, 1);
    EXPECT_EQ(image.pixel(7, 10).alpha, 0);
}
