#include "platform/preferences/SpecifierFile.h"

#include "platform/device/Device.h"
#include "platform/foundation/PropertyList.h"
#include "platform/runtime/Send.h"

namespace preferences {

using foundation::Error;
using foundation::Result;
using foundation::Value;
using runtime::Ref;
using runtime::Selector;

namespace {

    constexpr const char* listItemsController = "PSListItemsController";

    class Translator {
    public:
        Translator(foundation::Bundle* bundle, std::string table)
            : m_bundle(bundle)
            , m_table(std::move(table))
        {
        }
        Value operator()(const Value& text) const
        {
            if (!m_bundle || !text.isString())
                return text;
            return m_bundle->localizedString(text, text, Value(m_table));
        }

    private:
        foundation::Bundle* m_bundle;
        std::string m_table;
    };

    Value translatedTitles(const Value& values, const Value& titles, const Translator& translate)
    {
        Value result = Value::array();
        for (size_t index = 0; index < values.count(); ++index) {
            const Value& title = titles[index];
            if (title.isString()) {
                result.append(translate(title));
                continue;
            }
            const Value& value = values[index];
            result.append(value.isString() ? value : Value(std::to_string(value.integer())));
        }
        return result;
    }

    bool takesValue(PSSpecifier::CellType type)
    {
        switch (type) {
        case PSSpecifier::SwitchCell:
        case PSSpecifier::SliderCell:
        case PSSpecifier::SegmentCell:
        case PSSpecifier::LinkListCell:
        case PSSpecifier::TitleValueCell:
        case PSSpecifier::EditTextCell:
        case PSSpecifier::SecureEditTextCell:
            return true;
        default:
            return false;
        }
    }

    Result<Ref<PSSpecifier>> makeSpecifier(
        runtime::Runtime& runtime, const Value& item, const Translator& translate, runtime::Object* target)
    {
        if (!item.isDictionary())
            return Error { "is not a dictionary" };
        const Value& cell = item["cell"];
        if (!cell.isString())
            return Error { "has no \"cell\" naming its cell type" };
        auto type = PSSpecifier::cellTypeNamed(cell.string());
        if (!type)
            return Error { "names the unknown cell type \"" + cell.string() + "\"" };
        auto specifier = PSSpecifier::make(runtime, translate(item["label"]), *type);
        if (!specifier)
            return Error { "cannot be made: the process has no PSSpecifier class" };
        for (auto& [key, value] : item.entries())
            specifier->setProperty(value, key);
        if (item["footerText"].isString())
            specifier->setProperty(translate(item["footerText"]), "footerText");
        specifier->setTarget(target);
        if (takesValue(*type)) {
            const Value& getter = item["get"];
            const Value& setter = item["set"];
            specifier->setAccessors(Selector::named(getter.isString() ? getter.string() : "readPreferenceValue:"),
                Selector::named(setter.isString() ? setter.string() : "setPreferenceValue:specifier:"));
        }
        if (item["action"].isString() && !item["action"].string().empty())
            specifier->setButtonAction(Selector::named(item["action"].string()));
        if (item["detail"].isString())
            specifier->setDetailControllerClassName(item["detail"].string());
        else if (*type == PSSpecifier::LinkListCell)
            specifier->setDetailControllerClassName(listItemsController);
        const Value& values = item["validValues"];
        if (values.isArray())
            specifier->setValues(values, translatedTitles(values, item["validTitles"], translate));
        return specifier;
    }

} // namespace

Result<SpecifierFile::Page> SpecifierFile::fromValue(runtime::Runtime& runtime, const Value& file,
    foundation::Bundle* bundle, const std::string& table, runtime::Object* target)
{
    if (!file.isDictionary())
        return Error { "the specifier file " + table + " is not a dictionary" };
    const Value& items = file["items"];
    if (!items.isArray())
        return Error { "the specifier file " + table + " has no \"items\" array" };
    Translator translate(bundle, table);
    Page page;
    if (file["title"].isString())
        page.title = translate(file["title"]);
    for (size_t index = 0; index < items.count(); ++index) {
        auto specifier = makeSpecifier(runtime, items[index], translate, target);
        if (specifier)
            page.specifiers.push_back(specifier.value());
        else
            page.problems.push_back(table + " item " + std::to_string(index) + " " + specifier.error().message);
    }
    return page;
}

Result<SpecifierFile::Page> SpecifierFile::load(
    device::Process& process, foundation::Bundle& bundle, const std::string& name, runtime::Object* target)
{
    auto path = bundle.pathForResource(name, "plist");
    if (!path)
        return Error { "the bundle " + bundle.bundlePath() + " has no specifier file " + name + ".plist" };
    auto file = foundation::loadPropertyList(process.device().hostPath(*path));
    if (!file)
        return Error { "the specifier file " + *path + " cannot be read: " + file.error().message };
    return fromValue(process.runtime(), file.value(), &bundle, name, target);
}

} // namespace preferences
