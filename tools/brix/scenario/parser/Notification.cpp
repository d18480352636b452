// A notification a step shows, with its actions and options.

#include "tools/brix/scenario/parser/Sections.h"

namespace tools::scenario::parser {

namespace {

    // Supplementary actions by layout: { "layout": [action ids] }.
    void readSupplementary(Context&, Notification& notification, const Json& json, const std::string& where)
    {
        Fields layouts(json, where);
        for (auto& [key, list] : json.items()) {
            layouts.take(key);
            if (!list.is_array())
                fail(layouts.name(key) + " must be an array of action ids, not " + kindOf(list));
            std::vector<std::string> ids;
            for (auto& id : list) {
                if (!id.is_string())
                    fail(layouts.name(key) + " must hold action ids (strings), not " + kindOf(id));
                ids.push_back(id.get<std::string>());
            }
            notification.supplementaryActions.emplace_back(key, std::move(ids));
        }
    }

    const Field<Notification> actionFields[] = {
        { "clear", Kind::String, assign<&Notification::clearAction> },
        { "close", Kind::String, assign<&Notification::closeAction> },
        { "silence", Kind::String, assign<&Notification::silenceAction> },
        // Null: a tap performs nothing.
        { "default", Kind::StringOrNull, assign<&Notification::defaultAction> },
        { "supplementary", Kind::Any, readSupplementary },
    };

    const Field<Notification> optionFields[] = {
        { "dismissAutomatically", Kind::Boolean, assign<&Notification::dismissAutomatically> },
    };

    const Field<Notification> notificationFields[] = {
        { "id", Kind::String,
            [](Context& context, Notification& notification, const Json& value, const std::string& name) {
                auto id = value.get<std::string>();
                if (id.empty())
                    fail(name + " is empty");
                if (!context.scenario.notificationIds.insert(id).second)
                    fail(name + " " + inQuotes(id) + " is used by another notification");
                notification.id = id;
            } },
        { "app", Kind::StringOrNull, assign<&Notification::app> },
        { "title", Kind::StringOrNull, assign<&Notification::title> },
        { "subtitle", Kind::StringOrNull, assign<&Notification::subtitle> },
        { "message", Kind::StringOrNull, assign<&Notification::message> },
        { "summary", Kind::StringOrNull, assign<&Notification::summary> },
        { "thread", Kind::StringOrNull, assign<&Notification::thread> },
        { "userInfo", Kind::Any,
            [](Context&, Notification& notification, const Json& value, const std::string& name) {
                if (!value.is_object())
                    fail(name + " must be an object, not " + kindOf(value));
                notification.userInfo = toValue(value, name, Nulls::Allowed);
            } },
        { "icon", Kind::StringOrNull, assignFixture<&Notification::icon> },
        { "appIcon", Kind::StringOrNull, assignFixture<&Notification::appIcon> },
        { "actions", Kind::Any,
            [](Context& context, Notification& notification, const Json& value, const std::string& name) {
                readObject(context, value, name, actionFields, notification);
            } },
        // Null: the request has no options object at all.
        { "options", Kind::Any,
            [](Context& context, Notification& notification, const Json& value, const std::string& name) {
                if (value.is_null())
                    notification.hasOptions = false;
                else
                    readObject(context, value, name, optionFields, notification);
            } },
    };

} // namespace

Notification readNotification(Context& context, const Json& json, const std::string& where)
{
    Notification notification;
    readObject(context, json, where, notificationFields, notification);
    return notification;
}

} // namespace tools::scenario::parser
