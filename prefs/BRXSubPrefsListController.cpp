#include "prefs/BRXSubPrefsListController.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

#include "prefs/Respring.h"

namespace brixprefs {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;

namespace {

    constexpr const char* preferenceDomain = "com.ostwyn.brixprefs";

} // namespace

void BRXSubPrefsListController::loadFromSpecifier(Object* specifier)
{
    Value file = send<Value>(specifier, SEL("propertyForKey:"), Value("BRXSub"));
    Value title = send<Value>(specifier, SEL("name"));
    Value loaded = send<Value>(this, SEL("loadSpecifiersFromPlistName:target:"), file, static_cast<Object*>(this));
    if (auto* kept = runtime::ivarPointer<Value>(this, "_specifiers"))
        *kept = loaded;
    send(this, SEL("setTitle:"), title);
    send(send<Ref<Object>>(this, SEL("navigationItem")), SEL("setTitle:"), title);
}

void BRXSubPrefsListController::resetPreferences()
{
    auto& runtime = isa()->runtime();
    auto preferences = send<Ref<Object>>(
        runtime::alloc(runtime.classNamed("HBPreferences")), SEL("initWithIdentifier:"), Value(preferenceDomain));
    send(preferences, SEL("removeAllObjects"));
    send(this, SEL("reloadSpecifiers"));
    send(this, SEL("respringUtil"));
}

void BRXSubPrefsListController::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    auto builder = runtime::ClassBuilder::define<BRXSubPrefsListController>(
        runtime, "BRXSubPrefsListController", "HBListController");
    runtime::Class* cls = &builder.cls();
    builder
        .method("init", Imp::of([cls, &runtime](BRXSubPrefsListController* self, Selector selector) -> Ref<Object> {
            auto made = runtime::sendSuper<Ref<Object>>(*cls, self, selector);
            if (made)
                send(made, SEL("hb_setAppearanceSettings:"),
                    runtime::newObject(runtime.classNamed("BRXAppearanceSettings")).get());
            return made;
        }))
        .method("specifiers", Imp::of([](BRXSubPrefsListController* self, Selector) {
            auto* kept = runtime::ivarPointer<Value>(self, "_specifiers");
            return kept ? *kept : Value();
        }))
        .method("viewWillAppear:", Imp::of([cls](BRXSubPrefsListController* self, Selector selector, bool animated) {
            runtime::sendSuper(*cls, self, selector, animated);
        }))
        .method("loadFromSpecifier:", Imp::of([](BRXSubPrefsListController* self, Selector, Object* specifier) {
            self->loadFromSpecifier(specifier);
        }))
        .method("setSpecifier:", Imp::of([cls](BRXSubPrefsListController* self, Selector selector, Object* specifier) {
            send(self, SEL("loadFromSpecifier:"), specifier);
            runtime::sendSuper(*cls, self, selector, specifier);
        }))
        .method("shouldReloadSpecifiersOnResume", Imp::of([](BRXSubPrefsListController*, Selector) { return false; }))
        .method("respringUtil", Imp::of([&runtime](BRXSubPrefsListController*, Selector) { launchRespring(runtime); }))
        .method("resetPrefs:",
            Imp::of([](BRXSubPrefsListController* self, Selector, Object*) { self->resetPreferences(); }));
}

} // namespace brixprefs
