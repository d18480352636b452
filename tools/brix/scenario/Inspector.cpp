#include "tools/brix/scenario/Inspector.h"

#include <cmath>

#include "platform/device/Device.h"
#include "platform/device/Json.h"
#include "platform/foundation/Text.h"
#include "platform/runtime/Send.h"
#include "platform/springboard/BannerPresenter.h"
#include "platform/springboard/NCNotificationViewController.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"

namespace tools::scenario {

using foundation::Value;
using runtime::Object;
using runtime::Ref;

namespace {

    using ObjectRef = Ref<Object>;

    // Numbers as the trace writes them: to the microsecond, whole ones as integers.
    Json number(double value)
    {
        double rounded = std::round(value * 1e6) / 1e6;
        if (rounded == std::floor(rounded) && std::fabs(rounded) < 9.0e15)
            return static_cast<int64_t>(rounded);
        return rounded;
    }

    bool responds(Object* object, runtime::Selector selector)
    {
        return object && object->isa()->respondsToSelector(selector);
    }

    template <typename T> Json askIfResponds(Object* object, runtime::Selector selector)
    {
        if (!responds(object, selector))
            return nullptr;
        if constexpr (std::is_same_v<T, double>)
            return number(runtime::send<double>(object, selector));
        else if constexpr (std::is_same_v<T, Value>)
            return device::toJson(runtime::send<Value>(object, selector));
        else
            return runtime::send<T>(object, selector);
    }

    ObjectRef objectIvar(Object* object, std::string_view name)
    {
        auto* field = runtime::ivarPointer<ObjectRef>(object, name);
        return field ? *field : nullptr;
    }

    Json valueIvar(Object* object, std::string_view name)
    {
        auto* field = runtime::ivarPointer<Value>(object, name);
        return field ? device::toJson(*field) : Json(nullptr);
    }

    // The bold character ranges of a label's text, [start, length] in UTF-16 units.
    Json boldRanges(Object* label)
    {
        Json ranges = Json::array();
        auto text = runtime::send<Value>(label, SEL("text"));
        auto labelFont = runtime::sendIfResponds<ObjectRef>(label, SEL("font"));
        bool labelBold
            = dynamic_cast<uikit::UIFont*>(labelFont.get()) && static_cast<uikit::UIFont*>(labelFont.get())->isBold();
        auto attributed = runtime::sendIfResponds<ObjectRef>(label, SEL("attributedText"));
        auto* string = dynamic_cast<uikit::NSAttributedString*>(attributed.get());
        uint64_t length = string ? string->length() : foundation::text::utf16Length(text.string());
        uint64_t index = 0;
        while (index < length) {
            uikit::Range run { index, length - index };
            bool bold = labelBold;
            if (string) {
                auto font = string->attribute(uikit::NSAttributedString::fontAttributeName, index, &run);
                if (auto* uiFont = dynamic_cast<uikit::UIFont*>(font.object()))
                    bold = uiFont->isBold();
            }
            uint64_t end = std::max(run.location + run.length, index + 1);
            if (bold) {
                if (!ranges.empty() && ranges.back()[0].get<uint64_t>() + ranges.back()[1].get<uint64_t>() == index)
                    ranges.back()[1] = end - ranges.back()[0].get<uint64_t>();
                else
                    ranges.push_back({ index, end - index });
            }
            index = end;
        }
        return ranges;
    }

    Json labelState(const ObjectRef& label)
    {
        if (!label)
            return nullptr;
        return {
            { "text", device::toJson(runtime::sendIfResponds<Value>(label.get(), SEL("text"))) },
            { "lines", askIfResponds<int64_t>(label.get(), SEL("_measuredNumberOfLines")) },
            { "numberOfLines", askIfResponds<int64_t>(label.get(), SEL("numberOfLines")) },
            { "bold", boldRanges(label.get()) },
        };
    }

    // A view's frame on the screen.
    Json screenFrame(Object* object)
    {
        auto* view = dynamic_cast<uikit::UIView*>(object);
        if (!view)
            return nullptr;
        auto frame = view->frame();
        auto origin = view->superview() ? view->superview()->pointOnScreen(frame.origin) : frame.origin;
        return { number(origin.x), number(origin.y), number(frame.width()), number(frame.height()) };
    }

    // "glyphs/black/whatsapp" for a glyph of the asset bundle, "appIcon" for the
    // picture the banner was constructed with.
    Json badgeImage(Object* banner, Object* badge)
    {
        auto image = runtime::sendIfResponds<ObjectRef>(badge, SEL("image"));
        if (!image)
            return nullptr;
        if (image == objectIvar(banner, "image"))
            return "appIcon";
        std::string path;
        if (auto* uiImage = dynamic_cast<uikit::UIImage*>(image.get()))
            path = uiImage->path();
        auto glyphs = path.rfind("/glyphs/");
        if (glyphs == std::string::npos)
            return "image";
        auto name = path.substr(glyphs + 1);
        if (auto dot = name.rfind('.'); dot != std::string::npos)
            name.erase(dot);
        return name;
    }

    Json badgeState(Object* banner)
    {
        auto badge = objectIvar(banner, "appDetailImage");
        if (!badge)
            return nullptr;
        bool icon = runtime::sendIfResponds<bool>(banner, SEL("useIconsInsteadOfGlyphs"));
        return { { "variant", icon ? "icon" : "glyph" }, { "image", badgeImage(banner, badge.get()) } };
    }

    Json buttonsState(Object* banner)
    {
        static constexpr std::pair<const char*, const char*> buttons[]
            = { { "snooze", "snoozeButton" }, { "stop", "stopAlarmButton" }, { "close", "closeButton" },
                  { "clear", "clearButton" }, { "reply", "replyButton" } };
        Json list = Json::array();
        for (auto& [name, field] : buttons) {
            auto button = objectIvar(banner, field);
            if (!button)
                continue;
            list.push_back({
                { "name", name },
                { "title",
                    device::toJson(runtime::sendIfResponds<Value>(button.get(), SEL("titleForState:"), uint64_t(0))) },
                { "hidden", askIfResponds<bool>(button.get(), SEL("isHidden")) },
                { "enabled", askIfResponds<bool>(button.get(), SEL("isEnabled")) },
            });
        }
        return list;
    }

    Json alphaOf(const ObjectRef& view)
    {
        return view ? askIfResponds<double>(view.get(), SEL("alpha")) : Json(nullptr);
    }

    double constantOf(const ObjectRef& constraint)
    {
        return runtime::sendIfResponds<double>(constraint.get(), SEL("constant"));
    }

} // namespace

Inspector::Inspector(device::Process* homeScreen)
    : m_process(homeScreen)
{
}

Json Inspector::inspect(const std::string& id) const
{
    Json event = { { "id", id }, { "controller", nullptr }, { "holdFlag", holdFlag() }, { "banner", nullptr } };
    if (!m_process)
        return event;
    Ref<Object> controller(springboard::BannerPresenter::of(*m_process).controllerForNotification(id));
    if (!controller)
        return event;
    event["controller"] = controllerState(controller.get());
    if (auto banner = runtime::sendIfResponds<ObjectRef>(controller.get(), SEL("brixView")))
        event["banner"] = bannerState(banner.get());
    return event;
}

Json Inspector::controllerState(Object* controller) const
{
    return {
        { "brixIdentifier", askIfResponds<Value>(controller, SEL("brixIdentifier")) },
        { "partOfBanner", askIfResponds<bool>(controller, SEL("isPartOfBanner")) },
        { "hasDismissed", askIfResponds<bool>(controller, SEL("hasDismissed")) },
        { "autoDimissTriggered", askIfResponds<bool>(controller, SEL("autoDimissTriggered")) },
        { "isDismissing", askIfResponds<bool>(controller, SEL("isDismissing")) },
        { "wasExternallyDismissed", askIfResponds<bool>(controller, SEL("wasExternallyDismissed")) },
        { "dismissCalled", askIfResponds<bool>(controller, SEL("dismissCalled")) },
    };
}

Json Inspector::holdFlag() const
{
    auto* cls = m_process ? m_process->runtime().classNamed("BrixContainer") : nullptr;
    return askIfResponds<bool>(cls, SEL("DismissNotification"));
}

Json Inspector::bannerState(Object* banner) const
{
    // The state is read after layout, as the screen would show it.
    if (auto* view = dynamic_cast<uikit::UIView*>(banner); view && view->window())
        runtime::sendIfResponds(view->window(), SEL("layoutIfNeeded"));
    auto colors = runtime::sendIfResponds<ObjectRef>(banner, SEL("colorSet"));
    auto backdrop = objectIvar(banner, "keyboardBackdrop");
    auto leading = objectIvar(banner, "brixHeaderLeadingConstraint");
    return {
        { "offset", askIfResponds<double>(banner, SEL("offset")) },
        { "height", askIfResponds<double>(banner, SEL("height")) },
        { "frame", screenFrame(banner) },
        { "header", valueIvar(banner, "header") },
        { "subheader", valueIvar(banner, "subHeader") },
        { "body", valueIvar(banner, "body") },
        { "headerLabel", labelState(runtime::sendIfResponds<ObjectRef>(banner, SEL("headerLabel"))) },
        { "bodyLabel", labelState(runtime::sendIfResponds<ObjectRef>(banner, SEL("bodyLabel"))) },
        { "subHeaderLabel", labelState(runtime::sendIfResponds<ObjectRef>(banner, SEL("subHeaderLabel"))) },
        { "tiny", askIfResponds<bool>(banner, SEL("tinyBanner")) },
        { "colorMode", askIfResponds<uint64_t>(colors.get(), SEL("mode")) },
        { "barTop", askIfResponds<int64_t>(banner, SEL("barTop")) },
        { "appCornerRadius", askIfResponds<int64_t>(banner, SEL("appCornerRadius")) },
        { "badge", badgeState(banner) },
        { "textLeading", leading ? number(constantOf(leading)) : Json(nullptr) },
        { "buttons", buttonsState(banner) },
        { "buttonsAlpha", alphaOf(objectIvar(banner, "buttonStackView")) },
        { "replyAlpha", alphaOf(runtime::sendIfResponds<ObjectRef>(banner, SEL("reply"))) },
        { "showingReply",
            runtime::ivarPointer<bool>(banner, "showingReply")
                ? Json(*runtime::ivarPointer<bool>(banner, "showingReply"))
                : Json(nullptr) },
        { "showingAllLines", askIfResponds<bool>(banner, SEL("showingAllLines")) },
        { "maxLineCount", askIfResponds<int64_t>(banner, SEL("maxLineCount")) },
        { "backdrop",
            backdrop ? Json { { "hidden", askIfResponds<bool>(backdrop.get(), SEL("isHidden")) },
                { "alpha", alphaOf(backdrop) } }
                     : Json(nullptr) },
    };
}

} // namespace tools::scenario
