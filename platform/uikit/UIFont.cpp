#include "platform/uikit/UIFont.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

namespace uikit {

using foundation::Value;
using graphics::FontWeight;
using runtime::Class;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

// A new instance of the receiving class, so a subclass's class methods make
// instances of the subclass.
Ref<UIFont> UIFont::create(Class* cls, double pointSize, FontWeight weight)
{
    auto font = runtime::send<Ref<UIFont>>(runtime::alloc(cls), SEL("init"));
    if (font) {
        font->m_pointSize = pointSize;
        font->m_weight = weight;
    }
    return font;
}

Ref<UIFont> UIFont::make(runtime::Runtime& runtime, double pointSize, FontWeight weight)
{
    Class* cls = runtime.classNamed("UIFont");
    return cls ? create(cls, pointSize, weight) : nullptr;
}

void UIFont::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<UIFont>(process.runtime(), "UIFont", "NSObject")
        .method("pointSize", Imp::of(&UIFont::pointSize))
        .method("fontWithSize:", Imp::of([](UIFont* self, Selector, double pointSize) -> Ref<Object> {
            return create(self->isa(), pointSize, self->m_weight);
        }))
        .method("familyName", Imp::of([](UIFont* self, Selector) { return Value(self->font().resolvedFamily()); }))
        .method("fontName", Imp::of([](UIFont* self, Selector) {
            return Value(self->font().resolvedFamily() + (self->isBold() ? "-Bold" : "-Regular"));
        }))
        .method("isEqual:", Imp::of([](UIFont* self, Selector, UIFont* font) {
            return font && font->m_pointSize == self->m_pointSize && font->m_weight == self->m_weight;
        }))
        .method("copy", Imp::of([](UIFont* self, Selector) -> Ref<Object> { return Ref<Object>(self); }))
        .classMethod("systemFontOfSize:", Imp::of([](Class* cls, Selector, double pointSize) -> Ref<Object> {
            return create(cls, pointSize, FontWeight::Regular);
        }))
        .classMethod("boldSystemFontOfSize:", Imp::of([](Class* cls, Selector, double pointSize) -> Ref<Object> {
            return create(cls, pointSize, FontWeight::Bold);
        }));
}

} // namespace uikit
