#pragma once

#include <gtest/gtest.h>

#include "platform/runtime/Send.h"
#include "platform/uikit/Geometry.h"

// Builds constraints the way an app does, through anchors and messages.
namespace constraints {

using runtime::Object;
using runtime::Ref;
using runtime::send;

inline Ref<Object> anchor(const Ref<Object>& view, const char* name)
{
    return send<Ref<Object>>(view, runtime::Selector::named(name));
}

// `first.firstAnchor == second.secondAnchor + constant`, made active.
inline Ref<Object> equal(const Ref<Object>& first, const char* firstAnchor, const Ref<Object>& second,
    const char* secondAnchor, double constant = 0)
{
    auto constraint = send<Ref<Object>>(anchor(first, firstAnchor), SEL("constraintEqualToAnchor:constant:"),
        anchor(second, secondAnchor).get(), constant);
    send(constraint, SEL("setActive:"), true);
    return constraint;
}

// `first.firstAnchor >= second.secondAnchor + constant`, made active.
inline Ref<Object> atLeast(const Ref<Object>& first, const char* firstAnchor, const Ref<Object>& second,
    const char* secondAnchor, double constant = 0)
{
    auto constraint = send<Ref<Object>>(anchor(first, firstAnchor),
        SEL("constraintGreaterThanOrEqualToAnchor:constant:"), anchor(second, secondAnchor).get(), constant);
    send(constraint, SEL("setActive:"), true);
    return constraint;
}

// `view.dimension == constant`, made active.
inline Ref<Object> fixed(const Ref<Object>& view, const char* dimension, double constant)
{
    auto constraint = send<Ref<Object>>(anchor(view, dimension), SEL("constraintEqualToConstant:"), constant);
    send(constraint, SEL("setActive:"), true);
    return constraint;
}

inline void useConstraints(const Ref<Object>& view)
{
    send(view, SEL("setTranslatesAutoresizingMaskIntoConstraints:"), false);
}

inline uikit::Rect frameOf(const Ref<Object>& view)
{
    return send<uikit::Rect>(view, SEL("frame"));
}

} // namespace constraints

#define EXPECT_FRAME_NEAR(view, expectedX, expectedY, expectedWidth, expectedHeight)                                   \
    do {                                                                                                               \
        uikit::Rect frame_ = constraints::frameOf(view);                                                               \
        EXPECT_NEAR(frame_.origin.x, (expectedX), 1e-6) << "x of " #view;                                              \
        EXPECT_NEAR(frame_.origin.y, (expectedY), 1e-6) << "y of " #view;                                              \
        EXPECT_NEAR(frame_.size.width, (expectedWidth), 1e-6) << "width of " #view;                                    \
        EXPECT_NEAR(frame_.size.height, (expectedHeight), 1e-6) << "height of " #view;                                 \
    } while (false)
