#include "platform/network/URLRequest.h"

#include <cmath>

#include "platform/foundation/Value.h"
#include "platform/runtime/Send.h"

namespace network {

using foundation::Value;
using runtime::Class;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void URLRequest::defineClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSURLRequest"))
        return;
    Class& cls = runtime.defineClass<URLRequest>("NSURLRequest", "NSObject");
    runtime.define(cls, SEL("initWithURL:cachePolicy:timeoutInterval:"),
        Imp::of([](URLRequest* self, Selector, Object* url, uint64_t cachePolicy, double timeout) -> Object* {
            self->m_url = dynamic_cast<URL*>(url);
            self->m_cachePolicy = cachePolicy;
            self->m_timeoutInterval = std::isfinite(timeout) && timeout > 0 ? timeout : defaultTimeoutInterval;
            return self;
        }));
    runtime.define(cls, SEL("initWithURL:"), Imp::of([](URLRequest* self, Selector, Object* url) {
        return runtime::send<Ref<Object>>(
            self, SEL("initWithURL:cachePolicy:timeoutInterval:"), url, useProtocolCachePolicy, defaultTimeoutInterval);
    }));
    runtime.define(cls, SEL("URL"), Imp::of([](URLRequest* self, Selector) { return Ref<Object>(self->url()); }));
    runtime.define(cls, SEL("cachePolicy"), Imp::of(&URLRequest::cachePolicy));
    runtime.define(cls, SEL("timeoutInterval"), Imp::of(&URLRequest::timeoutInterval));
    runtime.define(cls, SEL("HTTPMethod"), Imp::of([](URLRequest*, Selector) { return Value("GET"); }));
    runtime.defineClassMethod(cls, SEL("requestWithURL:cachePolicy:timeoutInterval:"),
        Imp::of([](Class* self, Selector, Object* url, uint64_t cachePolicy, double timeout) {
            return runtime::send<Ref<Object>>(
                runtime::alloc(self), SEL("initWithURL:cachePolicy:timeoutInterval:"), url, cachePolicy, timeout);
        }));
    runtime.defineClassMethod(cls, SEL("requestWithURL:"), Imp::of([](Class* self, Selector, Object* url) {
        return runtime::send<Ref<Object>>(runtime::alloc(self), SEL("initWithURL:"), url);
    }));
}

} // namespace network
