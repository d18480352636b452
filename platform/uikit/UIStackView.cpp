#include "platform/uikit/UIStackView.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/DisplayCycle.h"
#include "platform/uikit/ViewLayoutState.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using Relation = NSLayoutConstraint::Relation;

UIStackView::UIStackView(runtime::Class* cls)
    : UIView(cls)
{
    layoutState().updateConstraints = [this] { updateArrangement(); };
}

std::vector<Ref<UIView>> UIStackView::arrangedSubviews() const
{
    std::vector<Ref<UIView>> views;
    for (auto& weak : m_arranged) {
        UIView* view = weak.get();
        if (view && view->superview() == this)
            views.emplace_back(view);
    }
    return views;
}

void UIStackView::addArrangedSubview(UIView* view)
{
    insertArrangedSubview(view, m_arranged.size());
}

void UIStackView::insertArrangedSubview(UIView* view, size_t index)
{
    if (!view || view == this)
        return;
    Ref<UIView> protect(view);
    std::erase_if(m_arranged, [this, view](auto& weak) {
        UIView* arranged = weak.get();
        return !arranged || arranged == view || arranged->superview() != this;
    });
    m_arranged.insert(m_arranged.begin() + std::min(index, m_arranged.size()), runtime::WeakRef<UIView>(view));
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    if (view->superview() != this)
        runtime::send(this, SEL("addSubview:"), static_cast<Object*>(view));
}

void UIStackView::removeArrangedSubview(UIView* view)
{
    std::erase_if(m_arranged, [view](auto& weak) { return !weak || weak.get() == view; });
}

UIStackView::Arrangement UIStackView::currentArrangement() const
{
    Arrangement arrangement { {}, m_axis, m_distribution, m_alignment, m_spacing };
    for (auto& view : arrangedSubviews()) {
        if (!view->isHidden())
            arrangement.views.push_back(view.get());
    }
    return arrangement;
}

bool UIStackView::arrangementIs(const Arrangement& arrangement) const
{
    if (arrangement.axis != m_axis || arrangement.distribution != m_distribution || arrangement.alignment != m_alignment
        || arrangement.spacing != m_spacing)
        return false;
    size_t shown = 0;
    for (auto& weak : m_arranged) {
        UIView* view = weak.get();
        if (!view || view->superview() != this || view->isHidden())
            continue;
        if (shown == arrangement.views.size() || arrangement.views[shown] != view)
            return false;
        ++shown;
    }
    return shown == arrangement.views.size();
}

void UIStackView::updateArrangement()
{
    if (m_applied && arrangementIs(*m_applied))
        return;
    Arrangement arrangement = currentArrangement();
    m_applied = arrangement;
    auto previous = std::move(m_constraints);
    m_constraints.clear();
    for (auto& constraint : previous)
        constraint->setActive(false);
    auto& views = arrangement.views;
    if (views.empty())
        return;

    bool horizontal = arrangement.axis == 0;
    auto lead = horizontal ? LayoutAttribute::Leading : LayoutAttribute::Top;
    auto trail = horizontal ? LayoutAttribute::Trailing : LayoutAttribute::Bottom;
    auto length = horizontal ? LayoutAttribute::Width : LayoutAttribute::Height;
    auto crossStart = horizontal ? LayoutAttribute::Top : LayoutAttribute::Leading;
    auto crossEnd = horizontal ? LayoutAttribute::Bottom : LayoutAttribute::Trailing;
    auto crossCenter = horizontal ? LayoutAttribute::CenterY : LayoutAttribute::CenterX;

    addConstraint(views.front(), lead, 0, this, lead);
    for (size_t i = 1; i < views.size(); ++i)
        addConstraint(views[i], lead, 0, views[i - 1], trail, arrangement.spacing);
    addConstraint(views.back(), trail, 0, this, trail);
    if (arrangement.distribution == static_cast<int64_t>(Distribution::FillEqually)) {
        for (size_t i = 1; i < views.size(); ++i)
            addConstraint(views[i], length, 0, views.front(), length);
    }
    for (UIView* view : views) {
        switch (static_cast<Alignment>(arrangement.alignment)) {
        case Alignment::Leading:
        case Alignment::FirstBaseline:
            addConstraint(view, crossStart, 0, this, crossStart);
            addConstraint(view, crossEnd, -1, this, crossEnd);
            break;
        case Alignment::Center:
            addConstraint(view, crossCenter, 0, this, crossCenter);
            addConstraint(view, crossStart, 1, this, crossStart);
            break;
        case Alignment::Trailing:
        case Alignment::LastBaseline:
            addConstraint(view, crossEnd, 0, this, crossEnd);
            addConstraint(view, crossStart, 1, this, crossStart);
            break;
        case Alignment::Fill:
        default:
            addConstraint(view, crossStart, 0, this, crossStart);
            addConstraint(view, crossEnd, 0, this, crossEnd);
            break;
        }
    }
}

void UIStackView::addConstraint(UIView* first, LayoutAttribute firstAttribute, int relation, UIView* second,
    LayoutAttribute secondAttribute, double constant)
{
    auto constraint = NSLayoutConstraint::make(isa()->runtime(), NSLayoutAnchor::of(*first, firstAttribute),
        static_cast<Relation>(relation), NSLayoutAnchor::of(*second, secondAttribute), 1, constant);
    if (!constraint)
        return;
    constraint->setActive(true);
    m_constraints.push_back(std::move(constraint));
}

void UIStackView::registerClass(device::Process& process)
{
    auto* owner = &process;
    auto needsLayout = [owner] { DisplayCycle::of(*owner).setNeedsLayout(); };
    auto setter = [needsLayout](auto member) {
        return Imp::of([needsLayout, member](UIStackView* self, Selector, int64_t value) {
            (self->*member)(value);
            needsLayout();
        });
    };
    runtime::ClassBuilder::define<UIStackView>(process.runtime(), "UIStackView", "UIView")
        .method("initWithArrangedSubviews:", Imp::of([](UIStackView* self, Selector, const Value& views) -> Object* {
            auto initialized = runtime::send<Ref<Object>>(self, SEL("initWithFrame:"), Rect {});
            for (auto& item : views.items())
                self->addArrangedSubview(dynamic_cast<UIView*>(item.object()));
            return initialized ? self : nullptr;
        }))
        .method("arrangedSubviews",
            Imp::of([](UIStackView* self, Selector) { return Value::arrayOf(self->arrangedSubviews()); }))
        .method("addArrangedSubview:", Imp::of([needsLayout](UIStackView* self, Selector, UIView* view) {
            self->addArrangedSubview(view);
            needsLayout();
        }))
        .method("insertArrangedSubview:atIndex:",
            Imp::of([needsLayout](UIStackView* self, Selector, UIView* view, uint64_t index) {
                self->insertArrangedSubview(view, static_cast<size_t>(index));
                needsLayout();
            }))
        .method("removeArrangedSubview:", Imp::of([needsLayout](UIStackView* self, Selector, UIView* view) {
            self->removeArrangedSubview(view);
            needsLayout();
        }))
        .method("axis", Imp::of(&UIStackView::axis))
        .method("setAxis:", setter(&UIStackView::setAxis))
        .method("distribution", Imp::of(&UIStackView::distribution))
        .method("setDistribution:", setter(&UIStackView::setDistribution))
        .method("alignment", Imp::of(&UIStackView::alignment))
        .method("setAlignment:", setter(&UIStackView::setAlignment))
        .method("spacing", Imp::of(&UIStackView::spacing))
        .method("setSpacing:", Imp::of([needsLayout](UIStackView* self, Selector, double spacing) {
            self->setSpacing(spacing);
            needsLayout();
        }));
}

} // namespace uikit
