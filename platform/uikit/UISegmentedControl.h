#pragma once

#include <vector>

#include "platform/uikit/UIControl.h"

namespace uikit {

// A row of mutually exclusive segments, each with a title; at most one is
// selected (-1: none). A user's tap on a segment selects it and sends
// value-changed; selecting in code sends nothing.
//
// Messages: initWithItems:(Value array of strings), numberOfSegments,
// titleForSegmentAtIndex:, selectedSegmentIndex, setSelectedSegmentIndex:.
class UISegmentedControl : public UIControl {
public:
    static constexpr int64_t noSegment = -1;
    static constexpr double height = 32;

    using UIControl::UIControl;

    size_t numberOfSegments() const { return m_titles.size(); }
    foundation::Value titleForSegment(size_t) const;
    int64_t selectedSegmentIndex() const { return m_selected; }
    // An index outside the segments selects none.
    void setSelectedSegmentIndex(int64_t);

    // A user's tap on segment `index`; answers whether the control took it.
    bool selectSegment(size_t index);

    std::optional<Size> intrinsicContentSize(double availableWidth) const override;
    void drawContent(graphics::Canvas&, const Size& size, double alpha) const override;

    static void registerClass(device::Process&);

protected:
    // A tap selects the segment under the finger where it lifts.
    void touchUpInside(Point) override;

private:
    void setTitles(const foundation::Value& items);
    void layoutSegments();

    std::vector<foundation::Value> m_titles;
    std::vector<runtime::Ref<UILabel>> m_labels;
    int64_t m_selected { noSegment };
};

} // namespace uikit
