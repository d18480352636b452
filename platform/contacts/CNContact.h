#pragma once

#include "platform/contacts/VCard.h"
#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"

namespace contacts {

// The keys of the properties a fetch request may ask for.
inline constexpr const char* identifierKey = "identifier";
inline constexpr const char* givenNameKey = "givenName";
inline constexpr const char* familyNameKey = "familyName";
inline constexpr const char* emailAddressesKey = "emailAddresses";
inline constexpr const char* phoneNumbersKey = "phoneNumbers";
inline constexpr const char* imageDataKey = "imageData";

// Whether `key` names a property of a card.
bool isContactKey(std::string_view key);

// The platform's CNContact: one card of the address book, immutable.
//
// Messages: -identifier, -givenName, -familyName (empty strings when the card
// has none), -emailAddresses (CNLabeledValues of strings), -phoneNumbers
// (CNLabeledValues of CNPhoneNumbers), -imageData (nil without a photo),
// -imageDataAvailable, -isKeyAvailable:.
class CNContact : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const Card& card() const { return m_card; }

    static runtime::Ref<CNContact> make(runtime::Runtime&, Card);

    static void registerClass(device::Process&);

private:
    foundation::Value labeledValues(const std::vector<LabeledText>&, bool phones, foundation::Value& cache);

    Card m_card;
    foundation::Value m_imageData;
    foundation::Value m_emailValues;
    foundation::Value m_phoneValues;
};

} // namespace contacts
