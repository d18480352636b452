#pragma once

#include "platform/uikit/UIView.h"

namespace uikit {

// A view that shows a picture, placed in its bounds by the view's content
// mode. As on the platform, an image view starts without user interaction,
// and one made with `initWithImage:` takes the picture's size.
class UIImageView : public UIView {
public:
    using UIView::UIView;

    UIImage* image() const { return m_image.get(); }
    void setImage(UIImage*);

    // The picture's size, whatever the width; nothing without a picture.
    std::optional<Size> intrinsicContentSize(double availableWidth) const override;
    void drawContent(graphics::Canvas&, const Size& size, double alpha) const override;

    static void registerClass(device::Process&);

private:
    runtime::Ref<UIImage> m_image;
};

} // namespace uikit
