#include "prefs/Respring.h"

#include "platform/foundation/Value.h"
#include "platform/runtime/Send.h"

namespace brixprefs {

using foundation::Value;

void launchRespring(runtime::Runtime& runtime)
{
    auto task = runtime::newObject(runtime.classNamed("NSTask"));
    runtime::send(task, SEL("setLaunchPath:"), Value("/usr/bin/killall"));
    runtime::send(task, SEL("setArguments:"), Value(Value::Array { Value("backboardd") }));
    runtime::send(task, SEL("launch"));
}

} // namespace brixprefs
