#pragma once

#include "platform/preferences/PSTableCell.h"

namespace preferences {

// The cell of a PSSwitchCell specifier: a switch at the right edge showing
// the value as a boolean. Flipping it hands the new boolean to the
// specifier's target.
class PSSwitchTableCell : public PSTableCell {
public:
    using PSTableCell::PSTableCell;

    uikit::UISwitch* control() const { return m_switch.get(); }

    void refreshCellContents() override;
    foundation::Value displayedValue() const override;

    static void registerClass(device::Process&);

private:
    void switchChanged();

    runtime::Ref<uikit::UISwitch> m_switch;
};

} // namespace preferences
