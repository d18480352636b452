#include "platform/foundation/Classes.h"

#include "platform/foundation/BoxedValue.h"
#include "platform/foundation/Notification.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Number.h"

namespace foundation {

void defineClasses(runtime::Runtime& runtime)
{
    BoxedValue::defineClass(runtime);
    Number::defineClass(runtime);
    Notification::defineClass(runtime);
    NotificationCenter::defineClass(runtime);
}

} // namespace foundation
