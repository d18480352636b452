#include "platform/device/DispatchQueueObject.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace device {

using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Ref;
using runtime::Selector;

Ref<DispatchQueueObject> DispatchQueueObject::make(Process& process, std::string label)
{
    auto* cls = process.runtime().classNamed("OS_dispatch_queue");
    if (!cls)
        return nullptr;
    auto object = Ref<DispatchQueueObject>(dynamic_cast<DispatchQueueObject*>(runtime::newObject(cls).get()));
    if (object) {
        object->m_process = &process;
        object->m_label = std::move(label);
    }
    return object;
}

DispatchQueue* DispatchQueueObject::queue() const
{
    if (!m_process || !m_process->isRunning())
        return nullptr;
    return &m_process->queue(m_label);
}

void DispatchQueueObject::registerClass(Process& process)
{
    auto& runtime = process.runtime();
    if (runtime.classNamed("OS_dispatch_queue"))
        return;
    ClassBuilder::define<DispatchQueueObject>(runtime, "OS_dispatch_queue", "NSObject")
        .method("label", Imp::of([](DispatchQueueObject* self, Selector) { return foundation::Value(self->label()); }));
}

namespace {

    DispatchQueue* queueOf(runtime::Object* object)
    {
        auto* queue = dynamic_cast<DispatchQueueObject*>(object);
        return queue ? queue->queue() : nullptr;
    }

} // namespace

bool dispatchSync(runtime::Object* object, Task task)
{
    auto* queue = queueOf(object);
    if (!queue || !queue->isOpen())
        return false;
    queue->sync(std::move(task));
    return true;
}

bool dispatchAsync(runtime::Object* object, Task task)
{
    auto* queue = queueOf(object);
    if (!queue || !queue->isOpen())
        return false;
    queue->async(std::move(task));
    return true;
}

} // namespace device
