#include "platform/network/URLConnection.h"

#include <memory>

#include "platform/device/Process.h"
#include "platform/device/Scheduler.h"
#include "platform/foundation/ErrorObject.h"
#include "platform/network/HTTPURLResponse.h"
#include "platform/network/Network.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Console.h"
#include "platform/runtime/Send.h"

namespace network {

using foundation::Value;
using runtime::Block;
using runtime::Class;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

using Completion = Block<void(Value, Value, Value)>;

LoadRequest loadRequestFor(URLRequest* request)
{
    LoadRequest load;
    if (!request)
        return load;
    if (URL* url = request->url())
        load.url = url->absoluteString();
    load.timeoutInterval = request->timeoutInterval();
    return load;
}

Ref<Object> errorObjectFor(runtime::Runtime& runtime, const LoadError& error)
{
    Value userInfo = Value::dictionary();
    if (!error.url.empty())
        userInfo.set("NSErrorFailingURLStringKey", Value(error.url));
    return foundation::ErrorObject::make(runtime, urlErrorDomain, error.code, error.description, userInfo);
}

namespace {

    // Loads a request whole and hands the outcome to `completion` on `queue`.
    void sendAsynchronously(device::Process& process, URLRequest* request, OperationQueue* queue, Completion completion)
    {
        struct Load {
            Value response;
            foundation::Data body;
        };
        auto load = std::make_shared<Load>();
        auto* runtime = &process.runtime();
        Ref<OperationQueue> target(queue);
        URLLoader::Client client;
        client.response = [load, runtime](const LoadResponse& response) {
            load->response = Value(HTTPURLResponse::make(*runtime, response));
        };
        client.data
            = [load](std::vector<uint8_t> piece) { load->body.insert(load->body.end(), piece.begin(), piece.end()); };
        client.finished = [load, runtime, target, completion = std::move(completion)](
                              const std::optional<LoadError>& failure) {
            Value response, data, error;
            if (failure) {
                error = Value(errorObjectFor(*runtime, *failure));
            } else {
                response = std::move(load->response);
                data = Value(std::move(load->body));
            }
            target->dispatchQueue()->async([completion, response, data, error] { completion(response, data, error); });
        };
        URLLoader::of(process).start(loadRequestFor(request), std::move(client));
    }

} // namespace

void URLConnection::post(std::function<void()> delivery)
{
    OperationQueue* queue = m_delegateQueue ? m_delegateQueue.get() : OperationQueue::mainQueue(*m_process);
    if (!queue || !queue->dispatchQueue())
        return;
    queue->dispatchQueue()->async([self = Ref<URLConnection>(this), delivery = std::move(delivery)] {
        if (!self->m_ended)
            delivery();
    });
}

void URLConnection::start()
{
    if (m_started || m_ended || !m_process)
        return;
    m_started = true;
    URLLoader::Client client;
    Ref<URLConnection> self(this);
    client.response = [self](const LoadResponse& response) { self->deliverResponse(response); };
    client.data = [self](std::vector<uint8_t> piece) { self->deliverData(std::move(piece)); };
    client.finished = [self](const std::optional<LoadError>& failure) {
        self->m_transfer.reset();
        self->deliverEnd(failure);
    };
    m_transfer = URLLoader::of(*m_process).start(loadRequestFor(m_request.get()), std::move(client));
}

void URLConnection::cancel()
{
    if (m_ended)
        return;
    m_ended = true;
    if (m_transfer && m_process)
        URLLoader::of(*m_process).cancel(*m_transfer);
    m_transfer.reset();
    m_delegate = nullptr;
}

void URLConnection::deliverResponse(const LoadResponse& response)
{
    auto object = HTTPURLResponse::make(m_process->runtime(), response);
    post([this, object] { runtime::sendIfResponds(m_delegate, SEL("connection:didReceiveResponse:"), this, object); });
}

void URLConnection::deliverData(std::vector<uint8_t> piece)
{
    post([this, data = Value(foundation::Data(std::move(piece)))] {
        runtime::sendIfResponds(m_delegate, SEL("connection:didReceiveData:"), this, data);
    });
}

void URLConnection::deliverEnd(const std::optional<LoadError>& failure)
{
    Value error = failure ? Value(errorObjectFor(m_process->runtime(), *failure)) : Value();
    post([this, error] {
        // The load has ended: the delegate is let go after it has heard so.
        Ref<Object> delegate = std::move(m_delegate);
        m_ended = true;
        if (error.isNil())
            runtime::sendIfResponds(delegate, SEL("connectionDidFinishLoading:"), this);
        else
            runtime::sendIfResponds(delegate, SEL("connection:didFailWithError:"), this, error);
    });
}

void URLConnection::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    if (runtime.classNamed("NSURLConnection"))
        return;
    auto* owner = &process;
    ClassBuilder::define<URLConnection>(runtime, "NSURLConnection", "NSObject")
        .method("initWithRequest:delegate:startImmediately:",
            Imp::of([owner](URLConnection* self, Selector, URLRequest* request, Object* delegate,
                        bool startNow) -> Object* {
                self->m_process = owner;
                self->m_request = request;
                self->m_delegate = delegate;
                if (startNow)
                    self->start();
                return self;
            }))
        .method(
            "initWithRequest:delegate:", Imp::of([](URLConnection* self, Selector, Object* request, Object* delegate) {
                return runtime::send<Ref<Object>>(
                    self, SEL("initWithRequest:delegate:startImmediately:"), request, delegate, true);
            }))
        .method("setDelegateQueue:", Imp::of([](URLConnection* self, Selector, OperationQueue* queue) {
            if (!self->m_started)
                self->m_delegateQueue = queue;
        }))
        .method("start", Imp::of(&URLConnection::start))
        .method("cancel", Imp::of(&URLConnection::cancel))
        .property("originalRequest", {}, &URLConnection::m_request)
        .classMethod(
            "connectionWithRequest:delegate:", Imp::of([](Class* self, Selector, Object* request, Object* delegate) {
                return runtime::send<Ref<Object>>(
                    runtime::alloc(self), SEL("initWithRequest:delegate:"), request, delegate);
            }))
        .classMethod("sendAsynchronousRequest:queue:completionHandler:",
            Imp::of([owner](Class*, Selector, URLRequest* request, OperationQueue* target, Completion completion) {
                if (!target || !target->dispatchQueue() || !completion) {
                    runtime::console(
                        "network: +[NSURLConnection sendAsynchronousRequest:queue:completionHandler:] needs an "
                        "operation queue and a completion handler; nothing was sent");
                    return;
                }
                sendAsynchronously(*owner, request, target, std::move(completion));
            }));
}

} // namespace network
