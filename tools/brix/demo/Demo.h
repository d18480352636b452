#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "tools/brix/demo/ContactSheet.h"
#include "tools/brix/demo/DemoPage.h"
#include "tools/brix/scenario/RunObserver.h"
#include "tools/brix/scenario/ScenarioRunner.h"

namespace tools::demo {

// Plays a tour (an ordinary scenario) and leaves in one folder what a
// newcomer looks at: index.html, the animation tour.webp, the contact sheet
// sheet.png, the trace trace.jsonl, the snapshots the tour takes (its key
// frames, at the screen's scale) and steps/step-NNN.png, the screen after
// each step that does something; the page shows every step with the latest
// picture.
//
// The contact sheet shows the top of the screen at the tour's snapshots; a
// tour without any shows it after each of its first `mostKeyFrames` steps
// that do something.
class Demo : public scenario::RunObserver {
public:
    struct Options {
        std::filesystem::path out { "brix-demo" };
        double framesPerSecond { 30 };
        // Pixels per point of the animation and of the step pictures.
        double frameScale { 1 };
        // Pixels per point of the contact sheet's frames, and how much of the
        // screen they show from the top, in points: banners live up there.
        double sheetScale { 0.75 };
        double sheetHeight { 320 };
        std::ostream* errors { nullptr }; // none: standard error
        std::vector<scenario::RunObserver*> observers; // told of the run as well (a progress display)
    };

    struct Result {
        scenario::ScenarioRunner::ExitCode code { scenario::ScenarioRunner::Refused };
        size_t steps { 0 };
        size_t expectations { 0 };
        size_t expectationsHeld { 0 };
        size_t frames { 0 };
        double duration { 0 };
        // The files a user opens, relative to the folder: the page first.
        std::vector<std::string> files;
    };

    static constexpr size_t mostKeyFrames = 24;
    static constexpr const char* page = "index.html";
    static constexpr const char* animation = "tour.webp";
    static constexpr const char* sheet = "sheet.png";
    static constexpr const char* trace = "trace.jsonl";

    Demo(const scenario::Scenario&, Options);

    // Plays the tour and writes the folder. Failures to write are reported
    // on `errors` and make the code Failed (Refused when nothing could run).
    Result run();

    void stepPlayed(const scenario::Step&, bool held) override;

private:
    std::optional<std::string> pictureStep(const scenario::Step&);
    void keepKeyFrame(const scenario::Step&, const std::string& title);
    bool writeSheet();
    bool writePage();
    std::string summary() const;
    void report(const std::string& failure);

    const scenario::Scenario* m_scenario;
    Options m_options;
    std::ostream* m_errors;
    bool m_hasSnapshots { false };
    std::unique_ptr<scenario::ScenarioRunner> m_runner;
    std::vector<StepRecord> m_steps;
    std::optional<std::string> m_lastFrame;
    std::vector<KeyFrame> m_keyFrames;
    Result m_result;
};

} // namespace tools::demo
