#include "tweak/pfp/BrixTwitterContactPhotoProvider.h"

#include "platform/foundation/Range.h"

#include "tweak/Brix.h"
#include "tweak/pfp/BrixDownload.h"
#include "tweak/pfp/ContactPhotoProvider.h"
#include "tweak/pfp/ImageFetch.h"
#include "tweak/view/Utf16.h"

namespace brix::pfp {

using foundation::Range;
using runtime::Imp;
using runtime::Selector;
using runtime::send;
using runtime::sendIfResponds;

namespace {

    constexpr std::string_view profilePageHost = "https://mobile.twitter.com/";
    // The address of a profile picture on Twitter's picture host, up to the closing quotation mark.
    constexpr std::string_view profileImagePattern = R"(https:\/\/pbs\.twimg\.com\/profile_images\/[^"]+)";
    constexpr uint64_t caseInsensitive = 1;

    bool isUtf8(const foundation::Data& bytes)
    {
        size_t index = 0;
        while (index < bytes.size()) {
            uint8_t lead = bytes[index];
            size_t length = lead < 0x80 ? 1
                : (lead >> 5) == 0x6    ? 2
                : (lead >> 4) == 0xE    ? 3
                : (lead >> 3) == 0x1E   ? 4
                                        : 0;
            if (!length || index + length > bytes.size() || (length == 2 && lead < 0xC2))
                return false;
            uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
            for (size_t next = 1; next < length; ++next) {
                if ((bytes[index + next] & 0xC0) != 0x80)
                    return false;
                code = (code << 6) | (bytes[index + next] & 0x3F);
            }
            if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF))
                || (code >= 0xD800 && code <= 0xDFFF))
                return false;
            index += length;
        }
        return true;
    }

    // The first profile-picture address in a profile page, if the page was answered with 200 and is text.
    std::optional<std::string> pictureAddressIn(
        Brix& brix, const Value& response, const Value& data, const Value& error)
    {
        if (sendIfResponds<int64_t>(response.object(), SEL("statusCode")) != 200)
            return std::nullopt;
        if (!isUtf8(data.data()))
            return std::nullopt;
        std::string text(data.data().begin(), data.data().end());
        auto pattern = send<Ref<Object>>(brix.runtime().classNamed("NSRegularExpression"),
            SEL("regularExpressionWithPattern:options:error:"), Value(profileImagePattern), caseInsensitive,
            static_cast<Object*>(nullptr));
        if (!error.isNil())
            return std::nullopt;
        Range found = send<Range>(pattern, SEL("rangeOfFirstMatchInString:options:range:"), Value(text), uint64_t(0),
            Range { 0, utf16::length(text) });
        if (!pattern || found.location == Range::notFound)
            return std::nullopt;
        size_t start = utf16::byteOffset(text, found.location);
        return text.substr(start, utf16::byteOffset(text, found.end()) - start);
    }

    // The page step: the sender's public profile page, read on the shared session's own queue.
    void searchProfilePage(Brix& brix, Object* provider, const std::string& profile, Object* view)
    {
        auto& runtime = brix.runtime();
        auto url = send<Ref<Object>>(
            runtime.classNamed("NSURL"), SEL("URLWithString:"), Value(std::string(profilePageHost) + profile));
        if (!url)
            return;
        auto request = send<Ref<Object>>(runtime::alloc(runtime.classNamed("NSURLRequest")), SEL("initWithURL:"), url);
        auto session = send<Ref<Object>>(runtime.classNamed("NSURLSession"), SEL("sharedSession"));
        auto queue = send<Ref<Object>>(session, SEL("delegateQueue"));
        BrixDownload::start(brix, request.get(), queue.get(),
            [&brix, provider = Ref<Object>(provider), banner = Ref<Object>(view)](
                Value response, Value data, Value error) {
                if (auto address = pictureAddressIn(brix, response, data, error))
                    send(provider, SEL("resolveForUrl:forView:"), Value(*address), banner.get());
            });
    }

    void lookUp(Brix& brix, Object* self, Object* request, Object* view)
    {
        Value userInfo = userInfoOf(request);
        auto tweet = entryOf(userInfo, "tweet");
        if (tweet.found()) {
            auto author = entryOf(tweet.value, "author");
            auto address = stringOf(entryOf(author.value, "profile_image_url").value);
            if (address)
                send(self, SEL("resolveForUrl:forView:"), Value(*address), view);
            return;
        }
        if (!tweet.absent())
            return;
        auto profile = textOf(entryOf(userInfo, "D").value);
        if (profile)
            searchProfilePage(brix, self, *profile, view);
    }

} // namespace

void BrixTwitterContactPhotoProvider::defineClass(Brix& brix)
{
    defineProvider(brix, "BrixTwitterContactPhotoProvider",
        Imp::of([&brix](Object* self, Selector, Object* request, Value, Value, Object* view) {
            lookUp(brix, self, request, view);
        }));
    auto* cls = brix.runtime().classNamed("BrixTwitterContactPhotoProvider");
    if (cls && !cls->ownMethod(SEL("resolveForUrl:forView:"))) {
        brix.runtime().define(
            *cls, SEL("resolveForUrl:forView:"), Imp::of([&brix](Object*, Selector, Value address, Object* view) {
                fetchImage(brix, address, view, AbsentImage::NotDelivered);
            }));
    }
}

} // namespace brix::pfp
