#include "platform/network/URLSessionDataTask.h"

#include <memory>

#include "platform/device/Process.h"
#include "platform/device/Scheduler.h"
#include "platform/network/HTTPURLResponse.h"
#include "platform/network/Network.h"
#include "platform/network/URLConnection.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace network {

using foundation::Value;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

Ref<URLSessionDataTask> URLSessionDataTask::make(device::Process& process, URLRequest* request,
    OperationQueue* delegateQueue, Completion completion, uint64_t identifier)
{
    auto* cls = process.runtime().classNamed("NSURLSessionDataTask");
    auto object = runtime::send<Ref<Object>>(cls, SEL("alloc"));
    Ref<URLSessionDataTask> task(dynamic_cast<URLSessionDataTask*>(object.get()));
    if (!task)
        return nullptr;
    task->m_process = &process;
    task->m_request = request;
    task->m_delegateQueue = delegateQueue;
    task->m_completion = std::move(completion);
    task->m_identifier = identifier;
    return task;
}

void URLSessionDataTask::resume()
{
    if (m_state != Suspended || m_transfer)
        return;
    m_state = Running;
    struct Load {
        Value response;
        foundation::Data body;
    };
    auto load = std::make_shared<Load>();
    Ref<URLSessionDataTask> self(this);
    URLLoader::Client client;
    client.response = [self, load](const LoadResponse& response) {
        load->response = Value(HTTPURLResponse::make(self->m_process->runtime(), response));
    };
    client.data
        = [load](std::vector<uint8_t> piece) { load->body.insert(load->body.end(), piece.begin(), piece.end()); };
    client.finished = [self, load](const std::optional<LoadError>& failure) {
        self->m_transfer.reset();
        if (failure)
            self->complete({}, {}, Value(errorObjectFor(self->m_process->runtime(), *failure)));
        else
            self->complete(Value(std::move(load->body)), std::move(load->response), {});
    };
    m_transfer = URLLoader::of(*m_process).start(loadRequestFor(m_request.get()), std::move(client));
}

void URLSessionDataTask::cancel()
{
    if (m_state == Canceling || m_state == Completed)
        return;
    if (m_transfer)
        URLLoader::of(*m_process).cancel(*m_transfer);
    m_transfer.reset();
    m_state = Canceling;
    LoadError cancelled { network::cancelled, "cancelled",
        m_request && m_request->url() ? m_request->url()->absoluteString() : "" };
    complete({}, {}, Value(errorObjectFor(m_process->runtime(), cancelled)));
}

void URLSessionDataTask::complete(Value data, Value response, Value error)
{
    m_state = Completed;
    auto completion = std::move(m_completion);
    m_completion = nullptr;
    if (!completion || !m_delegateQueue || !m_delegateQueue->dispatchQueue())
        return;
    m_delegateQueue->dispatchQueue()->async(
        [completion = std::move(completion), data = std::move(data), response = std::move(response),
            error = std::move(error)] { completion(data, response, error); });
}

void URLSessionDataTask::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    if (runtime.classNamed("NSURLSessionDataTask"))
        return;
    if (!runtime.classNamed("NSURLSessionTask"))
        ClassBuilder::define<runtime::NSObject>(runtime, "NSURLSessionTask", "NSObject");
    ClassBuilder::define<URLSessionDataTask>(runtime, "NSURLSessionDataTask", "NSURLSessionTask")
        .method("resume", Imp::of(&URLSessionDataTask::resume))
        .method("cancel", Imp::of(&URLSessionDataTask::cancel))
        .method(
            "state", Imp::of([](URLSessionDataTask* self, Selector) { return static_cast<int64_t>(self->state()); }))
        .property("originalRequest", {}, &URLSessionDataTask::m_request)
        .property("taskIdentifier", {}, &URLSessionDataTask::m_identifier);
}

} // namespace network
