#include "platform/network/OperationQueue.h"

#include <memory>

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace network {

using runtime::Block;
using runtime::Class;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

Ref<OperationQueue> OperationQueue::make(device::Process& process, device::DispatchQueue& queue)
{
    auto* cls = process.runtime().classNamed("NSOperationQueue");
    if (!cls)
        return nullptr;
    auto object = runtime::send<Ref<Object>>(cls, SEL("alloc"));
    Ref<OperationQueue> typed(dynamic_cast<OperationQueue*>(object.get()));
    if (typed)
        typed->m_queue = &queue;
    return typed;
}

OperationQueue* OperationQueue::mainQueue(device::Process& process)
{
    auto queue = runtime::send<Ref<Object>>(process.runtime().classNamed("NSOperationQueue"), SEL("mainQueue"));
    return dynamic_cast<OperationQueue*>(queue.get());
}

void OperationQueue::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    if (runtime.classNamed("NSOperationQueue"))
        return;
    auto builder = ClassBuilder::define<OperationQueue>(runtime, "NSOperationQueue", "NSObject");
    auto* owner = &process;
    auto serial = std::make_shared<int>(0);
    builder
        .method("init", Imp::of([owner, serial](OperationQueue* self, Selector) -> Object* {
            self->m_queue = &owner->queue("com.apple.NSOperationQueue." + std::to_string(++*serial));
            return self;
        }))
        .method("addOperationWithBlock:", Imp::of([](OperationQueue* self, Selector, Block<void()> block) {
            if (self->m_queue && block)
                self->m_queue->async([block = std::move(block)] { block(); });
        }));
    Ref<Object> main = make(process, process.mainQueue());
    builder.classMethod("mainQueue", Imp::of([main](Class*, Selector) { return main; }));
}

} // namespace network
