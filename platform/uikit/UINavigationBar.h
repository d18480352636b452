#pragma once

#include "platform/uikit/UIView.h"

namespace uikit {

// The bar at the top of a navigation controller: the title (or title view)
// of the item it shows, a back button when there is a page to go back to,
// the item's right button in the bar's tint colour, and, when large titles
// are on and the item does not refuse them, the title again in large type
// below. A translucent bar lets what lies beneath show through; an opaque
// one does not. A shadow line runs along its bottom edge unless a shadow
// image was given (an empty image removes the line).
//
// Messages: tintColor and setTintColor: (a view's), barTintColor,
// setBarTintColor:, shadowImage, setShadowImage:, isTranslucent,
// translucent, setTranslucent:, prefersLargeTitles, setPrefersLargeTitles:,
// topItem.
class UINavigationBar : public UIView {
public:
    static constexpr double height = 44;
    static constexpr double largeTitleHeight = 52;

    using UIView::UIView;

    UIColor* barTintColor() const;
    UIImage* shadowImage() const;
    bool isTranslucent() const { return m_translucent; }
    bool prefersLargeTitles() const { return m_prefersLargeTitles; }
    UINavigationItem* topItem() const { return m_item.get(); }
    bool showsBackButton() const { return m_showsBackButton; }
    bool showsLargeTitle() const;

    // The height the bar takes for the item it shows.
    double preferredHeight() const;
    // Shows `item` (nil: nothing), with a back button when asked to.
    void showItem(UINavigationItem*, bool backButton);
    // The text or view shown for the title, and the right button's label.
    UIView* titleArea() const;
    UILabel* rightButtonLabel() const { return m_rightLabel.get(); }

    // A user's tap on the right button; answers whether it did anything.
    bool pressRightButton();

    void drawContent(graphics::Canvas&, const Size& size, double alpha) const override;

    static void registerClass(device::Process&);

private:
    void rebuild();
    graphics::Color tint() const;
    bool isDark() const;

    device::Process* m_process { nullptr };
    runtime::Ref<runtime::Object> m_barTintColor;
    runtime::Ref<runtime::Object> m_shadowImage;
    bool m_translucent { true };
    bool m_prefersLargeTitles { false };
    bool m_showsBackButton { false };
    runtime::Ref<UINavigationItem> m_item;
    runtime::Ref<UILabel> m_titleLabel;
    runtime::Ref<UILabel> m_largeTitleLabel;
    runtime::Ref<UILabel> m_backLabel;
    runtime::Ref<UILabel> m_rightLabel;
    runtime::Ref<UIView> m_shownTitleView;
};

} // namespace uikit
