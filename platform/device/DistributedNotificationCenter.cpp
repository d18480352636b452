#include "platform/device/DistributedNotificationCenter.h"

#include "platform/device/Device.h"
#include "platform/runtime/Send.h"

namespace device {

namespace {

    using foundation::Value;
    using runtime::Imp;
    using runtime::Object;
    using runtime::Ref;
    using runtime::Selector;

    // The process's one center object, released when the process ends.
    struct DefaultDistributedCenter {
        explicit DefaultDistributedCenter(Process&) { }
        Ref<Object> center;
    };

    // A name is a string or nil (every name); anything else names nothing.
    bool isName(const Value& name)
    {
        return name.isNil() || name.isString();
    }

    void defineObserving(runtime::Runtime& runtime, runtime::Class& cls, Process* process)
    {
        runtime.define(cls, SEL("addObserver:selector:name:object:"),
            Imp::of([process](Object*, Selector, Object* observer, Selector selector, Value name, Object*) {
                if (isName(name))
                    process->device().distributedCenter().addObserver(*process, observer, selector, name.string());
            }));
        runtime.define(cls, SEL("removeObserver:name:object:"),
            Imp::of([process](Object*, Selector, Object* observer, Value name, Object*) {
                if (isName(name))
                    process->device().distributedCenter().removeObserver(*process, observer, name.string());
            }));
        runtime.define(cls, SEL("removeObserver:"), Imp::of([process](Object*, Selector, Object* observer) {
            process->device().distributedCenter().removeObserver(*process, observer);
        }));
    }

    void definePosting(runtime::Runtime& runtime, runtime::Class& cls, Process* process)
    {
        auto post = [process](const Value& name, const Value& userInfo) {
            // A nil or non-string name reads as "", which the center refuses.
            process->device().distributedCenter().post(name.string(), userInfo, process);
        };
        runtime.define(cls, SEL("postNotificationName:object:"),
            Imp::of([post](Object*, Selector, Value name, Object*) { post(name, {}); }));
        runtime.define(cls, SEL("postNotificationName:object:userInfo:"),
            Imp::of([post](Object*, Selector, Value name, Object*, Value userInfo) { post(name, userInfo); }));
        runtime.define(cls, SEL("postNotificationName:object:userInfo:deliverImmediately:"),
            Imp::of([post](Object*, Selector, Value name, Object*, Value userInfo, bool) { post(name, userInfo); }));
    }

} // namespace

void defineDistributedClasses(Process& process)
{
    auto& runtime = process.runtime();
    if (runtime.classNamed("NSDistributedNotificationCenter"))
        return;
    auto& cls = runtime.defineClass<runtime::NSObject>("NSDistributedNotificationCenter", "NSObject");
    Process* owner = &process;
    runtime.defineClassMethod(cls, SEL("defaultCenter"), Imp::of([owner](runtime::Class* self, Selector) {
        auto& slot = owner->service<DefaultDistributedCenter>().center;
        if (!slot)
            slot = runtime::newObject(self);
        return slot;
    }));
    defineObserving(runtime, cls, owner);
    definePosting(runtime, cls, owner);
}

} // namespace device
