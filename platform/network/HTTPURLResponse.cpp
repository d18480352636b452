#include "platform/network/HTTPURLResponse.h"

#include "platform/network/URL.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace network {

using foundation::Value;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

Ref<HTTPURLResponse> HTTPURLResponse::make(runtime::Runtime& runtime, LoadResponse contents)
{
    auto response = runtime::newObject(runtime.classNamed("NSHTTPURLResponse"));
    Ref<HTTPURLResponse> typed(dynamic_cast<HTTPURLResponse*>(response.get()));
    if (typed)
        typed->m_contents = std::move(contents);
    return typed;
}

void HTTPURLResponse::registerClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSHTTPURLResponse"))
        return;
    if (!runtime.classNamed("NSURLResponse"))
        ClassBuilder::define<runtime::NSObject>(runtime, "NSURLResponse", "NSObject");
    auto* owner = &runtime;
    ClassBuilder::define<HTTPURLResponse>(runtime, "NSHTTPURLResponse", "NSURLResponse")
        .method("URL", Imp::of([owner](HTTPURLResponse* self, Selector) -> Ref<Object> {
            return URL::make(*owner, self->contents().url);
        }))
        .method("statusCode", Imp::of([](HTTPURLResponse* self, Selector) { return self->contents().statusCode; }))
        .method("allHeaderFields", Imp::of([](HTTPURLResponse* self, Selector) { return self->contents().headers; }))
        .method("expectedContentLength",
            Imp::of([](HTTPURLResponse* self, Selector) { return self->contents().expectedContentLength; }))
        .method("MIMEType", Imp::of([](HTTPURLResponse* self, Selector) {
            auto& type = self->contents().mimeType;
            return type.empty() ? Value() : Value(type);
        }));
}

} // namespace network
