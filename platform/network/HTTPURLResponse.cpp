#include "platform/network/HTTPURLResponse.h"

#include "platform/network/URL.h"
#include "platform/runtime/Send.h"

namespace network {

using foundation::Value;
using runtime::Class;
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

void HTTPURLResponse::defineClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSHTTPURLResponse"))
        return;
    if (!runtime.classNamed("NSURLResponse"))
        runtime.defineClass<runtime::NSObject>("NSURLResponse", "NSObject");
    auto* owner = &runtime;
    Class& cls = runtime.defineClass<HTTPURLResponse>("NSHTTPURLResponse", "NSURLResponse");
    runtime.define(cls, SEL("URL"), Imp::of([owner](HTTPURLResponse* self, Selector) -> Ref<Object> {
        return URL::make(*owner, self->contents().url);
    }));
    runtime.define(
        cls, SEL("statusCode"), Imp::of([](HTTPURLResponse* self, Selector) { return self->contents().statusCode; }));
    runtime.define(
        cls, SEL("allHeaderFields"), Imp::of([](HTTPURLResponse* self, Selector) { return self->contents().headers; }));
    runtime.define(cls, SEL("expectedContentLength"),
        Imp::of([](HTTPURLResponse* self, Selector) { return self->contents().expectedContentLength; }));
    runtime.define(cls, SEL("MIMEType"), Imp::of([](HTTPURLResponse* self, Selector) {
        auto& type = self->contents().mimeType;
        return type.empty() ? Value() : Value(type);
    }));
}

} // namespace network
