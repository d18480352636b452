#include "platform/device/DistributedNotificationCenter.h"

#include "platform/device/Device.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace device {

namespace {

    using foundation::Value;
    using runtime::ClassBuilder;
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

    void defineObserving(ClassBuilder& builder, Process* process)
    {
        builder
            .method("addObserver:selector:name:object:",
                Imp::of([process](Object*, Selector, Object* observer, Selector selector, Value name, Object*) {
                    if (isName(name))
                        process->device().distributedCenter().addObserver(*process, observer, selector, name.string());
                }))
            .method("removeObserver:name:object:",
                Imp::of([process](Object*, Selector, Object* observer, Value name, Object*) {
                    if (isName(name))
                        process->device().distributedCenter().removeObserver(*process, observer, name.string());
                }))
            .method("removeObserver:", Imp::of([process](Object*, Selector, Object* observer) {
                process->device().distributedCenter().removeObserver(*process, observer);
            }));
    }

    void definePosting(ClassBuilder& builder, Process* process)
    {
        auto post = [process](const Value& name, const Value& userInfo) {
            // A nil or non-string name reads as "", which the center refuses.
            process->device().distributedCenter().post(name.string(), userInfo, process);
        };
        builder
            .method("postNotificationName:object:",
                Imp::of([post](Object*, Selector, Value name, Object*) { post(name, {}); }))
            .method("postNotificationName:object:userInfo:",
                Imp::of([post](Object*, Selector, Value name, Object*, Value userInfo) { post(name, userInfo); }))
            .method("postNotificationName:object:userInfo:deliverImmediately:",
                Imp::of(
                    [post](Object*, Selector, Value name, Object*, Value userInfo, bool) { post(name, userInfo); }));
    }

} // namespace

void DistributedNotificationCenter::registerClass(Process& process)
{
    auto& runtime = process.runtime();
    if (runtime.classNamed("NSDistributedNotificationCenter"))
        return;
    auto builder = ClassBuilder::define<runtime::NSObject>(runtime, "NSDistributedNotificationCenter", "NSObject");
    Process* owner = &process;
    builder.classMethod("defaultCenter", Imp::of([owner](runtime::Class* self, Selector) {
        auto& slot = owner->service<DefaultDistributedCenter>().center;
        if (!slot)
            slot = runtime::newObject(self);
        return slot;
    }));
    defineObserving(builder, owner);
    definePosting(builder, owner);
}

} // namespace device
