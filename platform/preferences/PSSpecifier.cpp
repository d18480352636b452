#include "platform/preferences/PSSpecifier.h"

#include <array>
#include <utility>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

namespace preferences {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    constexpr std::array<std::pair<std::string_view, PSSpecifier::CellType>, 15> cellTypeNames { {
        { "PSGroupCell", PSSpecifier::GroupCell },
        { "PSLinkCell", PSSpecifier::LinkCell },
        { "PSLinkListCell", PSSpecifier::LinkListCell },
        { "PSListItemCell", PSSpecifier::ListItemCell },
        { "PSTitleValueCell", PSSpecifier::TitleValueCell },
        { "PSSliderCell", PSSpecifier::SliderCell },
        { "PSSwitchCell", PSSpecifier::SwitchCell },
        { "PSStaticTextCell", PSSpecifier::StaticTextCell },
        { "PSEditTextCell", PSSpecifier::EditTextCell },
        { "PSSegmentCell", PSSpecifier::SegmentCell },
        { "PSGiantIconCell", PSSpecifier::GiantIconCell },
        { "PSGiantCell", PSSpecifier::GiantCell },
        { "PSSecureEditTextCell", PSSpecifier::SecureEditTextCell },
        { "PSButtonCell", PSSpecifier::ButtonCell },
        { "PSEditTextViewCell", PSSpecifier::EditTextViewCell },
    } };

    PSSpecifier::CellType typeFrom(int64_t value)
    {
        if (value < PSSpecifier::GroupCell || value > PSSpecifier::EditTextViewCell)
            return PSSpecifier::GroupCell;
        return static_cast<PSSpecifier::CellType>(value);
    }

} // namespace

bool sameChoice(const Value& a, const Value& b)
{
    if (a.isNumber() && b.isNumber())
        return a.real() == b.real();
    return a == b;
}

std::optional<PSSpecifier::CellType> PSSpecifier::cellTypeNamed(std::string_view name)
{
    for (auto& [spelling, type] : cellTypeNames) {
        if (spelling == name)
            return type;
    }
    return std::nullopt;
}

Ref<PSSpecifier> PSSpecifier::make(runtime::Runtime& runtime, const Value& name, CellType type)
{
    auto specifier = runtime::instantiate<PSSpecifier>(runtime, "PSSpecifier");
    if (specifier) {
        specifier->m_name = name;
        specifier->m_cellType = type;
    }
    return specifier;
}

Value PSSpecifier::identifier() const
{
    const Value& id = m_properties["id"];
    return id.isString() ? id : m_name;
}

void PSSpecifier::setProperty(const Value& value, std::string_view key)
{
    if (value.isNil())
        m_properties.remove(key);
    else
        m_properties.set(key, value);
}

void PSSpecifier::setAccessors(Selector getter, Selector setter)
{
    m_getter = getter;
    m_setter = setter;
}

void PSSpecifier::setValues(const Value& values, const Value& titles)
{
    m_values = values.isArray() ? values : Value();
    m_titles = titles.isArray() ? titles : Value();
}

Value PSSpecifier::titleForValue(const Value& value) const
{
    for (size_t index = 0; index < m_values.count(); ++index) {
        if (sameChoice(m_values[index], value))
            return m_titles[index];
    }
    return {};
}

Value PSSpecifier::readValue()
{
    Ref<Object> target = m_target.strong();
    if (!target || m_getter.isNull() || !runtime::respondsToSelector(target.get(), m_getter))
        return {};
    return runtime::send<Value>(target.get(), m_getter, static_cast<Object*>(this));
}

bool PSSpecifier::writeValue(const Value& value)
{
    Ref<Object> target = m_target.strong();
    if (!target || m_setter.isNull() || !runtime::respondsToSelector(target.get(), m_setter))
        return false;
    Ref<PSSpecifier> protect(this);
    runtime::send(target.get(), m_setter, value, static_cast<Object*>(this));
    return true;
}

Value PSSpecifier::titleDictionary() const
{
    Value titles = Value::dictionary();
    for (size_t index = 0; index < m_values.count(); ++index) {
        const Value& value = m_values[index];
        std::string key = value.isString() ? value.string() : std::to_string(value.integer());
        titles.set(key, m_titles[index]);
    }
    return titles;
}

void PSSpecifier::setDetailControllerClass(runtime::Class* detail)
{
    m_detailClassName = detail ? detail->name() : std::string();
}

void PSSpecifier::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    runtime::ClassBuilder::define<PSSpecifier>(runtime, "PSSpecifier", "NSObject")
        .classMethod("preferenceSpecifierNamed:target:set:get:detail:cell:edit:",
            Imp::of([&runtime](Object*, Selector, const Value& name, Object* target, Selector setter, Selector getter,
                        runtime::Class* detail, int64_t cell, Object*) -> Ref<Object> {
                auto specifier = make(runtime, name, typeFrom(cell));
                specifier->setTarget(target);
                specifier->setAccessors(getter, setter);
                specifier->setDetailControllerClass(detail);
                return Ref<Object>(specifier.get());
            }))
        .classMethod(
            "groupSpecifierWithName:", Imp::of([&runtime](Object*, Selector, const Value& name) -> Ref<Object> {
                return Ref<Object>(make(runtime, name, GroupCell).get());
            }))
        .classMethod("emptyGroupSpecifier", Imp::of([&runtime](Object*, Selector) -> Ref<Object> {
            return Ref<Object>(make(runtime, Value(), GroupCell).get());
        }))
        .property("name", "setName:", &PSSpecifier::m_name)
        .method("identifier", Imp::of(&PSSpecifier::identifier))
        .method("properties", Imp::of(&PSSpecifier::properties))
        .method("propertyForKey:", Imp::of([](PSSpecifier* self, Selector, const Value& key) {
            return key.isString() ? self->property(key.string()) : Value();
        }))
        .method("setProperty:forKey:", Imp::of([](PSSpecifier* self, Selector, const Value& value, const Value& key) {
            if (key.isString())
                self->setProperty(value, key.string());
        }))
        .method("cellType", Imp::of([](PSSpecifier* self, Selector) { return static_cast<int64_t>(self->m_cellType); }))
        .method("setCellType:",
            Imp::of([](PSSpecifier* self, Selector, int64_t type) { self->m_cellType = typeFrom(type); }))
        .property("target", "setTarget:", &PSSpecifier::m_target)
        .method("detailControllerClass", Imp::of([&runtime](PSSpecifier* self, Selector) -> Object* {
            return self->m_detailClassName.empty() ? nullptr : runtime.classNamed(self->m_detailClassName);
        }))
        .method("setDetailControllerClass:", Imp::of(&PSSpecifier::setDetailControllerClass))
        .property("buttonAction", "setButtonAction:", &PSSpecifier::m_buttonAction)
        .method("values", Imp::of(&PSSpecifier::values))
        .method("titleDictionary", Imp::of(&PSSpecifier::titleDictionary))
        .method("setValues:titles:", Imp::of(&PSSpecifier::setValues));
}

} // namespace preferences
