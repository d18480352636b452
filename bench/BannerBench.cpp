// Building a banner from scratch: construction, the layout when it enters
// its superview, and the first solve with every label measured. The
// baseline builds a plain view tree of the same shape in the same run, so
// the ratio shows what the banner itself costs.

#include <benchmark/benchmark.h>

#include "platform/runtime/Send.h"
#include "platform/uikit/UIImage.h"

#include "tests/support/BrixDevice.h"

namespace {

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;

class BannerBench {
public:
    BannerBench()
        : m_home(m_device.launch("com.apple.springboard"))
    {
        auto& runtime = m_home.runtime();
        m_window = send<Ref<Object>>(
            runtime::alloc(runtime.classNamed("UIWindow")), "initWithFrame:", uikit::makeRect(0, 0, 390, 844));
        send(m_window, "makeKeyAndVisible");
        m_image = uikit::UIImage::make(runtime, { 60, 60 }, 3);
    }

    runtime::Runtime& runtime() { return m_home.runtime(); }
    const Ref<Object>& window() const { return m_window; }

    Ref<Object> makeBanner(int serial)
    {
        auto banner = send<Ref<Object>>(runtime::alloc(runtime().classNamed("BrixContainer")),
            "initWithUIImage:andHeader:andSubHeader:andBody:", m_image, Value("Alice " + std::to_string(serial)),
            Value("Project"), Value("The meeting moved to three o'clock, see you there " + std::to_string(serial)));
        auto colors
            = send<Ref<Object>>(runtime::alloc(runtime().classNamed("BrixColors")), "initWithMode:", uint64_t(2));
        send(banner, "setColorSet:", colors);
        send(banner, "setMaxLineCount:", int64_t(2));
        send(banner, "setEnableButtons:", true);
        send(banner, "setCanReply:", true);
        send(banner, "setBackgroundBlur:", true);
        send(banner, "setEnableGrabber:", true);
        send(banner, "setEnableGlyphs:", true);
        send(banner, "setStatusbar:", true);
        send(banner, "setMilitaryClock:", true);
        send(banner, "setContainerCornerRadius:", int64_t(30));
        send(banner, "setAppCornerRadius:", int64_t(20));
        send(banner, "setAppSize:", int64_t(40));
        send(banner, "setAppIconTop:", int64_t(15));
        send(banner, "setHeaderFontSize:", int64_t(15));
        send(banner, "setTextFontSize:", int64_t(13));
        send(banner, "setStatusbarFontSize:", int64_t(15));
        send(banner, "setTinyBannerFontSize:", int64_t(15));
        send(banner, "setAppDetailImageBundleId:", Value("net.whatsapp.WhatsApp"));
        return banner;
    }

    Ref<Object> makeHost()
    {
        auto host = send<Ref<Object>>(
            runtime::alloc(runtime().classNamed("UIView")), "initWithFrame:", uikit::makeRect(0, 0, 390, 100));
        send(m_window, "addSubview:", host);
        return host;
    }

private:
    BrixDevice m_device;
    device::Process& m_home;
    Ref<Object> m_window;
    Ref<Object> m_image;
};

// A fresh serial every iteration, so no text measurement is served from a cache.
void BM_BannerBuildAndLayout(benchmark::State& state)
{
    BannerBench bench;
    int serial = 0;
    for (auto _ : state) {
        auto host = bench.makeHost();
        auto banner = bench.makeBanner(serial++);
        send(host, "addSubview:", banner);
        send(bench.window(), "layoutIfNeeded");
        benchmark::DoNotOptimize(send<uikit::Rect>(banner, "frame"));
        state.PauseTiming();
        send(host, "removeFromSuperview");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BannerBuildAndLayout);

// The baseline: the same number of plain views and labels with the same
// texts, laid out without constraints.
void BM_PlainViewTreeBaseline(benchmark::State& state)
{
    BannerBench bench;
    auto& runtime = bench.runtime();
    int serial = 0;
    for (auto _ : state) {
        auto host = bench.makeHost();
        auto container = runtime::newObject(runtime.classNamed("UIView"));
        send(host, "addSubview:", container);
        for (int i = 0; i < 12; ++i) {
            auto label = runtime::newObject(runtime.classNamed("UILabel"));
            send(label, "setText:", Value("Alice " + std::to_string(serial) + " " + std::to_string(i)));
            send(label, "setFrame:", uikit::makeRect(71, 20.0 * i, 303, 18));
            send(container, "addSubview:", label);
        }
        ++serial;
        send(bench.window(), "layoutIfNeeded");
        benchmark::DoNotOptimize(send<uikit::Rect>(container, "frame"));
        state.PauseTiming();
        send(host, "removeFromSuperview");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlainViewTreeBaseline);

} // namespace
