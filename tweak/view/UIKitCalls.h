#pragma once

#include <string>
#include <string_view>

#include "platform/foundation/Value.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/Geometry.h"

// Small typed wrappers over the UIKit messages the banner sends, so that every
// argument travels in the type its selector expects. All of them are nil-safe.
namespace brix::ui {

using runtime::Object;
using runtime::Ref;

constexpr int64_t alignmentLeft = 0;
constexpr int64_t alignmentCenter = 1;
constexpr int64_t alignmentRight = 2;
constexpr int64_t alignmentNatural = 4;

constexpr int64_t contentModeScaleToFill = 0;
constexpr int64_t contentModeScaleAspectFill = 2;
constexpr int64_t contentModeTop = 5;

constexpr uint64_t flexibleWidthAndHeight = 2 | 16;

constexpr uint64_t controlStateNormal = 0;
constexpr uint64_t touchUpInside = 64;
constexpr uint64_t editingDidBegin = 65536;
constexpr uint64_t editingDidEnd = 262144;
constexpr uint64_t editingDidEndOnExit = 524288;

constexpr int64_t blurLight = 1;
constexpr int64_t blurDark = 2;
constexpr int64_t blurRegular = 4;

// [[cls alloc] init] for the class of that name; nil when it is missing.
inline Ref<Object> newInstance(runtime::Runtime& runtime, std::string_view className)
{
    return runtime::newObject(runtime.classNamed(className));
}

inline Ref<Object> allocInstance(runtime::Runtime& runtime, std::string_view className)
{
    return runtime::alloc(runtime.classNamed(className));
}

inline Ref<Object> color(runtime::Runtime& runtime, double red, double green, double blue, double alpha)
{
    return runtime::send<Ref<Object>>(
        runtime.classNamed("UIColor"), SEL("colorWithRed:green:blue:alpha:"), red, green, blue, alpha);
}

inline Ref<Object> namedColor(runtime::Runtime& runtime, runtime::Selector name)
{
    return runtime::send<Ref<Object>>(runtime.classNamed("UIColor"), name);
}

inline Ref<Object> systemFont(runtime::Runtime& runtime, double size)
{
    return runtime::send<Ref<Object>>(runtime.classNamed("UIFont"), SEL("systemFontOfSize:"), size);
}

inline Ref<Object> boldSystemFont(runtime::Runtime& runtime, double size)
{
    return runtime::send<Ref<Object>>(runtime.classNamed("UIFont"), SEL("boldSystemFontOfSize:"), size);
}

inline Ref<Object> layer(Object* view)
{
    return runtime::send<Ref<Object>>(view, SEL("layer"));
}

inline void setCornerRadius(Object* view, double radius, bool continuous = true)
{
    auto viewLayer = layer(view);
    runtime::send(viewLayer, SEL("setCornerRadius:"), radius);
    if (continuous)
        runtime::send(viewLayer, SEL("setContinuousCorners:"), true);
}

inline void setHidden(Object* view, bool hidden)
{
    runtime::send(view, SEL("setHidden:"), hidden);
}

inline void setAlpha(Object* view, double alpha)
{
    runtime::send(view, SEL("setAlpha:"), alpha);
}

inline void useConstraints(Object* view)
{
    runtime::send(view, SEL("setTranslatesAutoresizingMaskIntoConstraints:"), false);
}

inline Ref<Object> superview(Object* view)
{
    return runtime::send<Ref<Object>>(view, SEL("superview"));
}

inline void layoutIfNeeded(Object* view)
{
    runtime::send(view, SEL("layoutIfNeeded"));
}

// Anchors and constraints. Every constraint helper activates what it makes
// unless asked not to.
enum class Activation { Active, Inactive };

inline Ref<Object> anchor(Object* view, runtime::Selector which)
{
    return runtime::send<Ref<Object>>(view, which);
}

inline Ref<Object> activated(Ref<Object> constraint, Activation activation)
{
    if (activation == Activation::Active)
        runtime::send(constraint, SEL("setActive:"), true);
    return constraint;
}

inline Ref<Object> equal(
    const Ref<Object>& first, const Ref<Object>& second, double constant, Activation activation = Activation::Active)
{
    return activated(
        runtime::send<Ref<Object>>(first, SEL("constraintEqualToAnchor:constant:"), second, constant), activation);
}

inline Ref<Object> atLeast(
    const Ref<Object>& first, const Ref<Object>& second, double constant, Activation activation = Activation::Active)
{
    return activated(
        runtime::send<Ref<Object>>(first, SEL("constraintGreaterThanOrEqualToAnchor:constant:"), second, constant),
        activation);
}

inline Ref<Object> equalToConstant(const Ref<Object>& dimension, double constant)
{
    return activated(
        runtime::send<Ref<Object>>(dimension, SEL("constraintEqualToConstant:"), constant), Activation::Active);
}

inline double constant(Object* constraint)
{
    return runtime::send<double>(constraint, SEL("constant"));
}

inline void setConstant(Object* constraint, double value)
{
    runtime::send(constraint, SEL("setConstant:"), value);
}

// Animations through UIView's class methods; the animations run at once and
// the completion when the device clock has run the duration.
inline void animate(runtime::Runtime& runtime, double duration, runtime::Block<void()> animations,
    runtime::Block<void(bool)> completion)
{
    runtime::send(runtime.classNamed("UIView"), SEL("animateWithDuration:animations:completion:"), duration,
        std::move(animations), std::move(completion));
}

inline void animate(runtime::Runtime& runtime, double duration, runtime::Block<void()> animations)
{
    runtime::send(
        runtime.classNamed("UIView"), SEL("animateWithDuration:animations:"), duration, std::move(animations));
}

} // namespace brix::ui
