#include "tweak/pfp/BrixTwitterContactPhotoProvider.h"

#include "platform/runtime/ClassBuilder.h"

#include "tweak/Brix.h"
#include "tweak/pfp/BrixDownload.h"
#include "tweak/pfp/ContactPhotoProvider.h"
#include "tweak/pfp/ImageFetch.h"
#include "tweak/pfp/ProfilePage.h"

namespace brix::pfp {

using runtime::Imp;
using runtime::Selector;
using runtime::send;
using runtime::sendIfResponds;

namespace {

    constexpr std::string_view profilePageHost = "https://mobile.twitter.com/";

    // The first profile-picture address in a profile page, if the page was answered with 200 and is text.
    std::optional<std::string> pictureAddressIn(
        Brix& brix, const Value& response, const Value& data, const Value& error)
    {
        if (sendIfResponds<int64_t>(response.object(), SEL("statusCode")) != 200)
            return std::nullopt;
        if (!error.isNil())
            return std::nullopt;
        return profilePictureAddress(brix.runtime(), data.data());
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

void BrixTwitterContactPhotoProvider::registerClass(Brix& brix)
{
    defineProvider(brix, "BrixTwitterContactPhotoProvider",
        Imp::of([&brix](Object* self, Selector, Object* request, Value, Value, Object* view) {
            lookUp(brix, self, request, view);
        }));
    auto* cls = brix.runtime().classNamed("BrixTwitterContactPhotoProvider");
    if (cls && !cls->ownMethod(SEL("resolveForUrl:forView:"))) {
        runtime::ClassBuilder(brix.runtime(), *cls)
            .method("resolveForUrl:forView:", Imp::of([&brix](Object*, Selector, Value address, Object* view) {
                fetchImage(brix, address, view, AbsentImage::NotDelivered);
            }));
    }
}

} // namespace brix::pfp
