#pragma once

#include <filesystem>
#include <fstream>
#include <iosfwd>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/foundation/Result.h"
#include "platform/graphics/Image.h"

#include "tools/brix/scenario/FrameRecorder.h"
#include "tools/brix/scenario/Scenario.h"

namespace device {
class Process;
}

namespace tools::scenario {

class RunObserver;
class ScenarioDevice;

// Plays a validated scenario on a fresh device: lays the device out, starts
// the home screen, then runs the steps in order, each at its time, after the
// device's clock has moved there and run all the work due on the way. The
// trace goes to DIR/trace.jsonl and to `trace` as it is made; snapshots go
// to DIR.
//
// Expectations: an `expect` holds when an event matching it was traced since
// the previous expect step; consecutive expect steps (nothing but expect
// steps between them) all look at the same events. An `expectNot` holds when
// none was. Every failure is reported on `errors` with its step number and
// the closest events, and the remaining steps still run.
//
// With `frames`, the run is also filmed (see FrameRecorder): the clock stops
// at every frame time on its way from step to step, and the frame shows the
// device after every step due by then.
class ScenarioRunner {
public:
    enum ExitCode { Passed = 0, Failed = 1, Refused = 2 };

    struct Output {
        Output(std::filesystem::path folder, std::ostream* trace = nullptr, std::ostream* errors = nullptr)
            : folder(std::move(folder))
            , trace(trace)
            , errors(errors)
        {
        }

        std::filesystem::path folder;
        std::ostream* trace { nullptr }; // none: the trace goes to the file only
        std::ostream* errors { nullptr }; // none: standard error
        std::optional<FrameRecorder::Settings> frames; // none: no animation
        std::vector<RunObserver*> observers;
    };

    // Work a step may cause before the device counts as running away.
    static constexpr size_t maxTasksPerStep = 100000;

    ScenarioRunner(const Scenario&, Output);
    ~ScenarioRunner();

    // Passed, Failed (an expectation did not hold, or the device ran away),
    // or Refused (the device or the output could not be set up; nothing ran).
    ExitCode run();

    // A live session instead of the file's steps: `start` lays the device out
    // and starts the home screen (Refused when that fails); `play` then runs
    // one step at its time as `run` would, and `runUntil` lets the clock move
    // on to a time without a step. Both answer false once the device ran away.
    ExitCode start();
    bool play(const Step&);
    bool runUntil(double time);
    // The device of a started session (nil before).
    device::Device* device() const;
    device::Process* homeScreenProcess() const { return m_device ? homeScreen() : nullptr; }
    // Takes the next free notification id of the sequence "n1", "n2", ...
    std::string takeNotificationId() { return nextFreeId(); }

    // Every event traced, in order (empty before `run`).
    const std::vector<Json>& events() const;

    // The screen as the model has it now, at `scale` pixels per point (an
    // error before `run`). Observers use it to picture a step.
    foundation::Result<graphics::Image> renderScreen(double scale) const;

    // When the last step ends: its time, or the end of its wait.
    static double duration(const Scenario&);

private:
    void emitLine(const Json& event);
    void watchLaunches();
    std::string nextFreeId();
    device::Process* homeScreen() const;
    bool advanceTo(const Step&, double time);
    bool advanceClock(const Step&, double time);
    bool startFilming();
    void renderFrame(const Step&);
    void finishFilming();
    void perform(const Step&);
    void performAction(const Step&, const Notify&);
    void performAction(const Step&, const NotifyList&);
    void performAction(const Step&, const Present&);
    void performAction(const Step&, const Tap&);
    void performAction(const Step&, const Pan&);
    void performAction(const Step&, const Press&);
    void performAction(const Step&, const TypeText&);
    void performAction(const Step&, const Key&);
    void performAction(const Step&, const TapBackdrop&);
    void performAction(const Step&, const Touch&);
    void performAction(const Step&, const TapAt&);
    void performAction(const Step&, const Keys&);
    void performAction(const Step&, const Button&);
    void performAction(const Step&, const Grabber&);
    void performAction(const Step&, const Lock&);
    void performAction(const Step&, const Style&);
    void performAction(const Step&, const SetPreferences&);
    void performAction(const Step&, const SettingsAction&);
    void performAction(const Step&, const Launch&);
    void performAction(const Step&, const Quit&);
    void performAction(const Step&, const Wait&);
    void performAction(const Step&, const Snapshot&);
    void performAction(const Step&, const Inspect&);
    void performAction(const Step&, const Expect&);
    void performAction(const Step&, const UpdateImage&);
    runtime::Object* targetController(const std::optional<std::string>& on) const;
    void traceInput(const Step&, bool delivered, Json extra = Json::object());
    void deliver(const Step&, std::function<void()> delivery);
    void fail(const Step&, const std::string& message);
    void reportFailure(const Step&, const Expect&, const std::vector<const Json*>& window);

    const Scenario* m_scenario;
    Output m_output;
    std::ofstream m_traceFile;
    std::unique_ptr<ScenarioDevice> m_device;
    // The trace positions where the events the next expect looks at begin,
    // and where they will begin once a step other than an expect has run.
    size_t m_windowStart { 0 };
    std::optional<size_t> m_nextWindowStart;
    // The ids taken so far; a notification the system shows on its own takes the next free one.
    std::set<std::string> m_usedIds;
    int m_nextSequenceNumber { 1 };
    bool m_failed { false };
    bool m_stepFailed { false };
    bool m_stopped { false };
    std::unique_ptr<FrameRecorder> m_frames;
    // The last step that did something, as the frames' strip names it.
    std::string m_caption;
};

} // namespace tools::scenario
