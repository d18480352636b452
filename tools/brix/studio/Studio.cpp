#include "tools/brix/studio/Studio.h"

#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include "platform/apps/Apps.h"
#include "platform/device/Device.h"
#include "platform/device/Json.h"
#include "platform/foundation/Encoding.h"
#include "platform/messages/ConversationStore.h"
#include "platform/preferences/Domain.h"
#include "platform/springboard/HumanInterface.h"
#include "platform/uikit/Keyboard.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewAnimation.h"

#include "tools/brix/SettingsDriver.h"
#include "tools/brix/scenario/InputRecorder.h"
#include "tools/brix/scenario/ScenarioParser.h"
#include "tools/brix/scenario/ScenarioRunner.h"
#include "tools/brix/scenario/ScreenRenderer.h"
#include "tweak/Settings.h"

namespace tools::studio {

namespace fs = std::filesystem;
using scenario::Json;

namespace {

    Json refusal(const std::string& reason)
    {
        return { { "error", reason } };
    }

    // The steps a page may play: input, notifications and the system's own
    // events. Steps that write or read files of this machine are not among them.
    const std::set<std::string> playableKinds { "notify", "notifyList", "tap", "pan", "press", "type", "key",
        "tapBackdrop", "button", "grabber", "lock", "style", "preferences", "settings", "touch", "tapAt", "keys" };
    // The steps that reach the device through its input path, which the recorder keeps.
    const std::set<std::string> recordedByInput { "touch", "tapAt", "keys" };

    double secondsBetween(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
    {
        return std::chrono::duration<double>(to - from).count();
    }

    // The icons the studio gives each app's notifications, in the session's folder.
    std::string appIconFor(const std::string& app)
    {
        if (app == "com.apple.MobileSMS")
            return "../demo/fixtures/messages-icon@3x.png";
        if (app == "com.apple.mobiletimer")
            return "../demo/fixtures/clock-icon@3x.png";
        return "../demo/fixtures/chat-icon@3x.png";
    }

    // Fixture paths of the set-up sections, made absolute so that the saved
    // file plays from wherever it is kept.
    void makePathsAbsolute(Json& value, const fs::path& folder)
    {
        if (value.is_array()) {
            for (auto& item : value)
                makePathsAbsolute(item, folder);
            return;
        }
        if (!value.is_object())
            return;
        for (auto& [key, item] : value.items()) {
            if ((key == "from" || key == "photo" || key == "file") && item.is_string()
                && fs::path(item.get<std::string>()).is_relative())
                item = (folder / item.get<std::string>()).lexically_normal().string();
            else
                makePathsAbsolute(item, folder);
        }
    }

} // namespace

Studio::Studio(Options options)
    : m_options(std::move(options))
    , m_encoder(m_options.quality)
{
}

Studio::~Studio()
{
    m_events.close();
    m_recorder.reset();
    m_runner.reset();
}

void Studio::log(const std::string& message) const
{
    (m_options.log ? *m_options.log : std::cerr) << "brix studio: " << message << "\n";
}

foundation::Result<void> Studio::start()
{
    std::ifstream file(m_options.session, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    if (!file)
        return foundation::Error { "cannot read the session " + m_options.session.string() };
    try {
        m_sessionJson = Json::parse(text.str());
    } catch (const Json::exception& error) {
        return foundation::Error { m_options.session.string() + ": " + error.what() };
    }
    m_sessionFolder = fs::absolute(m_options.session).parent_path();
    Json setUp = m_sessionJson;
    setUp.erase("steps");
    auto parsed = scenario::ScenarioParser::parseText(setUp.dump(), m_sessionFolder);
    if (!parsed)
        return foundation::Error { m_options.session.string() + ": " + parsed.error().message };
    if (auto started = startDevice(std::move(parsed.value())); !started)
        return started;
    std::lock_guard lock(m_mutex);
    m_running = true;
    return {};
}

foundation::Result<void> Studio::startDevice(scenario::Scenario session)
{
    m_recorder.reset();
    m_runner.reset();
    m_scenario = std::make_unique<scenario::Scenario>(std::move(session));
    m_output = std::make_unique<TemporaryFolder>("brix-studio-");
    scenario::ScenarioRunner::Output output(m_output->path(), nullptr, m_options.log ? m_options.log : &std::cerr);
    m_runner = std::make_unique<scenario::ScenarioRunner>(*m_scenario, output);
    if (m_runner->start() != scenario::ScenarioRunner::Passed)
        return foundation::Error { "the device could not start" };
    m_runner->device()->trace().addSink(
        [this](const Json& event) { m_events.publish("trace", device::Trace::line(event)); });
    if (auto* home = m_runner->homeScreenProcess())
        m_recorder = std::make_unique<scenario::InputRecorder>(*home);
    m_epoch = std::chrono::steady_clock::now();
    m_steps.clear();
    m_encoder.reset();
    m_changed = true;
    m_drag.reset();
    return {};
}

double Studio::wallTime() const
{
    return secondsBetween(m_epoch, std::chrono::steady_clock::now());
}

double Studio::deviceTime() const
{
    // Only a finger whose events carry the page's times holds the clock.
    if (!m_drag || !m_drag->pageStart)
        return wallTime();
    double still = secondsBetween(m_drag->lastHeard, std::chrono::steady_clock::now()) - m_options.heldStill;
    return std::max(m_drag->now, std::min(wallTime(), m_drag->now + still));
}

foundation::Result<void> Studio::addAppIcon(Json& notification) const
{
    if (!notification.is_object())
        return foundation::Error { "a notification is an object" };
    if (notification.contains("icon") || notification.contains("appIcon"))
        return foundation::Error { "the page cannot name picture files; the studio gives each app its icon" };
    if (notification.contains("app") && notification["app"].is_string())
        notification["appIcon"]
            = (m_sessionFolder / appIconFor(notification["app"].get<std::string>())).lexically_normal().string();
    return {};
}

Json Studio::play(Json step)
{
    if (!m_runner)
        return refusal("the device is not running");
    if (!step.is_object() || step.empty())
        return refusal("a step is an object such as {\"style\": \"dark\"}");
    if (step.contains("at") || step.contains("after"))
        return refusal("a live step runs now: it takes no \"at\" or \"after\"");
    std::string kind = step.begin().key();
    if (!playableKinds.contains(kind))
        return refusal("the studio does not play \"" + kind + "\" steps");
    if (kind == "keys") {
        auto* home = m_runner->homeScreenProcess();
        if (!home || !uikit::Keyboard::of(*home).field())
            return refusal("no field has the keyboard: tap a text field (a banner's Reply) first");
    }
    bool isNotification = kind == "notify" || kind == "notifyList";
    if (isNotification) {
        if (auto added = addAppIcon(step[kind]); !added)
            return refusal(added.error().message);
        step[kind].erase("id");
    }
    Json file = { { "format", 1 }, { "steps", Json::array({ step }) } };
    auto parsed = scenario::ScenarioParser::parseText(file.dump(), m_sessionFolder);
    if (!parsed)
        return refusal(parsed.error().message);
    if (parsed.value().steps.size() != 1)
        return refusal("one step at a time");
    auto played = parsed.value().steps.front();
    Json answer = { { "ok", true } };
    if (isNotification) {
        auto id = m_runner->takeNotificationId();
        step[kind]["id"] = id;
        if (auto* notify = std::get_if<scenario::Notify>(&played.action))
            notify->notification.id = id;
        if (auto* notify = std::get_if<scenario::NotifyList>(&played.action))
            notify->notification.id = id;
        answer["id"] = id;
    }
    double time = std::max(deviceTime(), m_runner->device()->scheduler().now());
    played.time = time;
    played.number = m_steps.size() + 1;
    if (!recordedByInput.contains(kind))
        record(time, step);
    answer["step"] = played.number;
    if (!m_runner->play(played))
        return refusal("the device ran away (a loop that never ends?)");
    m_changed = true;
    return answer;
}

void Studio::record(double time, const Json& step)
{
    Json recorded = { { "at", time } };
    recorded.update(step);
    m_steps.push_back(recorded);
}

namespace {

    Json describedPage(const SettingsDriver::Page& page)
    {
        Json sections = Json::array();
        for (auto& section : page.sections) {
            Json rows = Json::array();
            for (auto& row : section.rows)
                rows.push_back({ { "title", row.title }, { "kind", row.kind }, { "value", row.value } });
            sections.push_back({ { "header", section.header }, { "footer", section.footer }, { "rows", rows } });
        }
        return { { "title", page.title }, { "sections", sections } };
    }

    // The values of the preferences that differ between two readings of the domain (null: removed).
    Json changedPreferences(const foundation::Value& before, const foundation::Value& after)
    {
        Json old = device::toJson(before);
        Json now = device::toJson(after);
        Json changed = Json::object();
        if (!old.is_object())
            old = Json::object();
        if (!now.is_object())
            now = Json::object();
        for (auto& [key, value] : now.items()) {
            if (!old.contains(key) || old[key] != value)
                changed[key] = value;
        }
        for (auto& [key, value] : old.items()) {
            if (!now.contains(key))
                changed[key] = nullptr;
        }
        return changed;
    }

} // namespace

Json Studio::restart(const Json& hardware)
{
    static const std::set<std::string> restartable { "systemVersion", "screen", "feedbackSupportLevel" };
    if (!hardware.is_object() || hardware.empty())
        return refusal("a restart names what changes, such as {\"systemVersion\": \"15.0\"}");
    for (auto& [key, value] : hardware.items()) {
        if (!restartable.contains(key))
            return refusal(
                "a restart changes the system version, the screen or the feedback level, not \"" + key + "\"");
    }
    Json session = m_sessionJson;
    if (!session.contains("device") || !session["device"].is_object())
        session["device"] = Json::object();
    session["device"].update(hardware);
    Json setUp = session;
    setUp.erase("steps");
    auto parsed = scenario::ScenarioParser::parseText(setUp.dump(), m_sessionFolder);
    if (!parsed)
        return refusal(parsed.error().message);
    if (auto started = startDevice(std::move(parsed.value())); !started) {
        // The device as it was set up before comes back.
        Json before = m_sessionJson;
        before.erase("steps");
        if (auto again = scenario::ScenarioParser::parseText(before.dump(), m_sessionFolder))
            (void)startDevice(std::move(again.value()));
        return refusal(started.error().message);
    }
    m_sessionJson = session;
    m_events.publish("restart", state().dump());
    return state();
}

Json Studio::settingsPages()
{
    if (!m_runner)
        return refusal("the device is not running");
    SettingsDriver driver(*m_runner->device(), SettingsDriver::Waiting::DueWorkOnly);
    auto root = driver.openRoot();
    if (!root)
        return refusal(root.error().message);
    Json pages = Json::array();
    auto first = driver.describe(*root.value());
    pages.push_back(describedPage(first));
    // The pages the first one links to, one level down, as the Settings app lists them.
    std::vector<std::string> links;
    for (auto& section : first.sections) {
        for (auto& row : section.rows) {
            if (row.kind == "link")
                links.push_back(row.title);
        }
    }
    for (auto& link : links) {
        auto page = driver.openPage(link);
        if (page)
            pages.push_back(describedPage(driver.describe(*page.value())));
    }
    m_changed = true;
    return { { "pages", pages } };
}

Json Studio::changeSetting(const Json& request)
{
    if (!m_runner)
        return refusal("the device is not running");
    auto text = [&request](const char* key) {
        auto found = request.find(key);
        return found != request.end() && found->is_string() ? found->get<std::string>() : std::string();
    };
    if (!request.is_object() || (text("set").empty() && text("tap").empty()))
        return refusal("a settings change is {\"set\": row, \"value\": text} or {\"tap\": row}");
    auto& device = *m_runner->device();
    preferences::Domain domain(device, std::string(brix::preferenceDomain));
    auto before = domain.read();
    SettingsDriver driver(device, SettingsDriver::Waiting::DueWorkOnly);
    Json answer = { { "ok", true } };
    if (!text("set").empty()) {
        auto value = request.find("value");
        std::string wanted = value == request.end() ? std::string()
            : value->is_string()                    ? value->get<std::string>()
                                                    : value->dump();
        auto shown = driver.set(text("set"), wanted, text("page"));
        if (!shown)
            return refusal(shown.error().message);
        answer["value"] = shown.value();
    } else {
        auto outcome = driver.tap(text("tap"), true, text("page"));
        if (!outcome)
            return refusal(outcome.error().message);
        answer["lines"] = outcome.value().lines;
    }
    auto changed = changedPreferences(before, domain.read());
    if (!changed.empty()) {
        double time = std::max(deviceTime(), device.scheduler().now());
        record(time, { { "preferences", changed } });
        answer["preferences"] = changed;
    }
    m_changed = true;
    return answer;
}

Json Studio::push(const std::string& text, const std::string& app)
{
    Json payload;
    try {
        payload = Json::parse(text);
    } catch (const Json::exception& error) {
        return refusal(std::string("the payload is not JSON: ") + error.what());
    }
    if (!payload.is_object())
        return refusal("the payload is not a JSON object");
    if (!payload.contains("aps") || !payload["aps"].is_object())
        return refusal("the payload has no \"aps\" dictionary");
    auto& aps = payload["aps"];
    Json notification = Json::object();
    std::string target = app;
    if (target.empty()) {
        auto named = payload.find("Simulator Target Bundle");
        if (named == payload.end() || !named->is_string() || named->get<std::string>().empty())
            return refusal("the payload names no app: give --app or the key \"Simulator Target Bundle\"");
        target = named->get<std::string>();
    }
    notification["app"] = target;
    auto alert = aps.find("alert");
    if (alert == aps.end())
        return refusal("the payload has no aps.alert: there is nothing to show");
    if (alert->is_string()) {
        notification["message"] = *alert;
    } else if (alert->is_object()) {
        for (auto [field, into] :
            { std::pair { "title", "title" }, { "subtitle", "subtitle" }, { "body", "message" } }) {
            if (!alert->contains(field))
                continue;
            if (!(*alert)[field].is_string())
                return refusal(std::string("aps.alert.") + field + " is not a string");
            notification[into] = (*alert)[field];
        }
    } else {
        return refusal("aps.alert is neither a string nor a dictionary");
    }
    if (aps.contains("thread-id")) {
        if (!aps["thread-id"].is_string())
            return refusal("aps.thread-id is not a string");
        notification["thread"] = aps["thread-id"];
    }
    Json userInfo = payload;
    userInfo.erase("Simulator Target Bundle");
    notification["userInfo"] = userInfo;
    return play({ { "notify", notification } });
}

Json Studio::pointer(const std::string& phase, double x, double y, std::optional<double> pageTime)
{
    using Phase = springboard::HumanInterface::Phase;
    static const std::map<std::string, Phase> phases { { "down", Phase::Began }, { "move", Phase::Moved },
        { "up", Phase::Ended }, { "cancel", Phase::Cancelled } };
    auto found = phases.find(phase);
    if (found == phases.end())
        return refusal("a pointer goes down, moves, goes up or is cancelled");
    auto* home = m_runner ? m_runner->homeScreenProcess() : nullptr;
    if (!home)
        return refusal("the device has no screen to touch");
    auto& human = springboard::HumanInterface::of(*home);
    if (found->second != Phase::Began && (!human.isDown() || !m_drag))
        return refusal("no pointer is down");
    auto heard = std::chrono::steady_clock::now();
    double time = std::max(deviceTime(), m_runner->device()->scheduler().now());
    if (found->second == Phase::Began) {
        m_drag = Drag { time, pageTime, time, heard };
    } else if (pageTime && m_drag->pageStart) {
        // The page's pace, never behind the clock nor ahead of the wall clock.
        double paced = m_drag->deviceStart + (*pageTime - *m_drag->pageStart);
        time = std::max(time, std::min(paced, wallTime()));
    }
    if (!m_runner->runUntil(time))
        return refusal("the device ran away (a loop that never ends?)");
    m_drag->now = time;
    m_drag->lastHeard = heard;
    auto view = human.touch({ x, y }, found->second);
    if (found->second == Phase::Ended || found->second == Phase::Cancelled) {
        // The wall clock takes over again from where the finger left it.
        m_epoch = heard
            - std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(time));
        m_drag.reset();
    }
    m_changed = true;
    return { { "ok", true }, { "view", view ? Json(*view) : Json(nullptr) } };
}

Json Studio::state() const
{
    if (!m_runner)
        return refusal("the device is not running");
    auto& device = *m_runner->device();
    auto& hardware = device.hardware();
    Json state = { { "time", deviceTime() }, { "systemVersion", hardware.systemVersion },
        { "style", hardware.style == device::Hardware::Style::Dark ? "dark" : "light" },
        { "screen", { { "width", hardware.screenWidth }, { "height", hardware.screenHeight } } },
        { "steps", m_steps.size() } };
    auto conversations = messages::ConversationStore(device).load();
    state["conversations"] = conversations ? Json(conversations.value()) : Json::array();
    Json sent = Json::array();
    for (auto& event : device.trace().events()) {
        auto type = event.value("type", "");
        if (type == "messages.sent" || type == "messages.readReceipt")
            sent.push_back(event);
    }
    state["messages"] = sent;
    return state;
}

Json Studio::savedScenario() const
{
    Json saved = m_sessionJson;
    saved.erase("steps");
    makePathsAbsolute(saved, m_sessionFolder);
    Json steps = m_recorder ? m_recorder->merge(Json(m_steps)) : Json(m_steps);
    // The replay lets the time pass that the session has seen since its last step.
    steps.push_back({ { "at", deviceTime() }, { "wait", 0 } });
    saved["steps"] = steps;
    return saved;
}

Json Studio::trace() const
{
    return m_runner ? Json(m_runner->device()->trace().events()) : Json::array();
}

void Studio::wantWholeFrame()
{
    m_encoder.reset();
    m_changed = true;
}

void Studio::tick(double time)
{
    if (!m_runner)
        return;
    auto due = m_runner->device()->scheduler().nextDueTime();
    if (due && *due <= time)
        m_changed = true;
    m_runner->runUntil(time);
    if (m_changed || m_animating)
        sendFrame(time);
}

void Studio::sendFrame(double time)
{
    auto& device = *m_runner->device();
    auto* home = m_runner->homeScreenProcess();
    double scale = m_options.scale > 0 ? m_options.scale : device.hardware().screenScale;
    m_changed = false;
    m_animating = false;
    if (home) {
        for (auto& window : uikit::UIKitState::of(*home).windows()) {
            if (!window->isHidden() && uikit::isAnimating(*window, time))
                m_animating = true;
        }
    }
    auto screen = m_renderer.draw(device, home, scale, time, m_encoder.takeSpare());
    if (!screen) {
        log("cannot draw the screen: " + screen.error().message);
        return;
    }
    int width = screen.value().width();
    int height = screen.value().height();
    auto frame = m_encoder.encode(std::move(screen.value()));
    if (!frame) {
        log("cannot encode the screen: " + frame.error().message);
        return;
    }
    m_lastFrameTime = time;
    if (!frame.value())
        return;
    auto& part = *frame.value();
    Json message = { { "n", ++m_frameNumber }, { "t", time }, { "x", part.x }, { "y", part.y }, { "w", part.width },
        { "h", part.height }, { "whole", part.whole }, { "width", width }, { "height", height },
        { "jpeg", foundation::base64Encode(part.jpeg) } };
    m_events.publish("frame", message.dump());
}

std::optional<std::chrono::steady_clock::time_point> Studio::nextWake() const
{
    if (!m_runner)
        return std::nullopt;
    // A finger that is down may let the held clock run again at any moment.
    if (m_animating || m_changed || m_drag)
        return std::chrono::steady_clock::now()
            + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                std::chrono::duration<double>(1 / m_options.framesPerSecond));
    auto due = m_runner->device()->scheduler().nextDueTime();
    if (!due)
        return std::nullopt;
    return m_epoch
        + std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(*due));
}

std::future<Json> Studio::call(Work work)
{
    auto promise = std::make_shared<std::promise<Json>>();
    auto future = promise->get_future();
    std::lock_guard lock(m_mutex);
    if (!m_running || m_stopping) {
        promise->set_value(refusal("the studio is not running"));
        return future;
    }
    m_inbox.push_back([this, work = std::move(work), promise] {
        try {
            promise->set_value(work(*this));
        } catch (const std::exception& error) {
            promise->set_value(refusal(error.what()));
        }
    });
    m_wake.notify_all();
    return future;
}

void Studio::run()
{
    while (true) {
        std::vector<std::function<void()>> inbox;
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping)
                break;
            inbox.swap(m_inbox);
        }
        if (m_runner)
            m_runner->runUntil(deviceTime());
        for (auto& work : inbox)
            work();
        tick(deviceTime());
        std::unique_lock lock(m_mutex);
        if (m_stopping)
            break;
        if (!m_inbox.empty())
            continue;
        auto ready = [this] { return m_stopping || !m_inbox.empty(); };
        if (auto wake = nextWake())
            m_wake.wait_until(lock, *wake, ready);
        else
            m_wake.wait(lock, ready);
    }
    std::vector<std::function<void()>> left;
    {
        std::lock_guard lock(m_mutex);
        m_running = false;
        left.swap(m_inbox);
    }
    for (auto& work : left)
        work();
    m_events.close();
}

void Studio::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_events.close();
}

} // namespace tools::studio
