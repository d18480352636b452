#pragma once

#include "platform/graphics/Color.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIView.h"

namespace uikit {

// One row of a table: a title label, a detail label (in the styles that
// have one), and an accessory at the right edge: a view of the cell's
// choosing (a switch, say) or an indicator (a disclosure chevron or a
// check mark). The table sizes the cell, lays it out and gives it the
// colours of its style.
//
// Messages: initWithStyle:reuseIdentifier:(int64, Value), reuseIdentifier,
// textLabel, detailTextLabel, accessoryView, setAccessoryView:,
// accessoryType, setAccessoryType:(int64), layoutSubviews.
class UITableViewCell : public UIView {
public:
    // UITableViewCellStyle.
    enum Style : int64_t { Default = 0, Value1 = 1, Value2 = 2, Subtitle = 3 };
    // UITableViewCellAccessoryType.
    enum AccessoryType : int64_t { None = 0, DisclosureIndicator = 1, DetailDisclosureButton = 2, Checkmark = 3 };

    static constexpr double defaultHeight = 44;
    // The distance of the content from the cell's left and right edges.
    static constexpr double margin = 16;

    using UIView::UIView;

    int64_t style() const { return m_style; }
    const foundation::Value& reuseIdentifier() const { return m_reuseIdentifier; }
    UILabel* textLabel() const { return m_textLabel.get(); }
    // Nil in the default style.
    UILabel* detailTextLabel() const { return m_detailTextLabel.get(); }
    UIView* accessoryView() const { return m_accessoryView.get(); }
    void setAccessoryView(UIView*);
    int64_t accessoryType() const { return m_accessoryType; }
    void setAccessoryType(int64_t);

    // The height the cell asks of its table.
    virtual double preferredHeight() const { return defaultHeight; }
    // Lays the title, the detail and the accessory out in the cell's bounds.
    virtual void layoutContent();
    // The table's colours for its cells.
    struct Appearance {
        graphics::Color background;
        graphics::Color text;
        graphics::Color detail;
        graphics::Color separator;
        bool showsSeparator;
    };
    virtual void applyAppearance(const Appearance&);

    static void registerClass(device::Process&);

protected:
    // The width the accessory takes at the right, with its gap to the content.
    double accessoryWidth() const;
    void layoutAccessory();

private:
    void setUp(int64_t style, const foundation::Value& reuseIdentifier);
    void updateIndicator();

    int64_t m_style { Default };
    foundation::Value m_reuseIdentifier;
    runtime::Ref<UILabel> m_textLabel;
    runtime::Ref<UILabel> m_detailTextLabel;
    runtime::Ref<UIView> m_accessoryView;
    runtime::Ref<UILabel> m_indicator;
    runtime::Ref<UIView> m_separator;
    int64_t m_accessoryType { None };
};

} // namespace uikit
