#include "tweak/pfp/ImageFetch.h"

#include <cctype>

#include "tweak/Brix.h"
#include "tweak/pfp/BrixDownload.h"

namespace brix::pfp {

using runtime::send;

Ref<Object> webRequestFor(Brix& brix, const Value& address)
{
    if (!address.isString())
        return nullptr;
    auto& runtime = brix.runtime();
    auto url = send<Ref<Object>>(runtime.classNamed("NSURL"), SEL("URLWithString:"), address);
    std::string scheme = send<Value>(url, SEL("scheme")).string();
    for (char& c : scheme)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (scheme != "http" && scheme != "https")
        return nullptr;
    return send<Ref<Object>>(runtime.classNamed("NSURLRequest"), SEL("requestWithURL:"), url);
}

void fetchImage(Brix& brix, const Value& address, Object* view, AbsentImage absent)
{
    auto request = webRequestFor(brix, address);
    if (!request)
        return;
    auto queue = send<Ref<Object>>(brix.runtime().classNamed("NSOperationQueue"), SEL("mainQueue"));
    BrixDownload::start(
        brix, request.get(), queue.get(), [&brix, banner = Ref<Object>(view), absent](Value, Value data, Value error) {
            if (!error.isNil())
                return;
            auto image
                = send<Ref<Object>>(runtime::alloc(brix.runtime().classNamed("UIImage")), SEL("initWithData:"), data);
            deliverOnMainQueue(brix, banner, image, absent);
        });
}

} // namespace brix::pfp
