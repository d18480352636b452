#include "tweak/pfp/BrixMessagesContactPhotoProvider.h"

#include <vector>

#include "tweak/Brix.h"
#include "tweak/pfp/ContactPhotoProvider.h"

namespace brix::pfp {

using runtime::Block;
using runtime::Imp;
using runtime::Selector;
using runtime::send;

namespace {

    enum class MatchKind { ByIdentifier, ByNameAndEmail };

    struct Sender {
        std::string key;
        MatchKind kind;
    };

    // The card's identifier, when the notification names the card; else the
    // display text of the assistant context, matched against names and addresses.
    std::optional<Sender> senderOf(const Value& userInfo)
    {
        for (const char* key : { "CKBBContextKeySenderPersonCentricID", "CKBBContextKeySenderName" }) {
            auto entry = entryOf(userInfo, key);
            if (entry.found()) {
                auto text = stringOf(entry.value);
                return text ? std::optional(Sender { *text, MatchKind::ByIdentifier }) : std::nullopt;
            }
            if (!entry.absent())
                return std::nullopt;
        }
        auto context = entryOf(userInfo, "AssistantContext");
        auto sender = entryOf(context.value, "msgSender");
        auto display = stringOf(entryOf(sender.value, "displayText").value);
        if (!display)
            return std::nullopt;
        return Sender { *display, MatchKind::ByNameAndEmail };
    }

    bool isCandidate(Object* card, const Sender& sender, int& joins)
    {
        if (sender.kind == MatchKind::ByIdentifier) {
            Value identifier = send<Value>(card, SEL("identifier"));
            joins = identifier.isString() && identifier.string() == sender.key
                && !send<Value>(card, SEL("imageData")).isNil();
            return joins > 0;
        }
        Value givenName = send<Value>(card, SEL("givenName"));
        if (givenName.isString() && givenName.string() == sender.key) {
            joins = 1;
            return true;
        }
        // A card joins once for every address equal to the key.
        joins = 0;
        Value addresses = send<Value>(card, SEL("emailAddresses"));
        for (auto& address : addresses.items()) {
            Value text = send<Value>(address.object(), SEL("value"));
            if (text.isString() && text.string() == sender.key)
                ++joins;
        }
        return joins > 0;
    }

    std::vector<Ref<Object>> candidatesFor(Brix& brix, const Sender& sender)
    {
        auto& runtime = brix.runtime();
        auto store = runtime::newObject(runtime.classNamed("CNContactStore"));
        Value keys(
            Value::Array { Value("emailAddresses"), Value("phoneNumbers"), Value("givenName"), Value("imageData") });
        auto request = send<Ref<Object>>(
            runtime::alloc(runtime.classNamed("CNContactFetchRequest")), SEL("initWithKeysToFetch:"), keys);
        std::vector<Ref<Object>> candidates;
        Block<void(Value, bool*)> visit = [&](Value card, bool*) {
            int joins = 0;
            if (isCandidate(card.object(), sender, joins))
                candidates.insert(candidates.end(), static_cast<size_t>(joins), Ref<Object>(card.object()));
        };
        send<bool>(store, SEL("enumerateContactsWithFetchRequest:error:usingBlock:"), request,
            static_cast<Value*>(nullptr), visit);
        return candidates;
    }

    void lookUp(Brix& brix, Object* request, Object* view)
    {
        auto sender = senderOf(userInfoOf(request));
        if (!sender)
            return;
        for (auto& card : candidatesFor(brix, *sender)) {
            Value photo = send<Value>(card, SEL("imageData"));
            if (photo.isNil())
                continue;
            auto image
                = send<Ref<Object>>(runtime::alloc(brix.runtime().classNamed("UIImage")), SEL("initWithData:"), photo);
            deliverOnMainQueue(brix, Ref<Object>(view), image);
            return;
        }
    }

} // namespace

void BrixMessagesContactPhotoProvider::registerClass(Brix& brix)
{
    defineProvider(brix, "BrixMessagesContactPhotoProvider",
        Imp::of(
            [&brix](Object*, Selector, Object* request, Value, Value, Object* view) { lookUp(brix, request, view); }));
}

} // namespace brix::pfp
