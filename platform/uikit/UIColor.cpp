#include "platform/uikit/UIColor.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"

namespace uikit {

using runtime::Class;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    // A new instance of the receiving class, so a subclass's class methods make
    // instances of the subclass.
    Ref<UIColor> colorOf(Class* cls, double red, double green, double blue, double alpha)
    {
        return Ref<UIColor>(dynamic_cast<UIColor*>(runtime::send<Ref<Object>>(
            runtime::alloc(cls), SEL("initWithRed:green:blue:alpha:"), red, green, blue, alpha)
                                                       .get()));
    }

    Imp namedColor(double red, double green, double blue, double alpha)
    {
        return Imp::of([=](Class* cls, Selector) -> Ref<Object> { return colorOf(cls, red, green, blue, alpha); });
    }

} // namespace

void UIColor::set(double red, double green, double blue, double alpha)
{
    m_red = red;
    m_green = green;
    m_blue = blue;
    m_alpha = alpha;
}

Ref<UIColor> UIColor::make(runtime::Runtime& runtime, double red, double green, double blue, double alpha)
{
    Class* cls = runtime.classNamed("UIColor");
    return cls ? colorOf(cls, red, green, blue, alpha) : nullptr;
}

void UIColor::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<UIColor>(process.runtime(), "UIColor", "NSObject")
        .method("initWithRed:green:blue:alpha:",
            Imp::of([](UIColor* self, Selector, double red, double green, double blue, double alpha) -> Object* {
                self->set(red, green, blue, alpha);
                return self;
            }))
        .method("initWithWhite:alpha:", Imp::of([](UIColor* self, Selector, double white, double alpha) -> Object* {
            self->set(white, white, white, alpha);
            return self;
        }))
        .method("colorWithAlphaComponent:", Imp::of([](UIColor* self, Selector, double alpha) -> Ref<Object> {
            return colorOf(self->isa(), self->m_red, self->m_green, self->m_blue, alpha);
        }))
        .method("isEqual:",
            Imp::of([](UIColor* self, Selector, UIColor* color) { return color && color->color() == self->color(); }))
        .method("copy", Imp::of([](UIColor* self, Selector) -> Ref<Object> { return Ref<Object>(self); }))
        .classMethod("colorWithRed:green:blue:alpha:",
            Imp::of([](Class* cls, Selector, double red, double green, double blue, double alpha) -> Ref<Object> {
                return colorOf(cls, red, green, blue, alpha);
            }))
        .classMethod(
            "colorWithWhite:alpha:", Imp::of([](Class* cls, Selector, double white, double alpha) -> Ref<Object> {
                return colorOf(cls, white, white, white, alpha);
            }))
        .classMethod("clearColor", namedColor(0, 0, 0, 0))
        .classMethod("blackColor", namedColor(0, 0, 0, 1))
        .classMethod("whiteColor", namedColor(1, 1, 1, 1))
        .classMethod("darkGrayColor", namedColor(1.0 / 3, 1.0 / 3, 1.0 / 3, 1))
        .classMethod("grayColor", namedColor(0.5, 0.5, 0.5, 1))
        .classMethod("lightGrayColor", namedColor(2.0 / 3, 2.0 / 3, 2.0 / 3, 1))
        .classMethod("redColor", namedColor(1, 0, 0, 1))
        .classMethod("greenColor", namedColor(0, 1, 0, 1))
        .classMethod("blueColor", namedColor(0, 0, 1, 1));
}

} // namespace uikit
