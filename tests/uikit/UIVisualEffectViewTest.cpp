#include "platform/uikit/UIVisualEffectView.h"

#include <gtest/gtest.h>

#include "tests/uikit/UIKitTestProcess.h"

using runtime::Object;
using runtime::Ref;
using runtime::send;

TEST(UIVisualEffectView, blursWithItsEffectsStyleAndFillsItsContentView)
{
    UIKitTestProcess test;
    for (int64_t style : { 1, 2, 4 }) {
        auto effect = send<Ref<Object>>(test.runtime().classNamed("UIBlurEffect"), SEL("effectWithStyle:"), style);
        EXPECT_EQ(send<int64_t>(effect, SEL("style")), style);
        auto view = send<Ref<Object>>(
            runtime::alloc(test.runtime().classNamed("UIVisualEffectView")), SEL("initWithEffect:"), effect.get());
        auto* blur = dynamic_cast<uikit::UIVisualEffectView*>(view.get());
        ASSERT_NE(blur, nullptr);
        EXPECT_EQ(blur->blurStyle(), std::optional<int64_t> { style });
        EXPECT_EQ(send<Ref<Object>>(view, SEL("effect")).get(), effect.get());

        auto content = send<Ref<Object>>(view, SEL("contentView"));
        send(view, SEL("setFrame:"), uikit::makeRect(0, 0, 390, 120));
        EXPECT_EQ(send<uikit::Rect>(content, SEL("frame")), uikit::makeRect(0, 0, 390, 120));
    }

    // Without an effect there is nothing to blur, and other views never blur.
    auto plain = send<Ref<Object>>(runtime::alloc(test.runtime().classNamed("UIVisualEffectView")),
        SEL("initWithEffect:"), static_cast<Object*>(nullptr));
    EXPECT_FALSE(dynamic_cast<uikit::UIView*>(plain.get())->blurStyle().has_value());
    EXPECT_FALSE(dynamic_cast<uikit::UIView*>(test.makeView().get())->blurStyle().has_value());
}
