#include "platform/uikit/UITableView.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/NSIndexPath.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITouch.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/ViewFactory.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::sendIfResponds;

namespace {

    constexpr double plateInset = 16;
    constexpr double plateRadius = 10;
    constexpr double sectionGap = 20;
    constexpr double titleFontSize = 13;
    constexpr double headerTitleHeight = 18;
    constexpr double titleGap = 6;

    constexpr graphics::Color groupedBackgroundLight { 242 / 255.0, 242 / 255.0, 247 / 255.0, 1 };
    constexpr graphics::Color groupedBackgroundDark { 0, 0, 0, 1 };
    constexpr graphics::Color cellLight { 1, 1, 1, 1 };
    constexpr graphics::Color cellDark { 28 / 255.0, 28 / 255.0, 30 / 255.0, 1 };
    constexpr graphics::Color separatorLight { 198 / 255.0, 198 / 255.0, 200 / 255.0, 1 };
    constexpr graphics::Color separatorDark { 56 / 255.0, 56 / 255.0, 58 / 255.0, 1 };

} // namespace

void UITableView::setUp(device::Process& process, int64_t style)
{
    m_process = &process;
    m_style = style >= Plain && style <= InsetGrouped ? style : Plain;
}

size_t UITableView::numberOfRows(size_t section) const
{
    return section < m_sections.size() ? m_sections[section].rows.size() : 0;
}

UITableViewCell* UITableView::cell(size_t section, size_t row) const
{
    if (section >= m_sections.size() || row >= m_sections[section].rows.size())
        return nullptr;
    return m_sections[section].rows[row].get();
}

Value UITableView::headerTitle(size_t section) const
{
    return section < m_sections.size() ? m_sections[section].header : Value();
}

Value UITableView::footerTitle(size_t section) const
{
    return section < m_sections.size() ? m_sections[section].footer : Value();
}

Rect UITableView::rectForRow(size_t section, size_t row) const
{
    UITableViewCell* found = cell(section, row);
    if (!found || !found->superview())
        return {};
    Rect frame = found->frame();
    Rect plate = found->superview()->frame();
    return makeRect(plate.minX() + frame.minX(), plate.minY() + frame.minY(), frame.width(), frame.height());
}

void UITableView::setTableHeaderView(UIView* view)
{
    if (m_headerView.get() == view)
        return;
    if (m_headerView && m_headerView->superview() == this)
        m_headerView->removeFromSuperview();
    m_headerView = view;
    if (view)
        addSubview(view);
    layoutRows();
}

UIColor* UITableView::separatorColor() const
{
    return dynamic_cast<UIColor*>(m_separatorColor.get());
}

void UITableView::setSeparatorColor(UIColor* color)
{
    m_separatorColor = Ref<Object>(color);
    layoutRows();
}

void UITableView::clearSections()
{
    auto sections = std::move(m_sections);
    m_sections.clear();
    for (auto& section : sections) {
        for (auto* view : { section.plate.get(), static_cast<UIView*>(section.headerLabel.get()),
                 static_cast<UIView*>(section.footerLabel.get()) }) {
            if (view)
                view->removeFromSuperview();
        }
    }
}

UITableView::Section UITableView::loadSection(size_t index)
{
    Ref<Object> source = m_dataSource.strong();
    auto& runtime = isa()->runtime();
    auto section = static_cast<int64_t>(index);
    Section loaded;
    loaded.header = sendIfResponds<Value>(
        source.get(), SEL("tableView:titleForHeaderInSection:"), static_cast<Object*>(this), section);
    loaded.footer = sendIfResponds<Value>(
        source.get(), SEL("tableView:titleForFooterInSection:"), static_cast<Object*>(this), section);
    int64_t rows = sendIfResponds<int64_t>(
        source.get(), SEL("tableView:numberOfRowsInSection:"), static_cast<Object*>(this), section);
    loaded.plate = makeFilledView(runtime, {}, { 0, 0, 0, 0 }, m_style == InsetGrouped ? plateRadius : 0);
    loaded.plate->setClipsToBounds(true);
    for (int64_t row = 0; row < rows; ++row) {
        auto path = NSIndexPath::make(runtime, row, section);
        auto made = sendIfResponds<Ref<Object>>(source.get(), SEL("tableView:cellForRowAtIndexPath:"),
            static_cast<Object*>(this), static_cast<Object*>(path.get()));
        Ref<UITableViewCell> cell(dynamic_cast<UITableViewCell*>(made.get()));
        // A data source that gives no cell gets an empty row, as the platform would refuse to go on.
        if (!cell) {
            auto empty = runtime::send<Ref<Object>>(runtime::alloc(runtime.classNamed("UITableViewCell")),
                SEL("initWithStyle:reuseIdentifier:"), int64_t(0), Value());
            cell = Ref<UITableViewCell>(dynamic_cast<UITableViewCell*>(empty.get()));
        }
        loaded.plate->addSubview(cell.get());
        loaded.rows.push_back(cell);
    }
    auto titleColor = systemGray;
    if (loaded.header.isString() && !loaded.header.string().empty()) {
        loaded.headerLabel
            = makeLabel(runtime, loaded.header, titleFontSize, graphics::FontWeight::Regular, titleColor);
        addSubview(loaded.headerLabel.get());
    }
    if (loaded.footer.isString() && !loaded.footer.string().empty()) {
        loaded.footerLabel
            = makeLabel(runtime, loaded.footer, titleFontSize, graphics::FontWeight::Regular, titleColor);
        loaded.footerLabel->setNumberOfLines(0);
        addSubview(loaded.footerLabel.get());
    }
    addSubview(loaded.plate.get());
    return loaded;
}

void UITableView::reloadData()
{
    // A data source that reloads while it is asked for cells is not heard twice.
    if (m_reloading)
        return;
    Ref<UITableView> protect(this);
    m_reloading = true;
    clearSections();
    Ref<Object> source = m_dataSource.strong();
    int64_t sections = 1;
    if (source && runtime::respondsToSelector(source.get(), SEL("numberOfSectionsInTableView:")))
        sections
            = runtime::send<int64_t>(source.get(), SEL("numberOfSectionsInTableView:"), static_cast<Object*>(this));
    if (!source)
        sections = 0;
    for (int64_t index = 0; index < sections; ++index)
        m_sections.push_back(loadSection(static_cast<size_t>(index)));
    m_reloading = false;
    layoutRows();
}

double UITableView::rowHeight(size_t section, size_t row) const
{
    Ref<Object> delegate(this->delegate());
    if (delegate && runtime::respondsToSelector(delegate.get(), SEL("tableView:heightForRowAtIndexPath:"))) {
        auto path = NSIndexPath::make(isa()->runtime(), static_cast<int64_t>(row), static_cast<int64_t>(section));
        double height = runtime::send<double>(delegate.get(), SEL("tableView:heightForRowAtIndexPath:"),
            static_cast<Object*>(const_cast<UITableView*>(this)), static_cast<Object*>(path.get()));
        if (height >= 0)
            return height;
    }
    return m_sections[section].rows[row]->preferredHeight();
}

bool UITableView::isDark() const
{
    auto* screen = m_process ? UIKitState::of(*m_process).mainScreen() : nullptr;
    return screen && screen->userInterfaceStyle() == UITraitCollection::Dark;
}

UITableViewCell::Appearance UITableView::cellAppearance(bool lastRow) const
{
    bool dark = isDark();
    UITableViewCell::Appearance appearance;
    appearance.background = dark ? cellDark : cellLight;
    appearance.text = dark ? graphics::Color { 1, 1, 1, 1 } : graphics::Color { 0, 0, 0, 1 };
    appearance.detail = systemGray;
    appearance.separator = dark ? separatorDark : separatorLight;
    if (UIColor* color = separatorColor())
        appearance.separator = color->color();
    appearance.showsSeparator = !lastRow;
    return appearance;
}

void UITableView::layoutRows()
{
    auto& runtime = isa()->runtime();
    double width = bounds().width();
    double inset = m_style == InsetGrouped ? plateInset : 0;
    double y = 0;
    if (m_headerView) {
        Rect frame = m_headerView->frame();
        m_headerView->setFrame(makeRect(0, 0, width, frame.height()));
        y = frame.height();
    }
    setBackgroundColor(UIColor::make(runtime, isDark() ? groupedBackgroundDark : groupedBackgroundLight).get());
    double textWidth = std::max(0.0, width - 2 * inset - 2 * UITableViewCell::margin);
    for (size_t index = 0; index < m_sections.size(); ++index) {
        Section& section = m_sections[index];
        y += sectionGap;
        if (section.headerLabel) {
            section.headerLabel->setFrame(makeRect(inset + UITableViewCell::margin, y, textWidth, headerTitleHeight));
            y += headerTitleHeight + titleGap;
        }
        double plateTop = y;
        for (size_t row = 0; row < section.rows.size(); ++row) {
            auto& cell = section.rows[row];
            double height = rowHeight(index, row);
            cell->setFrame(makeRect(0, y - plateTop, width - 2 * inset, height));
            cell->applyAppearance(cellAppearance(row + 1 == section.rows.size()));
            cell->layoutContent();
            y += height;
        }
        section.plate->setFrame(makeRect(inset, plateTop, width - 2 * inset, y - plateTop));
        if (section.footerLabel) {
            double height = section.footerLabel->intrinsicContentSize(textWidth).value_or(Size {}).height;
            section.footerLabel->setFrame(makeRect(inset + UITableViewCell::margin, y + titleGap, textWidth, height));
            y += titleGap + height;
        }
    }
    setContentSize({ width, y + sectionGap });
}

bool UITableView::selectRow(size_t section, size_t row)
{
    if (!cell(section, row))
        return false;
    Ref<Object> delegate(this->delegate());
    auto path = NSIndexPath::make(isa()->runtime(), static_cast<int64_t>(row), static_cast<int64_t>(section));
    sendIfResponds(delegate.get(), SEL("tableView:didSelectRowAtIndexPath:"), static_cast<Object*>(this),
        static_cast<Object*>(path.get()));
    return true;
}

std::optional<std::pair<size_t, size_t>> UITableView::rowAt(Point point) const
{
    for (size_t section = 0; section < m_sections.size(); ++section) {
        for (size_t row = 0; row < m_sections[section].rows.size(); ++row) {
            Rect frame = rectForRow(section, row);
            if (point.x >= frame.minX() && point.x < frame.maxX() && point.y >= frame.minY() && point.y < frame.maxY())
                return std::pair { section, row };
        }
    }
    return std::nullopt;
}

std::optional<Point> UITableView::touchLocation(const Value& touches)
{
    UITouch* touch = UITouch::first(touches);
    if (!touch)
        return std::nullopt;
    return touch->locationInView(this);
}

void UITableView::endTouch(const Value& touches)
{
    constexpr double tapSlop = 10;
    auto start = std::exchange(m_touchStart, std::nullopt);
    auto end = touchLocation(touches);
    if (!start || !end || std::hypot(end->x - start->x, end->y - start->y) > tapSlop)
        return;
    if (auto row = rowAt(*end))
        selectRow(row->first, row->second);
}

void UITableView::registerClass(device::Process& process)
{
    auto builder = runtime::ClassBuilder::define<UITableView>(process.runtime(), "UITableView", "UIScrollView");
    runtime::Class* cls = &builder.cls();
    auto* owner = &process;
    builder
        .method("touchesBegan:withEvent:", Imp::of([](UITableView* self, Selector, const Value& touches, Object*) {
            self->m_touchStart = self->touchLocation(touches);
        }))
        .method("touchesEnded:withEvent:",
            Imp::of([](UITableView* self, Selector, const Value& touches, Object*) { self->endTouch(touches); }))
        .method("touchesCancelled:withEvent:",
            Imp::of([](UITableView* self, Selector, const Value&, Object*) { self->m_touchStart.reset(); }))
        .method("initWithFrame:style:",
            Imp::of([cls, owner](UITableView* self, Selector, Rect frame, int64_t style) -> Ref<Object> {
                auto made = sendSuper<Ref<Object>>(*cls, self, SEL("initWithFrame:"), frame);
                if (auto* table = dynamic_cast<UITableView*>(made.get()))
                    table->setUp(*owner, style);
                return made;
            }))
        .method("initWithFrame:", Imp::of([](UITableView* self, Selector, Rect frame) -> Ref<Object> {
            return runtime::send<Ref<Object>>(self, SEL("initWithFrame:style:"), frame, static_cast<int64_t>(Plain));
        }))
        .method("setFrame:", Imp::of([cls](UITableView* self, Selector selector, Rect frame) {
            sendSuper(*cls, self, selector, frame);
            self->layoutRows();
        }))
        .method("style", Imp::of(&UITableView::style))
        .property("dataSource", "setDataSource:", &UITableView::m_dataSource)
        .method("reloadData", Imp::of(&UITableView::reloadData))
        .method("numberOfSections",
            Imp::of([](UITableView* self, Selector) { return static_cast<int64_t>(self->numberOfSections()); }))
        .method("numberOfRowsInSection:", Imp::of([](UITableView* self, Selector, int64_t section) {
            return section < 0 ? int64_t(0) : static_cast<int64_t>(self->numberOfRows(static_cast<size_t>(section)));
        }))
        .method("cellForRowAtIndexPath:", Imp::of([](UITableView* self, Selector, NSIndexPath* path) {
            auto place = NSIndexPath::indexesOf(path);
            return place ? self->cell(place->first, place->second) : nullptr;
        }))
        .property(
            "tableHeaderView", "setTableHeaderView:", &UITableView::tableHeaderView, &UITableView::setTableHeaderView)
        .property("separatorColor", "setSeparatorColor:", &UITableView::separatorColor, &UITableView::setSeparatorColor)
        // Every row keeps its own cell, so there is never one to reuse.
        .method("dequeueReusableCellWithIdentifier:",
            Imp::of([](UITableView*, Selector, const Value&) -> Object* { return nullptr; }))
        .method("dealloc", Imp::of([cls](UITableView* self, Selector selector) {
            self->m_sections.clear();
            self->m_headerView = nullptr;
            sendSuper(*cls, self, selector);
        }));
}

} // namespace uikit
