#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/brix/scenario/Scenario.h"

namespace tools {

// What `brix banner` draws: the notification's texts and pictures, the
// preferences that change the banner's look, and the device it appears on.
struct BannerOptions {
    std::string header;
    std::string subheader;
    std::string body;
    std::string app { "com.example.notes" };
    std::string icon;
    std::string appIcon;
    std::string picture;
    std::string out { "banner.png" };
    bool tiny { false };
    int64_t mode { -1 };
    std::string style { "light" };
    int64_t lines { -1 };
    bool expanded { false };
    bool buttons { false };
    bool alarm { false };
    bool snoozable { false };
    bool canReply { false };
    bool privacy { false };
    bool noStatusbar { false };
    bool clock24 { false };
    bool clock12 { false };
    std::vector<std::string> fontSizes;
    std::vector<std::string> settings;
    std::string systemVersion { "14.4" };
    std::string screen;
    bool json { false };
};

// An option that cannot be honoured; its message names the option.
struct BannerOptionError : std::invalid_argument {
    using std::invalid_argument::invalid_argument;
};

// The banner as a scenario: it arrives, is dragged open when asked, gets its
// picture, and is drawn ("banner.png") and inspected once every animation has
// ended. Throws BannerOptionError for options that make no banner, and for
// pictures that cannot be read or decoded.
scenario::Scenario bannerScenario(const BannerOptions&);

struct DrawnBanner {
    bool drawn { false };
    std::string failure; // why not, when not drawn
    scenario::Json banner; // the banner's inspected state
};

// Plays the banner's scenario on a fresh device and writes the screen to `png`.
DrawnBanner drawBanner(const BannerOptions&, const std::filesystem::path& png);

} // namespace tools
