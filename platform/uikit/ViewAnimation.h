#pragma once

#include <memory>

#include "platform/device/Forward.h"
#include "platform/runtime/Types.h"
#include "platform/uikit/Geometry.h"

namespace uikit {

class UIView;

// The views and properties one `animateWithDuration:...` call animated, and
// its completion. The completion runs exactly once, on the main queue of the
// process that animated: with YES when the duration has passed on the device
// clock, or with NO on the turn after the animation is cut short (a view of
// it left its window, or a newer animation of one of its properties replaced
// it), whichever comes first.
class AnimationGroup {
public:
    AnimationGroup(device::DispatchQueue&, double startTime, double duration, runtime::Block<void(bool)> completion);

    double startTime() const { return m_startTime; }
    double duration() const { return m_duration; }
    bool isFinished() const { return m_finished; }

    void cutShort();
    // The duration has passed.
    void finish();

private:
    void complete(bool finished);

    device::DispatchQueue* m_queue;
    double m_startTime;
    double m_duration;
    runtime::Block<void(bool)> m_completion;
    bool m_finished { false };
};

// One animated property of one view: where it started, where it goes, and
// the group whose timing it follows.
struct PropertyAnimation {
    enum class Property { Frame, Alpha };

    Property property;
    Rect fromFrame;
    Rect toFrame;
    double fromAlpha { 1 };
    double toAlpha { 1 };
    std::shared_ptr<AnimationGroup> group;

    // How far along the animation is at `time`, after the platform's default
    // ease-in-ease-out curve: 0 before it starts, 1 once it is over.
    double progress(double time) const;
};

// Runs `animations` at once with every frame and alpha change it makes
// recorded as an animation over `duration` seconds of the device clock,
// starting after `delay`; `completion` (may be empty) then runs as
// AnimationGroup says. A duration or delay that is negative or not finite
// counts as zero.
void animate(device::Process&, double duration, const runtime::Block<void()>& animations,
    runtime::Block<void(bool)> completion, double delay = 0);
// Runs `changes` at once with nothing animated, even inside an animation block.
void performWithoutAnimation(const runtime::Block<void()>& changes);

// For rendering at `time` (the device scheduler's clock): a view's frame and
// alpha as the animations in flight show them; the model value when none is.
Rect presentationFrame(const UIView*, double time);
double presentationAlpha(const UIView*, double time);

// Called by UIView whenever a frame or alpha changes. Inside an animation
// block the change is recorded (a change replacing another group's
// animation of the property cuts that group short); outside, the property
// shows its new value at once.
void recordFrameChange(UIView&, const Rect& from, const Rect& to);
void recordAlphaChange(UIView&, double from, double to);

// Whether a view of the subtree shows an animation in flight at `time`: one
// that has started or will start, and has not reached its end. A live screen
// draws frames only while this holds.
bool isAnimating(const UIView& subtree, double time);

// Cuts short every animation of a view of the subtree: it leaves its window.
void cutShortAnimations(UIView& subtree);

} // namespace uikit
