#include "platform/uikit/ViewAnimation.h"

#include <algorithm>
#include <cmath>

#include "platform/device/Process.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/ViewLayoutState.h"

namespace uikit {

using runtime::Ref;

namespace {

    // The group whose animation block is running, if any. Blocks run on the
    // thread that sends the message and may nest, like the platform's stack of
    // animation blocks; each block restores the group around it when it ends.
    thread_local std::shared_ptr<AnimationGroup>* currentGroupOwner = nullptr;

    class AnimationScope {
    public:
        explicit AnimationScope(std::shared_ptr<AnimationGroup>* group)
            : m_previous(currentGroupOwner)
        {
            currentGroupOwner = group;
        }
        ~AnimationScope() { currentGroupOwner = m_previous; }
        AnimationScope(const AnimationScope&) = delete;
        AnimationScope& operator=(const AnimationScope&) = delete;

    private:
        std::shared_ptr<AnimationGroup>* m_previous;
    };

    // The cubic Bézier (0.42, 0, 0.58, 1) of the platform's ease-in-ease-out curve.
    double easeInEaseOut(double t)
    {
        auto bezier = [](double a, double b, double s) {
            double u = 1 - s;
            return 3 * u * u * s * a + 3 * u * s * s * b + s * s * s;
        };
        // Solves x(s) = t by bisection; x is monotonic on [0, 1].
        double low = 0;
        double high = 1;
        for (int i = 0; i < 40; ++i) {
            double middle = (low + high) / 2;
            if (bezier(0.42, 0.58, middle) < t)
                low = middle;
            else
                high = middle;
        }
        return bezier(0, 1, (low + high) / 2);
    }

    double interpolate(double from, double to, double progress)
    {
        return from + (to - from) * progress;
    }

    Rect interpolate(const Rect& from, const Rect& to, double progress)
    {
        return makeRect(interpolate(from.origin.x, to.origin.x, progress),
            interpolate(from.origin.y, to.origin.y, progress), interpolate(from.size.width, to.size.width, progress),
            interpolate(from.size.height, to.size.height, progress));
    }

    const PropertyAnimation* findAnimation(const UIView* view, PropertyAnimation::Property property)
    {
        const ViewLayoutState* state = view ? view->existingLayoutState() : nullptr;
        if (!state)
            return nullptr;
        for (auto& animation : state->animations) {
            if (animation.property == property)
                return &animation;
        }
        return nullptr;
    }

    double now(const AnimationGroup& group)
    {
        return group.startTime();
    }

    // The animation of `property` the current block makes: a fresh one, the one
    // this block made already, or the one it replaces (whose group is cut short).
    PropertyAnimation& animationFor(UIView& view, PropertyAnimation::Property property)
    {
        auto& animations = view.layoutState().animations;
        auto it = std::find_if(
            animations.begin(), animations.end(), [&](auto& animation) { return animation.property == property; });
        if (it == animations.end()) {
            animations.push_back({ property, {}, {}, 1, 1, nullptr });
            return animations.back();
        }
        return *it;
    }

    void removeAnimation(UIView& view, PropertyAnimation::Property property)
    {
        if (ViewLayoutState* state = view.existingLayoutState())
            std::erase_if(state->animations, [&](auto& animation) { return animation.property == property; });
    }

} // namespace

AnimationGroup::AnimationGroup(
    device::DispatchQueue& queue, double startTime, double duration, runtime::Block<void(bool)> completion)
    : m_queue(&queue)
    , m_startTime(startTime)
    , m_duration(duration)
    , m_completion(std::move(completion))
{
}

void AnimationGroup::cutShort()
{
    complete(false);
}

void AnimationGroup::finish()
{
    complete(true);
}

void AnimationGroup::complete(bool finished)
{
    if (m_finished)
        return;
    m_finished = true;
    auto completion = std::move(m_completion);
    m_completion = nullptr;
    if (!completion)
        return;
    if (finished)
        completion(true);
    else
        m_queue->async([completion = std::move(completion)] { completion(false); });
}

double PropertyAnimation::progress(double time) const
{
    if (!group || group->duration() <= 0)
        return 1;
    double linear = (time - group->startTime()) / group->duration();
    if (!(linear > 0))
        return 0;
    if (linear >= 1)
        return 1;
    return easeInEaseOut(linear);
}

void animate(device::Process& process, double duration, const runtime::Block<void()>& animations,
    runtime::Block<void(bool)> completion, double delay)
{
    auto sanitized = [](double seconds) { return std::isfinite(seconds) && seconds > 0 ? seconds : 0.0; };
    duration = sanitized(duration);
    delay = sanitized(delay);
    auto& queue = process.mainQueue();
    auto group
        = std::make_shared<AnimationGroup>(queue, queue.scheduler().now() + delay, duration, std::move(completion));
    if (animations) {
        AnimationScope scope(&group);
        animations();
    }
    queue.after(delay + duration, [group] { group->finish(); });
}

void performWithoutAnimation(const runtime::Block<void()>& changes)
{
    if (!changes)
        return;
    AnimationScope scope(nullptr);
    changes();
}

namespace {

    // Records that one animatable property of `view` changed inside the current
    // animation group, or drops its animation when no group is open.
    template <typename T>
    void recordChange(UIView& view, PropertyAnimation::Property property, const T& from, const T& to,
        T PropertyAnimation::*fromMember, T PropertyAnimation::*toMember)
    {
        if (!currentGroupOwner) {
            removeAnimation(view, property);
            return;
        }
        auto& group = *currentGroupOwner;
        PropertyAnimation& animation = animationFor(view, property);
        if (animation.group != group) {
            // Starts from what is on screen now, where a replaced animation has got to.
            T shown = animation.group
                ? interpolate(animation.*fromMember, animation.*toMember, animation.progress(now(*group)))
                : from;
            if (animation.group)
                animation.group->cutShort();
            animation.*fromMember = shown;
            animation.group = group;
        }
        animation.*toMember = to;
    }

} // namespace

void recordFrameChange(UIView& view, const Rect& from, const Rect& to)
{
    recordChange(
        view, PropertyAnimation::Property::Frame, from, to, &PropertyAnimation::fromFrame, &PropertyAnimation::toFrame);
}

void recordAlphaChange(UIView& view, double from, double to)
{
    recordChange(
        view, PropertyAnimation::Property::Alpha, from, to, &PropertyAnimation::fromAlpha, &PropertyAnimation::toAlpha);
}

void cutShortAnimations(UIView& subtree)
{
    if (ViewLayoutState* state = subtree.existingLayoutState()) {
        auto animations = std::move(state->animations);
        state->animations.clear();
        for (auto& animation : animations)
            animation.group->cutShort();
    }
    std::vector<Ref<UIView>> subviews(subtree.subviews().begin(), subtree.subviews().end());
    for (auto& subview : subviews)
        cutShortAnimations(*subview);
}

Rect presentationFrame(const UIView* view, double time)
{
    if (!view)
        return {};
    const PropertyAnimation* animation = findAnimation(view, PropertyAnimation::Property::Frame);
    if (!animation)
        return view->frame();
    return interpolate(animation->fromFrame, animation->toFrame, animation->progress(time));
}

double presentationAlpha(const UIView* view, double time)
{
    if (!view)
        return 0;
    const PropertyAnimation* animation = findAnimation(view, PropertyAnimation::Property::Alpha);
    if (!animation)
        return view->alpha();
    return interpolate(animation->fromAlpha, animation->toAlpha, animation->progress(time));
}

bool isAnimating(const UIView& subtree, double time)
{
    if (const ViewLayoutState* state = subtree.existingLayoutState()) {
        for (auto& animation : state->animations) {
            auto& group = animation.group;
            if (group && !group->isFinished() && time < group->startTime() + group->duration())
                return true;
        }
    }
    return std::any_of(subtree.subviews().begin(), subtree.subviews().end(),
        [time](auto& subview) { return isAnimating(*subview, time); });
}

} // namespace uikit
