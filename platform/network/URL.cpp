#include "platform/network/URL.h"

#include <curl/curl.h>

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

namespace {

    std::string part(CURLU* parts, CURLUPart which)
    {
        char* text = nullptr;
        std::string result;
        if (curl_url_get(parts, which, &text, 0) == CURLUE_OK && text)
            result = text;
        curl_free(text);
        return result;
    }

    Value textOrNil(const std::string& text)
    {
        return text.empty() ? Value() : Value(text);
    }

} // namespace

bool URL::setString(std::string_view text)
{
    if (text.empty() || text.find('\0') != std::string_view::npos)
        return false;
    std::string copy(text);
    CURLU* parts = curl_url();
    bool parsed = curl_url_set(parts, CURLUPART_URL, copy.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK;
    if (parsed) {
        m_string = std::move(copy);
        m_scheme = part(parts, CURLUPART_SCHEME);
        m_host = part(parts, CURLUPART_HOST);
        m_path = part(parts, CURLUPART_PATH);
        m_query = part(parts, CURLUPART_QUERY);
    }
    curl_url_cleanup(parts);
    return parsed;
}

Ref<URL> URL::make(runtime::Runtime& runtime, std::string_view text)
{
    auto url = runtime::send<Ref<Object>>(runtime.classNamed("NSURL"), SEL("URLWithString:"), text);
    return Ref<URL>(dynamic_cast<URL*>(url.get()));
}

void URL::registerClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSURL"))
        return;
    ClassBuilder::define<URL>(runtime, "NSURL", "NSObject")
        .method("initWithString:", Imp::of([](URL* self, Selector, const Value& text) -> Object* {
            return text.isString() && self->setString(text.string()) ? self : nullptr;
        }))
        .method("absoluteString", Imp::of([](URL* self, Selector) { return Value(self->absoluteString()); }))
        .method("scheme", Imp::of([](URL* self, Selector) { return textOrNil(self->scheme()); }))
        .method("host", Imp::of([](URL* self, Selector) { return textOrNil(self->host()); }))
        .method("path", Imp::of([](URL* self, Selector) { return Value(self->path()); }))
        .method("query", Imp::of([](URL* self, Selector) { return textOrNil(self->query()); }))
        .method("isEqual:", Imp::of([](URL* self, Selector, URL* url) {
            return url && url->absoluteString() == self->absoluteString();
        }))
        .classMethod("URLWithString:", Imp::of([](Class* self, Selector, const Value& text) {
            return runtime::send<Ref<Object>>(runtime::alloc(self), SEL("initWithString:"), text);
        }));
}

} // namespace network
