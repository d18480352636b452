#pragma once

#include <string>

#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace foundation {

// The platform's NSNotification: a name, the object that posted it (held
// strongly; may be nil) and its user info.
//
// Messages: +notificationWithName:object:userInfo:, +notificationWithName:object:,
// -initWithName:object:userInfo:, -name, -object, -userInfo.
class Notification : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const std::string& name() const { return m_name; }
    runtime::Object* object() const { return m_object.get(); }
    const Value& userInfo() const { return m_userInfo; }

    void setContents(std::string name, runtime::Object* object, Value userInfo);

    // Defines the run-time class "NSNotification"; does nothing when it exists.
    static void registerClass(runtime::Runtime&);

private:
    std::string m_name;
    runtime::Ref<runtime::Object> m_object;
    Value m_userInfo;
};

// A new NSNotification made through the run time (nil when the run time has
// no NSNotification class).
runtime::Ref<runtime::Object> makeNotification(
    runtime::Runtime&, std::string name, runtime::Object* object, Value userInfo = {});

} // namespace foundation
