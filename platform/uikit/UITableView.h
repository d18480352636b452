#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UITableViewCell.h"

namespace uikit {

// A scrolling list of rows in sections, asked of its data source: the
// number of sections (`numberOfSectionsInTableView:`, one when it does not
// answer), the rows of each (`tableView:numberOfRowsInSection:`), a cell for
// each row (`tableView:cellForRowAtIndexPath:`) and, when it answers them,
// the titles above and below each section. Its delegate, which is also its
// scroll delegate, may give row heights (`tableView:heightForRowAtIndexPath:`)
// and hears of selected rows (`tableView:didSelectRowAtIndexPath:`). Both
// are referred to without being owned.
//
// `reloadData` asks for everything again; every row has its cell for as
// long as the data stays loaded. The header view sits above the first
// section, as wide as the table. Rows of one section lie on one rounded
// plate in the inset style.
//
// Messages: initWithFrame:style:(Rect, int64), style, dataSource,
// setDataSource:, reloadData, numberOfSections, numberOfRowsInSection:,
// cellForRowAtIndexPath:, tableHeaderView, setTableHeaderView:,
// separatorColor, setSeparatorColor:, dequeueReusableCellWithIdentifier:.
class UITableView : public UIScrollView {
public:
    // UITableViewStyle.
    enum Style : int64_t { Plain = 0, Grouped = 1, InsetGrouped = 2 };

    using UIScrollView::UIScrollView;

    int64_t style() const { return m_style; }
    runtime::Object* dataSource() const { return m_dataSource.get(); }

    void reloadData();
    size_t numberOfSections() const { return m_sections.size(); }
    size_t numberOfRows(size_t section) const;
    // Nil outside the loaded rows.
    UITableViewCell* cell(size_t section, size_t row) const;
    // The title shown above or below a section; nil without one.
    foundation::Value headerTitle(size_t section) const;
    foundation::Value footerTitle(size_t section) const;
    // The frame of a row in the table's content.
    Rect rectForRow(size_t section, size_t row) const;

    UIView* tableHeaderView() const { return m_headerView.get(); }
    void setTableHeaderView(UIView*);
    UIColor* separatorColor() const;
    void setSeparatorColor(UIColor*);

    // A user's tap on a row: tells the delegate. Answers false for a row that
    // does not exist.
    bool selectRow(size_t section, size_t row);
    // The row whose cell lies under `point` (the table's coordinates), if any.
    std::optional<std::pair<size_t, size_t>> rowAt(Point) const;

    // Places the header, the section titles and the rows for the table's
    // current width, and sets the content size.
    void layoutRows();

    static void registerClass(device::Process&);

private:
    struct Section {
        foundation::Value header;
        foundation::Value footer;
        std::vector<runtime::Ref<UITableViewCell>> rows;
        runtime::Ref<UIView> plate;
        runtime::Ref<UILabel> headerLabel;
        runtime::Ref<UILabel> footerLabel;
    };

    void setUp(device::Process&, int64_t style);
    void clearSections();
    Section loadSection(size_t index);
    double rowHeight(size_t section, size_t row) const;
    bool isDark() const;
    // A finger a row's cell passed up counts as a tap: it selects the row
    // where it lifts, unless it moved as far as a scroll would.
    std::optional<Point> touchLocation(const foundation::Value& touches);
    void endTouch(const foundation::Value& touches);
    UITableViewCell::Appearance cellAppearance(bool lastRow) const;

    device::Process* m_process { nullptr };
    int64_t m_style { Plain };
    runtime::WeakRef<runtime::Object> m_dataSource;
    runtime::Ref<UIView> m_headerView;
    runtime::Ref<runtime::Object> m_separatorColor;
    std::vector<Section> m_sections;
    bool m_reloading { false };
    // Where the finger went down, while it is down: a finger that lifts near
    // it, on a row, selects the row.
    std::optional<Point> m_touchStart;
};

} // namespace uikit
