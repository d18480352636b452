#include "platform/foundation/ProcessInfo.h"

#include "platform/runtime/Send.h"

namespace foundation {

using runtime::Imp;
using runtime::Selector;

namespace {

    // The shared object lives as an associated value of the class object,
    // which lives as long as its run time.
    const char sharedKey = 0;

} // namespace

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
    runtime.defineClassMethod(cls, SEL("processInfo"), Imp::of([](runtime::Class* self, Selector) -> Value {
        Value shared = self->associatedValue(&sharedKey);
        if (shared.isNil()) {
            shared = Value(runtime::newObject(self));
            self->setAssociatedValue(&sharedKey, shared);
        }
        return shared;
    }));
    runtime.define(cls, SEL("globallyUniqueString"),
        Imp::of([](ProcessInfo* self, Selector) { return Value(self->globallyUniqueString()); }));
}

} // namespace foundation
