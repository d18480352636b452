#include "platform/contacts/CNContactStore.h"

#include "platform/contacts/AddressBook.h"
#include "platform/contacts/CNContactFetchRequest.h"
#include "platform/device/Process.h"
#include "platform/foundation/ErrorObject.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace contacts {

using foundation::ErrorObject;
using foundation::Value;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Selector;

namespace {

    // Why a fetch request cannot be served; empty when it can.
    std::string requestProblem(Object* request)
    {
        auto* fetch = dynamic_cast<CNContactFetchRequest*>(request);
        if (!fetch)
            return "the fetch request is not a CNContactFetchRequest";
        if (!fetch->keysToFetch().isArray())
            return "the keys to fetch are not an array";
        for (auto& key : fetch->keysToFetch().items()) {
            if (!key.isString() || !isContactKey(key.string()))
                return "the keys to fetch name an unknown key " + describe(key);
        }
        return {};
    }

} // namespace

void CNContactStore::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    if (runtime.classNamed("CNContactStore"))
        return;
    auto* owner = &process;
    ClassBuilder::define<CNContactStore>(runtime, "CNContactStore", "NSObject")
        .method("enumerateContactsWithFetchRequest:error:usingBlock:",
            Imp::of([owner](CNContactStore*, Selector, Object* request, Value* error, EnumerationBlock block) {
                if (auto problem = requestProblem(request); !problem.empty()) {
                    ErrorObject::report(
                        error, ErrorObject::make(owner->runtime(), errorDomain, predicateInvalidError, problem).get());
                    return false;
                }
                auto contacts = AddressBook::of(*owner).contacts();
                if (!contacts) {
                    ErrorObject::report(error,
                        ErrorObject::make(owner->runtime(), errorDomain, dataAccessError, contacts.error().message)
                            .get());
                    return false;
                }
                // A copy of the list, so that a block that reads the address book again cannot pull it away.
                auto cards = *contacts.value();
                bool stop = false;
                for (auto& card : cards) {
                    if (block)
                        block(Value(card), &stop);
                    if (stop)
                        break;
                }
                return true;
            }));
}

} // namespace contacts
