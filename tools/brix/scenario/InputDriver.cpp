#include "tools/brix/scenario/InputDriver.h"

#include <algorithm>

#include "platform/device/Device.h"
#include "platform/runtime/Send.h"
#include "platform/springboard/SBGrabberTongue.h"
#include "platform/springboard/SpringBoard.h"
#include "platform/springboard/SpringBoardState.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UIPress.h"
#include "platform/uikit/UIPressesEvent.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UIWindow.h"

namespace tools::scenario {

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using uikit::Point;
using uikit::UIView;

namespace {

    constexpr uint64_t touchUpInside = 64;
    // Views more transparent than this take no touches, as on the platform.
    constexpr double touchableAlpha = 0.01;

    bool isTouchable(const UIView& view)
    {
        return !view.isHidden() && view.alpha() >= touchableAlpha && view.isUserInteractionEnabled();
    }

    // Where a view lies in the root of its hierarchy (its window).
    uikit::Rect frameInWindow(const UIView& view)
    {
        auto frame = view.frame();
        const UIView* root = &view;
        while (root->superview())
            root = root->superview();
        if (auto* superview = view.superview())
            frame.origin = root->pointFromScreen(superview->pointOnScreen(frame.origin));
        return frame;
    }

    // The deepest touchable view under `point` (window coordinates). Views are
    // searched front to back; a subview reaching outside its superview still
    // takes the touches that land on it.
    UIView* deepestViewAt(UIView& view, Point point, Point origin)
    {
        if (!isTouchable(view))
            return nullptr;
        auto& subviews = view.subviews();
        for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
            auto& child = **it;
            Point childOrigin { origin.x + child.frame().origin.x - view.bounds().origin.x,
                origin.y + child.frame().origin.y - view.bounds().origin.y };
            if (auto* hit = deepestViewAt(child, point, childOrigin))
                return hit;
        }
        auto size = view.bounds().size;
        bool inside = point.x >= origin.x && point.x < origin.x + size.width && point.y >= origin.y
            && point.y < origin.y + size.height;
        return inside ? &view : nullptr;
    }

    // Whether the user can see the view and reach it with a finger.
    bool isReachable(const UIView& view)
    {
        if (!view.window())
            return false;
        for (const UIView* current = &view; current; current = current->superview()) {
            if (!isTouchable(*current))
                return false;
        }
        return true;
    }

    template <typename Recognizer> Recognizer* firstRecognizer(UIView& view)
    {
        for (auto& recognizer : view.gestureRecognizers()) {
            if (auto* match = dynamic_cast<Recognizer*>(recognizer.get()); match && match->isEnabled())
                return match;
        }
        return nullptr;
    }

    void runDueWork(device::Process& process)
    {
        process.device().scheduler().runDue();
    }

} // namespace

InputDriver::InputDriver(device::Process& homeScreen)
    : m_process(&homeScreen)
{
}

// The banner the user sees for a controller: Brix's when it has one on screen, else the system's view.
UIView* InputDriver::bannerView(Object* controller) const
{
    for (const char* selector : { "brixView", "view" }) {
        auto sel = runtime::Selector::named(selector);
        if (!controller || !controller->isa()->respondsToSelector(sel))
            continue;
        auto* view = dynamic_cast<UIView*>(runtime::send<Ref<Object>>(controller, sel).get());
        if (view && view->window())
            return view;
    }
    return nullptr;
}

template <typename Recognizer> Recognizer* InputDriver::recognizerUnderTouch(Object* controller) const
{
    UIView* banner = bannerView(controller);
    if (!banner)
        return nullptr;
    UIView* window = banner->window();
    auto frame = frameInWindow(*banner);
    auto screen = window->bounds();
    double left = std::max(frame.origin.x, 0.0);
    double top = std::max(frame.origin.y, 0.0);
    double right = std::min(frame.origin.x + frame.width(), screen.width());
    double bottom = std::min(frame.origin.y + frame.height(), screen.height());
    if (right <= left || bottom <= top)
        return nullptr;
    Point touch { (left + right) / 2, (top + bottom) / 2 };
    for (UIView* view = deepestViewAt(*window, touch, {}); view; view = view->superview()) {
        if (auto* recognizer = firstRecognizer<Recognizer>(*view))
            return recognizer;
    }
    return nullptr;
}

InputDriver::Delivery InputDriver::tap(Object* controller) const
{
    Ref<uikit::UITapGestureRecognizer> recognizer(recognizerUnderTouch<uikit::UITapGestureRecognizer>(controller));
    if (!recognizer)
        return {};
    return [recognizer] { recognizer->recognizeTap(); };
}

InputDriver::Delivery InputDriver::pan(Object* controller, const Pan& pan) const
{
    using State = uikit::UIGestureRecognizer::State;
    Ref<uikit::UIPanGestureRecognizer> recognizer(recognizerUnderTouch<uikit::UIPanGestureRecognizer>(controller));
    if (!recognizer)
        return {};
    auto* process = m_process;
    return [recognizer, pan, process] {
        // Each movement is one turn of the main loop; work it causes runs before the next.
        for (size_t index = 0; index < pan.translations.size(); ++index) {
            recognizer->setTranslation({ 0, pan.translations[index] });
            recognizer->setState(index == 0 ? State::Began : State::Changed);
            runDueWork(*process);
        }
        if (pan.end == Pan::End::StillDown)
            return;
        recognizer->setState(pan.end == Pan::End::Ended ? State::Ended : State::Cancelled);
        recognizer->setState(State::Possible);
    };
}

InputDriver::Delivery InputDriver::press(Object* controller, const std::string& button) const
{
    static constexpr std::pair<const char*, const char*> fields[]
        = { { "close", "closeButton" }, { "clear", "clearButton" }, { "reply", "replyButton" },
              { "open", "replyButton" }, { "snooze", "snoozeButton" }, { "stop", "stopAlarmButton" } };
    auto banner = runtime::sendIfResponds<Ref<Object>>(controller, SEL("brixView"));
    const char* field = nullptr;
    for (auto& [name, ivar] : fields) {
        if (button == name)
            field = ivar;
    }
    auto* stored = field ? runtime::ivarPointer<Ref<Object>>(banner.get(), field) : nullptr;
    Ref<UIView> target(stored ? dynamic_cast<UIView*>(stored->get()) : nullptr);
    if (!target || !isReachable(*target) || !runtime::sendIfResponds<bool>(target.get(), SEL("isEnabled")))
        return {};
    return [target] { runtime::send(target.get(), SEL("sendActionsForControlEvents:"), touchUpInside); };
}

InputDriver::Delivery InputDriver::tapBackdrop(Object* controller) const
{
    auto banner = runtime::sendIfResponds<Ref<Object>>(controller, SEL("brixView"));
    auto* stored = runtime::ivarPointer<Ref<Object>>(banner.get(), "keyboardBackdrop");
    auto* backdrop = stored ? dynamic_cast<UIView*>(stored->get()) : nullptr;
    if (!backdrop || !isReachable(*backdrop))
        return {};
    Ref<uikit::UITapGestureRecognizer> recognizer(firstRecognizer<uikit::UITapGestureRecognizer>(*backdrop));
    if (!recognizer)
        return {};
    return [recognizer] { recognizer->recognizeTap(); };
}

// The first responder of the key window, when it is a text field.
uikit::UITextField* InputDriver::focusedField() const
{
    auto* window = uikit::UIKitState::of(*m_process).keyWindow();
    return window ? dynamic_cast<uikit::UITextField*>(window->firstResponder()) : nullptr;
}

InputDriver::Delivery InputDriver::typeText(const std::string& text) const
{
    Ref<uikit::UITextField> field(focusedField());
    if (!field)
        return {};
    return [field, text] { runtime::send(field.get(), SEL("insertText:"), Value(text)); };
}

InputDriver::Delivery InputDriver::sendKey() const
{
    Ref<uikit::UITextField> field(focusedField());
    if (!field)
        return {};
    return [field] { field->pressReturnKey(); };
}

bool InputDriver::physicalButton(int64_t type, double force) const
{
    Object* application = springboard::SpringBoardState::of(*m_process).startUpObjects().application.get();
    auto press = uikit::UIPress::make(m_process->runtime(), type, force);
    auto event = uikit::UIPressesEvent::make(*m_process, { press });
    return runtime::sendIfResponds<bool>(
        application, SEL("_handlePhysicalButtonEvent:"), static_cast<Object*>(event.get()));
}

bool InputDriver::dismissGrabber(int64_t style, bool animated) const
{
    Object* object = springboard::SpringBoardState::of(*m_process).startUpObjects().grabberTongue.get();
    // The tongue shows before the system takes it away.
    runtime::sendIfResponds(object, SEL("presentAnimated:"), false);
    return runtime::sendIfResponds<bool>(object, SEL("dismissWithStyle:animated:"), style, animated);
}

void InputDriver::lock() const
{
    auto* cls = m_process->runtime().classNamed("SBLockScreenManager");
    auto manager = runtime::sendIfResponds<Ref<Object>>(cls, SEL("sharedInstance"));
    runtime::sendIfResponds(manager.get(), SEL("lockUIFromSource:withOptions:"), int64_t(1), Value::dictionary());
}

} // namespace tools::scenario
