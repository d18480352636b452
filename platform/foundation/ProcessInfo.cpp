#include "platform/foundation/ProcessInfo.h"

#include "platform/runtime/Send.h"

namespace foundation {

using runtime::Imp;
using runtime::Ref;
using runtime::Selector;

ProcessInfo::ProcessInfo(runtime::Class* cls)
    : NSObject(cls)
{
    std::random_device entropy;
    std::seed_seq seed { entropy(), entropy(), entropy(), entropy() };
    m_generator.seed(seed);
}

std::string ProcessInfo::globallyUniqueString()
{
    static constexpr char digits[] = "0123456789ABCDEF";
    uint64_t halves[2] = { m_generator(), m_generator() };
    std::string result;
    for (int position = 0; position < 32; ++position) {
        if (position == 8 || position == 12 || position == 16 || position == 20)
            result += '-';
        uint64_t half = halves[position / 16];
        result += digits[(half >> ((position % 16) * 4)) & 0xF];
    }
    return result;
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
