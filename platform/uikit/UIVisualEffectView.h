#pragma once

#include "platform/uikit/UIView.h"

namespace uikit {

// A view that shows a visual effect over what lies behind it: for a blur
// effect, the renderer blurs what is drawn beneath the view's frame and
// tints it by the effect's style. Subviews meant to sit on the effect go in
// its content view, a subview that always fills it.
//
// Messages: initWithEffect: (an effect or nil), effect, setEffect:, contentView.
class UIVisualEffectView : public UIView {
public:
    using UIView::UIView;
    ~UIVisualEffectView() override;

    UIBlurEffect* effect() const { return m_effect.get(); }
    void setEffect(UIBlurEffect*);
    UIView* contentView() const { return m_contentView.get(); }

    // The style of its blur effect; nothing without one.
    std::optional<int64_t> blurStyle() const override;

    static void registerClass(device::Process&);

private:
    void setUp();

    runtime::Ref<UIBlurEffect> m_effect;
    runtime::Ref<UIView> m_contentView;
};

} // namespace uikit
