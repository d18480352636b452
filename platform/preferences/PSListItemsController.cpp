#include "platform/preferences/PSListItemsController.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/NSIndexPath.h"

namespace preferences {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void PSListItemsController::buildItems()
{
    Value list = Value::array();
    auto& runtime = isa()->runtime();
    if (PSSpecifier* link = specifier()) {
        list.append(Value(PSSpecifier::make(runtime, Value(), PSSpecifier::GroupCell)));
        for (size_t index = 0; index < link->values().count(); ++index) {
            auto item = PSSpecifier::make(runtime, link->titles()[index], PSSpecifier::ListItemCell);
            item->setProperty(link->values()[index], "value");
            item->setTarget(this);
            list.append(Value(item));
        }
    }
    if (auto* kept = runtime::ivarPointer<Value>(this, "_specifiers"))
        *kept = list;
}

void PSListItemsController::choose(PSSpecifier& item)
{
    if (PSSpecifier* link = specifier())
        link->writeValue(item.property("value"));
    reload();
}

bool PSListItemsController::chooseTitled(const std::string& title)
{
    for (auto& group : groups()) {
        for (auto& row : group.rows) {
            if (row->name().isString() && row->name().string() == title) {
                choose(*row);
                return true;
            }
        }
    }
    return false;
}

void PSListItemsController::registerClass(device::Process& process)
{
    auto builder = runtime::ClassBuilder::define<PSListItemsController>(
        process.runtime(), "PSListItemsController", "PSListController");
    runtime::Class* cls = &builder.cls();
    builder
        .method("setSpecifier:", Imp::of([cls](PSListItemsController* self, Selector selector, Object* specifier) {
            runtime::sendSuper(*cls, self, selector, specifier);
            self->buildItems();
            self->reloadSpecifiers();
        }))
        .method("tableView:cellForRowAtIndexPath:",
            Imp::of([cls](PSListItemsController* self, Selector selector, Object* table, Object* path) -> Ref<Object> {
                auto cell = runtime::sendSuper<Ref<Object>>(*cls, self, selector, table, path);
                auto* index = dynamic_cast<uikit::NSIndexPath*>(path);
                PSSpecifier* item = index
                    ? self->specifierAt(static_cast<size_t>(index->section()), static_cast<size_t>(index->row()))
                    : nullptr;
                PSSpecifier* link = self->specifier();
                if (item && link) {
                    Value current = link->readValue();
                    if (current.isNil())
                        current = link->property("default");
                    bool checked = sameChoice(item->property("value"), current);
                    runtime::send(cell, SEL("setAccessoryType:"),
                        static_cast<int64_t>(
                            checked ? uikit::UITableViewCell::Checkmark : uikit::UITableViewCell::None));
                }
                return cell;
            }))
        .method("tableView:didSelectRowAtIndexPath:",
            Imp::of([](PSListItemsController* self, Selector, Object*, uikit::NSIndexPath* index) {
                auto place = uikit::NSIndexPath::indexesOf(index);
                Ref<PSSpecifier> item(place ? self->specifierAt(place->first, place->second) : nullptr);
                if (item)
                    self->choose(*item);
            }));
}

} // namespace preferences
