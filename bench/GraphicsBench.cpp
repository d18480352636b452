// Text measurement and rendering. Measuring a label the first time lays its
// text out with Pango; measuring it again, unchanged, must be at least ten
// times cheaper. Rendering draws one full-screen frame (390 × 844 points at
// 3×) with a banner of labels, pictures and a blur over a few home-screen
// shapes; the same-run baseline fills the whole surface once with Cairo, so
// the ratio says how many plain full-screen fills a frame costs.

#include <benchmark/benchmark.h>
#include <memory>
#include <string>

#include "platform/device/Device.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/TextMeasurementCache.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/Renderer.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIKit.h"
#include "platform/uikit/UIView.h"

#include "tests/support/TempDirectory.h"

namespace {

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;
using uikit::makeRect;

constexpr const char* bodyText = "The meeting moved to three o'clock in the big room upstairs, see you there and "
                                 "bring the slides from last week";

class Scene {
public:
    Scene()
        : m_device(std::make_unique<device::Device>(m_root.path()))
        , m_process(std::make_unique<device::Process>(*m_device, "com.example.graphics-bench"))
    {
        uikit::defineClasses(*m_process);
    }

    runtime::Runtime& runtime() { return m_process->runtime(); }

    Ref<Object> view(const char* className, uikit::Rect frame)
    {
        return send<Ref<Object>>(runtime::alloc(runtime().classNamed(className)), "initWithFrame:", frame);
    }
    Ref<Object> color(double red, double green, double blue, double alpha)
    {
        return send<Ref<Object>>(
            runtime().classNamed("UIColor"), "colorWithRed:green:blue:alpha:", red, green, blue, alpha);
    }
    Ref<Object> font(double size, bool bold)
    {
        return send<Ref<Object>>(
            runtime().classNamed("UIFont"), bold ? "boldSystemFontOfSize:" : "systemFontOfSize:", size);
    }
    Ref<Object> label(uikit::Rect frame, const std::string& text, double size, bool bold, int64_t lines)
    {
        auto label = view("UILabel", frame);
        send(label, "setText:", Value(text));
        send(label, "setFont:", font(size, bold));
        send(label, "setNumberOfLines:", lines);
        send(label, "setTextColor:", color(1, 1, 1, 1));
        return label;
    }
    Ref<Object> picture(int size, uint8_t red, uint8_t green, uint8_t blue)
    {
        graphics::Image bitmap = graphics::Image::create(size, size).value();
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x)
                bitmap.setPixel(
                    x, y, { uint8_t(red ^ (x & 16 ? 40 : 0)), green, uint8_t(blue ^ (y & 16 ? 40 : 0)), 255 });
        }
        return uikit::UIImage::make(runtime(), std::move(bitmap), 3);
    }
    Ref<Object> imageView(uikit::Rect frame, const Ref<Object>& image, double cornerRadius)
    {
        auto imageView
            = send<Ref<Object>>(runtime::alloc(runtime().classNamed("UIImageView")), "initWithImage:", image);
        send(imageView, "setFrame:", frame);
        send(imageView, "setContentMode:", int64_t(2));
        send(imageView, "setClipsToBounds:", true);
        roundCorners(imageView, cornerRadius);
        return imageView;
    }
    void roundCorners(const Ref<Object>& view, double radius)
    {
        auto layer = send<Ref<Object>>(view, "layer");
        send(layer, "setCornerRadius:", radius);
        send(layer, "setContinuousCorners:", true);
    }

    // A home screen of coloured tiles with a banner over its top: blur,
    // background, icon with a badge, header, time, two body lines, grabber.
    Ref<Object> bannerScreen(const Ref<Object>& blur)
    {
        auto screen = view("UIView", makeRect(0, 0, 390, 844));
        send(screen, "setBackgroundColor:", color(0.2, 0.3, 0.5, 1));
        for (int row = 0; row < 6; ++row) {
            for (int column = 0; column < 4; ++column) {
                auto tile = view("UIView", makeRect(27 + column * 90, 60 + row * 100, 64, 64));
                send(tile, "setBackgroundColor:", color(0.25 * column, 0.15 * row, 0.6, 1));
                roundCorners(tile, 14);
                send(screen, "addSubview:", tile);
            }
        }
        auto banner = view("UIView", makeRect(8, 44, 374, 128));
        roundCorners(banner, 30);
        send(banner, "setBackgroundColor:", color(0, 0, 0, 0.3));
        send(blur, "setFrame:", makeRect(0, 0, 374, 128));
        roundCorners(blur, 30);
        send(blur, "setClipsToBounds:", true);
        send(banner, "addSubview:", blur);
        send(banner, "addSubview:", imageView(makeRect(14, 14, 38, 38), picture(180, 200, 60, 60), 10));
        send(banner, "addSubview:", imageView(makeRect(42, 6, 22, 22), picture(66, 40, 160, 90), 11));
        send(banner, "addSubview:", label(makeRect(64, 14, 240, 20), "Alice Appleseed", 15, true, 1));
        send(banner, "addSubview:", label(makeRect(310, 14, 50, 20), "now", 13, false, 1));
        send(banner, "addSubview:", label(makeRect(64, 36, 296, 40), bodyText, 15, false, 2));
        auto grabber = view("UIView", makeRect(167, 116, 40, 5));
        send(grabber, "setBackgroundColor:", color(1, 1, 1, 0.5));
        roundCorners(grabber, 2.5);
        send(banner, "addSubview:", grabber);
        send(screen, "addSubview:", banner);
        return screen;
    }

private:
    TempDirectory m_root;
    std::unique_ptr<device::Device> m_device;
    std::unique_ptr<device::Process> m_process;
};

// A label whose text differs each time, so Pango lays it out from scratch.
void BM_LabelMeasureFirst(benchmark::State& state)
{
    Scene scene;
    auto label = scene.label(makeRect(0, 0, 296, 40), bodyText, 15, false, 2);
    int64_t serial = 0;
    for (auto _ : state) {
        send(label, "setText:", Value(std::string(bodyText) + " #" + std::to_string(serial++)));
        benchmark::DoNotOptimize(send<int64_t>(label, "_measuredNumberOfLines"));
    }
}
BENCHMARK(BM_LabelMeasureFirst);

// The same label asked again without any change.
void BM_LabelMeasureRepeated(benchmark::State& state)
{
    Scene scene;
    auto label = scene.label(makeRect(0, 0, 296, 40), bodyText, 15, false, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(send<int64_t>(label, "_measuredNumberOfLines"));
}
BENCHMARK(BM_LabelMeasureRepeated);

// The label is given the text it had again, so only the shared cache helps.
void BM_LabelMeasureSameTextAgain(benchmark::State& state)
{
    Scene scene;
    auto label = scene.label(makeRect(0, 0, 296, 40), bodyText, 15, false, 2);
    Value text(bodyText);
    for (auto _ : state) {
        send(label, "setText:", text);
        benchmark::DoNotOptimize(send<int64_t>(label, "_measuredNumberOfLines"));
    }
}
BENCHMARK(BM_LabelMeasureSameTextAgain);

void BM_RenderBannerFrame(benchmark::State& state)
{
    Scene scene;
    auto blur = send<Ref<Object>>(runtime::alloc(scene.runtime().classNamed("UIVisualEffectView")), "initWithEffect:",
        send<Ref<Object>>(scene.runtime().classNamed("UIBlurEffect"), "effectWithStyle:", int64_t(2)));
    auto screen = scene.bannerScreen(blur);
    auto* root = dynamic_cast<uikit::UIView*>(screen.get());
    for (auto _ : state) {
        auto image = uikit::renderView(root, { 390, 844 }, 3);
        benchmark::DoNotOptimize(image->words());
    }
}
BENCHMARK(BM_RenderBannerFrame)->Unit(benchmark::kMillisecond);

void BM_RenderBaselineFullFill(benchmark::State& state)
{
    for (auto _ : state) {
        auto image = graphics::Image::create(1170, 2532);
        {
            graphics::Canvas canvas(image.value(), 3);
            canvas.fill({ graphics::Rect { 0, 0, 390, 844 } }, graphics::Color { 0.2, 0.3, 0.5, 1 });
        }
        benchmark::DoNotOptimize(image->words());
    }
}
BENCHMARK(BM_RenderBaselineFullFill)->Unit(benchmark::kMillisecond);

} // namespace
