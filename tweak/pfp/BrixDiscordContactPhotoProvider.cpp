#include "tweak/pfp/BrixDiscordContactPhotoProvider.h"

#include "tweak/Brix.h"
#include "tweak/pfp/ContactPhotoProvider.h"
#include "tweak/pfp/ImageFetch.h"

namespace brix::pfp {

using runtime::Imp;
using runtime::Selector;

namespace {

    void lookUp(Brix& brix, Object* request, Object* view)
    {
        auto message = entryOf(userInfoOf(request), "message");
        auto author = entryOf(message.value, "author");
        auto avatar = textOf(entryOf(author.value, "avatar").value);
        auto id = textOf(entryOf(author.value, "id").value);
        if (!avatar || !id)
            return;
        fetchImage(brix, Value("https://cdn.discordapp.com/avatars/" + *id + "/" + *avatar + ".png?size=80"), view,
            AbsentImage::NotDelivered);
    }

} // namespace

void BrixDiscordContactPhotoProvider::registerClass(Brix& brix)
{
    defineProvider(brix, "BrixDiscordContactPhotoProvider",
        Imp::of(
            [&brix](Object*, Selector, Object* request, Value, Value, Object* view) { lookUp(brix, request, view); }));
}

} // namespace brix::pfp
