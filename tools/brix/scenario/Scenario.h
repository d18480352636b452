#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/device/Device.h"
#include "platform/foundation/Value.h"

namespace tools::scenario {

using Json = nlohmann::ordered_json;

// A file written into the device before start-up: a copy of a fixture, a
// text, a property list, or a new SQLite database made by statements.
struct FileEntry {
    std::string path; // absolute in the device, or relative inside a container
    std::optional<std::filesystem::path> from;
    std::optional<std::string> text;
    std::optional<foundation::Value> plist;
    std::optional<std::vector<std::string>> sqlite;
};

// A card of the address book.
struct Contact {
    std::optional<std::string> identifier;
    std::string givenName;
    std::string familyName;
    std::vector<std::string> emails;
    std::vector<std::string> phones;
    std::optional<std::filesystem::path> photo;
};

// How the web answers one URL.
struct WebAnswer {
    int status { 200 };
    std::optional<std::filesystem::path> file;
    std::optional<std::string> text;
    int delayMs { 0 };
    bool hang { false };
    // Sent as they are, in the order of the file.
    std::vector<std::pair<std::string, std::string>> headers;
    // The body goes out gzip-compressed, with Content-Encoding: gzip.
    bool gzip { false };
};

struct Container {
    enum class Kind { Data, Group };
    Kind kind { Kind::Data };
    std::string identifier;
    std::string uuid;
    std::vector<FileEntry> files;
};

struct Notification {
    std::string id;
    std::optional<std::string> app;
    std::optional<std::string> title;
    std::optional<std::string> subtitle;
    std::optional<std::string> message;
    std::optional<std::string> summary;
    std::optional<std::string> thread;
    foundation::Value userInfo;
    std::optional<std::filesystem::path> icon;
    std::optional<std::filesystem::path> appIcon;
    std::optional<std::string> clearAction;
    std::optional<std::string> closeAction;
    std::optional<std::string> silenceAction;
    // The action a tap performs; every notification has one unless the file says `"default": null`.
    std::optional<std::string> defaultAction { "com.apple.UNNotificationDefaultActionIdentifier" };
    std::vector<std::pair<std::string, std::vector<std::string>>> supplementaryActions;
    bool hasOptions { true };
    bool dismissAutomatically { true };
};

// The steps, one type per kind.
struct Notify {
    Notification notification;
};
struct NotifyList {
    Notification notification;
};
struct Present {
    Notification notification;
    std::string over;
};
struct Tap {
    std::optional<std::string> on;
};
struct Pan {
    enum class End { Ended, Cancelled, StillDown };
    std::vector<double> translations;
    End end { End::Ended };
    std::optional<std::string> on;
};
struct Press {
    std::string button;
    std::optional<std::string> on;
};
struct TypeText {
    std::string text;
};
struct Key {
    std::string key;
};
// One finger by position: down at the first point (screen points), moved
// through the others one `interval` apart, then lifted, cancelled or left
// down (Pan::End).
struct Touch {
    std::vector<std::pair<double, double>> points;
    double interval { 0.016 };
    Pan::End end { Pan::End::Ended };
};
struct TapAt {
    double x { 0 };
    double y { 0 };
};
// Key presses: "\n" is Return, "\b" Backspace.
struct Keys {
    std::string text;
};
struct TapBackdrop {
    std::optional<std::string> on;
};
struct Button {
    int64_t type { 0 };
    double force { 0 };
};
struct Grabber {
    int64_t style { 0 };
    bool animated { true };
};
struct Lock { };
struct Style {
    device::Hardware::Style style { device::Hardware::Style::Light };
};
struct SetPreferences {
    std::vector<std::pair<std::string, foundation::Value>> values;
};
// One of the settings bundle's actions: "testBanner", "respring" or "reset".
struct SettingsAction {
    std::string action;
};
struct Launch {
    std::string bundleIdentifier;
};
struct Quit {
    std::string bundleIdentifier;
};
struct Wait {
    double seconds { 0 };
};
struct Snapshot {
    std::string name;
};
struct Inspect {
    std::string id;
};
struct Expect {
    Json matcher;
    bool negated { false };
};
// Not a step of the file format: the tool's own steps use it to hand a
// picture to a banner, as a profile-picture provider would (`updateImage:`).
struct UpdateImage {
    std::filesystem::path picture;
    std::optional<std::string> on;
};

using Action = std::variant<Notify, NotifyList, Present, Tap, Pan, Press, TypeText, Key, TapBackdrop, Button, Grabber,
    Lock, Style, SetPreferences, SettingsAction, Launch, Quit, Wait, Snapshot, Inspect, Expect, UpdateImage, Touch,
    TapAt, Keys>;

struct Step {
    size_t number { 0 }; // from 1, as the file lists them
    std::string kind; // the step's key in the file ("notify", "tap", ...)
    double time { 0 }; // scenario seconds at which it runs
    Action action;
};

// How long a step takes from its start: a wait its seconds, a touch the
// time from its first point to its last; every other step none.
inline double stepLength(const Step& step)
{
    if (auto* wait = std::get_if<Wait>(&step.action))
        return wait->seconds;
    if (auto* touch = std::get_if<Touch>(&step.action))
        return touch->points.empty() ? 0 : touch->interval * static_cast<double>(touch->points.size() - 1);
    return 0;
}

// A scenario file, validated: every path resolved, every time computed,
// every notification named.
struct Scenario {
    std::filesystem::path file;
    device::Hardware hardware;
    bool brixInstalled { true };
    std::vector<std::pair<std::string, foundation::Value>> preferences;
    std::vector<Container> containers;
    std::vector<FileEntry> files;
    // The Messages app's conversations by chat guid, in list order; written
    // to the device's conversation store when the file has the section.
    std::optional<std::vector<std::string>> conversations;
    std::vector<Contact> contacts;
    // By URL as the file writes it, in the order of the file.
    std::vector<std::pair<std::string, WebAnswer>> web;
    std::vector<Step> steps;
    // Every notification id the file uses, and the next number of the
    // sequence "n1", "n2", ... for notifications the system shows on its own.
    std::set<std::string> notificationIds;
    int nextSequenceNumber { 1 };
};

} // namespace tools::scenario
