// What a notification controller answers about its notification. The
// answers change nothing; attach, the guards, dismissal, gestures and the
// actions act on them.

#include <unicode/unistr.h>

#include "tweak/Brix.h"
#include "tweak/controller/BannerController.h"
#include "tweak/controller/ControllerHooks.h"

namespace brix::controller {

using runtime::Selector;
using runtime::send;
using runtime::sendIfResponds;

namespace {

    constexpr std::string_view bannerWindowClassName = "SBNotificationBannerWindow";
    constexpr std::string_view messagesBundleId = "com.apple.MobileSMS";
    constexpr std::string_view alarmBundleId = "com.apple.mobiletimer";
    constexpr std::string_view snoozeIdentifierPart = "MTAlarmSnoozeAction";

    bool sectionIs(Object* request, std::string_view bundleId)
    {
        Value section = send<Value>(request, SEL("sectionIdentifier"));
        return section.isString() && section.string() == bundleId;
    }

    // The system can show the request: its content container controller accepts it.
    bool canBeShown(Brix& brix, Object* request)
    {
        auto cls = brix.runtime().classNamed("NCNotificationContentContainerViewController");
        auto container = send<Ref<Object>>(runtime::alloc(cls), SEL("initWithNotificationRequest:"), request);
        return container != nullptr;
    }

    bool containsIgnoringCase(const std::string& text, std::string_view part)
    {
        auto folded = icu::UnicodeString::fromUTF8(text).foldCase();
        auto foldedPart = icu::UnicodeString::fromUTF8(icu::StringPiece(part.data(), part.size())).foldCase();
        return folded.indexOf(foldedPart) >= 0;
    }

    Value identifierOf(Object* action)
    {
        return sendIfResponds<Value>(action, SEL("identifier"));
    }

    bool isReplyAction(Object* action)
    {
        Value identifier = identifierOf(action);
        if (!identifier.isString())
            return false;
        const std::string& text = identifier.string();
        return containsIgnoringCase(text, "reply") || containsIgnoringCase(text, "message")
            || containsIgnoringCase(text, "send");
    }

    bool isSnoozeAction(Object* action)
    {
        Value identifier = identifierOf(action);
        return identifier.isString() && identifier.string().find(snoozeIdentifierPart) != std::string::npos;
    }

    Ref<Object> findReplyAction(Brix& brix, Object* request)
    {
        if (!request || !canBeShown(brix, request))
            return nullptr;
        Value actions = send<Value>(request, SEL("supplementaryActions"));
        for (auto& [key, array] : actions.entries()) {
            if (!array[0].object())
                continue;
            for (auto& item : array.items()) {
                if (isReplyAction(item.object()))
                    return item.object();
            }
        }
        return nullptr;
    }

    Value findAlarmActions(Brix& brix, Object* request)
    {
        if (!request || !canBeShown(brix, request))
            return {};
        Value result = Value::array();
        Value actions = send<Value>(request, SEL("supplementaryActions"));
        for (auto& [key, array] : actions.entries()) {
            Object* first = array[0].object();
            if (first && isSnoozeAction(first)) {
                result.append(Value(first));
                break;
            }
        }
        if (auto close = send<Ref<Object>>(request, SEL("closeAction")))
            result.append(Value(close));
        return result;
    }

    bool viewChainReachesBannerWindow(Object* view)
    {
        for (Ref<Object> current(view); current; current = send<Ref<Object>>(current, SEL("superview"))) {
            if (runtime::classNameOf(current.get()) == bannerWindowClassName)
                return true;
        }
        return false;
    }

} // namespace

Imp addShouldAutoDismiss(Brix&)
{
    return Imp::of([](Object* self, Selector) {
        auto request = notificationRequest(self);
        if (!request)
            return true;
        auto options = send<Ref<Object>>(request, SEL("options"));
        if (!options)
            return true;
        return send<bool>(options, SEL("dismissAutomatically"));
    });
}

Imp addGetAlarmActions(Brix& brix)
{
    return Imp::of([&brix](Object* self, Selector) { return findAlarmActions(brix, notificationRequest(self).get()); });
}

Imp addIsAlarm(Brix&)
{
    return Imp::of([](Object* self, Selector) {
        auto request = notificationRequest(self);
        return request && sectionIs(request, alarmBundleId);
    });
}

Imp addGetBundleId(Brix&)
{
    return Imp::of(
        [](Object* self, Selector) { return send<Value>(notificationRequest(self), SEL("sectionIdentifier")); });
}

Imp addCanReply(Brix& brix)
{
    return Imp::of([&brix](Object* self, Selector) {
        auto request = notificationRequest(self);
        if (!request)
            return false;
        return findReplyAction(brix, request) != nullptr || sectionIs(request, messagesBundleId);
    });
}

Imp addGetReplyAction(Brix& brix)
{
    return Imp::of(
        [&brix](Object* self, Selector) -> Ref<Object> { return findReplyAction(brix, notificationRequest(self)); });
}

// Only the banner window itself counts: a view in a subclass of it is not in a banner.
Imp addIsPartOfBanner(Brix&)
{
    return Imp::of([](Object* self, Selector) {
        return viewChainReachesBannerWindow(sendIfResponds<Ref<Object>>(self, SEL("viewIfLoaded")).get());
    });
}

} // namespace brix::controller
