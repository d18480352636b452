#pragma once

#include <string_view>

#include "platform/foundation/Value.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/Geometry.h"

namespace uikit {

class UILabel;
class UIView;

// Views that UIKit's own composite views (bars, cells, controls, alerts) make
// for their parts, through the run time as any app would make them.

// A new view of the class `className` initialised with `frame`, as the C++
// type T; nil when the class is missing or its instances are not Ts.
template <typename T> runtime::Ref<T> makeView(runtime::Runtime& runtime, std::string_view className, Rect frame)
{
    auto* cls = runtime.classNamed(className);
    if (!cls)
        return nullptr;
    auto made = runtime::send<runtime::Ref<runtime::Object>>(runtime::alloc(cls), SEL("initWithFrame:"), frame);
    return runtime::Ref<T>(dynamic_cast<T*>(made.get()));
}

// A one-line label in the system font.
runtime::Ref<UILabel> makeLabel(runtime::Runtime&, const foundation::Value& text, double fontSize, graphics::FontWeight,
    graphics::Color, int64_t alignment = 0);

// A plain view filled with a colour, rounded by `cornerRadius`.
runtime::Ref<UIView> makeFilledView(runtime::Runtime&, Rect frame, graphics::Color, double cornerRadius = 0);

// The platform's system colours.
inline constexpr graphics::Color systemBlue { 0, 122 / 255.0, 1, 1 };
inline constexpr graphics::Color systemGreen { 52 / 255.0, 199 / 255.0, 89 / 255.0, 1 };
inline constexpr graphics::Color systemGray { 142 / 255.0, 142 / 255.0, 147 / 255.0, 1 };

} // namespace uikit
