#pragma once

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/foundation/Result.h"

#include "tools/brix/TemporaryFolder.h"
#include "tools/brix/scenario/Scenario.h"
#include "tools/brix/scenario/ScreenRenderer.h"
#include "tools/brix/studio/EventHub.h"
#include "tools/brix/studio/FrameEncoder.h"

namespace tools::scenario {
class InputRecorder;
class ScenarioRunner;
}

namespace tools::studio {

// A live session on a simulated phone. The device runs on one thread, the
// one that calls `run`: its scheduler follows the wall clock (device time is
// the real time since the device started), work falls due at its own time,
// and nothing spins — with nothing due and nothing animating the thread
// sleeps. Everything else reaches the device through `call`, which hands the
// work to the device thread; it runs between two turns of the scheduler at
// the current time, the way a scenario step does.
//
// What the user does is played as scenario steps (the file's own syntax,
// validated by the scenario parser) and kept, with its device time, so that
// the session can be saved as a scenario that `brix run` replays.
//
// The screen goes to the page through `events()`: a frame whenever the
// picture changed (only the part that changed), at most `framesPerSecond`
// while something animates, and every trace event as it is made.
class Studio {
public:
    struct Options {
        // The scenario whose device set-up (hardware, preferences, address
        // book, files, web) the session starts from; its steps are not played.
        std::filesystem::path session;
        // Pixels per point of the frames; the screen's own scale when zero.
        double scale { 0 };
        int quality { 85 };
        double framesPerSecond { 60 };
        std::ostream* log { nullptr };
        // A finger that is down and still holds the clock for this long (wall
        // seconds without an event from the page); then the clock runs again.
        double heldStill { 0.5 };
    };

    explicit Studio(Options);
    ~Studio();
    Studio(const Studio&) = delete;
    Studio& operator=(const Studio&) = delete;

    // Reads the session file and starts the device; fails with the reason.
    foundation::Result<void> start();
    // Runs the device on the calling thread until `stop`.
    void run();
    // Safe from any thread.
    void stop();

    EventHub& events() { return m_events; }

    // Runs `work` on the device thread and answers its result. Safe from any
    // thread but the device thread; before `run` or after `stop` the answer
    // is an error.
    using Work = std::function<scenario::Json(Studio&)>;
    std::future<scenario::Json> call(Work);

    // The device-side operations, for `call` (and for tests that run the
    // device themselves). Each answers {"error": reason} when it refused and
    // changed nothing.

    // Plays one step written as in a scenario file ({"notify": {...}},
    // {"pan": [...]}, {"style": "dark"}, ...). Notifications are given the
    // next free id and, when they have none, their app's icon. Steps that
    // write files or name files on this machine are refused.
    scenario::Json play(scenario::Json step);
    // A payload in the phone simulator's push format, for `app` (or the
    // app the payload names).
    scenario::Json push(const std::string& payload, const std::string& app);
    // A pointer on the screen is a finger: "down", "move", "up" or "cancel"
    // at a point in screen points, through the device's one input path.
    // `pageTime` is when the page saw the event (seconds on the page's own
    // clock): while the finger is down the device's clock follows those times
    // rather than the moment each event arrives, so that a drag keeps the pace
    // it had in the browser however late its events come, and what its
    // release does (a flick or a settle) is the user's doing.
    scenario::Json pointer(const std::string& phase, double x, double y, std::optional<double> pageTime = {});
    // The hardware and what the device holds: style, screen, system
    // version, time, the Messages conversations, the messages sent.
    scenario::Json state() const;
    // Brix's pages in the device's Settings app, read through the app as a
    // user sees them: {"pages": [{title, sections: [{header, footer, rows:
    // [{title, kind, value}]}]}]}.
    scenario::Json settingsPages();
    // Works a row of those pages: {"set": row, "value": text, "page": title}
    // for a switch, slider or choice, {"tap": row, "page": title} for a
    // button. What the change wrote to the preferences is kept as a
    // "preferences" step, so that the saved session replays it.
    scenario::Json changeSetting(const scenario::Json& request);
    // Starts the device again with these hardware settings ("systemVersion",
    // "screen", "feedbackSupportLevel", as a scenario's device section has
    // them) over the session's own; the session starts anew from the same
    // set-up. Settings the scenario parser refuses change nothing.
    scenario::Json restart(const scenario::Json& hardware);
    // The session so far as a scenario file.
    scenario::Json savedScenario() const;
    // Every trace event since the device started.
    scenario::Json trace() const;
    // The next frame is sent whole (a page joined).
    void wantWholeFrame();

    // Lets the clock catch up with `time` (device seconds) and sends a frame
    // if the screen changed. `run` calls it; tests may call it themselves.
    void tick(double time);
    double deviceTime() const;
    bool isAnimating() const { return m_animating; }

private:
    foundation::Result<void> startDevice(scenario::Scenario);
    void record(double time, const scenario::Json& step);
    foundation::Result<void> addAppIcon(scenario::Json& notification) const;
    void sendFrame(double time);
    double wallTime() const;
    std::optional<std::chrono::steady_clock::time_point> nextWake() const;
    void log(const std::string&) const;

    Options m_options;
    scenario::Json m_sessionJson;
    std::filesystem::path m_sessionFolder;
    scenario::Json m_device; // the device section in force
    std::unique_ptr<scenario::Scenario> m_scenario;
    std::unique_ptr<TemporaryFolder> m_output;
    std::unique_ptr<scenario::ScenarioRunner> m_runner;
    std::vector<scenario::Json> m_steps;
    std::chrono::steady_clock::time_point m_epoch;
    scenario::ScreenRenderer m_renderer;
    FrameEncoder m_encoder;
    EventHub m_events;
    bool m_animating { false };
    bool m_changed { true };
    uint64_t m_frameNumber { 0 };
    double m_lastFrameTime { -1 };
    std::unique_ptr<scenario::InputRecorder> m_recorder;
    // The finger that is down, holding the device's clock.
    struct Drag {
        double deviceStart;
        std::optional<double> pageStart;
        double now;
        std::chrono::steady_clock::time_point lastHeard;
    };
    std::optional<Drag> m_drag;

    // Work handed to the device thread.
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<std::function<void()>> m_inbox;
    bool m_running { false };
    bool m_stopping { false };
};

} // namespace tools::studio
