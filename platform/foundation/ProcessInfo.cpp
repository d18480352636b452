#include "platform/foundation/ProcessInfo.h"

#include "platform/foundation/UUID.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::Imp;
using runtime::Ref;
using runtime::Selector;

std::string ProcessInfo::globallyUniqueString()
{
    return UUID::format(UUID::random());
}

void ProcessInfo::defineClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSProcessInfo"))
        return;
    auto& cls = runtime.defineClass<ProcessInfo>("NSProcessInfo", "NSObject");
    // Each run time (each process) has its own object, owned by this method.
    Ref<runtime::Object> shared = runtime::newObject(&cls);
    runtime.defineClassMethod(cls, SEL("processInfo"), Imp::of([shared](runtime::Class*, Selector) { return shared; }));
    runtime.define(cls, SEL("globallyUniqueString"),
        Imp::of([](ProcessInfo* self, Selector) { return Value(self->globallyUniqueString()); }));
}

} // namespace foundation
