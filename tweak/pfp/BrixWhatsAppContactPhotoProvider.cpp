#include "tweak/pfp/BrixWhatsAppContactPhotoProvider.h"

#include <array>
#include <vector>

#include "tweak/Brix.h"
#include "tweak/pfp/ContactPhotoProvider.h"

namespace brix::pfp {

using runtime::Imp;
using runtime::Selector;
using runtime::send;
using runtime::sendIfResponds;

namespace {

    constexpr std::array<std::string_view, 2> groups {
        "group.net.whatsapp.WhatsApp.shared",
        "group.net.whatsapp.WhatsAppSMB.shared",
    };

    std::vector<std::string_view> partsOf(std::string_view name)
    {
        std::vector<std::string_view> parts;
        size_t start = 0;
        while (true) {
            size_t dash = name.find('-', start);
            parts.push_back(name.substr(start, dash == std::string_view::npos ? std::string_view::npos : dash - start));
            if (dash == std::string_view::npos)
                return parts;
            start = dash + 1;
        }
    }

    // A file of a person is named "<id>-<more>", one of a group "<id>-<id>-<more>".
    bool belongsTo(std::string_view name, std::string_view sender)
    {
        auto parts = partsOf(name);
        if (parts.size() == 2)
            return parts[0] == sender;
        if (parts.size() == 3)
            return parts[0].size() + 1 + parts[1].size() == sender.size() && sender.starts_with(parts[0])
                && sender[parts[0].size()] == '-' && sender.substr(parts[0].size() + 1) == parts[1];
        return false;
    }

    // Every entry after the first match hands the view the picture of the
    // match remembered last; a matched file is decoded once.
    void scanProfileFolder(Brix& brix, const std::string& profile, std::string_view sender, Object* view)
    {
        auto& runtime = brix.runtime();
        auto manager = send<Ref<Object>>(runtime.classNamed("NSFileManager"), SEL("defaultManager"));
        auto enumerator = send<Ref<Object>>(manager, SEL("enumeratorAtPath:"), Value(profile));
        std::optional<std::string> match;
        std::string decodedMatch;
        Ref<Object> image;
        while (true) {
            Value entry = send<Value>(enumerator, SEL("nextObject"));
            if (!entry.isString())
                return;
            if (belongsTo(entry.string(), sender))
                match = entry.string();
            if (!match || !view)
                continue;
            if (*match != decodedMatch) {
                image = send<Ref<Object>>(
                    runtime.classNamed("UIImage"), SEL("imageWithContentsOfFile:"), Value(profile + "/" + *match));
                decodedMatch = *match;
            }
            sendIfResponds(view, SEL("updateImage:"), image.get());
        }
    }

    void lookUp(Brix& brix, Object* request, Object* view)
    {
        auto thread = stringOf(sendIfResponds<Value>(request, SEL("threadIdentifier")));
        if (!thread)
            return;
        std::string sender = thread->substr(0, thread->find('@'));
        auto* finder = brix.runtime().classNamed("FolderFinder");
        for (auto group : groups) {
            Value container = send<Value>(finder, SEL("findSharedFolder:"), Value(group));
            if (container.isString())
                scanProfileFolder(brix, container.string() + "/Media/Profile", sender, view);
        }
    }

} // namespace

void BrixWhatsAppContactPhotoProvider::registerClass(Brix& brix)
{
    defineProvider(brix, "BrixWhatsAppContactPhotoProvider",
        Imp::of(
            [&brix](Object*, Selector, Object* request, Value, Value, Object* view) { lookUp(brix, request, view); }));
}

} // namespace brix::pfp
