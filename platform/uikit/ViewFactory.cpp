#include "platform/uikit/ViewFactory.h"

#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UILabel.h"

namespace uikit {

using runtime::Ref;

Ref<UILabel> makeLabel(runtime::Runtime& runtime, const foundation::Value& text, double fontSize,
    graphics::FontWeight weight, graphics::Color color, int64_t alignment)
{
    auto label = makeView<UILabel>(runtime, "UILabel", Rect {});
    if (!label)
        return nullptr;
    label->setText(text);
    label->setFont(UIFont::make(runtime, fontSize, weight).get());
    label->setTextColor(UIColor::make(runtime, color.red, color.green, color.blue, color.alpha).get());
    label->setTextAlignment(alignment);
    return label;
}

Ref<UIView> makeFilledView(runtime::Runtime& runtime, Rect frame, graphics::Color color, double cornerRadius)
{
    auto view = makeView<UIView>(runtime, "UIView", frame);
    if (!view)
        return nullptr;
    view->setBackgroundColor(UIColor::make(runtime, color.red, color.green, color.blue, color.alpha).get());
    view->layer()->setCornerRadius(cornerRadius);
    return view;
}

} // namespace uikit
