// vCards as the address book reads them. Every card read is written again
// and read back the same, and nothing of it is left out on the way.

#include "platform/contacts/VCard.h"

#include <string_view>

#include "fuzz/FuzzCheck.h"

namespace {

bool same(const contacts::Card& read, const contacts::Card& again)
{
    return read.identifier == again.identifier && read.givenName == again.givenName
        && read.familyName == again.familyName && read.fullName == again.fullName
        && read.emailAddresses == again.emailAddresses && read.phoneNumbers == again.phoneNumbers
        && read.photo == again.photo;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto reading = contacts::readVCards(std::string_view(reinterpret_cast<const char*>(data), size));
    if (reading.cards.empty())
        return 0;
    auto written = contacts::writeVCards(reading.cards);
    auto again = contacts::readVCards(written);
    FUZZ_CHECK(again.skipped.empty(), "every card written is read again");
    FUZZ_CHECK(again.cards.size() == reading.cards.size(), "as many cards are read again");
    for (size_t index = 0; index < again.cards.size(); ++index)
        FUZZ_CHECK(same(reading.cards[index], again.cards[index]), "a card written and read is the same");
    return 0;
}
