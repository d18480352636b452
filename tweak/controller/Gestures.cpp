// One finger drags a banner: up to throw it away, down to expand it into its
// full form. The translation T of a drag is the total movement since the
// gesture began, positive downward.

#include "platform/uikit/Geometry.h"
#include "platform/uikit/UIGestureRecognizer.h"

#include "tweak/Brix.h"
#include "tweak/controller/BannerController.h"
#include "tweak/controller/ControllerHooks.h"

namespace brix::controller {

using runtime::Block;
using runtime::Selector;
using runtime::send;
using runtime::sendIfResponds;

namespace {

    using State = uikit::UIGestureRecognizer::State;

    constexpr std::string_view messagesBundleId = "com.apple.MobileSMS";
    constexpr int64_t expandedLineCount = 15;
    // The banner grows by a quarter of the finger's movement.
    constexpr double growthPerPoint = 0.25;

    double number(Object* banner, Selector selector)
    {
        return sendIfResponds<double>(banner, selector);
    }

    bool answers(Object* banner, Selector selector)
    {
        return sendIfResponds<bool>(banner, selector);
    }

    // Taller than compact, but neither at the expanded height nor showing all its lines.
    bool isPartlyExpanded(Object* banner)
    {
        return number(banner, SEL("height")) > number(banner, SEL("defaultHeight"))
            && !answers(banner, SEL("isFullyExpanded")) && !answers(banner, SEL("showingAllLines"));
    }

    void moveTopEdge(Object* controller, double translation, Object* banner, bool animated)
    {
        send(controller, SEL("dismissGestureHandler:forView:animated:completion:"), translation, banner, animated,
            Block<void(bool)> {});
    }

    void expand(Object* controller, double change, Object* banner, bool animated)
    {
        send(controller, SEL("expandGestureHandler:forView:animated:completion:"), change, banner, animated,
            Block<void(bool)> {});
    }

    void openingSteps(Brix& brix, Object* controller, Object* banner)
    {
        const Settings& settings = brix.settings();
        if (!settings.showButtons)
            sendIfResponds(banner, SEL("replyButtonPressed:"), static_cast<Object*>(nullptr));
        sendIfResponds(banner, SEL("setMaxLineCount:"), expandedLineCount);
        Value bundleId = send<Value>(controller, SEL("getBundleId"));
        if (bundleId.isString() && bundleId.string() == messagesBundleId && settings.messagesAutoReadMode == 1)
            sendIfResponds(controller, SEL("markMessagesAsRead"));
    }

    void dismiss(Brix& brix, Object* controller, Object* banner)
    {
        setHoldFlag(brix, true);
        sendIfResponds(sendIfResponds<Ref<Object>>(banner, SEL("reply")), SEL("setText:"), Value(""));
        send(controller, SEL("forceDismissNotificationForView:"), banner);
    }

    void settle(Brix& brix, Object* controller, Object* banner)
    {
        moveTopEdge(controller, 0, banner, true);
        openingSteps(brix, controller, banner);
    }

    // Asks for four times the distance between the compact and the expanded
    // height, which reaches the expanded height from anywhere above compact.
    void finishExpansion(Brix& brix, Object* controller, Object* banner)
    {
        double distance = number(banner, SEL("defaultExpandedHeight")) - number(banner, SEL("defaultHeight"));
        expand(controller, distance / growthPerPoint, banner, true);
        openingSteps(brix, controller, banner);
        auto current = brixView(controller);
        if (answers(current, SEL("enablePrivacy")))
            sendIfResponds(current, SEL("showContent"));
    }

    void gestureEnded(Brix& brix, Object* controller, Object* banner, double translation)
    {
        if (translation > 0 || isPartlyExpanded(banner))
            finishExpansion(brix, controller, banner);
        else if (translation > number(banner, SEL("defaultDismiss")))
            settle(brix, controller, banner);
        else
            dismiss(brix, controller, banner);
    }

    void followFinger(Object* controller, Object* banner, double translation)
    {
        if (translation > 0 || isPartlyExpanded(banner)) {
            moveTopEdge(controller, 0, banner, false);
            expand(controller, translation, banner, false);
            return;
        }
        moveTopEdge(controller, translation, banner, false);
    }

    void handlePan(Brix& brix, Object* controller, Object* recognizer)
    {
        if (flag(controller, Flag::IsDismissing))
            return;
        auto banner = sendIfResponds<Ref<Object>>(recognizer, SEL("view"));
        auto controllerView = sendIfResponds<Ref<Object>>(controller, SEL("view"));
        double translation
            = sendIfResponds<uikit::Point>(recognizer, SEL("translationInView:"), controllerView.get()).y;
        auto state = static_cast<State>(sendIfResponds<int64_t>(recognizer, SEL("state")));
        if (state == State::Ended || state == State::Cancelled)
            gestureEnded(brix, controller, banner, translation);
        else
            followFinger(controller, banner, translation);
    }

    void expandBanner(Brix& brix, double change, Object* banner, bool animated, Block<void(bool)> completion)
    {
        if (!banner)
            return;
        double height = number(banner, SEL("height"));
        double compact = number(banner, SEL("defaultHeight"));
        double expanded = number(banner, SEL("defaultExpandedHeight"));
        double target = height + change * growthPerPoint;
        double buttonsAlpha = 1 - (expanded - height) / (expanded - compact);
        // An expanded banner is held open: neither the timer nor the system closes it.
        if (target >= expanded) {
            target = expanded;
            buttonsAlpha = 1;
            setHoldFlag(brix, false);
        } else if (target <= compact) {
            target = compact;
            buttonsAlpha = 0;
            setHoldFlag(brix, true);
        }
        bool nothingToExpandInto = !answers(banner, SEL("canReply")) && !answers(banner, SEL("enableButtons"))
            && answers(banner, SEL("showingAllLines"));
        if (nothingToExpandInto)
            return;
        sendIfResponds(
            banner, SEL("updateBrixHeightConstraint:animated:completion:"), target, animated, std::move(completion));
        sendIfResponds(banner, SEL("setButtonsAlpha:"), buttonsAlpha);
    }

} // namespace

Imp addPanGestureHandler(Brix& brix)
{
    return Imp::of([&brix](Object* self, Selector, Object* recognizer) { handlePan(brix, self, recognizer); });
}

Imp addExpandGestureHandler(Brix& brix)
{
    return Imp::of([&brix](Object*, Selector, double change, Object* banner, bool animated,
                       Block<void(bool)> completion) { expandBanner(brix, change, banner, animated, completion); });
}

} // namespace brix::controller
