#include "platform/foundation/DateClass.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Selector;

void DateClass::registerClass(runtime::Runtime& runtime, std::shared_ptr<const SystemEnvironment> environment)
{
    if (runtime.classNamed("NSDate"))
        return;
    ClassBuilder::define<runtime::NSObject>(runtime, "NSDate", "NSObject")
        .classMethod("date", Imp::of([environment](runtime::Class*, Selector) {
            return Value(fromTimeIntervalSince1970(environment->currentTime()));
        }))
        .classMethod(
            "dateWithTimeIntervalSinceNow:", Imp::of([environment](runtime::Class*, Selector, double interval) {
                return Value(fromTimeIntervalSince1970(environment->currentTime() + interval));
            }))
        .classMethod("dateWithTimeIntervalSince1970:", Imp::of([](runtime::Class*, Selector, double seconds) {
            return Value(fromTimeIntervalSince1970(seconds));
        }));
}

} // namespace foundation
