#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/device/Device.h"
#include "platform/foundation/Result.h"
#include "platform/preferences/Forward.h"
#include "platform/uikit/Forward.h"
#include "platform/uikit/Geometry.h"

namespace tools {

// Works the Settings app of a device as a user would: opens the Brix entry,
// moves between its pages by tapping their links, flips switches, slides
// sliders, picks choices and taps buttons, all through the app's own pages
// and cells. It knows nothing of the pages in advance; it reads them.
class SettingsDriver {
public:
    // The label of Brix's entry in the Settings app.
    static constexpr const char* entryLabel = "Brix";
    // Work one user action may cause before the device counts as running away.
    static constexpr size_t maxTasks = 100000;

    struct Row {
        std::string title;
        std::string kind; // "switch", "slider", "choice", "segments", "link", "button", "text", "value"
        std::string value; // as the cell shows it; empty for links, buttons and texts
    };
    struct Section {
        std::string header;
        std::string footer;
        std::vector<Row> rows;
    };
    struct Page {
        std::string title;
        std::vector<Section> sections;
        // The title of the navigation bar's right button, if any.
        std::string barButton;
    };
    // What a tap led to.
    struct Outcome {
        std::vector<std::string> lines;
        bool done { true };
    };

    // How the driver waits for a tap to play out: by letting a second of the
    // device's time pass (the tool), or only by running the work that is due
    // now, leaving the clock to its owner (a scenario's steps).
    enum class Waiting { LetTimePass, DueWorkOnly };

    explicit SettingsDriver(device::Device&, Waiting = Waiting::LetTimePass);

    // Starts the Settings app (and the home screen, which its actions
    // reach) unless they run, and opens the Brix entry.
    foundation::Result<preferences::PSListController*> openRoot();
    // Opens, from the first page, the page whose link row has that title
    // (searched page by page, nearest first).
    foundation::Result<preferences::PSListController*> openPage(const std::string& title);

    Page describe(preferences::PSListController&) const;

    // Changes the value row titled `title` (on `page` when given, else on
    // whichever page has it) to `text`: on/off for a switch, a number within
    // the range for a slider, a choice's title (or value) for a choice.
    // Answers the value the row shows afterwards.
    foundation::Result<std::string> set(
        const std::string& title, const std::string& text, const std::string& page = {});
    // Taps the button or link row titled `title`, or the navigation bar's
    // button of that title. An alert that asks for confirmation is
    // confirmed when `confirm` says so and cancelled otherwise.
    foundation::Result<Outcome> tap(const std::string& title, bool confirm, const std::string& page = {});

    // The settings bundle's actions by what they do rather than their titles:
    // the row whose action is `action` ("sendTestBanner", "resetPrefs:"), and
    // the respring button of the first page, confirmed.
    foundation::Result<Outcome> performAction(const std::string& action);
    foundation::Result<Outcome> respring();

    // Lets the tap play out (see Waiting); false when the device runs away.
    bool settle();

    device::Process* settingsProcess() const;
    preferences::PSListController* topPage() const;

private:
    struct Found {
        preferences::PSListController* page;
        preferences::PSSpecifier* row;
    };
    using Match = std::function<bool(preferences::PSSpecifier&)>;

    foundation::Result<Found> find(const Match&, const std::string& description, const std::string& page);
    // Opens the first page, then the links of `path` one after the other.
    foundation::Result<preferences::PSListController*> openPath(const std::vector<std::string>& path);
    preferences::PSListController* follow(preferences::PSListController*, const std::string& link);
    foundation::Result<Outcome> tapRow(Found);
    // A finger's tap at `point` of `view` (its middle when none) on the
    // Settings app's screen, the page's table scrolled first so that the view
    // shows. Answers false, touching nothing, when something else lies there.
    bool touch(preferences::PSListController& page, uikit::UIView& view, std::optional<uikit::Point> point = {});
    foundation::Result<Outcome> pressBarButton(const std::string& title, bool confirm);
    Outcome report(size_t firstEvent) const;

    device::Device* m_device;
    Waiting m_waiting;
    // What the Settings app reported it could not do since the last change began.
    std::shared_ptr<std::vector<std::string>> m_settingsErrors;
};

} // namespace tools
