#include "platform/foundation/ProcessInfo.h"

#include "platform/foundation/UUID.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Ref;
using runtime::Selector;

std::string ProcessInfo::globallyUniqueString()
{
    return UUID::format(UUID::random());
}

void ProcessInfo::registerClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSProcessInfo"))
        return;
    auto builder = ClassBuilder::define<ProcessInfo>(runtime, "NSProcessInfo", "NSObject");
    // Each run time (each process) has its own object, owned by this method.
    Ref<runtime::Object> shared = runtime::newObject(&builder.cls());
    builder.classMethod("processInfo", Imp::of([shared](runtime::Class*, Selector) { return shared; }))
        .method("globallyUniqueString",
            Imp::of([](ProcessInfo* self, Selector) { return Value(self->globallyUniqueString()); }));
}

} // namespace foundation
