#include "platform/uikit/UITableViewCell.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/ViewFactory.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    constexpr double titleFontSize = 17;
    constexpr double indicatorWidth = 14;
    constexpr double accessoryGap = 8;
    constexpr int64_t rightAligned = 2;

} // namespace

void UITableViewCell::setUp(int64_t style, const Value& reuseIdentifier)
{
    auto& runtime = isa()->runtime();
    m_style = style >= Default && style <= Subtitle ? style : Default;
    m_reuseIdentifier = reuseIdentifier;
    m_textLabel = makeLabel(runtime, {}, titleFontSize, graphics::FontWeight::Regular, { 0, 0, 0, 1 });
    addSubview(m_textLabel.get());
    if (m_style != Default) {
        m_detailTextLabel = makeLabel(runtime, {}, titleFontSize, graphics::FontWeight::Regular, systemGray,
            m_style == Value1 ? rightAligned : 0);
        addSubview(m_detailTextLabel.get());
    }
    m_separator = makeFilledView(runtime, {}, { 0, 0, 0, 0 });
    addSubview(m_separator.get());
    setBackgroundColor(UIColor::make(runtime, { 1, 1, 1, 1 }).get());
}

void UITableViewCell::setAccessoryView(UIView* view)
{
    if (view == m_accessoryView.get())
        return;
    if (m_accessoryView && m_accessoryView->superview() == this)
        m_accessoryView->removeFromSuperview();
    m_accessoryView = view;
    if (view)
        addSubview(view);
    updateIndicator();
    layoutContent();
}

void UITableViewCell::setAccessoryType(int64_t type)
{
    m_accessoryType = type;
    updateIndicator();
    layoutContent();
}

// An accessory view takes the place of the indicator.
void UITableViewCell::updateIndicator()
{
    bool wanted = !m_accessoryView && (m_accessoryType == DisclosureIndicator || m_accessoryType == Checkmark);
    if (!wanted) {
        if (m_indicator)
            m_indicator->removeFromSuperview();
        m_indicator = nullptr;
        return;
    }
    Value glyph(m_accessoryType == Checkmark ? "\u2713" : "\u203A");
    graphics::Color color = m_accessoryType == Checkmark ? systemBlue : systemGray;
    if (!m_indicator) {
        m_indicator = makeLabel(isa()->runtime(), glyph, 22, graphics::FontWeight::Regular, color, rightAligned);
        addSubview(m_indicator.get());
    }
    m_indicator->setText(glyph);
    m_indicator->setTextColor(UIColor::make(isa()->runtime(), color).get());
}

double UITableViewCell::accessoryWidth() const
{
    if (m_accessoryView)
        return m_accessoryView->frame().width() + accessoryGap;
    if (m_indicator)
        return indicatorWidth + accessoryGap;
    return 0;
}

void UITableViewCell::layoutAccessory()
{
    Rect area = bounds();
    double right = area.width() - margin;
    if (m_accessoryView) {
        Size size = m_accessoryView->frame().size;
        m_accessoryView->setFrame(
            makeRect(right - size.width, (area.height() - size.height) / 2, size.width, size.height));
    } else if (m_indicator) {
        m_indicator->setFrame(makeRect(right - indicatorWidth, 0, indicatorWidth, area.height()));
    }
}

void UITableViewCell::layoutContent()
{
    Rect area = bounds();
    layoutAccessory();
    double available = std::max(0.0, area.width() - 2 * margin - accessoryWidth());
    if (m_style == Subtitle && m_detailTextLabel) {
        m_textLabel->setFrame(makeRect(margin, 4, available, area.height() / 2 - 4));
        m_detailTextLabel->setFrame(makeRect(margin, area.height() / 2, available, area.height() / 2 - 4));
    } else if (m_detailTextLabel) {
        double titleWidth = m_textLabel->intrinsicContentSize(available).value_or(Size {}).width;
        titleWidth = std::min(titleWidth, available);
        m_textLabel->setFrame(makeRect(margin, 0, titleWidth, area.height()));
        double detailX = margin + titleWidth + accessoryGap;
        m_detailTextLabel->setFrame(makeRect(detailX, 0, std::max(0.0, margin + available - detailX), area.height()));
    } else {
        m_textLabel->setFrame(makeRect(margin, 0, available, area.height()));
    }
    m_separator->setFrame(makeRect(margin, area.height() - 0.5, std::max(0.0, area.width() - margin), 0.5));
}

void UITableViewCell::applyAppearance(const Appearance& appearance)
{
    auto& runtime = isa()->runtime();
    setBackgroundColor(UIColor::make(runtime, appearance.background).get());
    m_textLabel->setTextColor(UIColor::make(runtime, appearance.text).get());
    if (m_detailTextLabel)
        m_detailTextLabel->setTextColor(UIColor::make(runtime, appearance.detail).get());
    m_separator->setBackgroundColor(UIColor::make(runtime, appearance.separator).get());
    m_separator->setHidden(!appearance.showsSeparator);
}

void UITableViewCell::registerClass(device::Process& process)
{
    auto builder = runtime::ClassBuilder::define<UITableViewCell>(process.runtime(), "UITableViewCell", "UIView");
    runtime::Class* cls = &builder.cls();
    builder
        .method("initWithStyle:reuseIdentifier:",
            Imp::of([cls](UITableViewCell* self, Selector, int64_t style, const Value& identifier) -> Ref<Object> {
                auto made
                    = sendSuper<Ref<Object>>(*cls, self, SEL("initWithFrame:"), makeRect(0, 0, 320, defaultHeight));
                if (auto* cell = dynamic_cast<UITableViewCell*>(made.get()))
                    cell->setUp(style, identifier);
                return made;
            }))
        .method("initWithFrame:", Imp::of([](UITableViewCell* self, Selector, Rect frame) -> Ref<Object> {
            auto made = runtime::send<Ref<Object>>(
                self, SEL("initWithStyle:reuseIdentifier:"), static_cast<int64_t>(Default), Value());
            runtime::send(made, SEL("setFrame:"), frame);
            return made;
        }))
        .method("reuseIdentifier", Imp::of([](UITableViewCell* self, Selector) { return self->m_reuseIdentifier; }))
        .method("textLabel", Imp::of([](UITableViewCell* self, Selector) -> Object* { return self->textLabel(); }))
        .method("detailTextLabel",
            Imp::of([](UITableViewCell* self, Selector) -> Object* { return self->detailTextLabel(); }))
        .method(
            "accessoryView", Imp::of([](UITableViewCell* self, Selector) -> Object* { return self->accessoryView(); }))
        .method("setAccessoryView:",
            Imp::of([](UITableViewCell* self, Selector, UIView* view) { self->setAccessoryView(view); }))
        .method("accessoryType", Imp::of(&UITableViewCell::accessoryType))
        .method("setAccessoryType:", Imp::of(&UITableViewCell::setAccessoryType))
        .method("layoutSubviews", Imp::of([](UITableViewCell* self, Selector) { self->layoutContent(); }));
}

} // namespace uikit
