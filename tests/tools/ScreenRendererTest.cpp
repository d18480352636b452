#include "tools/brix/scenario/ScreenRenderer.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <sstream>

#include "platform/device/Device.h"
#include "platform/device/Trace.h"
#include "platform/graphics/Canvas.h"
#include "platform/uikit/Renderer.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UIWindow.h"

#include "tests/support/TempDirectory.h"
#include "tools/brix/scenario/ScenarioParser.h"
#include "tools/brix/scenario/ScenarioRunner.h"

using tools::scenario::ScenarioParser;
using tools::scenario::ScenarioRunner;
using tools::scenario::ScreenRenderer;

namespace {

// The screen as each visible window's own whole picture laid over the one
// beneath, from the lowest level up: what the renderer must draw, however
// it saves work.
graphics::Image windowByWindow(device::Device& device, device::Process& home, const graphics::Image& like, double time)
{
    auto screen = graphics::Image::create(like.width(), like.height()).value();
    graphics::Canvas canvas(screen);
    canvas.fill({ { 0, 0, double(like.width()), double(like.height()) } }, ScreenRenderer::wallpaper(device));
    std::vector<runtime::Ref<uikit::UIWindow>> windows;
    for (auto& window : uikit::UIKitState::of(home).windows()) {
        if (!window->isHidden())
            windows.push_back(window);
    }
    std::stable_sort(
        windows.begin(), windows.end(), [](auto& a, auto& b) { return a->windowLevel() < b->windowLevel(); });
    for (auto& window : windows) {
        auto frame = window->frame();
        auto picture = uikit::renderView(window.get(), frame.size, 1, time).value();
        canvas.drawImage(picture, 1, { frame.origin.x, frame.origin.y, frame.width(), frame.height() },
            graphics::ContentMode::ScaleToFill);
    }
    canvas.flush();
    return screen;
}

bool samePixels(const graphics::Image& a, const graphics::Image& b)
{
    return a.width() == b.width() && a.height() == b.height()
        && std::memcmp(a.words(), b.words(), a.pixelCount() * sizeof(uint32_t)) == 0;
}

} // namespace

// A banner slides in, the style turns dark under it and a second banner
// replaces it: one renderer draws every frame into the memory of the frame
// before, and each is, pixel for pixel, the windows laid one over another.
TEST(ScreenRenderer, framesDrawnInReusedMemoryAreTheWindowsLaidOverEachOther)
{
    TempDirectory folder;
    auto scenario = ScenarioParser::parseText(R"({"format": 1, "steps": [
        {"at": 0.2, "notify": {"app": "com.apple.MobileSMS", "title": "Alice", "message": "Are you coming?"}},
        {"at": 0.5, "style": "dark"},
        {"at": 0.8, "notify": {"app": "com.apple.MobileSMS", "title": "Bob", "message": "On my way"}}]})",
        folder.path());
    ASSERT_TRUE(scenario) << scenario.error().message;
    std::ostringstream errors;
    ScenarioRunner runner(scenario.value(), ScenarioRunner::Output(folder.path() / "out", nullptr, &errors));
    ASSERT_EQ(runner.start(), ScenarioRunner::Passed) << errors.str();
    auto& device = *runner.device();
    auto* home = runner.homeScreenProcess();
    ASSERT_NE(home, nullptr);

    ScreenRenderer renderer;
    graphics::Image last;
    size_t step = 0;
    for (double time = 0.1; time < 1.6; time += 0.05) {
        while (step < scenario.value().steps.size() && scenario.value().steps[step].time <= time)
            ASSERT_TRUE(runner.play(scenario.value().steps[step++]));
        ASSERT_TRUE(runner.runUntil(time));
        auto drawn = renderer.draw(device, home, 1, time, std::move(last));
        ASSERT_TRUE(drawn) << drawn.error().message;
        last = std::move(drawn.value());
        EXPECT_TRUE(samePixels(last, windowByWindow(device, *home, last, time))) << "at " << time << " s";
    }
    auto events = device.trace().events();
    EXPECT_EQ(std::count_if(
                  events.begin(), events.end(), [](const auto& event) { return event["type"] == "banner.attached"; }),
        2);
}
