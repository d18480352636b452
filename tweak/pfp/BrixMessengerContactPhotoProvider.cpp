#include "tweak/pfp/BrixMessengerContactPhotoProvider.h"

#include "tweak/Brix.h"
#include "tweak/pfp/ContactPhotoProvider.h"
#include "tweak/pfp/ImageFetch.h"

namespace brix::pfp {

using runtime::Imp;
using runtime::Selector;

namespace {

    void lookUp(Brix& brix, Object* request, Object* view)
    {
        Value working = userInfoOf(request);
        // A reply carries the sender in "rp"; nothing else is looked at then.
        auto reply = entryOf(working, "rp");
        if (reply.found())
            working = reply.value;
        else if (!reply.absent())
            return;
        auto sender = entryOf(working, "p");
        auto id = textOf(entryOf(sender.value, "a").value);
        if (!sender.found() || !id)
            return;
        fetchImage(
            brix, Value("https://graph.facebook.com/" + *id + "/picture?type=square"), view, AbsentImage::NotDelivered);
    }

} // namespace

void BrixMessengerContactPhotoProvider::registerClass(Brix& brix)
{
    defineProvider(brix, "BrixMessengerContactPhotoProvider",
        Imp::of(
            [&brix](Object*, Selector, Object* request, Value, Value, Object* view) { lookUp(brix, request, view); }));
}

} // namespace brix::pfp
