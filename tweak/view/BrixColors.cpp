#include "tweak/view/BrixColors.h"

#include "platform/foundation/Version.h"
#include "platform/runtime/ClassBuilder.h"

#include "tweak/Brix.h"
#include "tweak/view/UIKitCalls.h"

namespace brix {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    struct Rgba {
        double red;
        double green;
        double blue;
        double alpha;
    };

    // Marks the platform's plain red, which the table names by its selector.
    constexpr Rgba plainRed { -1, -1, -1, -1 };

    // The colour of a role for modes 1, 2 and 3, on systems from 13.0 on.
    struct RoleColors {
        Rgba dark;
        Rgba light;
        Rgba opaque;
    };

    constexpr RoleColors backgroundColors { { 0, 0, 0, 0.3 }, { 1, 1, 1, 0.3 }, { 0, 0, 0, 1 } };
    constexpr Rgba darkBackgroundBefore13 { 0, 0, 0, 0.8 };
    constexpr RoleColors grabberColors { { 1, 1, 1, 0.1 }, { 0.2, 0.2, 0.2, 0.5 }, { 0.3, 0.3, 0.3, 1 } };
    constexpr RoleColors replyColors { { 1, 1, 1, 0.1 }, { 0, 0, 0, 0.1 }, { 0.11, 0.11, 0.12, 1 } };
    constexpr RoleColors textColors { { 1, 1, 1, 1 }, { 0, 0, 0, 1 }, { 0.7, 0.7, 0.7, 1 } };
    constexpr RoleColors buttonColors { { 1, 1, 1, 0.1 }, { 0, 0, 0, 0.1 }, { 0.11, 0.11, 0.12, 1 } };
    constexpr RoleColors deleteColors { plainRed, { 0.75, 0, 0, 1 }, plainRed };

    const RoleColors& colorsOf(BrixColors::Role role)
    {
        switch (role) {
        case BrixColors::Role::Background:
            return backgroundColors;
        case BrixColors::Role::Grabber:
            return grabberColors;
        case BrixColors::Role::Reply:
            return replyColors;
        case BrixColors::Role::Text:
            return textColors;
        case BrixColors::Role::Button:
            return buttonColors;
        case BrixColors::Role::Delete:
            break;
        }
        return deleteColors;
    }

    const Rgba& forMode(const RoleColors& colors, uint64_t mode)
    {
        if (mode == 1)
            return colors.dark;
        if (mode == 2)
            return colors.light;
        return colors.opaque;
    }

} // namespace

Ref<Object> BrixColors::colorFor(Role role) const
{
    if (m_useCustomColors) {
        if (auto custom = customColor(role))
            return custom;
    }
    return tableColor(role);
}

Ref<Object> BrixColors::customColor(Role role) const
{
    switch (role) {
    case Role::Background:
        return m_backgroundColor;
    case Role::Grabber:
        return m_grabberColor;
    case Role::Reply:
        return m_replyColor;
    case Role::Text:
        return m_textColor;
    case Role::Button:
        return m_buttonColor;
    case Role::Delete:
        break;
    }
    return m_deleteColor;
}

Ref<Object> BrixColors::tableColor(Role role) const
{
    if (!m_brix)
        return nullptr;
    auto& runtime = m_brix->runtime();
    Rgba rgba = forMode(colorsOf(role), m_mode);
    if (role == Role::Background && m_mode == 1 && !isModernSystem())
        rgba = darkBackgroundBefore13;
    if (rgba.alpha < 0)
        return ui::namedColor(runtime, SEL("redColor"));
    return ui::color(runtime, rgba.red, rgba.green, rgba.blue, rgba.alpha);
}

bool BrixColors::isModernSystem() const
{
    return foundation::compareVersions(m_brix->systemVersion(), "13.0") >= 0;
}

void BrixColors::registerClass(Brix& brix)
{
    auto& runtime = brix.runtime();
    if (runtime.classNamed("BrixColors"))
        return;
    Brix* owner = &brix;
    auto roleGetter
        = [](Role role) { return Imp::of([role](BrixColors* self, Selector) { return self->colorFor(role); }); };
    runtime::ClassBuilder::define<BrixColors>(runtime, "BrixColors", "NSObject")
        .method("init", Imp::of([owner](BrixColors* self, Selector) -> Object* {
            self->m_brix = owner;
            return self;
        }))
        .method("initWithMode:", Imp::of([owner](BrixColors* self, Selector, uint64_t mode) -> Object* {
            self->m_brix = owner;
            self->m_mode = mode;
            return self;
        }))
        // A copy answers from the table: the custom colours stay behind.
        .method("copyWithZone:", Imp::of([](BrixColors* self, Selector, Object*) -> Ref<Object> {
            auto copy = runtime::alloc(self->isa());
            return runtime::send<Ref<Object>>(copy, SEL("initWithMode:"), self->m_mode);
        }))
        .method("copy", Imp::of([](BrixColors* self, Selector) -> Ref<Object> {
            return runtime::send<Ref<Object>>(self, SEL("copyWithZone:"), static_cast<Object*>(nullptr));
        }))
        .property("useCustomColors", "setUseCustomColors:", &BrixColors::m_useCustomColors)
        .property("mode", "setMode:", &BrixColors::m_mode)
        .property("backgroundColor", "setBackgroundColor:", &BrixColors::m_backgroundColor)
        .property("grabberColor", "setGrabberColor:", &BrixColors::m_grabberColor)
        .property("replyColor", "setReplyColor:", &BrixColors::m_replyColor)
        .property("textColor", "setTextColor:", &BrixColors::m_textColor)
        .property("buttonColor", "setButtonColor:", &BrixColors::m_buttonColor)
        .property("deleteColor", "setDeleteColor:", &BrixColors::m_deleteColor)
        .method("containerBackgroundColor", roleGetter(Role::Background))
        .method("containerGrabberColor", roleGetter(Role::Grabber))
        .method("containerReplyColor", roleGetter(Role::Reply))
        .method("containerTextColor", roleGetter(Role::Text))
        .method("containerButtonColor", roleGetter(Role::Button))
        .method("containerDeleteColor", roleGetter(Role::Delete));
}

} // namespace brix
