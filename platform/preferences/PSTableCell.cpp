#include "platform/preferences/PSTableCell.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/ViewFactory.h"

namespace preferences {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using uikit::UITableViewCell;

namespace {

    // The platform's cell class for each kind of row that holds a control.
    const char* cellClassFor(PSSpecifier::CellType type)
    {
        switch (type) {
        case PSSpecifier::SwitchCell:
            return "PSSwitchTableCell";
        case PSSpecifier::SliderCell:
            return "PSSliderTableCell";
        case PSSpecifier::SegmentCell:
            return "PSSegmentTableCell";
        default:
            return "PSTableCell";
        }
    }

    int64_t styleFor(PSSpecifier::CellType type)
    {
        return type == PSSpecifier::LinkListCell || type == PSSpecifier::TitleValueCell ? UITableViewCell::Value1
                                                                                        : UITableViewCell::Default;
    }

} // namespace

Ref<PSTableCell> PSTableCell::make(runtime::Runtime& runtime, PSSpecifier& specifier)
{
    if (specifier.cellType() == PSSpecifier::GroupCell)
        return nullptr;
    auto* cls = runtime.classNamed(cellClassFor(specifier.cellType()));
    if (!cls)
        return nullptr;
    auto made = runtime::send<Ref<Object>>(runtime::alloc(cls), SEL("initWithStyle:reuseIdentifier:specifier:"),
        styleFor(specifier.cellType()), specifier.identifier(), static_cast<Object*>(&specifier));
    return Ref<PSTableCell>(dynamic_cast<PSTableCell*>(made.get()));
}

void PSTableCell::setSpecifier(PSSpecifier* specifier)
{
    m_specifier = specifier;
    refreshCellContents();
}

Value PSTableCell::currentValue() const
{
    if (!m_specifier)
        return {};
    Value value = m_specifier->readValue();
    return value.isNil() ? m_specifier->property("default") : value;
}

bool PSTableCell::isSelectable() const
{
    if (!m_specifier)
        return false;
    switch (m_specifier->cellType()) {
    case PSSpecifier::LinkCell:
    case PSSpecifier::LinkListCell:
    case PSSpecifier::ListItemCell:
    case PSSpecifier::ButtonCell:
        return true;
    default:
        return false;
    }
}

void PSTableCell::refreshCellContents()
{
    if (!m_specifier)
        return;
    textLabel()->setText(m_specifier->name());
    auto type = m_specifier->cellType();
    setAccessoryType(type == PSSpecifier::LinkCell || type == PSSpecifier::LinkListCell ? DisclosureIndicator : None);
    if (auto* detail = detailTextLabel())
        detail->setText(displayedValue());
}

Value PSTableCell::displayedValue() const
{
    if (!m_specifier)
        return {};
    switch (m_specifier->cellType()) {
    case PSSpecifier::LinkListCell: {
        Value value = currentValue();
        Value title = m_specifier->titleForValue(value);
        if (!title.isNil() || value.isNil())
            return title;
        return value.isString() ? value : Value(std::to_string(value.integer()));
    }
    case PSSpecifier::TitleValueCell: {
        Value value = currentValue();
        return value.isString() || value.isNil() ? value : Value(std::to_string(value.integer()));
    }
    default:
        return {};
    }
}

// Buttons show their title in the tint colour, as actions do.
void PSTableCell::applyAppearance(const Appearance& appearance)
{
    UITableViewCell::applyAppearance(appearance);
    if (!m_specifier || m_specifier->cellType() != PSSpecifier::ButtonCell)
        return;
    auto& runtime = isa()->runtime();
    graphics::Color tint = tintColor() ? tintColor()->color() : uikit::systemBlue;
    textLabel()->setTextColor(uikit::UIColor::make(runtime, tint.red, tint.green, tint.blue, tint.alpha).get());
}

void PSTableCell::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<PSTableCell>(process.runtime(), "PSTableCell", "UITableViewCell")
        .method("initWithStyle:reuseIdentifier:specifier:",
            Imp::of([](PSTableCell* self, Selector, int64_t style, const Value& identifier,
                        Object* specifier) -> Ref<Object> {
                auto made = runtime::send<Ref<Object>>(self, SEL("initWithStyle:reuseIdentifier:"), style, identifier);
                runtime::send(made, SEL("setSpecifier:"), specifier);
                return made;
            }))
        .method("specifier", Imp::of([](PSTableCell* self, Selector) -> Object* { return self->specifier(); }))
        .method("setSpecifier:",
            Imp::of([](PSTableCell* self, Selector, PSSpecifier* specifier) { self->setSpecifier(specifier); }))
        .method("refreshCellContents", Imp::of([](PSTableCell* self, Selector) { self->refreshCellContents(); }));
}

} // namespace preferences
