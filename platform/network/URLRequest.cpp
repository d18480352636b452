#include "platform/network/URLRequest.h"

#include <cmath>

#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace network {

using foundation::Value;
using runtime::Class;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void URLRequest::registerClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSURLRequest"))
        return;
    ClassBuilder::define<URLRequest>(runtime, "NSURLRequest", "NSObject")
        .method("initWithURL:cachePolicy:timeoutInterval:",
            Imp::of([](URLRequest* self, Selector, URL* url, uint64_t cachePolicy, double timeout) -> Object* {
                self->m_url = url;
                self->m_cachePolicy = cachePolicy;
                self->m_timeoutInterval = std::isfinite(timeout) && timeout > 0 ? timeout : defaultTimeoutInterval;
                return self;
            }))
        .method("initWithURL:", Imp::of([](URLRequest* self, Selector, Object* url) {
            return runtime::send<Ref<Object>>(self, SEL("initWithURL:cachePolicy:timeoutInterval:"), url,
                useProtocolCachePolicy, defaultTimeoutInterval);
        }))
        .method("URL", Imp::of([](URLRequest* self, Selector) { return Ref<Object>(self->url()); }))
        .method("cachePolicy", Imp::of(&URLRequest::cachePolicy))
        .method("timeoutInterval", Imp::of(&URLRequest::timeoutInterval))
        .method("HTTPMethod", Imp::of([](URLRequest*, Selector) { return Value("GET"); }))
        .classMethod("requestWithURL:cachePolicy:timeoutInterval:",
            Imp::of([](Class* self, Selector, Object* url, uint64_t cachePolicy, double timeout) {
                return runtime::send<Ref<Object>>(
                    runtime::alloc(self), SEL("initWithURL:cachePolicy:timeoutInterval:"), url, cachePolicy, timeout);
            }))
        .classMethod("requestWithURL:", Imp::of([](Class* self, Selector, Object* url) {
            return runtime::send<Ref<Object>>(runtime::alloc(self), SEL("initWithURL:"), url);
        }));
}

} // namespace network
