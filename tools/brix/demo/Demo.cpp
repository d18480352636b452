#include "tools/brix/demo/Demo.h"

#include <cstdio>
#include <iostream>

#include "platform/graphics/Canvas.h"

#include "tools/brix/scenario/StepDescription.h"

namespace tools::demo {

namespace fs = std::filesystem;
using scenario::ScenarioRunner;
using scenario::Step;

namespace {

    constexpr const char* stepFolder = "steps";

    std::string seconds(double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f s", value);
        return text;
    }

    std::string stepPictureName(size_t number)
    {
        char text[32];
        std::snprintf(text, sizeof text, "step-%03zu.png", number);
        return std::string(stepFolder) + "/" + text;
    }

    // "03-a-drag-expands-it.png" reads "A drag expands it".
    std::string titleOfSnapshot(const std::string& name)
    {
        std::string stem = fs::path(name).stem().string();
        size_t start = stem.find_first_not_of("0123456789-_ ");
        std::string title = start == std::string::npos ? stem : stem.substr(start);
        for (char& character : title) {
            if (character == '-' || character == '_')
                character = ' ';
        }
        if (!title.empty() && title[0] >= 'a' && title[0] <= 'z')
            title[0] = static_cast<char>(title[0] - 'a' + 'A');
        return title;
    }

    // The top `height` rows of a picture.
    foundation::Result<graphics::Image> cropped(const graphics::Image& image, int64_t height)
    {
        auto top = graphics::Image::create(image.width(), std::min<int64_t>(height, image.height()));
        if (!top)
            return top;
        graphics::Canvas canvas(top.value());
        canvas.drawImage(
            image, 1, { 0, 0, double(image.width()), double(image.height()) }, graphics::ContentMode::ScaleToFill);
        canvas.flush();
        return top;
    }

} // namespace

Demo::Demo(const scenario::Scenario& scenario, Options options)
    : m_scenario(&scenario)
    , m_options(std::move(options))
    , m_errors(m_options.errors ? m_options.errors : &std::cerr)
{
    for (auto& step : scenario.steps)
        m_hasSnapshots = m_hasSnapshots || std::holds_alternative<scenario::Snapshot>(step.action);
}

void Demo::report(const std::string& failure)
{
    *m_errors << "brix demo: " << failure << "\n";
}

Demo::Result Demo::run()
{
    std::error_code error;
    fs::create_directories(m_options.out / stepFolder, error);
    if (error) {
        report("cannot make the folder " + (m_options.out / stepFolder).string() + ": " + error.message());
        return m_result;
    }
    // What an earlier demo left must not pass for this one's.
    for (const char* file : { page, animation, sheet })
        fs::remove(m_options.out / file, error);
    ScenarioRunner::Output output(m_options.out, nullptr, m_errors);
    output.frames = scenario::FrameRecorder::Settings { m_options.framesPerSecond, m_options.frameScale,
        m_options.out / animation };
    output.observers = m_options.observers;
    output.observers.insert(output.observers.begin(), this);
    m_runner = std::make_unique<ScenarioRunner>(*m_scenario, output);
    m_result.code = m_runner->run();
    if (m_result.code == ScenarioRunner::Refused)
        return m_result;
    m_result.steps = m_steps.size();
    m_result.duration = ScenarioRunner::duration(*m_scenario);
    m_result.frames = scenario::FrameRecorder::frameCountFor(m_result.duration, m_options.framesPerSecond);
    bool written = writeSheet();
    written = writePage() && written;
    if (!written)
        m_result.code = ScenarioRunner::Failed;
    m_result.files = { page, animation, sheet, trace };
    return m_result;
}

void Demo::stepPlayed(const Step& step, bool held)
{
    StepRecord record { step.number, step.time, step.kind, scenario::describeStep(step),
        std::holds_alternative<scenario::Expect>(step.action), held, std::nullopt, false };
    if (record.isExpectation) {
        ++m_result.expectations;
        m_result.expectationsHeld += held ? 1 : 0;
    }
    if (auto* snapshot = std::get_if<scenario::Snapshot>(&step.action); snapshot && held) {
        record.frame = snapshot->name;
        keepKeyFrame(step, titleOfSnapshot(snapshot->name));
    } else if (scenario::isActionStep(step)) {
        record.frame = pictureStep(step);
        if (!m_hasSnapshots && m_keyFrames.size() < mostKeyFrames)
            keepKeyFrame(step, record.description);
    } else {
        record.frame = m_lastFrame;
        record.frameRepeats = true;
    }
    if (!record.frameRepeats && record.frame)
        m_lastFrame = record.frame;
    m_steps.push_back(std::move(record));
}

std::optional<std::string> Demo::pictureStep(const Step& step)
{
    auto screen = m_runner->renderScreen(m_options.frameScale);
    std::string name = stepPictureName(step.number);
    if (!screen) {
        report("cannot picture step " + std::to_string(step.number) + ": " + screen.error().message);
        return std::nullopt;
    }
    if (auto saved = screen.value().writePng(m_options.out / name); !saved) {
        report(saved.error().message);
        return std::nullopt;
    }
    return name;
}

void Demo::keepKeyFrame(const Step& step, const std::string& title)
{
    auto screen = m_runner->renderScreen(m_options.sheetScale);
    auto top = screen ? cropped(screen.value(), std::llround(m_options.sheetHeight * m_options.sheetScale))
                      : std::move(screen);
    if (!top) {
        report("cannot picture step " + std::to_string(step.number) + ": " + top.error().message);
        return;
    }
    m_keyFrames.push_back(
        { title, seconds(step.time) + " · step " + std::to_string(step.number), std::move(top.value()) });
}

std::string Demo::summary() const
{
    std::string text = m_scenario->file.filename().string() + ": " + std::to_string(m_result.steps) + " steps in "
        + seconds(m_result.duration) + " of device time; " + std::to_string(m_result.expectationsHeld) + " of "
        + std::to_string(m_result.expectations) + " expectations held; " + std::to_string(m_result.frames)
        + " frames at " + std::to_string(std::lround(m_options.framesPerSecond)) + " a second.";
    return text;
}

bool Demo::writeSheet()
{
    auto composed = ContactSheet::compose("Brix · " + m_scenario->file.stem().string(), summary(), m_keyFrames);
    if (!composed) {
        report("cannot draw the contact sheet: " + composed.error().message);
        return false;
    }
    if (auto saved = composed.value().writePng(m_options.out / sheet); !saved) {
        report(saved.error().message);
        return false;
    }
    return true;
}

bool Demo::writePage()
{
    auto written = [this](const char* file) { return fs::exists(m_options.out / file) ? file : ""; };
    DemoPage::Content content { "Brix · " + m_scenario->file.stem().string(), summary(), written(animation),
        written(sheet), written(trace), m_steps, m_runner->events() };
    if (auto saved = DemoPage::write(m_options.out / page, content); !saved) {
        report(saved.error().message);
        return false;
    }
    return true;
}

} // namespace tools::demo
