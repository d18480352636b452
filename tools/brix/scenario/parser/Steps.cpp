// The steps: when each runs and the one thing it does.

#include <cmath>
#include <sstream>

#include "tools/brix/scenario/parser/Sections.h"

namespace tools::scenario::parser {

namespace {

    double readTime(Fields& fields, const std::string& prefix, double previousEnd)
    {
        auto at = fields.number("at");
        auto after = fields.number("after");
        if (at && after)
            fail(prefix + " has both \"at\" and \"after\"; give one");
        if ((at && *at < 0) || (after && *after < 0))
            fail(prefix + ": times cannot be negative");
        if (at && *at + 1e-9 < previousEnd) {
            std::ostringstream message;
            message << prefix << ": \"at\": " << *at << " lies before the time the previous step ends (" << previousEnd
                    << ")";
            fail(message.str());
        }
        return at ? std::max(*at, previousEnd) : previousEnd + after.value_or(0);
    }

    std::string requireString(const Json& value, const std::string& where, std::vector<std::string> allowed)
    {
        if (value.is_string()) {
            for (auto& candidate : allowed) {
                if (value.get<std::string>() == candidate)
                    return candidate;
            }
        }
        std::string list;
        for (auto& candidate : allowed)
            list += (list.empty() ? "" : ", ") + inQuotes(candidate);
        fail(where + " must be " + (allowed.size() == 1 ? "" : "one of ") + list + ", not " + value.dump());
    }

    void requireTrue(const Json& value, const std::string& where)
    {
        if (!value.is_boolean() || !value.get<bool>())
            fail(where + " must be true, not " + value.dump());
    }

    // A string that is not empty, or `message` as the refusal.
    std::string requireText(const Json& value, const std::string& where, const std::string& message)
    {
        if (!value.is_string() || value.get<std::string>().empty())
            fail(where + message);
        return value.get<std::string>();
    }

    // A point on the screen: [x, y] in points.
    std::pair<double, double> readPoint(const Json& value, const std::string& where)
    {
        if (!value.is_array() || value.size() != 2 || !value[0].is_number() || !value[1].is_number()
            || !std::isfinite(value[0].get<double>()) || !std::isfinite(value[1].get<double>()))
            fail(where + " must be a point [x, y] in screen points, not " + value.dump());
        return { value[0].get<double>(), value[1].get<double>() };
    }

    // How a finger's path ends; "ended" when the step does not say.
    Pan::End readEnd(Fields& fields)
    {
        const Json* end = fields.take("end");
        if (!end || *end == "ended")
            return Pan::End::Ended;
        if (end->is_null())
            return Pan::End::StillDown;
        if (*end == "cancelled")
            return Pan::End::Cancelled;
        fail(fields.name("end") + " must be \"ended\", \"cancelled\" or null, not " + end->dump());
    }

    Touch readTouch(Fields& fields, const Json& value, const std::string& where)
    {
        Touch touch;
        if (!value.is_array() || value.empty())
            fail(where + " must be a non-empty array of points [x, y]");
        for (size_t index = 0; index < value.size(); ++index)
            touch.points.push_back(readPoint(value[index], indexed(where, index)));
        if (auto interval = fields.number("interval")) {
            if (!(*interval > 0) || *interval > 10)
                fail(fields.name("interval") + " must be more than 0 and at most 10 seconds");
            touch.interval = *interval;
        }
        touch.end = readEnd(fields);
        return touch;
    }

    Pan readPan(Fields& fields, const Json& value, const std::string& where)
    {
        Pan pan;
        if (!value.is_array() || value.empty())
            fail(where + " must be a non-empty array of vertical translations");
        for (auto& item : value) {
            if (!item.is_number() || !std::isfinite(item.get<double>()))
                fail(where + " must hold numbers only, not " + kindOf(item));
            pan.translations.push_back(item.get<double>());
        }
        pan.end = readEnd(fields);
        pan.on = fields.string("on");
        return pan;
    }

    const Field<Button> buttonFields[] = {
        { "type", Kind::Integer, assign<&Button::type>, Presence::Required },
        { "force", Kind::Number,
            [](Context&, Button& button, const Json& value, const std::string& name) {
                button.force = value.get<double>();
                if (button.force < 0)
                    fail(name + " cannot be negative");
            } },
    };

    const Field<Grabber> grabberFields[] = {
        { "style", Kind::Integer, assign<&Grabber::style> },
        { "animated", Kind::Boolean, assign<&Grabber::animated> },
    };

    std::string readSnapshotName(const Json& value, const std::string& where)
    {
        if (!value.is_string())
            fail(where + " must be a file name ending in .png, not " + kindOf(value));
        auto name = value.get<std::string>();
        if (name.size() <= 4 || !name.ends_with(".png") || name.find('/') != std::string::npos || name.starts_with("."))
            fail(where + " " + inQuotes(name) + " must be a plain file name ending in .png");
        return name;
    }

    Expect readExpect(const Json& value, const std::string& where, bool negated)
    {
        if (!value.is_object())
            fail(where + " must be an object describing an event, not " + kindOf(value));
        auto type = value.find("type");
        if (type == value.end() || !type->is_string())
            fail(where + " needs a \"type\" string");
        return Expect { value, negated };
    }

    // One kind of step: the key that names it and how it is read. `fields`
    // are the step's, for the fields beside the key ("on", "over", "end").
    struct ActionKind {
        const char* key;
        Action (*read)(Context&, Fields& fields, const Json& value, const std::string& where);
    };

    // In the order messages list them.
    const ActionKind actionKinds[] = {
        { "notify",
            [](Context& context, Fields&, const Json& value, const std::string& where) -> Action {
                return Notify { readNotification(context, value, where) };
            } },
        { "notifyList",
            [](Context& context, Fields&, const Json& value, const std::string& where) -> Action {
                return NotifyList { readNotification(context, value, where) };
            } },
        { "present",
            [](Context& context, Fields& fields, const Json& value, const std::string& where) -> Action {
                Present present { readNotification(context, value, where), {} };
                auto over = fields.string("over");
                if (!over)
                    fail(where + " needs \"over\": the id of the banner that presents it");
                present.over = *over;
                return present;
            } },
        { "tap",
            [](Context&, Fields& fields, const Json& value, const std::string& where) -> Action {
                requireString(value, where, { "banner" });
                return Tap { fields.string("on") };
            } },
        { "pan",
            [](Context&, Fields& fields, const Json& value, const std::string& where) -> Action {
                return readPan(fields, value, where);
            } },
        { "press",
            [](Context&, Fields& fields, const Json& value, const std::string& where) -> Action {
                auto button = requireString(value, where, { "close", "clear", "reply", "open", "snooze", "stop" });
                return Press { button, fields.string("on") };
            } },
        { "type",
            [](Context&, Fields&, const Json& value, const std::string& where) -> Action {
                if (!value.is_string())
                    fail(where + " must be the text to type, not " + kindOf(value));
                return TypeText { value.get<std::string>() };
            } },
        { "key",
            [](Context&, Fields&, const Json& value, const std::string& where) -> Action {
                return Key { requireString(value, where, { "send" }) };
            } },
        { "tapBackdrop",
            [](Context&, Fields& fields, const Json& value, const std::string& where) -> Action {
                requireTrue(value, where);
                return TapBackdrop { fields.string("on") };
            } },
        { "button",
            [](Context& context, Fields&, const Json& value, const std::string& where) -> Action {
                Button button;
                readObject(context, value, where, buttonFields, button);
                return button;
            } },
        { "grabber",
            [](Context& context, Fields&, const Json& value, const std::string& where) -> Action {
                Grabber grabber;
                readObject(context, value, where, grabberFields, grabber);
                return grabber;
            } },
        { "lock",
            [](Context&, Fields&, const Json& value, const std::string& where) -> Action {
                requireTrue(value, where);
                return Lock {};
            } },
        { "style",
            [](Context&, Fields&, const Json& value, const std::string& where) -> Action {
                if (!value.is_string())
                    fail(where + " must be \"light\" or \"dark\", not " + kindOf(value));
                return Style { readStyle(value.get<std::string>(), where) };
            } },
        { "preferences",
            [](Context&, Fields&, const Json& value, const std::string& where) -> Action {
                return SetPreferences { readPreferences(value, where) };
            } },
        { "settings",
            [](Context&, Fields&, const Json& value, const std::string& where) -> Action {
                return SettingsAction { requireString(value, where, { "testBanner", "respring", "reset" }) };
            } },
        { "launch",
            [](Context&, Fields&, const Json& value, const std::string& where) -> Action {
                return Launch { requireText(value, where, " must be an app's bundle identifier") };
            } },
        { "quit",
            [](Context&, Fields&, const Json& value, const std::string& where) -> Action {
                return Quit { requireText(value, where, " must be an app's bundle identifier") };
            } },
        { "wait",
            [](Context&, Fields&, const Json& value, const std::string& where) -> Action {
                if (!value.is_number() || value.get<double>() < 0 || !std::isfinite(value.get<double>()))
                    fail(where + " must be a number of seconds, 0 or more");
                return Wait { value.get<double>() };
            } },
        { "snapshot",
            [](Context&, Fields&, const Json& value, const std::string& where) -> Action {
                return Snapshot { readSnapshotName(value, where) };
            } },
        { "inspect",
            [](Context&, Fields&, const Json& value, const std::string& where) -> Action {
                return Inspect { requireText(value, where, " must be the id of a notification") };
            } },
        { "expect",
            [](Context&, Fields&, const Json& value, const std::string& where) -> Action {
                return readExpect(value, where, false);
            } },
        { "expectNot",
            [](Context&, Fields&, const Json& value, const std::string& where) -> Action {
                return readExpect(value, where, true);
            } },
        { "touch",
            [](Context&, Fields& fields, const Json& value, const std::string& where) -> Action {
                return readTouch(fields, value, where);
            } },
        { "tapAt",
            [](Context&, Fields&, const Json& value, const std::string& where) -> Action {
                auto point = readPoint(value, where);
                return TapAt { point.first, point.second };
            } },
        { "keys",
            [](Context&, Fields&, const Json& value, const std::string& where) -> Action {
                if (!value.is_string() || value.get<std::string>().empty())
                    fail(where + " must be the keys to press (a non-empty string), not " + value.dump());
                return Keys { value.get<std::string>() };
            } },
    };

    // The one kind of step the object is.
    const ActionKind& actionKind(const Json& step, const std::string& prefix)
    {
        const ActionKind* found = nullptr;
        for (auto& kind : actionKinds) {
            if (!step.contains(kind.key))
                continue;
            if (found)
                fail(prefix + " has both " + inQuotes(found->key) + " and " + inQuotes(kind.key)
                    + "; a step does one thing");
            found = &kind;
        }
        if (!found) {
            std::string known;
            for (auto& kind : actionKinds)
                known += (known.empty() ? "" : ", ") + std::string(kind.key);
            fail(prefix + " does nothing: it needs one of " + known);
        }
        return *found;
    }

} // namespace

void readSteps(Context& context, const Json& json)
{
    if (!json.is_array())
        fail("steps must be an array, not " + kindOf(json));
    double previousEnd = 0;
    for (size_t index = 0; index < json.size(); ++index) {
        size_t number = index + 1;
        std::string prefix = "step " + std::to_string(number);
        Fields fields(json[index], prefix);
        Step step;
        step.number = number;
        step.time = readTime(fields, prefix, previousEnd);
        auto& kind = actionKind(json[index], prefix);
        step.kind = kind.key;
        step.action = kind.read(context, fields, *fields.take(kind.key), prefix + ": " + step.kind);
        fields.finish();
        previousEnd = step.time + stepLength(step);
        context.scenario.steps.push_back(std::move(step));
    }
}

} // namespace tools::scenario::parser
