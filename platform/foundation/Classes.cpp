#include "platform/foundation/Classes.h"

#include "platform/foundation/BoxedValue.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/DateClass.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/ErrorObject.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/MutableArray.h"
#include "platform/foundation/MutableDictionary.h"
#include "platform/foundation/Notification.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Number.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/foundation/RegularExpression.h"
#include "platform/foundation/TextCheckingResult.h"
#include "platform/foundation/UUID.h"

namespace foundation {

namespace {

    // NSNull: +null answers the null object, which is a value of its own kind.
    void defineNullClass(runtime::Runtime& runtime)
    {
        if (runtime.classNamed("NSNull"))
            return;
        auto& cls = runtime.defineClass<runtime::NSObject>("NSNull", "NSObject");
        runtime.defineClassMethod(
            cls, SEL("null"), runtime::Imp::of([](runtime::Class*, runtime::Selector) { return Value::null(); }));
    }

} // namespace

void defineClasses(runtime::Runtime& runtime)
{
    defineNullClass(runtime);
    BoxedValue::defineClass(runtime);
    Number::defineClass(runtime);
    ProcessInfo::defineClass(runtime);
    Notification::defineClass(runtime);
    NotificationCenter::defineClass(runtime);
    RegularExpression::defineClass(runtime);
    TextCheckingResult::defineClass(runtime);
    ErrorObject::defineClass(runtime);
    MutableArray::defineClass(runtime);
    MutableDictionary::defineClass(runtime);
    UUID::defineClass(runtime);
}

void defineSystemClasses(runtime::Runtime& runtime, std::shared_ptr<const SystemEnvironment> environment)
{
    DateClass::defineClass(runtime, environment);
    DateFormatter::defineClass(runtime, environment);
    FileManager::defineClass(runtime, environment);
    Bundle::defineClass(runtime, std::move(environment));
}

} // namespace foundation
