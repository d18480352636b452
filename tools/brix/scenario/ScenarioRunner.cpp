#include "tools/brix/scenario/ScenarioRunner.h"

#include <iostream>

#include "platform/apps/Apps.h"
#include "platform/device/Device.h"
#include "platform/preferences/Domain.h"
#include "platform/runtime/Send.h"
#include "platform/springboard/BannerPresenter.h"
#include "platform/springboard/HumanInterface.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/uikit/Keyboard.h"
#include "platform/uikit/TouchDelivery.h"
#include "platform/uikit/UIKit.h"

#include "tools/brix/SettingsDriver.h"
#include "tools/brix/scenario/BannerObserver.h"
#include "tools/brix/scenario/InputDriver.h"
#include "tools/brix/scenario/Inspector.h"
#include "tools/brix/scenario/Matcher.h"
#include "tools/brix/scenario/NotificationBuilder.h"
#include "tools/brix/scenario/RunObserver.h"
#include "tools/brix/scenario/ScenarioDevice.h"
#include "tools/brix/scenario/ScreenRenderer.h"
#include "tools/brix/scenario/StepDescription.h"
#include "tweak/Settings.h"

namespace tools::scenario {

using springboard::HumanInterface;

namespace fs = std::filesystem;
using runtime::Object;
using runtime::Ref;
using springboard::BannerPresenter;

namespace {

    // How many near misses a failed expectation shows.
    constexpr size_t closestShown = 3;

    const std::vector<Json> noEvents;

} // namespace

ScenarioRunner::ScenarioRunner(const Scenario& scenario, Output output)
    : m_scenario(&scenario)
    , m_output(std::move(output))
    , m_usedIds(scenario.notificationIds)
    , m_nextSequenceNumber(scenario.nextSequenceNumber)
{
    if (!m_output.errors)
        m_output.errors = &std::cerr;
}

ScenarioRunner::~ScenarioRunner() = default;

const std::vector<Json>& ScenarioRunner::events() const
{
    return m_device ? m_device->device().trace().events() : noEvents;
}

void ScenarioRunner::emitLine(const Json& event)
{
    auto line = device::Trace::line(event);
    m_traceFile << line << '\n';
    if (m_output.trace)
        *m_output.trace << line << '\n';
}

// Each time the home screen starts (at first, after a respring or a
// relaunch), its banners are observed before anything is shown.
void ScenarioRunner::watchLaunches()
{
    auto& device = m_device->device();
    device.trace().addSink([this, &device](const Json& event) {
        emitLine(event);
        if (event.value("type", "") != "process.launched" || event.value("bundleId", "") != apps::homeScreen)
            return;
        auto* process = device.process(apps::homeScreen);
        if (!process)
            return;
        BannerObserver::observe(*process);
        BannerPresenter::of(*process).setNotificationNamer([this] { return nextFreeId(); });
    });
}

std::string ScenarioRunner::nextFreeId()
{
    while (true) {
        std::string id = "n" + std::to_string(m_nextSequenceNumber++);
        if (m_usedIds.insert(id).second)
            return id;
    }
}

device::Process* ScenarioRunner::homeScreen() const
{
    return m_device->device().process(apps::homeScreen);
}

foundation::Result<graphics::Image> ScenarioRunner::renderScreen(double scale) const
{
    if (!m_device)
        return foundation::Error { "the scenario has not started" };
    return ScreenRenderer::render(m_device->device(), homeScreen(), scale);
}

double ScenarioRunner::duration(const Scenario& scenario)
{
    double end = 0;
    for (auto& step : scenario.steps) {
        end = std::max(end, step.time + stepLength(step));
    }
    return end;
}

ScenarioRunner::ExitCode ScenarioRunner::run()
{
    if (auto code = start(); code != Passed)
        return code;
    for (auto& step : m_scenario->steps) {
        perform(step);
        if (m_stopped)
            break;
    }
    finishFilming();
    m_traceFile.flush();
    return m_failed ? Failed : Passed;
}

ScenarioRunner::ExitCode ScenarioRunner::start()
{
    std::error_code error;
    fs::create_directories(m_output.folder, error);
    m_traceFile.open(m_output.folder / "trace.jsonl", std::ios::binary | std::ios::trunc);
    if (!m_traceFile) {
        *m_output.errors << "brix: cannot write " << (m_output.folder / "trace.jsonl").string() << "\n";
        return Refused;
    }
    m_device = std::make_unique<ScenarioDevice>(*m_scenario);
    if (auto prepared = m_device->prepare(); !prepared) {
        *m_output.errors << "brix: " << prepared.error().message << "\n";
        return Refused;
    }
    if (!startFilming())
        return Refused;
    watchLaunches();
    m_device->device().launch(apps::homeScreen);
    return Passed;
}

bool ScenarioRunner::play(const Step& step)
{
    if (m_device && !m_stopped)
        perform(step);
    return !m_stopped;
}

bool ScenarioRunner::runUntil(double time)
{
    if (!m_device || m_stopped)
        return false;
    auto& scheduler = m_device->device().scheduler();
    if (scheduler.advanceTo(time, maxTasksPerStep))
        return true;
    *m_output.errors << "brix: the device did not settle on the way to " << Json(time).dump()
                     << " s (a loop that never ends?)\n";
    m_stopped = true;
    return false;
}

device::Device* ScenarioRunner::device() const
{
    return m_device ? &m_device->device() : nullptr;
}

bool ScenarioRunner::startFilming()
{
    if (!m_output.frames)
        return true;
    auto recorder = FrameRecorder::create(*m_output.frames, duration(*m_scenario), m_device->device().hardware());
    if (!recorder) {
        *m_output.errors << "brix: cannot film the run: " << recorder.error().message << "\n";
        return false;
    }
    m_frames = std::move(recorder.value());
    return true;
}

void ScenarioRunner::renderFrame(const Step& step)
{
    if (auto rendered = m_frames->renderFrame(m_device->device(), homeScreen(), m_caption); !rendered) {
        fail(step, rendered.error().message);
        m_frames.reset();
        return;
    }
    for (auto* observer : m_output.observers)
        observer->frameRendered(m_frames->framesRendered(), m_frames->frameCount());
}

void ScenarioRunner::finishFilming()
{
    if (!m_frames)
        return;
    if (auto finished = m_frames->finish(); !finished) {
        m_failed = true;
        *m_output.errors << "brix: " << finished.error().message << "\n";
    }
}

// With frames, the clock stops at each frame time before `time`; a frame due
// at `time` itself waits until the steps due then have run.
bool ScenarioRunner::advanceTo(const Step& step, double time)
{
    while (m_frames) {
        auto next = m_frames->nextFrameTime();
        if (!next || *next >= time - device::Scheduler::tolerance)
            break;
        if (!advanceClock(step, *next))
            return false;
        renderFrame(step);
    }
    return advanceClock(step, time);
}

bool ScenarioRunner::advanceClock(const Step& step, double time)
{
    auto& scheduler = m_device->device().scheduler();
    if (scheduler.advanceTo(time, maxTasksPerStep))
        return true;
    fail(step,
        "the device did not settle on the way to " + Json(time).dump() + " s: more than "
            + std::to_string(maxTasksPerStep) + " pieces of work fell due (a loop that never ends?)");
    m_stopped = true;
    return false;
}

void ScenarioRunner::perform(const Step& step)
{
    bool isExpectation = std::holds_alternative<Expect>(step.action);
    if (!isExpectation && m_nextWindowStart) {
        m_windowStart = *m_nextWindowStart;
        m_nextWindowStart.reset();
    }
    m_stepFailed = false;
    if (advanceTo(step, step.time)) {
        if (isActionStep(step))
            m_caption = "step " + std::to_string(step.number) + " · " + describeStep(step);
        std::visit([&](auto& action) { performAction(step, action); }, step.action);
        if (!m_stopped && !m_device->device().scheduler().runDue(maxTasksPerStep)) {
            fail(step, "the device did not settle after the step (a loop that never ends?)");
            m_stopped = true;
        }
    }
    for (auto* observer : m_output.observers)
        observer->stepPlayed(step, !m_stepFailed);
}

void ScenarioRunner::fail(const Step& step, const std::string& message)
{
    m_failed = true;
    m_stepFailed = true;
    *m_output.errors << "step " << step.number << " (" << step.kind << "): " << message << "\n";
}

void ScenarioRunner::traceInput(const Step& step, bool delivered, Json extra)
{
    Json fields = { { "step", step.number }, { "input", step.kind }, { "delivered", delivered } };
    for (auto& [key, value] : extra.items())
        fields[key] = value;
    m_device->device().trace().emit("input", std::move(fields));
}

void ScenarioRunner::deliver(const Step& step, std::function<void()> delivery)
{
    traceInput(step, static_cast<bool>(delivery));
    if (delivery)
        delivery();
}

// The banner a step acts on: the one it names, else the newest on screen.
Object* ScenarioRunner::targetController(const std::optional<std::string>& on) const
{
    auto* process = homeScreen();
    if (!process)
        return nullptr;
    auto& presenter = BannerPresenter::of(*process);
    if (on)
        return presenter.controllerForNotification(*on);
    return presenter.currentBanner();
}

// Steps.

void ScenarioRunner::performAction(const Step& step, const Notify& notify)
{
    auto* process = homeScreen();
    auto request = process ? NotificationBuilder(*process).build(notify.notification) : nullptr;
    if (!request) {
        traceInput(step, false);
        return;
    }
    BannerPresenter::of(*process).presentBanner(*request);
}

void ScenarioRunner::performAction(const Step& step, const NotifyList& notify)
{
    auto* process = homeScreen();
    auto request = process ? NotificationBuilder(*process).build(notify.notification) : nullptr;
    if (!request) {
        traceInput(step, false);
        return;
    }
    BannerPresenter::of(*process).showInList(*request);
}

void ScenarioRunner::performAction(const Step& step, const Present& present)
{
    auto* process = homeScreen();
    Ref<Object> presenter(targetController(present.over));
    auto* controller = dynamic_cast<springboard::NCNotificationViewController*>(presenter.get());
    auto request = controller ? NotificationBuilder(*process).build(present.notification) : nullptr;
    if (!request) {
        traceInput(step, false);
        return;
    }
    BannerPresenter::of(*process).presentOver(*controller, *request);
}

void ScenarioRunner::performAction(const Step& step, const Tap& tap)
{
    auto* process = homeScreen();
    deliver(step, process ? InputDriver(*process).tap(targetController(tap.on)) : nullptr);
}

void ScenarioRunner::performAction(const Step& step, const Pan& pan)
{
    auto* process = homeScreen();
    deliver(step, process ? InputDriver(*process).pan(targetController(pan.on), pan) : nullptr);
}

void ScenarioRunner::performAction(const Step& step, const Press& press)
{
    auto* process = homeScreen();
    deliver(step, process ? InputDriver(*process).press(targetController(press.on), press.button) : nullptr);
}

void ScenarioRunner::performAction(const Step& step, const TypeText& type)
{
    auto* process = homeScreen();
    deliver(step, process ? InputDriver(*process).typeText(type.text) : nullptr);
}

void ScenarioRunner::performAction(const Step& step, const Key&)
{
    auto* process = homeScreen();
    deliver(step, process ? InputDriver(*process).sendKey() : nullptr);
}

void ScenarioRunner::performAction(const Step& step, const TapBackdrop& tap)
{
    auto* process = homeScreen();
    deliver(step, process ? InputDriver(*process).tapBackdrop(targetController(tap.on)) : nullptr);
}

// A finger by position, through the device's one input path. The clock moves
// on to each point's time before the finger gets there, so that what one
// move sets off runs (and is filmed) before the next.
void ScenarioRunner::performAction(const Step& step, const Touch& touch)
{
    auto* process = homeScreen();
    if (!process) {
        traceInput(step, false);
        return;
    }
    auto& human = HumanInterface::of(*process);
    auto point = [&](size_t index) { return uikit::Point { touch.points[index].first, touch.points[index].second }; };
    traceInput(step, uikit::TouchDelivery::of(*process).viewAt(point(0)) != nullptr);
    human.touch(point(0), HumanInterface::Phase::Began);
    for (size_t index = 1; index < touch.points.size(); ++index) {
        if (!m_device->device().scheduler().runDue(maxTasksPerStep)
            || !advanceTo(step, step.time + touch.interval * static_cast<double>(index))) {
            m_stopped = true;
            return;
        }
        human.touch(point(index), HumanInterface::Phase::Moved);
    }
    if (touch.end == Pan::End::StillDown)
        return;
    human.touch(point(touch.points.size() - 1),
        touch.end == Pan::End::Ended ? HumanInterface::Phase::Ended : HumanInterface::Phase::Cancelled);
}

void ScenarioRunner::performAction(const Step& step, const TapAt& tap)
{
    auto* process = homeScreen();
    if (!process) {
        traceInput(step, false);
        return;
    }
    uikit::Point point { tap.x, tap.y };
    traceInput(step, uikit::TouchDelivery::of(*process).viewAt(point) != nullptr);
    auto& human = HumanInterface::of(*process);
    human.touch(point, HumanInterface::Phase::Began);
    human.touch(point, HumanInterface::Phase::Ended);
}

void ScenarioRunner::performAction(const Step& step, const Keys& keys)
{
    auto* process = homeScreen();
    bool hasField = process && uikit::Keyboard::of(*process).field();
    traceInput(step, hasField);
    if (hasField)
        HumanInterface::of(*process).keys(keys.text);
}

void ScenarioRunner::performAction(const Step& step, const Button& button)
{
    auto* process = homeScreen();
    if (!process) {
        traceInput(step, false);
        return;
    }
    bool handled = InputDriver(*process).physicalButton(button.type, button.force);
    traceInput(step, true, { { "handled", handled } });
}

void ScenarioRunner::performAction(const Step& step, const Grabber& grabber)
{
    auto* process = homeScreen();
    if (!process) {
        traceInput(step, false);
        return;
    }
    bool handled = InputDriver(*process).dismissGrabber(grabber.style, grabber.animated);
    traceInput(step, true, { { "handled", handled } });
}

void ScenarioRunner::performAction(const Step& step, const Lock&)
{
    auto* process = homeScreen();
    traceInput(step, process != nullptr);
    if (process)
        InputDriver(*process).lock();
}

void ScenarioRunner::performAction(const Step&, const Style& style)
{
    auto& device = m_device->device();
    device.hardware().style = style.style;
    for (auto* process : device.processes()) {
        if (process->runtime().classNamed("UIScreen"))
            uikit::screenStyleDidChange(*process);
    }
}

void ScenarioRunner::performAction(const Step& step, const SetPreferences& preferences)
{
    preferences::Domain domain(m_device->device(), std::string(brix::preferenceDomain));
    for (auto& [key, value] : preferences.values) {
        if (auto stored = domain.set(key, value); !stored)
            fail(step, "cannot write the preference " + key + ": " + stored.error().message);
    }
}

// The Settings app is started (and Brix's pages opened) as the user would
// before acting; the step's work runs at the step's time.
void ScenarioRunner::performAction(const Step& step, const SettingsAction& settings)
{
    SettingsDriver driver(m_device->device(), SettingsDriver::Waiting::DueWorkOnly);
    auto outcome = settings.action == "respring"
        ? driver.respring()
        : driver.performAction(settings.action == "reset" ? "resetPrefs:" : "sendTestBanner");
    traceInput(step, outcome.isOk(), { { "action", settings.action } });
}

void ScenarioRunner::performAction(const Step&, const Launch& launch)
{
    m_device->device().launch(launch.bundleIdentifier);
}

void ScenarioRunner::performAction(const Step&, const Quit& quit)
{
    m_device->device().terminate(quit.bundleIdentifier);
}

void ScenarioRunner::performAction(const Step& step, const Wait& wait)
{
    advanceTo(step, step.time + wait.seconds);
}

void ScenarioRunner::performAction(const Step& step, const Snapshot& snapshot)
{
    auto path = m_output.folder / snapshot.name;
    if (auto written = ScreenRenderer::writeScreenshot(m_device->device(), homeScreen(), path); !written)
        fail(step, "cannot write the snapshot " + path.string() + ": " + written.error().message);
}

void ScenarioRunner::performAction(const Step&, const Inspect& inspect)
{
    m_device->device().trace().emit("inspect", Inspector(homeScreen()).inspect(inspect.id));
}

void ScenarioRunner::performAction(const Step& step, const UpdateImage& update)
{
    auto banner = runtime::sendIfResponds<Ref<Object>>(targetController(update.on), SEL("brixView"));
    if (!banner) {
        traceInput(step, false);
        return;
    }
    auto picture = NotificationBuilder(*homeScreen()).image(update.picture);
    runtime::send(banner.get(), SEL("updateImage:"), picture.get());
}

void ScenarioRunner::performAction(const Step& step, const Expect& expect)
{
    auto& all = events();
    std::vector<const Json*> window;
    for (size_t index = std::min(m_windowStart, all.size()); index < all.size(); ++index)
        window.push_back(&all[index]);
    Matcher matcher(expect.matcher);
    bool found = std::any_of(window.begin(), window.end(), [&](const Json* event) { return matcher.matches(*event); });
    if (found == !expect.negated) {
        m_nextWindowStart = all.size();
        return;
    }
    reportFailure(step, expect, window);
    m_nextWindowStart = all.size();
}

void ScenarioRunner::reportFailure(const Step& step, const Expect& expect, const std::vector<const Json*>& window)
{
    Matcher matcher(expect.matcher);
    std::ostringstream message;
    if (expect.negated) {
        message << "an event matching " << expect.matcher.dump() << " was traced:";
        for (auto* event : window) {
            if (matcher.matches(*event))
                message << "\n    " << device::Trace::line(*event);
        }
    } else {
        message << "no event matching " << expect.matcher.dump() << " was traced since the previous expect ("
                << window.size() << " events)";
        auto closest = matcher.closest(window, closestShown);
        if (closest.empty()) {
            std::vector<const Json*> everything;
            for (auto& event : events())
                everything.push_back(&event);
            closest = matcher.closest(everything, closestShown);
            if (!closest.empty())
                message << "; the closest in the whole trace:";
        } else {
            message << "; the closest:";
        }
        for (auto* event : closest)
            message << "\n    " << device::Trace::line(*event);
    }
    fail(step, message.str());
}

} // namespace tools::scenario
