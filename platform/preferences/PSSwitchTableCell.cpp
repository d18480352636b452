#include "platform/preferences/PSSwitchTableCell.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/ViewFactory.h"

namespace preferences {

using foundation::Value;
using runtime::Imp;
using runtime::Selector;

void PSSwitchTableCell::refreshCellContents()
{
    if (!m_switch) {
        m_switch = uikit::makeView<uikit::UISwitch>(isa()->runtime(), "UISwitch", {});
        if (!m_switch)
            return;
        m_switch->addTarget(this, SEL("switchChanged:"), uikit::UIControl::ValueChanged);
        setAccessoryView(m_switch.get());
    }
    PSTableCell::refreshCellContents();
    m_switch->setOn(currentValue().boolean());
}

Value PSSwitchTableCell::displayedValue() const
{
    return Value(m_switch && m_switch->isOn() ? "on" : "off");
}

void PSSwitchTableCell::switchChanged()
{
    if (specifier() && m_switch)
        specifier()->writeValue(Value(m_switch->isOn()));
}

void PSSwitchTableCell::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<PSSwitchTableCell>(process.runtime(), "PSSwitchTableCell", "PSTableCell")
        .method(
            "control", Imp::of([](PSSwitchTableCell* self, Selector) -> runtime::Object* { return self->control(); }))
        .method("switchChanged:",
            Imp::of([](PSSwitchTableCell* self, Selector, runtime::Object*) { self->switchChanged(); }));
}

} // namespace preferences
