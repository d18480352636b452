#pragma once

#include <vector>

#include "platform/runtime/Runtime.h"
#include "platform/uikit/Forward.h"

namespace device {
class Process;
}

namespace uikit {

// Recognises a gesture in the touches of its view and tells its targets.
// Targets are not owned (a recognizer must not keep its controller alive);
// the view is referred to weakly.
class UIGestureRecognizer : public runtime::NSObject {
public:
    enum class State : int64_t { Possible = 0, Began = 1, Changed = 2, Ended = 3, Cancelled = 4, Failed = 5 };

    using NSObject::NSObject;

    UIView* view() const;
    void setView(UIView*);

    void addTarget(runtime::Object* target, runtime::Selector action);
    // A nil target or a null action matches every target or action.
    void removeTarget(runtime::Object* target, runtime::Selector action);
    size_t targetCount() const { return m_targets.size(); }

    State state() const { return m_state; }
    // Moves to `state`; every state a gesture reports (began, changed, ended,
    // cancelled) sends each live target its action, with the recognizer as
    // argument when the action takes one. A disabled recognizer stays put.
    void setState(State);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool);

    // Touches as the finger moves, from the process's touch delivery. A
    // recognizer changes state from them; the base class does nothing.
    virtual void touchesBegan(UITouch&) { }
    virtual void touchesMoved(UITouch&) { }
    virtual void touchesEnded(UITouch&) { }
    virtual void touchesCancelled(UITouch&) { }
    // Whether recognizing the gesture cancels the touches of the view under it.
    bool cancelsTouchesInView() const { return m_cancelsTouchesInView; }
    void setCancelsTouchesInView(bool cancels) { m_cancelsTouchesInView = cancels; }

    static void registerClass(device::Process&);

protected:
    // How far a finger may move before a tap becomes a drag, in points.
    static constexpr double allowableMovement = 10;

private:
    struct Target {
        runtime::WeakRef<runtime::Object> object;
        runtime::Selector action;
    };

    void sendActions();

    std::vector<Target> m_targets;
    runtime::WeakRef<UIView> m_view;
    State m_state { State::Possible };
    bool m_enabled { true };
    bool m_cancelsTouchesInView { true };
};

} // namespace uikit
