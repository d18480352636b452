// Notifications that arrive faster than banners go: a burst of n, 10 ms
// apart, each banner presented over the last, then a second to settle. The
// cost per notification stays flat when BM_Burst/1000 is about ten times
// BM_Burst/100. One banner's layout beside 50 other banners in the banner
// window is compared with the same layout alone.

#include <benchmark/benchmark.h>
#include <string>

#include "platform/runtime/Send.h"
#include "platform/springboard/BannerPresenter.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"

#include "tests/support/BrixDevice.h"

namespace {

using foundation::Value;
using springboard::BannerPresenter;
using springboard::NCNotificationRequest;

constexpr size_t maxTasks = 1000000;

class BurstDevice {
public:
    BurstDevice()
    {
        m_home = &m_brix.launch("com.apple.springboard");
        m_brix.device().trace().setKeepsEvents(false);
    }

    // The next notification arrives after `gap` seconds.
    void arrive(double gap)
    {
        advance(gap);
        NCNotificationRequest::Contents contents;
        contents.notificationIdentifier = "n" + std::to_string(++m_serial);
        contents.title = Value("t" + std::to_string(m_serial));
        auto request = NCNotificationRequest::make(*m_home, std::move(contents));
        BannerPresenter::of(*m_home).presentBanner(*request);
        if (!m_brix.device().scheduler().runDue(maxTasks))
            throw std::runtime_error("the device did not settle");
    }

    void advance(double seconds)
    {
        if (!m_brix.device().scheduler().advance(seconds, maxTasks))
            throw std::runtime_error("the device did not settle");
    }

    uikit::UIView* currentBannerView()
    {
        auto* banner = BannerPresenter::of(*m_home).currentBanner();
        return banner ? banner->viewIfLoaded() : nullptr;
    }

private:
    BrixDevice m_brix;
    device::Process* m_home { nullptr };
    int m_serial { 0 };
};

void BM_Burst(benchmark::State& state)
{
    auto count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        {
            BurstDevice device;
            state.ResumeTiming();
            for (int i = 0; i < count; ++i)
                device.arrive(0.01);
            device.advance(1);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.counters["perNotification"] = benchmark::Counter(
        double(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Burst)->Arg(100)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The newest banner moves by a point and its window lays out again.
void BM_BannerLayout(benchmark::State& state)
{
    BurstDevice device;
    for (int64_t i = 0; i <= state.range(0); ++i)
        device.arrive(0.01);
    uikit::UIView* view = device.currentBannerView();
    uikit::UIWindow* window = view ? view->window() : nullptr;
    if (!window) {
        state.SkipWithError("no banner on screen");
        return;
    }
    uikit::Rect frame = view->frame();
    double step = 1;
    for (auto _ : state) {
        frame.origin.x += step;
        step = -step;
        view->setFrame(frame);
        window->layoutIfNeeded();
    }
}
BENCHMARK(BM_BannerLayout)->ArgName("others")->Arg(0)->Arg(50)->Unit(benchmark::kMicrosecond);

} // namespace
