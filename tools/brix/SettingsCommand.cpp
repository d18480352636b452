#include <iomanip>
#include <iostream>
#include <nlohmann/json.hpp>

#include "platform/apps/Apps.h"
#include "platform/preferences/PSListController.h"

#include "tools/brix/Commands.h"
#include "tools/brix/DeviceRoot.h"
#include "tools/brix/SettingsDriver.h"
#include "tools/brix/scenario/ScreenRenderer.h"

namespace tools {

namespace {

    struct SettingsOptions {
        std::vector<std::string> words;
        std::string device;
        std::string png;
        std::string page;
        std::string style { "light" };
        std::string systemVersion { "14.4" };
        bool yes { false };
        bool json { false };
    };

    constexpr int titleColumn = 34;

    std::string shown(const SettingsDriver::Row& row)
    {
        if (row.kind == "link")
            return "\u203A";
        if (row.kind == "button")
            return "(button)";
        return row.value;
    }

    void print(const SettingsDriver::Page& page)
    {
        std::cout << page.title;
        if (!page.barButton.empty())
            std::cout << "    [" << page.barButton << "]";
        std::cout << "\n";
        for (auto& section : page.sections) {
            std::cout << "\n";
            if (!section.header.empty()) {
                std::string header = section.header;
                for (auto& c : header)
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                std::cout << header << "\n";
            }
            for (auto& row : section.rows)
                std::cout << "  " << std::left << std::setw(titleColumn) << row.title << " " << shown(row) << "\n";
            if (!section.footer.empty())
                std::cout << "  (" << section.footer << ")\n";
        }
    }

    nlohmann::ordered_json toJson(const SettingsDriver::Page& page)
    {
        auto sections = nlohmann::ordered_json::array();
        for (auto& section : page.sections) {
            auto rows = nlohmann::ordered_json::array();
            for (auto& row : section.rows)
                rows.push_back({ { "title", row.title }, { "kind", row.kind }, { "value", row.value } });
            sections.push_back({ { "header", section.header }, { "footer", section.footer }, { "rows", rows } });
        }
        return { { "title", page.title }, { "barButton", page.barButton }, { "sections", sections } };
    }

    void printJson(const nlohmann::ordered_json& json)
    {
        std::cout << json.dump(2) << "\n";
    }

    class SettingsSession {
    public:
        explicit SettingsSession(const SettingsOptions& options)
        {
            auto root = options.device.empty() ? defaultDeviceRoot() : std::filesystem::path(options.device);
            if (auto prepared = prepareDeviceRoot(root); !prepared)
                failUsage(prepared.error().message);
            device::Hardware hardware;
            hardware.systemVersion = options.systemVersion;
            if (options.style == "dark")
                hardware.style = device::Hardware::Style::Dark;
            else if (options.style != "light")
                failUsage("--style is light or dark, not '" + options.style + "'");
            try {
                m_device = std::make_unique<device::Device>(root, hardware);
            } catch (const std::filesystem::filesystem_error& error) {
                failUsage(std::string("cannot use the device root: ") + error.what());
            }
            apps::defineApps(*m_device);
            m_driver = std::make_unique<SettingsDriver>(*m_device);
        }
        SettingsDriver& driver() { return *m_driver; }
        device::Device& device() { return *m_device; }

    private:
        std::unique_ptr<device::Device> m_device;
        std::unique_ptr<SettingsDriver> m_driver;
    };

    template <typename T> T orFail(foundation::Result<T> result)
    {
        if (!result) {
            std::cerr << "brix: " << result.error().message << "\n";
            throw CLI::RuntimeError(1);
        }
        return std::move(result).value();
    }

    void writePicture(SettingsSession& session, const std::string& path)
    {
        if (path.empty())
            return;
        auto* process = session.device().process(apps::settingsApp);
        if (auto written = scenario::ScreenRenderer::writeScreenshot(session.device(), process, path); !written) {
            std::cerr << "brix: cannot write " << path << ": " << written.error().message << "\n";
            throw CLI::RuntimeError(1);
        }
    }

    void runSettings(const SettingsOptions& options)
    {
        auto& words = options.words;
        bool isSet = !words.empty() && words[0] == "set";
        bool isTap = !words.empty() && words[0] == "tap";
        if (isSet && words.size() != 3)
            failUsage("usage: brix settings set TITLE VALUE");
        if (isTap && words.size() != 2)
            failUsage("usage: brix settings tap TITLE [--yes]");
        if (!isSet && !isTap && words.size() > 1)
            failUsage("usage: brix settings [PAGE] | set TITLE VALUE | tap TITLE");
        if (!isSet && !isTap && !options.page.empty())
            failUsage("--page goes with set and tap; to see a page, name it: brix settings PAGE");

        SettingsSession session(options);
        auto& driver = session.driver();
        if (isSet) {
            auto value = orFail(driver.set(words[1], words[2], options.page));
            if (options.json)
                printJson({ { "title", words[1] }, { "value", value } });
            else
                std::cout << words[1] << ": " << value << "\n";
        } else if (isTap) {
            auto outcome = orFail(driver.tap(words[1], options.yes, options.page));
            if (options.json)
                printJson({ { "lines", outcome.lines }, { "done", outcome.done } });
            else
                for (auto& line : outcome.lines)
                    std::cout << line << "\n";
            if (!outcome.done) {
                writePicture(session, options.png);
                throw CLI::RuntimeError(1);
            }
        } else {
            auto* page = words.empty() ? orFail(driver.openRoot()) : orFail(driver.openPage(words[0]));
            if (options.json)
                printJson(toJson(driver.describe(*page)));
            else
                print(driver.describe(*page));
        }
        writePicture(session, options.png);
    }

} // namespace

void addSettingsCommand(CLI::App& app)
{
    auto options = std::make_shared<SettingsOptions>();
    auto* command = app.add_subcommand("settings", "Work Brix's pages of the Settings app as a user would");
    command->add_option("words", options->words, "[PAGE] | set TITLE VALUE | tap TITLE");
    command->add_option("--device", options->device, "device root (default: ~/.local/share/brix/device)");
    command->add_option("--png", options->png, "write the Settings app's screen afterwards to this PNG file");
    command->add_option("--page", options->page, "with set or tap: the page the row is on");
    command->add_flag("--yes", options->yes, "with tap: confirm when the page asks (Respring)");
    command->add_flag("--json", options->json, "print the page, or what set or tap did, as JSON");
    command->add_option("--style", options->style, "light or dark")->capture_default_str();
    command->add_option("--system-version", options->systemVersion, "the system version")->capture_default_str();
    command->footer("Examples:\n"
                    "  brix settings                         the first page with every value\n"
                    "  brix settings Appearance              a page, by the title of the row that opens it\n"
                    "  brix settings set \"Dismiss after\" 3\n"
                    "  brix settings tap \"Send test banner\"\n"
                    "  brix settings tap Respring --yes\n"
                    "  brix settings --json                  the first page as JSON\n"
                    "Exit status: 0 when done, 1 when the page refused or asked for a confirmation not given, "
                    "2 for bad arguments.");
    command->callback([options] { runSettings(*options); });
}

} // namespace tools
