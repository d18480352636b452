#include <iostream>

#include "tools/brix/Commands.h"
#include "tools/brix/Installation.h"
#include "tools/brix/ProgressDisplay.h"
#include "tools/brix/demo/Demo.h"
#include "tools/brix/scenario/ScenarioParser.h"

namespace tools {

namespace {

    struct DemoOptions {
        std::string tour;
        std::string out { "brix-demo" };
        double frames { 30 };
    };

    void printResults(const DemoOptions& options, const demo::Demo::Result& result)
    {
        std::filesystem::path folder(options.out);
        std::cout << "brix demo: " << result.steps << " steps, " << result.expectationsHeld << " of "
                  << result.expectations << " expectations held, " << result.frames << " frames.\n"
                  << "Open " << (folder / demo::Demo::page).string() << " in a browser. Also in " << folder.string()
                  << ":\n"
                  << "  " << demo::Demo::animation << "    the tour, animated\n"
                  << "  " << demo::Demo::sheet << "    its key frames\n"
                  << "  " << demo::Demo::trace << "  what the device traced\n";
    }

    void runDemo(DemoOptions options)
    {
        if (options.tour.empty())
            options.tour = installation().demoTour.string();
        auto tour = scenario::ScenarioParser::parseFile(options.tour);
        if (!tour) {
            std::cerr << "brix: " << options.tour << ": " << tour.error().message << "\n";
            throw CLI::RuntimeError(scenario::ScenarioRunner::Refused);
        }
        demo::Demo::Options settings;
        settings.out = options.out;
        settings.framesPerSecond = options.frames;
        std::unique_ptr<ProgressDisplay> progress;
        if (auto style = ProgressDisplay::styleForStandardError()) {
            size_t frames = scenario::FrameRecorder::frameCountFor(
                scenario::ScenarioRunner::duration(tour.value()), options.frames);
            progress
                = std::make_unique<ProgressDisplay>(std::cerr, "brix demo", tour.value().steps.size(), frames, *style);
            settings.errors = &progress->messages();
            settings.observers.push_back(progress.get());
        }
        auto result = demo::Demo(tour.value(), settings).run();
        if (progress)
            progress->finish();
        if (result.code != scenario::ScenarioRunner::Refused)
            printResults(options, result);
        if (result.code != scenario::ScenarioRunner::Passed)
            throw CLI::RuntimeError(result.code);
    }

} // namespace

void addDemoCommand(CLI::App& app)
{
    auto options = std::make_shared<DemoOptions>();
    auto* command = app.add_subcommand("demo", "Play the built-in tour and write its animation, pictures and page");
    command->add_option("--out", options->out, "folder for index.html, tour.webp, sheet.png and trace.jsonl")
        ->capture_default_str();
    command->add_option("--tour", options->tour, "another scenario to play instead of the built-in tour");
    command->add_option("--frames", options->frames, "frames per second of device time (1-60)")
        ->capture_default_str()
        ->check(CLI::Range(1.0, scenario::FrameRecorder::fastestRate));
    command->footer("Examples:\n"
                    "  brix demo                             play the tour into ./brix-demo\n"
                    "  brix demo --out /tmp/tour --frames 10\n"
                    "Exit status: 0 when the tour played with every expectation holding, 1 when one failed or a "
                    "file could not be written, 2 when the tour could not be read.");
    command->callback([options] { runDemo(*options); });
}

} // namespace tools
