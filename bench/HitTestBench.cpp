// Finding the view under a finger: 10,000 random points on a screen with an
// expanded banner (its buttons, its reply field), the status bar and the
// home screen, through the run time's hitTest:withEvent: in every window by
// level. The baseline loops over the same views' screen frames (worked out
// once) in the same run, keeping the last one that contains each point.

#include <benchmark/benchmark.h>
#include <random>

#include "platform/uikit/TouchDelivery.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UIWindow.h"

#include "tests/support/TempDirectory.h"
#include "tools/brix/scenario/ScenarioParser.h"
#include "tools/brix/scenario/ScenarioRunner.h"

namespace {

using tools::scenario::Json;
using tools::scenario::ScenarioParser;
using tools::scenario::ScenarioRunner;

constexpr int pointCount = 10000;

class ExpandedBanner {
public:
    ExpandedBanner()
    {
        Json drag = Json::array();
        for (int step = 0; step <= 6; ++step)
            drag.push_back({ 195, 40 + 10 * step });
        Json scenario = { { "format", 1 }, { "preferences", { { "showButtons", true } } },
            { "steps",
                { { { "notify",
                      { { "app", "net.whatsapp.WhatsApp" }, { "title", "Bob" }, { "message", "Lunch?" },
                          { "actions",
                              { { "clear", "clear" },
                                  { "supplementary", { { "default", { "com.whatsapp.reply" } } } } } } } } },
                    { { "at", 1 }, { "touch", drag }, { "interval", 1.0 / 60 } }, { { "at", 2 }, { "wait", 0 } } } } };
        auto parsed = ScenarioParser::parseText(scenario.dump(), m_folder.path());
        if (!parsed)
            throw std::runtime_error(parsed.error().message);
        m_scenario = std::make_unique<tools::scenario::Scenario>(std::move(parsed.value()));
        m_runner = std::make_unique<ScenarioRunner>(
            *m_scenario, ScenarioRunner::Output { m_folder.path() / "out", &m_trace, &m_errors });
        if (m_runner->run() != ScenarioRunner::Passed)
            throw std::runtime_error("the scenario did not run: " + m_errors.str());
        std::mt19937 random(13);
        std::uniform_real_distribution<double> x(0, 390), y(0, 844);
        for (int index = 0; index < pointCount; ++index)
            m_points.push_back({ x(random), y(random) });
    }

    device::Process& homeScreen() { return *m_runner->homeScreenProcess(); }
    const std::vector<uikit::Point>& points() const { return m_points; }

    // Every view of the visible windows with its frame on the screen, back to front.
    std::vector<uikit::Rect> screenFrames()
    {
        auto windows = uikit::UIKitState::of(homeScreen()).windows();
        std::stable_sort(
            windows.begin(), windows.end(), [](auto& a, auto& b) { return a->windowLevel() < b->windowLevel(); });
        std::vector<uikit::Rect> frames;
        for (auto& window : windows) {
            if (!window->isHidden())
                collect(*window, frames);
        }
        return frames;
    }

private:
    static void collect(uikit::UIView& view, std::vector<uikit::Rect>& frames)
    {
        uikit::Point origin = view.pointOnScreen({ view.bounds().origin.x, view.bounds().origin.y });
        frames.push_back({ origin, view.bounds().size });
        for (auto& subview : view.subviews())
            collect(*subview, frames);
    }

    TempDirectory m_folder;
    std::ostringstream m_trace;
    std::ostringstream m_errors;
    std::unique_ptr<tools::scenario::Scenario> m_scenario;
    std::unique_ptr<ScenarioRunner> m_runner;
    std::vector<uikit::Point> m_points;
};

ExpandedBanner& screen()
{
    static ExpandedBanner instance;
    return instance;
}

void BM_HitTest10000Points(benchmark::State& state)
{
    auto& delivery = uikit::TouchDelivery::of(screen().homeScreen());
    size_t views = 0;
    for (auto _ : state) {
        for (auto& point : screen().points())
            benchmark::DoNotOptimize(delivery.viewAt(point));
    }
    for (auto& point : screen().points())
        views += delivery.viewAt(point) != nullptr;
    state.counters["pointsOnAView"] = static_cast<double>(views);
    state.counters["views"] = static_cast<double>(screen().screenFrames().size());
}
BENCHMARK(BM_HitTest10000Points)->Unit(benchmark::kMillisecond);

void BM_HitTestFrameLoopBaseline(benchmark::State& state)
{
    auto frames = screen().screenFrames();
    for (auto _ : state) {
        for (auto& point : screen().points()) {
            const uikit::Rect* found = nullptr;
            for (auto& frame : frames) {
                if (point.x >= frame.origin.x && point.y >= frame.origin.y
                    && point.x < frame.origin.x + frame.size.width && point.y < frame.origin.y + frame.size.height)
                    found = &frame;
            }
            benchmark::DoNotOptimize(found);
        }
    }
    state.counters["views"] = static_cast<double>(frames.size());
}
BENCHMARK(BM_HitTestFrameLoopBaseline)->Unit(benchmark::kMillisecond);

} // namespace
