#include "tools/brix/scenario/StepDescription.h"

#include <sstream>

namespace tools::scenario {

namespace {

    constexpr size_t longestQuote = 40;

    // Cuts at a character boundary, never inside a UTF-8 sequence.
    std::string shortened(const std::string& text, size_t limit = longestQuote)
    {
        if (text.size() <= limit)
            return text;
        size_t end = limit;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xc0) == 0x80)
            --end;
        return text.substr(0, end) + "…";
    }

    std::string number(double value)
    {
        std::ostringstream out;
        out << value;
        return out.str();
    }

    std::string describe(const Notification& notification)
    {
        std::string text = notification.id;
        std::string content = notification.title.value_or("");
        if (notification.message)
            content += (content.empty() ? "" : " — ") + *notification.message;
        if (!content.empty())
            text += ": " + shortened(content);
        if (notification.app)
            text += " (" + *notification.app + ")";
        return text;
    }

    std::string describeMatcher(const Json& matcher)
    {
        std::string text = matcher.value("type", "");
        for (auto& [key, value] : matcher.items()) {
            if (key == "type")
                continue;
            text += " " + key + "=" + (value.is_string() ? value.get<std::string>() : value.dump());
        }
        return shortened(text, 2 * longestQuote);
    }

    std::string describeAction(const Notify& step)
    {
        return "notify " + describe(step.notification);
    }
    std::string describeAction(const NotifyList& step)
    {
        return "in the list: " + describe(step.notification);
    }
    std::string describeAction(const Present& step)
    {
        return "present " + describe(step.notification) + " over " + step.over;
    }
    std::string describeAction(const Tap&)
    {
        return "tap the banner";
    }
    std::string describeAction(const Pan& pan)
    {
        std::string text = "drag";
        for (double translation : pan.translations)
            text += " " + number(translation);
        text += " pt";
        if (pan.end == Pan::End::Cancelled)
            text += ", cancelled";
        else if (pan.end == Pan::End::StillDown)
            text += ", finger still down";
        return text;
    }
    std::string describeAction(const Press& press)
    {
        return "press " + press.button;
    }
    std::string describeAction(const TypeText& type)
    {
        return "type “" + shortened(type.text) + "”";
    }
    std::string describeAction(const Key& key)
    {
        return "keyboard: " + key.key;
    }
    std::string describeAction(const Touch& touch)
    {
        auto point = [](const std::pair<double, double>& at) {
            return "(" + number(at.first) + ", " + number(at.second) + ")";
        };
        std::string text = touch.points.size() == 1
            ? "touch at " + point(touch.points.front())
            : "touch from " + point(touch.points.front()) + " to " + point(touch.points.back());
        if (touch.end == Pan::End::Cancelled)
            text += ", cancelled";
        else if (touch.end == Pan::End::StillDown)
            text += ", finger still down";
        return text;
    }
    std::string describeAction(const TapAt& tap)
    {
        return "tap at (" + number(tap.x) + ", " + number(tap.y) + ")";
    }
    std::string describeAction(const Keys& keys)
    {
        std::string shown;
        for (char c : keys.text)
            shown += c == '\n' ? std::string("⏎") : c == '\b' ? std::string("⌫") : std::string(1, c);
        return "keys “" + shortened(shown) + "”";
    }
    std::string describeAction(const TapBackdrop&)
    {
        return "tap the backdrop";
    }
    std::string describeAction(const Button& button)
    {
        return "hardware button " + std::to_string(button.type);
    }
    std::string describeAction(const Grabber&)
    {
        return "the grabber dismisses";
    }
    std::string describeAction(const Lock&)
    {
        return "lock the screen";
    }
    std::string describeAction(const Style& style)
    {
        return style.style == device::Hardware::Style::Dark ? "switch to dark mode" : "switch to light mode";
    }
    std::string describeAction(const SetPreferences& preferences)
    {
        std::string text = "settings:";
        for (auto& [key, value] : preferences.values) {
            text += (text.back() == ':' ? " " : ", ") + key + " = ";
            if (value.isBoolean())
                text += value.boolean() ? "on" : "off";
            else if (value.isNumber())
                text += number(value.real());
            else
                text += "…";
        }
        return text;
    }
    std::string describeAction(const SettingsAction& settings)
    {
        if (settings.action == "testBanner")
            return "Settings: send a test banner";
        if (settings.action == "reset")
            return "Settings: reset every setting";
        return "Settings: " + settings.action;
    }
    std::string describeAction(const Launch& launch)
    {
        return "launch " + launch.bundleIdentifier;
    }
    std::string describeAction(const Quit& quit)
    {
        return "quit " + quit.bundleIdentifier;
    }
    std::string describeAction(const Wait& wait)
    {
        return "wait " + number(wait.seconds) + " s";
    }
    std::string describeAction(const Snapshot& snapshot)
    {
        return "snapshot " + snapshot.name;
    }
    std::string describeAction(const Inspect& inspect)
    {
        return "inspect " + inspect.id;
    }
    std::string describeAction(const Expect& expect)
    {
        return (expect.negated ? "expect no " : "expect ") + describeMatcher(expect.matcher);
    }
    std::string describeAction(const UpdateImage&)
    {
        return "the banner gets its picture";
    }

} // namespace

std::string describeStep(const Step& step)
{
    return std::visit([](auto& action) { return describeAction(action); }, step.action);
}

bool isActionStep(const Step& step)
{
    return !std::holds_alternative<Expect>(step.action) && !std::holds_alternative<Inspect>(step.action)
        && !std::holds_alternative<Snapshot>(step.action) && !std::holds_alternative<Wait>(step.action);
}

} // namespace tools::scenario
