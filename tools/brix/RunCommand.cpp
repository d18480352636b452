#include <iostream>
#include <unistd.h>

#include "tools/brix/Commands.h"
#include "tools/brix/ProgressDisplay.h"
#include "tools/brix/scenario/ScenarioParser.h"
#include "tools/brix/scenario/ScenarioRunner.h"

namespace tools {

namespace {

    struct RunOptions {
        std::string scenario;
        std::string out { "brix-out" };
        double frames { 0 };
    };

    void runScenario(const RunOptions& options)
    {
        auto scenario = scenario::ScenarioParser::parseFile(options.scenario);
        if (!scenario) {
            std::cerr << "brix: " << options.scenario << ": " << scenario.error().message << "\n";
            throw CLI::RuntimeError(scenario::ScenarioRunner::Refused);
        }
        scenario::ScenarioRunner::Output output(options.out, &std::cout, &std::cerr);
        if (options.frames > 0) {
            auto file = std::filesystem::path(options.out)
                / (std::filesystem::path(options.scenario).stem().string() + ".webp");
            output.frames = scenario::FrameRecorder::Settings { options.frames, 1, file };
        }
        // A filmed run takes a while; a progress line says how far it has come
        // unless the trace is printed on the same terminal.
        std::unique_ptr<ProgressDisplay> progress;
        auto style = ProgressDisplay::styleForStandardError();
        if (output.frames && style && !isatty(STDOUT_FILENO)) {
            size_t frames = scenario::FrameRecorder::frameCountFor(
                scenario::ScenarioRunner::duration(scenario.value()), options.frames);
            progress = std::make_unique<ProgressDisplay>(
                std::cerr, "brix run", scenario.value().steps.size(), frames, *style);
            output.errors = &progress->messages();
            output.observers.push_back(progress.get());
        }
        scenario::ScenarioRunner runner(scenario.value(), output);
        auto code = runner.run();
        if (progress)
            progress->finish();
        std::cout.flush();
        if (code != scenario::ScenarioRunner::Passed)
            throw CLI::RuntimeError(code);
    }

} // namespace

void addRunCommand(CLI::App& app)
{
    auto options = std::make_shared<RunOptions>();
    auto* command = app.add_subcommand("run", "Play a scenario on a fresh device and check its expectations");
    command->add_option("scenario", options->scenario, "the scenario file (JSON, format 1)")->required();
    command->add_option("--out", options->out, "folder for trace.jsonl and the snapshots")->capture_default_str();
    command
        ->add_option("--frames", options->frames,
            "also film the run: FPS frames per second of device time (1-60) into DIR/<scenario>.webp")
        ->check(CLI::Range(1.0, scenario::FrameRecorder::fastestRate));
    command->footer("Examples:\n"
                    "  brix run tests/scenarios/tap-opens-app.json --out out/\n"
                    "  brix run my-scenario.json --frames 30   also films it into brix-out/my-scenario.webp\n"
                    "Exit status: 0 when every expectation held, 1 when one failed, 2 when the scenario is invalid.");
    command->callback([options] { runScenario(*options); });
}

} // namespace tools
