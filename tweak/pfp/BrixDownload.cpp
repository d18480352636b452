#include "tweak/pfp/BrixDownload.h"

#include "platform/runtime/ClassBuilder.h"

#include "tweak/Brix.h"

namespace brix::pfp {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;
using runtime::sendIfResponds;

void BrixDownload::start(Brix& brix, Object* request, Object* queue, Completion completion)
{
    auto& runtime = brix.runtime();
    auto download = runtime::newObject(runtime.classNamed("BrixDownload"));
    auto* typed = dynamic_cast<BrixDownload*>(download.get());
    if (!typed || !request || !queue)
        return;
    typed->m_completion = std::move(completion);
    auto connection = send<Ref<Object>>(runtime::alloc(runtime.classNamed("NSURLConnection")),
        SEL("initWithRequest:delegate:startImmediately:"), request, download, false);
    send(connection, SEL("setDelegateQueue:"), queue);
    send(connection, SEL("start"));
}

void BrixDownload::receiveResponse(Object* connection, const Value& response)
{
    m_response = response;
    int64_t expected = sendIfResponds<int64_t>(response.object(), SEL("expectedContentLength"));
    if (expected > static_cast<int64_t>(bodyLimit))
        abandon(connection);
}

void BrixDownload::receiveData(Object* connection, const Value& data)
{
    if (!m_completion)
        return;
    const auto& piece = data.data();
    if (m_body.size() + piece.size() > bodyLimit) {
        abandon(connection);
        return;
    }
    // Room for the longest body at once: pages are taken only as they fill,
    // and growing never holds two copies.
    if (m_body.empty())
        m_body.reserve(bodyLimit);
    m_body.insert(m_body.end(), piece.begin(), piece.end());
}

void BrixDownload::finish(Value error)
{
    auto completion = std::move(m_completion);
    m_completion = nullptr;
    if (!completion)
        return;
    if (error.isNil())
        completion(std::move(m_response), Value(std::move(m_body)), {});
    else
        completion({}, {}, std::move(error));
}

void BrixDownload::abandon(Object* connection)
{
    m_completion = nullptr;
    m_body.clear();
    m_body.shrink_to_fit();
    send(connection, SEL("cancel"));
}

void BrixDownload::registerClass(Brix& brix)
{
    auto& runtime = brix.runtime();
    if (runtime.classNamed("BrixDownload"))
        return;
    runtime::ClassBuilder::define<BrixDownload>(runtime, "BrixDownload", "NSObject")
        .method("connection:didReceiveResponse:", Imp::of(&BrixDownload::receiveResponse))
        .method("connection:didReceiveData:", Imp::of(&BrixDownload::receiveData))
        .method("connectionDidFinishLoading:", Imp::of([](BrixDownload* self, Selector, Object*) { self->finish({}); }))
        .method("connection:didFailWithError:",
            Imp::of([](BrixDownload* self, Selector, Object*, const Value& error) { self->finish(error); }));
}

} // namespace brix::pfp
