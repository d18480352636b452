#include "platform/foundation/DateClass.h"

#include "platform/runtime/Send.h"

namespace foundation {

using runtime::Imp;
using runtime::Selector;

void DateClass::defineClass(runtime::Runtime& runtime, std::shared_ptr<const SystemEnvironment> environment)
{
    if (runtime.classNamed("NSDate"))
        return;
    auto& cls = runtime.defineClass<runtime::NSObject>("NSDate", "NSObject");
    runtime.defineClassMethod(cls, SEL("date"), Imp::of([environment](runtime::Class*, Selector) {
        return Value(fromTimeIntervalSince1970(environment->currentTime()));
    }));
    runtime.defineClassMethod(
        cls, SEL("dateWithTimeIntervalSinceNow:"), Imp::of([environment](runtime::Class*, Selector, double interval) {
            return Value(fromTimeIntervalSince1970(environment->currentTime() + interval));
        }));
    runtime.defineClassMethod(cls, SEL("dateWithTimeIntervalSince1970:"),
        Imp::of([](runtime::Class*, Selector, double seconds) { return Value(fromTimeIntervalSince1970(seconds)); }));
}

} // namespace foundation
