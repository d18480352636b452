#include "tools/brix/scenario/FrameRecorder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

#include "tests/support/TempDirectory.h"
#include "tests/tools/AnimationReader.h"
#include "tools/brix/scenario/ScenarioParser.h"
#include "tools/brix/scenario/ScenarioRunner.h"

using tools::scenario::FrameRecorder;
using tools::scenario::Json;
using tools::scenario::ScenarioParser;
using tools::scenario::ScenarioRunner;

namespace {

constexpr int strip = 22;

// Plays a scenario with frames at `rate` and reads its animation back.
struct Filmed {
    Filmed(const char* scenario, double rate, const std::set<size_t>& keep, double scale = 1)
    {
        auto parsed = ScenarioParser::parseText(scenario, folder.path());
        if (!parsed)
            throw std::runtime_error(parsed.error().message);
        ScenarioRunner::Output output(folder.path() / "out", nullptr, &errors);
        output.frames = FrameRecorder::Settings { rate, scale, folder.path() / "out" / "run.webp" };
        code = ScenarioRunner(parsed.value(), output).run();
        animation = readAnimation(folder.path() / "out" / "run.webp", keep);
    }

    TempDirectory folder;
    std::ostringstream errors;
    ScenarioRunner::ExitCode code { ScenarioRunner::Refused };
    DecodedAnimation animation;
};

int difference(graphics::Pixel a, graphics::Pixel b)
{
    return std::max({ std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue) });
}

// The lowest row of the screen (below the strip, above `limit`) where the
// frame differs clearly from `before`; -1 where none does.
int lowestChangedRow(const graphics::Image& frame, const graphics::Image& before, int limit)
{
    for (int y = limit; y >= strip; --y) {
        for (int x = 0; x < frame.width(); x += 2) {
            if (difference(frame.pixel(x, y), before.pixel(x, y)) > 60)
                return y;
        }
    }
    return -1;
}

bool sameScreen(const graphics::Image& a, const graphics::Image& b)
{
    for (int y = strip; y < a.height(); y += 3) {
        for (int x = 0; x < a.width(); x += 3) {
            if (difference(a.pixel(x, y), b.pixel(x, y)) > 8)
                return false;
        }
    }
    return true;
}

bool sameStrip(const graphics::Image& a, const graphics::Image& b)
{
    for (int y = 0; y < strip; ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (difference(a.pixel(x, y), b.pixel(x, y)) > 8)
                return false;
        }
    }
    return true;
}

} // namespace

TEST(FrameRecorder, countsOneFrameForEveryIntervalTheRunLasts)
{
    EXPECT_EQ(FrameRecorder::frameCountFor(2, 10), 20u);
    EXPECT_EQ(FrameRecorder::frameCountFor(44, 30), 1320u);
    // A part of an interval takes a whole frame; rounding in a sum of decimals does not.
    EXPECT_EQ(FrameRecorder::frameCountFor(1.01, 30), 31u);
    EXPECT_EQ(FrameRecorder::frameCountFor(0.1 + 0.2, 10), 3u);
    EXPECT_EQ(FrameRecorder::frameCountFor(0, 30), 0u);
    EXPECT_EQ(FrameRecorder::frameCountFor(std::nan(""), 30), 0u);
}

TEST(FrameRecorder, filmsEveryIntervalOfDeviceTimeWithAnimationsInFlight)
{
    Filmed run(R"({"format": 1, "steps": [
        {"at": 0.5, "notify": {"app": "com.apple.MobileSMS", "title": "Alice", "message": "Hi there"}},
        {"at": 2, "wait": 0}]})",
        10, { 0, 4, 5, 7, 9, 15, 16, 19 });
    ASSERT_EQ(run.code, ScenarioRunner::Passed) << run.errors.str();
    ASSERT_TRUE(run.animation.ok) << run.animation.failure;
    // Two seconds at ten a second, each frame a tenth of a second long, even
    // while nothing moves on the screen.
    EXPECT_EQ(run.animation.frames, 20u);
    EXPECT_EQ(run.animation.declaredFrames, 20u);
    ASSERT_EQ(run.animation.timestamps.size(), 20u);
    EXPECT_EQ(run.animation.timestamps.front(), 100);
    EXPECT_EQ(run.animation.timestamps.back(), 2000);
    // The screen at one point per pixel, under the strip.
    EXPECT_EQ(run.animation.width, 390);
    EXPECT_EQ(run.animation.height, 844 + strip);

    auto& frames = run.animation.kept;
    auto& empty = frames.at(0);
    // Before the banner and as it starts, nothing on the screen has changed.
    EXPECT_EQ(lowestChangedRow(frames.at(4), empty, 400), -1);
    EXPECT_EQ(lowestChangedRow(frames.at(5), empty, 400), -1);
    // It slides down into place, then stays.
    int sliding = lowestChangedRow(frames.at(7), empty, 400);
    int later = lowestChangedRow(frames.at(9), empty, 400);
    int settled = lowestChangedRow(frames.at(15), empty, 400);
    EXPECT_GT(sliding, strip);
    EXPECT_GT(later, sliding);
    EXPECT_GT(settled, sliding + 10);
    EXPECT_EQ(lowestChangedRow(frames.at(19), empty, 400), settled);
    // Frames of a still screen differ in their strip only.
    EXPECT_TRUE(sameScreen(frames.at(15), frames.at(16)));
    EXPECT_FALSE(sameStrip(frames.at(15), frames.at(16)));
}

TEST(FrameRecorder, aFrameAtAStepsTimeShowsTheStep)
{
    Filmed run(R"({"format": 1, "steps": [{"at": 1, "style": "dark"}, {"at": 1.5, "wait": 0}]})", 10, { 9, 10 }, 0.5);
    ASSERT_EQ(run.code, ScenarioRunner::Passed) << run.errors.str();
    ASSERT_TRUE(run.animation.ok) << run.animation.failure;
    EXPECT_EQ(run.animation.frames, 15u);
    EXPECT_EQ(run.animation.width, 195);
    // The wallpaper, light before the switch and dark in the frame at its time.
    auto before = run.animation.kept.at(9).pixel(100, 400);
    auto at = run.animation.kept.at(10).pixel(100, 400);
    EXPECT_GT(before.red, 150);
    EXPECT_LT(at.red, 60);
}

TEST(FrameRecorder, refusesRatesAndScalesItCannotFilm)
{
    device::Hardware hardware;
    for (auto [rate, scale] : { std::pair { 0.0, 1.0 }, { 61.0, 1.0 }, { std::nan(""), 1.0 }, { 30.0, 0.0 },
             { 30.0, -1.0 }, { 30.0, std::numeric_limits<double>::infinity() }, { 30.0, 100.0 }, { 30.0, 1e12 } }) {
        auto made = FrameRecorder::create({ rate, scale, "unused.webp" }, 1, hardware);
        ASSERT_FALSE(made) << rate << " a second at " << scale;
        EXPECT_FALSE(made.error().message.empty());
    }

    // The runner refuses before anything runs.
    TempDirectory folder;
    auto parsed = ScenarioParser::parseText(R"({"format": 1, "steps": [{"at": 1, "lock": true}]})", folder.path());
    ASSERT_TRUE(parsed);
    std::ostringstream trace, errors;
    ScenarioRunner::Output output(folder.path() / "out", &trace, &errors);
    output.frames = FrameRecorder::Settings { 120, 1, folder.path() / "out" / "run.webp" };
    EXPECT_EQ(ScenarioRunner(parsed.value(), output).run(), ScenarioRunner::Refused);
    EXPECT_NE(errors.str().find("cannot film the run: frames are made at 1 to 60 a second"), std::string::npos)
        << errors.str();
    EXPECT_EQ(trace.str(), "");
}
