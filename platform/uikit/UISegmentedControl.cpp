#include "platform/uikit/UISegmentedControl.h"

#include <algorithm>
#include <cmath>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/Canvas.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/GraphicsGeometry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/ViewFactory.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    constexpr double fontSize = 13;
    constexpr double segmentPadding = 12;
    constexpr int64_t centered = 1;

} // namespace

Value UISegmentedControl::titleForSegment(size_t index) const
{
    return index < m_titles.size() ? m_titles[index] : Value();
}

void UISegmentedControl::setSelectedSegmentIndex(int64_t index)
{
    m_selected = index >= 0 && static_cast<size_t>(index) < m_titles.size() ? index : noSegment;
    layoutSegments();
}

bool UISegmentedControl::selectSegment(size_t index)
{
    if (!canTakeTouches() || index >= m_titles.size())
        return false;
    Ref<UISegmentedControl> protect(this);
    setSelectedSegmentIndex(static_cast<int64_t>(index));
    sendActionsForControlEvents(ValueChanged);
    return true;
}

void UISegmentedControl::touchUpInside(Point point)
{
    double width = bounds().width();
    if (m_titles.empty() || width <= 0)
        return;
    double segment = std::floor(point.x / (width / static_cast<double>(m_titles.size())));
    selectSegment(static_cast<size_t>(std::clamp(segment, 0.0, static_cast<double>(m_titles.size() - 1))));
    UIControl::touchUpInside(point);
}

void UISegmentedControl::setTitles(const Value& items)
{
    for (auto& label : m_labels)
        label->removeFromSuperview();
    m_labels.clear();
    m_titles.clear();
    for (auto& item : items.items()) {
        Value title = item.isString() ? item : Value("");
        m_titles.push_back(title);
        auto label
            = makeLabel(isa()->runtime(), title, fontSize, graphics::FontWeight::Regular, { 0, 0, 0, 1 }, centered);
        addSubview(label.get());
        m_labels.push_back(label);
    }
    m_selected = noSegment;
    layoutSegments();
}

void UISegmentedControl::layoutSegments()
{
    Rect area = bounds();
    double width = m_labels.empty() ? 0 : area.width() / static_cast<double>(m_labels.size());
    for (size_t index = 0; index < m_labels.size(); ++index) {
        auto weight
            = static_cast<int64_t>(index) == m_selected ? graphics::FontWeight::Bold : graphics::FontWeight::Regular;
        m_labels[index]->setFont(UIFont::make(isa()->runtime(), fontSize, weight).get());
        m_labels[index]->setFrame(makeRect(width * static_cast<double>(index), 0, width, area.height()));
    }
}

std::optional<Size> UISegmentedControl::intrinsicContentSize(double) const
{
    double widest = 0;
    for (auto& label : m_labels)
        widest = std::max(widest, label->intrinsicContentSize(0).value_or(Size {}).width);
    return Size { (widest + 2 * segmentPadding) * static_cast<double>(m_labels.size()), height };
}

void UISegmentedControl::drawContent(graphics::Canvas& canvas, const Size& size, double alpha) const
{
    canvas.fill({ toGraphicsRect(size), 8 }, graphics::Color { 0.46, 0.46, 0.5, 0.12 }.withAlphaMultiplied(alpha));
    if (m_selected == noSegment || m_titles.empty())
        return;
    double width = size.width / static_cast<double>(m_titles.size());
    graphics::Rect pill { width * static_cast<double>(m_selected) + 2, 2, width - 4, size.height - 4 };
    canvas.fill({ pill, 7 }, graphics::Color { 1, 1, 1, alpha });
}

void UISegmentedControl::registerClass(device::Process& process)
{
    auto builder
        = runtime::ClassBuilder::define<UISegmentedControl>(process.runtime(), "UISegmentedControl", "UIControl");
    runtime::Class* cls = &builder.cls();
    builder
        .method("initWithItems:", Imp::of([](UISegmentedControl* self, Selector, const Value& items) -> Ref<Object> {
            auto made = runtime::send<Ref<Object>>(self, SEL("initWithFrame:"), makeRect(0, 0, 0, height));
            if (auto* control = dynamic_cast<UISegmentedControl*>(made.get())) {
                control->setTitles(items);
                Size size = control->intrinsicContentSize(0).value_or(Size {});
                runtime::send(control, SEL("setFrame:"), makeRect(0, 0, size.width, size.height));
            }
            return made;
        }))
        .method("setFrame:", Imp::of([cls](UISegmentedControl* self, Selector selector, Rect frame) {
            sendSuper(*cls, self, selector, frame);
            self->layoutSegments();
        }))
        .method("numberOfSegments",
            Imp::of([](UISegmentedControl* self, Selector) { return static_cast<uint64_t>(self->numberOfSegments()); }))
        .method("titleForSegmentAtIndex:", Imp::of([](UISegmentedControl* self, Selector, uint64_t index) {
            return self->titleForSegment(static_cast<size_t>(index));
        }))
        .method("selectedSegmentIndex", Imp::of(&UISegmentedControl::selectedSegmentIndex))
        .method("setSelectedSegmentIndex:", Imp::of(&UISegmentedControl::setSelectedSegmentIndex));
}

} // namespace uikit
