#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace brix {

// The settings values of one process, bound to the keys of the preference
// domain and kept current by the preference library. Everything else reads them.
struct Settings {
    bool enabled { true };
    bool backgroundBlur { true };
    bool showButtons { false };
    bool vibrate_on_send { true };
    bool militaryClock { true };
    bool statusbar { true };
    bool boldButtons { false };
    bool enableGrabber { true };
    bool hideUnlessExpanded { false };
    bool tinyBanner { false };
    bool tinyBannerNoText { false };
    int64_t maxLineCount { 2 };
    int64_t containerCornerRadius { 30 };
    int64_t appCornerRadius { 20 };
    int64_t appSize { 40 };
    int64_t interfaceMode { 0 };
    int64_t textAlignment { 0 };
    int64_t timeToDismiss { 5 };
    int64_t topOffset { 15 };
    int64_t messagesAutoReadMode { 2 };
    bool enablePfps { true };
    int64_t appIconPfp { 1 };
    bool enableWhatsApp { true };
    bool enableSlack { true };
    bool enableDiscord { true };
    bool enableTwitter { true };
    bool enableMessages { true };
    bool enableInstagram { true };
    bool enableMessenger { true };
    bool enableTelegram { true };
    int64_t headerFontSize { 15 };
    int64_t textFontSize { 13 };
    int64_t statusbarFontSize { 15 };
    int64_t tinyBannerFontSize { 15 };
};

inline constexpr std::string_view preferenceDomain = "com.ostwyn.brixprefs";

// One key of the preference domain, with the settings value it is bound to.
struct SettingKey {
    enum class Type { Boolean, Integer };

    std::string_view key;
    Type type;
    int64_t defaultValue;
    bool Settings::*boolean;
    int64_t Settings::*integer;
};

constexpr SettingKey boolKey(std::string_view key, bool defaultValue, bool Settings::*member)
{
    return { key, SettingKey::Type::Boolean, defaultValue ? 1 : 0, member, nullptr };
}

constexpr SettingKey integerKey(std::string_view key, int64_t defaultValue, int64_t Settings::*member)
{
    return { key, SettingKey::Type::Integer, defaultValue, nullptr, member };
}

// The keys in the order they are registered.
inline constexpr std::array<SettingKey, 34> settingKeys { {
    boolKey("enabled", true, &Settings::enabled),
    boolKey("backgroundBlur", true, &Settings::backgroundBlur),
    boolKey("showButtons", false, &Settings::showButtons),
    boolKey("vibrate_on_send", true, &Settings::vibrate_on_send),
    boolKey("24_h_clock", true, &Settings::militaryClock),
    boolKey("statusbar", true, &Settings::statusbar),
    boolKey("boldButtons", false, &Settings::boldButtons),
    boolKey("enableGrabber", true, &Settings::enableGrabber),
    boolKey("hide_unless_expanded", false, &Settings::hideUnlessExpanded),
    boolKey("tinyBanner", false, &Settings::tinyBanner),
    boolKey("tinyBannerNoText", false, &Settings::tinyBannerNoText),
    integerKey("maxLineCount", 2, &Settings::maxLineCount),
    integerKey("containerCornerRadius", 30, &Settings::containerCornerRadius),
    integerKey("appCornerRadius", 20, &Settings::appCornerRadius),
    integerKey("appSize", 40, &Settings::appSize),
    integerKey("containerColor", 0, &Settings::interfaceMode),
    integerKey("textAlignment", 0, &Settings::textAlignment),
    integerKey("timeToDismiss", 5, &Settings::timeToDismiss),
    integerKey("topOffset", 15, &Settings::topOffset),
    integerKey("messagesAutoReadMode", 2, &Settings::messagesAutoReadMode),
    boolKey("enablePfps", true, &Settings::enablePfps),
    integerKey("appIconPfp", 1, &Settings::appIconPfp),
    boolKey("enableWhatsApp", true, &Settings::enableWhatsApp),
    boolKey("enableSlack", true, &Settings::enableSlack),
    boolKey("enableDiscord", true, &Settings::enableDiscord),
    boolKey("enableTwitter", true, &Settings::enableTwitter),
    boolKey("enableMessages", true, &Settings::enableMessages),
    boolKey("enableInstagram", true, &Settings::enableInstagram),
    boolKey("enableMessenger", true, &Settings::enableMessenger),
    boolKey("enableTelegram", true, &Settings::enableTelegram),
    integerKey("headerFontSize", 15, &Settings::headerFontSize),
    integerKey("textFontSize", 13, &Settings::textFontSize),
    integerKey("statusbarFontSize", 15, &Settings::statusbarFontSize),
    integerKey("tinyBannerFontSize", 15, &Settings::tinyBannerFontSize),
} };

} // namespace brix
