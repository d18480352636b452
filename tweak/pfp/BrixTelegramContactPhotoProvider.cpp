#include "tweak/pfp/BrixTelegramContactPhotoProvider.h"

#include "tweak/Brix.h"
#include "tweak/pfp/ContactPhotoProvider.h"

namespace brix::pfp {

using runtime::Imp;
using runtime::Selector;
using runtime::send;
using runtime::sendIfResponds;

namespace {

    // The id names a folder; one that could reach another folder counts as no id.
    std::optional<std::string> senderIdOf(const Value& userInfo)
    {
        auto entry = entryOf(userInfo, "from_id");
        auto id = entry.found() ? textOf(entry.value) : std::nullopt;
        if (!id || id->empty() || id->find('/') != std::string::npos || id->find("..") != std::string::npos
            || id->find('\0') != std::string::npos)
            return std::nullopt;
        return id;
    }

    void lookUp(Brix& brix, Object* request, Object* view)
    {
        auto& runtime = brix.runtime();
        Value container = send<Value>(
            runtime.classNamed("FolderFinder"), SEL("findPrivateSharedFolder:"), Value("group.ph.telegra.Telegraph"));
        if (!container.isString())
            return;
        auto id = senderIdOf(userInfoOf(request));
        if (!id)
            return;
        std::string path = container.string() + "/telegram-data/accounts-metadata/spotlight/p:" + *id + "/avatar.png";
        auto image = send<Ref<Object>>(runtime.classNamed("UIImage"), SEL("imageWithContentsOfFile:"), Value(path));
        if (image && view)
            sendIfResponds(view, SEL("updateImage:"), image.get());
    }

} // namespace

void BrixTelegramContactPhotoProvider::registerClass(Brix& brix)
{
    defineProvider(brix, "BrixTelegramContactPhotoProvider",
        Imp::of(
            [&brix](Object*, Selector, Object* request, Value, Value, Object* view) { lookUp(brix, request, view); }));
}

} // namespace brix::pfp
