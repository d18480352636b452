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
#include "platform/runtime/ClassBuilder.h"

namespace foundation {

using runtime::ClassBuilder;

namespace {

    // NSNull: +null answers the null object, which is a value of its own kind.
    void defineNullClass(runtime::Runtime& runtime)
    {
        if (runtime.classNamed("NSNull"))
            return;
        runtime::ClassBuilder::define<runtime::NSObject>(runtime, "NSNull", "NSObject")
            .classMethod("null", runtime::Imp::of([](runtime::Class*, runtime::Selector) { return Value::null(); }));
    }

} // namespace

void defineClasses(runtime::Runtime& runtime)
{
    defineNullClass(runtime);
    BoxedValue::registerClass(runtime);
    Number::registerClass(runtime);
    ProcessInfo::registerClass(runtime);
    Notification::registerClass(runtime);
    NotificationCenter::registerClass(runtime);
    RegularExpression::registerClass(runtime);
    TextCheckingResult::registerClass(runtime);
    ErrorObject::registerClass(runtime);
    MutableArray::registerClass(runtime);
    MutableDictionary::registerClass(runtime);
    UUID::registerClass(runtime);
}

void defineSystemClasses(runtime::Runtime& runtime, std::shared_ptr<const SystemEnvironment> environment)
{
    DateClass::registerClass(runtime, environment);
    DateFormatter::registerClass(runtime, environment);
    FileManager::registerClass(runtime, environment);
    Bundle::registerClass(runtime, std::move(environment));
}

} // namespace foundation
