#include "platform/network/URLSession.h"

#include "platform/device/Process.h"
#include "platform/network/URLRequest.h"
#include "platform/network/URLSessionDataTask.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace network {

using runtime::Class;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using Completion = URLSessionDataTask::Completion;

void URLSession::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    if (runtime.classNamed("NSURLSession"))
        return;
    auto* owner = &runtime;
    auto builder = ClassBuilder::define<URLSession>(runtime, "NSURLSession", "NSObject");
    builder.property("delegateQueue", {}, &URLSession::m_delegateQueue)
        .method("dataTaskWithRequest:completionHandler:",
            Imp::of([](URLSession* self, Selector, URLRequest* request, Completion completion) -> Ref<Object> {
                return URLSessionDataTask::make(*self->m_process, request, self->m_delegateQueue.get(),
                    std::move(completion), self->m_nextTaskIdentifier++);
            }))
        .method("dataTaskWithURL:completionHandler:",
            Imp::of([owner](URLSession* self, Selector, Object* url, Completion completion) {
                auto request
                    = runtime::send<Ref<Object>>(owner->classNamed("NSURLRequest"), SEL("requestWithURL:"), url);
                return runtime::send<Ref<Object>>(
                    self, SEL("dataTaskWithRequest:completionHandler:"), request, std::move(completion));
            }));

    auto shared = runtime::send<Ref<Object>>(&builder.cls(), SEL("alloc"));
    auto* session = dynamic_cast<URLSession*>(shared.get());
    session->m_process = &process;
    session->m_delegateQueue = OperationQueue::make(process, process.queue(sharedQueueLabel));
    builder.classMethod("sharedSession", Imp::of([shared](Class*, Selector) { return shared; }));
}

} // namespace network
