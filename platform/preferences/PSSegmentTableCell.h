#pragma once

#include "platform/preferences/PSTableCell.h"

namespace preferences {

// The cell of a PSSegmentCell specifier: the title on a line of its own and
// below it one segment per choice ("validValues", titled by "validTitles"),
// the current value's selected. Choosing a segment hands its value to the
// specifier's target.
class PSSegmentTableCell : public PSTableCell {
public:
    static constexpr double height = 88;

    using PSTableCell::PSTableCell;

    uikit::UISegmentedControl* control() const { return m_segments.get(); }

    double preferredHeight() const override { return height; }
    void refreshCellContents() override;
    foundation::Value displayedValue() const override;
    void layoutContent() override;

    static void registerClass(device::Process&);

private:
    void segmentChanged();

    runtime::Ref<uikit::UISegmentedControl> m_segments;
};

} // namespace preferences
