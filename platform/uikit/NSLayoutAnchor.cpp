#include "platform/uikit/NSLayoutAnchor.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Console.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/ViewLayoutState.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using Relation = NSLayoutConstraint::Relation;

namespace {

    const char* classNameFor(LayoutAttribute attribute)
    {
        if (isDimension(attribute))
            return "NSLayoutDimension";
        return axisOf(attribute) == LayoutAxis::Horizontal ? "NSLayoutXAxisAnchor" : "NSLayoutYAxisAnchor";
    }

    bool canRelate(NSLayoutAnchor* first, NSLayoutAnchor* second)
    {
        if (isDimension(first->attribute()) || isDimension(second->attribute()))
            return isDimension(first->attribute()) && isDimension(second->attribute());
        return axisOf(first->attribute()) == axisOf(second->attribute());
    }

    Ref<Object> constraintTo(device::Process* process, NSLayoutAnchor* first, Relation relation, Object* other,
        double multiplier, double constant)
    {
        auto* second = dynamic_cast<NSLayoutAnchor*>(other);
        if (!second) {
            runtime::console(std::string("uikit: a constraint on the ") + nameOf(first->attribute())
                + " anchor needs another anchor; none was given");
            return nullptr;
        }
        if (!canRelate(first, second)) {
            runtime::console(std::string("uikit: the ") + nameOf(first->attribute())
                + " anchor cannot be related to the " + nameOf(second->attribute()) + " anchor");
            return nullptr;
        }
        return NSLayoutConstraint::make(process->runtime(), first, relation, second, multiplier, constant);
    }

    Ref<Object> constraintToConstant(
        device::Process* process, NSLayoutAnchor* first, Relation relation, double constant)
    {
        if (!isDimension(first->attribute())) {
            runtime::console(std::string("uikit: only a width or height can equal a constant, not the ")
                + nameOf(first->attribute()) + " anchor");
            return nullptr;
        }
        return NSLayoutConstraint::make(process->runtime(), first, relation, nullptr, 1, constant);
    }

} // namespace

LayoutAxis axisOf(LayoutAttribute attribute)
{
    switch (attribute) {
    case LayoutAttribute::Leading:
    case LayoutAttribute::Trailing:
    case LayoutAttribute::Left:
    case LayoutAttribute::Right:
    case LayoutAttribute::CenterX:
    case LayoutAttribute::Width:
        return LayoutAxis::Horizontal;
    case LayoutAttribute::Top:
    case LayoutAttribute::Bottom:
    case LayoutAttribute::CenterY:
    case LayoutAttribute::Height:
        break;
    }
    return LayoutAxis::Vertical;
}

bool isDimension(LayoutAttribute attribute)
{
    return attribute == LayoutAttribute::Width || attribute == LayoutAttribute::Height;
}

const char* nameOf(LayoutAttribute attribute)
{
    static constexpr const char* names[layoutAttributeCount]
        = { "leading", "trailing", "left", "right", "centerX", "width", "top", "bottom", "centerY", "height" };
    return names[static_cast<size_t>(attribute)];
}

UIView* NSLayoutAnchor::view() const
{
    return m_view.get();
}

NSLayoutAnchor* NSLayoutAnchor::of(UIView& view, LayoutAttribute attribute)
{
    auto& slot = view.layoutState().anchors[static_cast<size_t>(attribute)];
    if (!slot) {
        runtime::Class* cls = view.isa()->runtime().classNamed(classNameFor(attribute));
        slot = Ref<NSLayoutAnchor>(dynamic_cast<NSLayoutAnchor*>(runtime::alloc(cls).get()));
        if (slot) {
            slot->m_view = &view;
            slot->m_attribute = attribute;
        }
    }
    return slot.get();
}

void NSLayoutAnchor::registerClass(device::Process& process)
{
    auto* owner = &process;
    auto toAnchor = [owner](Relation relation) {
        return Imp::of([owner, relation](NSLayoutAnchor* self, Selector, Object* anchor) {
            return constraintTo(owner, self, relation, anchor, 1, 0);
        });
    };
    auto toAnchorWithConstant = [owner](Relation relation) {
        return Imp::of([owner, relation](NSLayoutAnchor* self, Selector, Object* anchor, double constant) {
            return constraintTo(owner, self, relation, anchor, 1, constant);
        });
    };
    auto toConstant = [owner](Relation relation) {
        return Imp::of([owner, relation](NSLayoutAnchor* self, Selector, double constant) {
            return constraintToConstant(owner, self, relation, constant);
        });
    };
    runtime::ClassBuilder::define<NSLayoutAnchor>(process.runtime(), "NSLayoutAnchor", "NSObject")
        .method("constraintEqualToAnchor:", toAnchor(Relation::Equal))
        .method("constraintGreaterThanOrEqualToAnchor:", toAnchor(Relation::GreaterOrEqual))
        .method("constraintLessThanOrEqualToAnchor:", toAnchor(Relation::LessOrEqual))
        .method("constraintEqualToAnchor:constant:", toAnchorWithConstant(Relation::Equal))
        .method("constraintGreaterThanOrEqualToAnchor:constant:", toAnchorWithConstant(Relation::GreaterOrEqual))
        .method("constraintLessThanOrEqualToAnchor:constant:", toAnchorWithConstant(Relation::LessOrEqual))
        // On the platform only dimensions answer these; an edge here is reported, not fatal.
        .method("constraintEqualToConstant:", toConstant(Relation::Equal))
        .method("constraintGreaterThanOrEqualToConstant:", toConstant(Relation::GreaterOrEqual))
        .method("constraintLessThanOrEqualToConstant:", toConstant(Relation::LessOrEqual))
        .method("item", Imp::of([](NSLayoutAnchor* self, Selector) -> Object* { return self->view(); }));
    runtime::ClassBuilder::define<NSLayoutAnchor>(process.runtime(), "NSLayoutXAxisAnchor", "NSLayoutAnchor");
    runtime::ClassBuilder::define<NSLayoutAnchor>(process.runtime(), "NSLayoutYAxisAnchor", "NSLayoutAnchor");
    runtime::ClassBuilder::define<NSLayoutAnchor>(process.runtime(), "NSLayoutDimension", "NSLayoutAnchor")
        .method("constraintEqualToAnchor:multiplier:",
            Imp::of([owner](NSLayoutAnchor* self, Selector, Object* anchor, double multiplier) {
                return constraintTo(owner, self, Relation::Equal, anchor, multiplier, 0);
            }))
        .method("constraintEqualToAnchor:multiplier:constant:",
            Imp::of([owner](NSLayoutAnchor* self, Selector, Object* anchor, double multiplier, double constant) {
                return constraintTo(owner, self, Relation::Equal, anchor, multiplier, constant);
            }));
}

} // namespace uikit
