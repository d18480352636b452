#pragma once

#include <vector>

#include "platform/uikit/UIView.h"

namespace uikit {

// A view that turns touches into control events and sends each event's
// actions to its targets. Targets are not owned; a nil target sends the
// action along the responder chain, from the control, to the first
// responder that answers it. An action without arguments is sent bare, one
// with an argument gets the control, one with two gets the control and nil.
//
// Messages: addTarget:action:forControlEvents:, removeTarget:action:forControlEvents:,
// sendActionsForControlEvents:, isEnabled, enabled, setEnabled:, isSelected,
// setSelected:, isHighlighted, setHighlighted:, state, contentVerticalAlignment,
// setContentVerticalAlignment:.
class UIControl : public UIView {
public:
    // UIControlEvents.
    enum Event : uint64_t {
        TouchDown = 1 << 0,
        TouchUpInside = 1 << 6,
        TouchUpOutside = 1 << 7,
        TouchCancel = 1 << 8,
        ValueChanged = 1 << 12,
        PrimaryActionTriggered = 1 << 13,
        EditingDidBegin = 1 << 16,
        EditingChanged = 1 << 17,
        EditingDidEnd = 1 << 18,
        EditingDidEndOnExit = 1 << 19,
    };
    // UIControlState.
    enum State : uint64_t { Normal = 0, Highlighted = 1 << 0, Disabled = 1 << 1, Selected = 1 << 2 };

    using UIView::UIView;

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool);
    bool isSelected() const { return m_selected; }
    void setSelected(bool);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool);
    uint64_t state() const;

    // UIControlContentVerticalAlignment: center 0, top 1, bottom 2, fill 3.
    int64_t contentVerticalAlignment() const { return m_contentVerticalAlignment; }
    void setContentVerticalAlignment(int64_t);

    // Registers `action` of `target` for every event of `events`; a second
    // registration of the same pair only adds events.
    void addTarget(runtime::Object* target, runtime::Selector action, uint64_t events);
    // Takes `events` away from the pairs that match: a nil target or null
    // action matches any.
    void removeTarget(runtime::Object* target, runtime::Selector action, uint64_t events);
    bool hasActions(uint64_t events) const;

    // Sends, in the order of registration, the action of every registration
    // that takes any of `events`. Like the platform, a disabled control
    // sends too when asked directly; only touches respect the state.
    void sendActionsForControlEvents(uint64_t events);

    // A user's tap that ends inside the control: touch-up-inside, unless the
    // control is disabled, hidden, without user interaction or inside a
    // view that is. Answers whether the control took it.
    bool tap();

    static void registerClass(device::Process&);

protected:
    // A finger that went down on the control lifted inside it at `point`
    // (the control's coordinates): touch-up-inside. A switch toggles, a
    // segmented control selects the segment there.
    virtual void touchUpInside(Point point);
    // The finger moved to `point` while tracking; a slider follows it.
    virtual void trackTouch(Point) { }
    // Whether a touch can reach the control: it and every view above it are
    // shown, take touches and are not fully transparent, and it is enabled.
    bool canTakeTouches() const;
    // The enabled, selected or highlighted state or the content alignment changed.
    virtual void controlStateDidChange() { }

private:
    struct Registration {
        runtime::WeakRef<runtime::Object> target;
        bool hasTarget;
        runtime::Selector action;
        uint64_t events;
    };

    void sendAction(const Registration&);
    void touchesBegan(const foundation::Value& touches, runtime::Object* event);
    void touchesMoved(const foundation::Value& touches);
    void touchesEnded(const foundation::Value& touches);
    void touchesCancelled();

    std::vector<Registration> m_registrations;
    bool m_enabled { true };
    bool m_selected { false };
    bool m_highlighted { false };
    bool m_tracking { false };
    int64_t m_contentVerticalAlignment { 0 };
};

} // namespace uikit
