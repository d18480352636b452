#include "tools/brix/BannerDrawing.h"

#include <fstream>
#include <map>
#include <sstream>

#include "platform/graphics/Image.h"

#include "tools/brix/PreferenceValues.h"
#include "tools/brix/TemporaryFolder.h"
#include "tools/brix/scenario/ScenarioRunner.h"

namespace tools {

namespace fs = std::filesystem;
using scenario::Json;

namespace {

    [[noreturn]] void refuse(const std::string& message)
    {
        throw BannerOptionError(message);
    }

    // The notification's request as the scenario runner builds it.
    scenario::Notification notificationOf(const BannerOptions& options)
    {
        scenario::Notification notification;
        notification.id = "n1";
        notification.app = options.alarm ? "com.apple.mobiletimer" : options.app;
        if (!options.header.empty())
            notification.title = options.header;
        if (!options.subheader.empty())
            notification.subtitle = options.subheader;
        if (!options.body.empty())
            notification.message = options.body;
        if (!options.icon.empty())
            notification.icon = fs::absolute(options.icon);
        if (!options.appIcon.empty())
            notification.appIcon = fs::absolute(options.appIcon);
        if (options.alarm) {
            notification.closeAction = "com.apple.mobiletimer.stop";
            if (options.snoozable)
                notification.supplementaryActions.push_back(
                    { "default", { "com.apple.mobiletimer.MTAlarmSnoozeAction" } });
        } else if (options.canReply) {
            notification.supplementaryActions.push_back({ "default", { "com.example.reply" } });
        }
        // The banner is drawn at rest: it must not leave before the picture is taken.
        notification.dismissAutomatically = false;
        return notification;
    }

    void setPreference(scenario::Scenario& scenario, const std::string& name, const std::string& text)
    {
        auto* key = findSettingKey(name);
        if (!key)
            refuse("unknown preference key '" + name + "' (see: brix prefs list)");
        auto value = parseSettingValue(*key, text);
        if (!value)
            refuse("'" + text + "' is not a value for " + name + " (" + typeName(*key) + ")");
        scenario.preferences.emplace_back(name, *value);
    }

    // Splits "NAME=VALUE".
    std::pair<std::string, std::string> assignment(const std::string& text, const std::string& option)
    {
        auto equals = text.find('=');
        if (equals == std::string::npos || equals == 0)
            refuse(option + " expects NAME=VALUE, not '" + text + "'");
        return { text.substr(0, equals), text.substr(equals + 1) };
    }

    void addPreferences(scenario::Scenario& scenario, const BannerOptions& options)
    {
        if (options.tiny)
            setPreference(scenario, "tinyBanner", "YES");
        if (options.mode >= 0)
            setPreference(scenario, "containerColor", std::to_string(options.mode));
        if (options.lines >= 0)
            setPreference(scenario, "maxLineCount", std::to_string(options.lines));
        if (options.buttons)
            setPreference(scenario, "showButtons", "YES");
        if (options.privacy)
            setPreference(scenario, "hide_unless_expanded", "YES");
        if (options.noStatusbar)
            setPreference(scenario, "statusbar", "NO");
        if (options.clock24 || options.clock12)
            setPreference(scenario, "24_h_clock", options.clock24 ? "YES" : "NO");
        static const std::map<std::string, std::string> fontKeys { { "header", "headerFontSize" },
            { "text", "textFontSize" }, { "statusbar", "statusbarFontSize" }, { "tiny", "tinyBannerFontSize" } };
        for (auto& text : options.fontSizes) {
            auto [name, size] = assignment(text, "--font-size");
            auto key = fontKeys.find(name);
            if (key == fontKeys.end())
                refuse("--font-size names header, text, statusbar or tiny, not '" + name + "'");
            setPreference(scenario, key->second, size);
        }
        for (auto& text : options.settings) {
            auto [name, value] = assignment(text, "--set");
            setPreference(scenario, name, value);
        }
    }

    device::Hardware hardwareOf(const BannerOptions& options)
    {
        device::Hardware hardware;
        hardware.systemVersion = options.systemVersion;
        hardware.style = options.style == "dark" ? device::Hardware::Style::Dark : device::Hardware::Style::Light;
        if (!options.screen.empty()) {
            double width = 0, height = 0;
            char separator = 0;
            std::istringstream stream(options.screen);
            if (!(stream >> width >> separator >> height) || separator != 'x' || !stream.eof() || width < 200
                || height < 200 || width > 2000 || height > 4000)
                refuse("--screen expects WIDTHxHEIGHT in points (200x200 to 2000x4000), not '" + options.screen + "'");
            hardware.screenWidth = width;
            hardware.screenHeight = height;
        }
        return hardware;
    }

    constexpr uintmax_t maxPictureBytes = uintmax_t(64) << 20;

    void requireDecodablePicture(const std::string& path, const std::string& option)
    {
        // Only a regular file is read: a folder cannot be, and a FIFO or a device would block or never end.
        std::error_code error;
        auto status = fs::status(path, error);
        if (error && status.type() != fs::file_type::not_found)
            refuse(option + ": cannot read '" + path + "': " + error.message());
        if (fs::exists(status) && !fs::is_regular_file(status))
            refuse(option + ": '" + path + "' is not a picture file (it is "
                + (fs::is_directory(status) ? "a folder" : "not a regular file") + ")");
        if (fs::exists(status) && fs::file_size(path, error) > maxPictureBytes)
            refuse(option + ": '" + path + "' is larger than a picture may be (" + std::to_string(maxPictureBytes >> 20)
                + " MiB)");
        std::ifstream file(path, std::ios::binary);
        if (!file)
            refuse(option + ": cannot read '" + path + "'");
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        auto decoded = graphics::Image::decode(bytes);
        if (!decoded)
            refuse(option + ": '" + path + "' is not a picture: " + decoded.error().message);
    }

    template <typename Action> void addStep(scenario::Scenario& scenario, std::string kind, double time, Action action)
    {
        scenario.steps.push_back({ scenario.steps.size() + 1, std::move(kind), time, std::move(action) });
    }

    scenario::Scenario scenarioOf(const BannerOptions& options)
    {
        if (options.snoozable && !options.alarm)
            refuse("--snoozable needs --alarm");
        for (auto [path, option] : { std::pair { options.icon, "--icon" }, { options.appIcon, "--app-icon" },
                 { options.picture, "--picture" } }) {
            if (!path.empty())
                requireDecodablePicture(path, option);
        }
        scenario::Scenario scenario;
        scenario.file = fs::current_path() / "banner";
        scenario.hardware = hardwareOf(options);
        addPreferences(scenario, options);
        scenario.notificationIds = { "n1" };
        scenario.nextSequenceNumber = 2;
        addStep(scenario, "notify", 0, scenario::Notify { notificationOf(options) });
        if (options.expanded)
            addStep(scenario, "pan", 0.5, scenario::Pan { { 0, 1 }, scenario::Pan::End::Ended, std::nullopt });
        if (!options.picture.empty())
            addStep(scenario, "updateImage", 1, scenario::UpdateImage { fs::absolute(options.picture), std::nullopt });
        addStep(scenario, "snapshot", 2, scenario::Snapshot { "banner.png" });
        addStep(scenario, "inspect", 2, scenario::Inspect { "n1" });
        return scenario;
    }

    const Json* inspection(const std::vector<Json>& events)
    {
        for (auto& event : events) {
            if (event.value("type", "") == "inspect")
                return &event;
        }
        return nullptr;
    }

} // namespace

scenario::Scenario bannerScenario(const BannerOptions& options)
{
    return scenarioOf(options);
}

DrawnBanner drawBanner(const BannerOptions& options, const fs::path& png)
{
    auto scenario = bannerScenario(options);
    TemporaryFolder work("brix-banner");
    std::ostringstream errors;
    scenario::ScenarioRunner runner(scenario, { work.path(), nullptr, &errors });
    if (runner.run() != scenario::ScenarioRunner::Passed)
        return { false, "the banner could not be drawn\n" + errors.str(), nullptr };
    auto* inspected = inspection(runner.events());
    if (!inspected || (*inspected)["banner"].is_null())
        return { false, "no banner appeared (is Brix enabled by these settings?)", nullptr };
    std::error_code error;
    fs::copy_file(work.path() / "banner.png", png, fs::copy_options::overwrite_existing, error);
    if (error)
        return { false, "cannot write " + png.string() + ": " + error.message(), nullptr };
    return { true, "", (*inspected)["banner"] };
}

} // namespace tools
