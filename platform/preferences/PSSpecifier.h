#pragma once

#include <optional>
#include <string_view>

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace preferences {

// One row of a settings page, as a specifier file describes it: its name
// (the row's title), its kind of cell, all the properties its file gave it
// ("key", "defaults", "default", "PostNotification", "min", "max", ...), the
// controller that reads and writes its value (`target`, held weakly, with
// the getter and setter it answers to), the action of a button, the class
// of the page a link opens, and for choices the values and their titles.
//
// Messages: +preferenceSpecifierNamed:target:set:get:detail:cell:edit:,
// +groupSpecifierWithName:, +emptyGroupSpecifier, name, setName:,
// identifier, properties, propertyForKey:, setProperty:forKey:, cellType,
// setCellType:, target, setTarget:, detailControllerClass,
// setDetailControllerClass:, buttonAction, setButtonAction:, values,
// titleDictionary, setValues:titles:.
class PSSpecifier : public runtime::NSObject {
public:
    // PSCellType, numbered as the platform numbers them.
    enum CellType : int64_t {
        GroupCell = 0,
        LinkCell = 1,
        LinkListCell = 2,
        ListItemCell = 3,
        TitleValueCell = 4,
        SliderCell = 5,
        SwitchCell = 6,
        StaticTextCell = 7,
        EditTextCell = 8,
        SegmentCell = 9,
        GiantIconCell = 10,
        GiantCell = 11,
        SecureEditTextCell = 12,
        ButtonCell = 13,
        EditTextViewCell = 14,
    };

    // The cell type a specifier file names ("PSSwitchCell"), if it is one.
    static std::optional<CellType> cellTypeNamed(std::string_view);

    using NSObject::NSObject;

    static runtime::Ref<PSSpecifier> make(runtime::Runtime&, const foundation::Value& name, CellType);

    const foundation::Value& name() const { return m_name; }
    void setName(const foundation::Value& name) { m_name = name; }
    // The "id" property, else the name.
    foundation::Value identifier() const;
    CellType cellType() const { return m_cellType; }
    void setCellType(CellType type) { m_cellType = type; }
    const foundation::Value& properties() const { return m_properties; }
    const foundation::Value& property(std::string_view key) const { return m_properties[key]; }
    void setProperty(const foundation::Value&, std::string_view key);

    runtime::Object* target() const { return m_target.get(); }
    void setTarget(runtime::Object* target) { m_target = runtime::WeakRef<runtime::Object>(target); }
    runtime::Selector getter() const { return m_getter; }
    runtime::Selector setter() const { return m_setter; }
    void setAccessors(runtime::Selector getter, runtime::Selector setter);
    runtime::Selector buttonAction() const { return m_buttonAction; }
    void setButtonAction(runtime::Selector action) { m_buttonAction = action; }
    // The name of the class of the page a link opens; empty when none.
    const std::string& detailControllerClassName() const { return m_detailClassName; }
    void setDetailControllerClassName(std::string name) { m_detailClassName = std::move(name); }
    // Nil clears it.
    void setDetailControllerClass(runtime::Class*);

    // The choices of a list or segment cell: their values, in order, and the
    // title of each.
    const foundation::Value& values() const { return m_values; }
    const foundation::Value& titles() const { return m_titles; }
    void setValues(const foundation::Value& values, const foundation::Value& titles);
    // Each value's title, keyed by the value as text.
    foundation::Value titleDictionary() const;
    // The title of the choice with `value` (numbers compare by value); nil when none has it.
    foundation::Value titleForValue(const foundation::Value&) const;

    // The value the row shows, asked of its target through its getter; nil
    // when the target is gone or does not answer.
    foundation::Value readValue();
    // Hands a new value to the target through its setter; answers whether
    // there was a target to take it.
    bool writeValue(const foundation::Value&);

    static void registerClass(device::Process&);

private:
    foundation::Value m_name;
    CellType m_cellType { GroupCell };
    foundation::Value m_properties { foundation::Value::dictionary() };
    runtime::WeakRef<runtime::Object> m_target;
    runtime::Selector m_getter;
    runtime::Selector m_setter;
    runtime::Selector m_buttonAction;
    std::string m_detailClassName;
    foundation::Value m_values;
    foundation::Value m_titles;
};

// Whether two values are the same choice: numbers and booleans by value,
// everything else by equality.
bool sameChoice(const foundation::Value&, const foundation::Value&);

} // namespace preferences
