#include "platform/preferences/PSListController.h"

#include "platform/device/Device.h"
#include "platform/foundation/Value.h"
#include "platform/preferences/Domain.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/preferences/SpecifierFile.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/NSIndexPath.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIScreen.h"

namespace preferences {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using uikit::NSIndexPath;
using uikit::UITableView;

void PSListController::setUp(device::Process& process)
{
    m_process = &process;
}

void PSListController::reportProblem(const std::string& message) const
{
    if (m_process)
        m_process->device().trace().emit(
            "settings.error", { { "bundleId", m_process->bundleIdentifier() }, { "message", message } });
}

void PSListController::makeTable()
{
    auto* screen = uikit::UIKitState::of(*m_process).mainScreen();
    uikit::Rect frame = screen ? screen->bounds() : uikit::Rect {};
    auto made = runtime::send<Ref<Object>>(runtime::alloc(m_process->runtime().classNamed("UITableView")),
        SEL("initWithFrame:style:"), frame, static_cast<int64_t>(UITableView::InsetGrouped));
    m_table = Ref<UITableView>(dynamic_cast<UITableView*>(made.get()));
    if (!m_table)
        return;
    m_table->setAutoresizingMask(uikit::FlexibleWidth | uikit::FlexibleHeight);
    runtime::send(m_table.get(), SEL("setDataSource:"), static_cast<Object*>(this));
    runtime::send(m_table.get(), SEL("setDelegate:"), static_cast<Object*>(this));
    setView(m_table.get());
}

std::vector<Ref<PSSpecifier>> PSListController::currentSpecifiers()
{
    std::vector<Ref<PSSpecifier>> result;
    Value list = runtime::send<Value>(this, SEL("specifiers"));
    for (auto& item : list.items()) {
        if (auto* specifier = dynamic_cast<PSSpecifier*>(item.object()))
            result.emplace_back(specifier);
    }
    return result;
}

void PSListController::regroup()
{
    m_groups.clear();
    for (auto& specifier : currentSpecifiers()) {
        if (specifier->cellType() == PSSpecifier::GroupCell) {
            m_groups.push_back({ specifier, {} });
            continue;
        }
        if (m_groups.empty())
            m_groups.push_back({ nullptr, {} });
        m_groups.back().rows.push_back(specifier);
    }
}

PSSpecifier* PSListController::specifierAt(size_t section, size_t row) const
{
    if (section >= m_groups.size() || row >= m_groups[section].rows.size())
        return nullptr;
    return m_groups[section].rows[row].get();
}

std::optional<std::pair<size_t, size_t>> PSListController::rowOf(const PSSpecifier* specifier) const
{
    for (size_t section = 0; section < m_groups.size(); ++section) {
        for (size_t row = 0; row < m_groups[section].rows.size(); ++row) {
            if (m_groups[section].rows[row].get() == specifier)
                return std::pair { section, row };
        }
    }
    return std::nullopt;
}

uikit::UITableViewCell* PSListController::cellFor(const PSSpecifier* specifier) const
{
    auto place = rowOf(specifier);
    return place && m_table ? m_table->cell(place->first, place->second) : nullptr;
}

Value PSListController::loadSpecifiersFromPlistName(const std::string& name, Object* target)
{
    Value list = Value::array();
    if (!m_bundle) {
        reportProblem("the page " + std::string(isa()->name()) + " has no bundle to load " + name + ".plist from");
        return list;
    }
    auto page = SpecifierFile::load(*m_process, *m_bundle, name, target);
    if (!page) {
        reportProblem(page.error().message);
        return list;
    }
    for (auto& problem : page->problems)
        reportProblem(problem);
    if (page->title.isString() && !page->title.string().empty())
        runtime::send(this, SEL("setTitle:"), page->title);
    for (auto& specifier : page->specifiers)
        list.append(Value(specifier));
    return list;
}

void PSListController::reloadSpecifiers()
{
    Ref<PSListController> protect(this);
    regroup();
    if (m_table)
        m_table->reloadData();
}

void PSListController::reload()
{
    if (m_table)
        m_table->reloadData();
}

Value PSListController::readPreferenceValue(PSSpecifier& specifier) const
{
    const Value& domain = specifier.property("defaults");
    const Value& key = specifier.property("key");
    Value stored;
    if (m_process && domain.isString() && key.isString())
        stored = Domain(m_process->device(), domain.string()).read()[key.string()];
    return stored.isNil() ? specifier.property("default") : stored;
}

void PSListController::setPreferenceValue(const Value& value, PSSpecifier& specifier)
{
    const Value& domain = specifier.property("defaults");
    const Value& key = specifier.property("key");
    if (!m_process || !domain.isString() || !key.isString()) {
        reportProblem("the row \"" + specifier.name().string() + "\" names no \"defaults\" and \"key\" to store into");
        return;
    }
    if (auto stored = Domain(m_process->device(), domain.string()).set(key.string(), value); !stored) {
        reportProblem("cannot store " + key.string() + ": " + stored.error().message);
        return;
    }
    const Value& notification = specifier.property("PostNotification");
    if (notification.isString() && !notification.string().empty())
        m_process->device().distributedCenter().post(notification.string(), {}, m_process);
}

Ref<uikit::UIViewController> PSListController::openLink(PSSpecifier& specifier)
{
    const std::string& className = specifier.detailControllerClassName();
    runtime::Class* cls = className.empty() ? nullptr : m_process->runtime().classNamed(className);
    if (!cls) {
        reportProblem(
            "the row \"" + specifier.name().string() + "\" opens the unknown page class \"" + className + "\"");
        return nullptr;
    }
    Ref<Object> made = runtime::newObject(cls);
    Ref<uikit::UIViewController> page(dynamic_cast<uikit::UIViewController*>(made.get()));
    if (!page) {
        reportProblem("the page class \"" + className + "\" is not a view controller");
        return nullptr;
    }
    // A page of a bundle opens the pages of the same bundle.
    if (auto* list = dynamic_cast<PSListController*>(page.get()); list && !list->bundle())
        list->setBundle(m_bundle.get());
    runtime::sendIfResponds(page.get(), SEL("setSpecifier:"), static_cast<Object*>(&specifier));
    runtime::send(navigationController(), SEL("pushViewController:animated:"), static_cast<Object*>(page.get()), true);
    return page;
}

bool PSListController::performButtonAction(PSSpecifier& specifier)
{
    Ref<Object> target(specifier.target());
    Selector action = specifier.buttonAction();
    if (!target || action.isNull() || !runtime::respondsToSelector(target.get(), action)) {
        reportProblem("the button \"" + specifier.name().string() + "\" has no action its page answers");
        return false;
    }
    Ref<PSSpecifier> protect(&specifier);
    if (action.name().find(':') == std::string::npos)
        runtime::send(target.get(), action);
    else
        runtime::send(target.get(), action, static_cast<Object*>(&specifier));
    return true;
}

void PSListController::didSelectRow(size_t section, size_t row)
{
    Ref<PSSpecifier> specifier(specifierAt(section, row));
    if (!specifier)
        return;
    switch (specifier->cellType()) {
    case PSSpecifier::LinkCell:
    case PSSpecifier::LinkListCell:
        openLink(*specifier);
        break;
    case PSSpecifier::ButtonCell:
        performButtonAction(*specifier);
        break;
    default:
        break;
    }
}

void PSListController::setSpecifiers(const Value& list)
{
    m_specifiers = list.isArray() ? list : Value::array();
    reloadSpecifiers();
}

void PSListController::setSpecifier(PSSpecifier* specifier)
{
    m_specifier = specifier;
    if (m_specifier && title().isNil())
        runtime::send(this, SEL("setTitle:"), m_specifier->name());
}

const PSListController::Group* PSListController::groupAt(int64_t section) const
{
    if (section < 0 || static_cast<size_t>(section) >= m_groups.size())
        return nullptr;
    return &m_groups[static_cast<size_t>(section)];
}

void PSListController::registerClass(device::Process& process)
{
    auto builder
        = runtime::ClassBuilder::define<PSListController>(process.runtime(), "PSListController", "UIViewController");
    runtime::Class* cls = &builder.cls();
    auto* owner = &process;
    builder.ivar("_specifiers", &PSListController::m_specifiers)
        .ivar("_specifier", &PSListController::m_specifier)
        .ivar("_table", &PSListController::m_table)
        .method("init", Imp::of([cls, owner](PSListController* self, Selector selector) -> Ref<Object> {
            auto made = runtime::sendSuper<Ref<Object>>(*cls, self, selector);
            if (auto* page = dynamic_cast<PSListController*>(made.get()))
                page->setUp(*owner);
            return made;
        }))
        .method("loadView", Imp::of(&PSListController::makeTable))
        .method("viewWillAppear:", Imp::of([cls](PSListController* self, Selector selector, bool animated) {
            runtime::sendSuper(*cls, self, selector, animated);
            self->reload();
        }))
        .method("table", Imp::of(&PSListController::table))
        .method("bundle", Imp::of(&PSListController::bundle))
        .property("specifiers", "setSpecifiers:", &PSListController::specifiers, &PSListController::setSpecifiers)
        .method("loadSpecifiersFromPlistName:target:",
            Imp::of([](PSListController* self, Selector, const Value& name, Object* target) {
                return self->loadSpecifiersFromPlistName(name.isString() ? name.string() : std::string(), target);
            }))
        .method("reloadSpecifiers", Imp::of(&PSListController::reloadSpecifiers))
        .method("reload", Imp::of(&PSListController::reload))
        .property("specifier", "setSpecifier:", &PSListController::specifier, &PSListController::setSpecifier)
        .method("shouldReloadSpecifiersOnResume", Imp::of([](PSListController*, Selector) { return true; }))
        .method("readPreferenceValue:", Imp::of([](PSListController* self, Selector, PSSpecifier* row) {
            return row ? self->readPreferenceValue(*row) : Value();
        }))
        .method("setPreferenceValue:specifier:",
            Imp::of([](PSListController* self, Selector, const Value& value, PSSpecifier* row) {
                if (row)
                    self->setPreferenceValue(value, *row);
            }))
        .method("scrollViewDidScroll:", Imp::of([](PSListController*, Selector, Object*) {}))
        .method("dealloc", Imp::of([cls](PSListController* self, Selector selector) {
            self->m_groups.clear();
            self->m_specifiers = Value();
            self->m_table = nullptr;
            runtime::sendSuper(*cls, self, selector);
        }));
    defineTableMethods(builder);
}

// The page is its table's data source and delegate.
void PSListController::defineTableMethods(runtime::ClassBuilder& builder)
{
    builder
        .method("numberOfSectionsInTableView:", Imp::of([](PSListController* self, Selector, Object*) {
            self->regroup();
            return static_cast<int64_t>(self->m_groups.size());
        }))
        .method(
            "tableView:numberOfRowsInSection:", Imp::of([](PSListController* self, Selector, Object*, int64_t section) {
                const Group* group = self->groupAt(section);
                return static_cast<int64_t>(group ? group->rows.size() : 0);
            }))
        .method("tableView:cellForRowAtIndexPath:",
            Imp::of([](PSListController* self, Selector, Object*, NSIndexPath* path) -> Ref<Object> {
                auto place = NSIndexPath::indexesOf(path);
                PSSpecifier* specifier = place ? self->specifierAt(place->first, place->second) : nullptr;
                if (!specifier)
                    return nullptr;
                return Ref<Object>(PSTableCell::make(self->isa()->runtime(), *specifier).get());
            }))
        .method("tableView:titleForHeaderInSection:",
            Imp::of([](PSListController* self, Selector, Object*, int64_t section) {
                const Group* group = self->groupAt(section);
                return group && group->header ? group->header->name() : Value();
            }))
        .method("tableView:titleForFooterInSection:",
            Imp::of([](PSListController* self, Selector, Object*, int64_t section) {
                const Group* group = self->groupAt(section);
                return group && group->header ? group->header->property("footerText") : Value();
            }))
        .method("tableView:didSelectRowAtIndexPath:",
            Imp::of([](PSListController* self, Selector, Object*, NSIndexPath* path) {
                if (auto place = NSIndexPath::indexesOf(path))
                    self->didSelectRow(place->first, place->second);
            }));
}

} // namespace preferences
