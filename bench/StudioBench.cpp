// What one frame of the studio costs at the screen's full resolution: the
// screen drawn, compared with the one before and the changed part encoded as
// a JPEG. The baseline is the JPEG encoding of a whole screen alone.
#include <benchmark/benchmark.h>
#include <sstream>

#include "platform/graphics/Image.h"

#include "tools/brix/studio/FrameEncoder.h"
#include "tools/brix/studio/Studio.h"

namespace {

using tools::studio::Studio;

struct Session {
    std::ostringstream log;
    Studio studio { { BRIX_STUDIO_SESSION, 0, 85, 60, &log } };
    double time { 0 };

    Session()
    {
        if (auto started = studio.start(); !started)
            throw std::runtime_error(started.error().message);
        studio.tick(time);
    }
    void notify()
    {
        studio.play({ { "notify",
            { { "app", "com.apple.MobileSMS" }, { "title", "Alice" }, { "message", "Are you coming?" } } } });
    }
};

// A whole screen, drawn and encoded (what a page that joins gets).
void BM_StudioWholeFrame(benchmark::State& state)
{
    Session session;
    session.notify();
    for (auto _ : state) {
        session.studio.wantWholeFrame();
        session.studio.tick(session.time);
    }
}
BENCHMARK(BM_StudioWholeFrame)->Unit(benchmark::kMillisecond);

// One frame at 60 a second while a banner comes in: drawn, compared, the
// damage encoded. A new banner is sent whenever the one before settled.
void BM_StudioAnimatingFrame(benchmark::State& state)
{
    Session session;
    for (auto _ : state) {
        if (!session.studio.isAnimating()) {
            state.PauseTiming();
            session.time += 10; // the banner before is gone
            session.studio.tick(session.time);
            session.notify();
            state.ResumeTiming();
        }
        session.time += 1.0 / 60;
        session.studio.tick(session.time);
    }
}
BENCHMARK(BM_StudioAnimatingFrame)->Unit(benchmark::kMillisecond);

void BM_StudioJpegBaseline(benchmark::State& state)
{
    auto screen = graphics::Image::create(1170, 2532, graphics::Image::Contents::Transparent).value();
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            screen.words()[static_cast<size_t>(y) * screen.width() + x] = 0xff000000u | (x * 7 + y * 3) % 0xffffff;
    tools::studio::FrameEncoder encoder(85);
    for (auto _ : state) {
        encoder.reset();
        benchmark::DoNotOptimize(encoder.encode(screen));
    }
}
BENCHMARK(BM_StudioJpegBaseline)->Unit(benchmark::kMillisecond);

} // namespace
