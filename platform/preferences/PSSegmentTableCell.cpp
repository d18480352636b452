#include "platform/preferences/PSSegmentTableCell.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/ViewFactory.h"

namespace preferences {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using uikit::makeRect;

namespace {

    constexpr double titleHeight = 40;

} // namespace

void PSSegmentTableCell::refreshCellContents()
{
    auto* row = specifier();
    if (m_segments)
        m_segments->removeFromSuperview();
    m_segments = nullptr;
    if (row) {
        auto& runtime = isa()->runtime();
        auto made = runtime::send<Ref<Object>>(
            runtime::alloc(runtime.classNamed("UISegmentedControl")), SEL("initWithItems:"), row->titles());
        m_segments = Ref<uikit::UISegmentedControl>(dynamic_cast<uikit::UISegmentedControl*>(made.get()));
    }
    PSTableCell::refreshCellContents();
    if (!m_segments)
        return;
    m_segments->addTarget(this, SEL("segmentChanged:"), uikit::UIControl::ValueChanged);
    addSubview(m_segments.get());
    Value value = currentValue();
    const Value& values = row->values();
    for (size_t index = 0; index < values.count(); ++index) {
        if (sameChoice(values[index], value))
            m_segments->setSelectedSegmentIndex(static_cast<int64_t>(index));
    }
    layoutContent();
}

Value PSSegmentTableCell::displayedValue() const
{
    if (!m_segments || m_segments->selectedSegmentIndex() < 0)
        return {};
    return m_segments->titleForSegment(static_cast<size_t>(m_segments->selectedSegmentIndex()));
}

void PSSegmentTableCell::layoutContent()
{
    UITableViewCell::layoutContent();
    uikit::Rect area = bounds();
    double width = std::max(0.0, area.width() - 2 * margin);
    textLabel()->setFrame(makeRect(margin, 2, width, titleHeight));
    if (m_segments)
        runtime::send(m_segments.get(), SEL("setFrame:"),
            makeRect(margin, titleHeight + 4, width, uikit::UISegmentedControl::height));
}

void PSSegmentTableCell::segmentChanged()
{
    auto* row = specifier();
    if (!row || !m_segments || m_segments->selectedSegmentIndex() < 0)
        return;
    row->writeValue(row->values()[static_cast<size_t>(m_segments->selectedSegmentIndex())]);
}

void PSSegmentTableCell::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<PSSegmentTableCell>(process.runtime(), "PSSegmentTableCell", "PSTableCell")
        .method("control", Imp::of([](PSSegmentTableCell* self, Selector) -> Object* { return self->control(); }))
        .method(
            "segmentChanged:", Imp::of([](PSSegmentTableCell* self, Selector, Object*) { self->segmentChanged(); }));
}

} // namespace preferences
