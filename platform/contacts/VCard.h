#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Value.h"

namespace contacts {

// A labelled text of a card: an e-mail address or a telephone number, with
// the platform's label for its type ("_$!<Home>!$_"), or none.
struct LabeledText {
    std::string label;
    std::string value;
    friend bool operator==(const LabeledText&, const LabeledText&) = default;
};

// What the address book keeps of one vCard.
struct Card {
    std::string identifier; // UID
    std::string givenName; // N, second component
    std::string familyName; // N, first component
    std::string fullName; // FN
    std::vector<LabeledText> emailAddresses;
    std::vector<LabeledText> phoneNumbers;
    std::optional<foundation::Data> photo; // PHOTO, decoded
};

struct VCardReading {
    std::vector<Card> cards;
    // One line per card left out: where it starts and why.
    std::vector<std::string> skipped;
};

// Reads vCards of versions 4.0 (RFC 6350) and 3.0 (RFC 2426) from UTF-8 text:
// folded lines, groups, parameters (quoted values too) and escaped text. A
// card is left out, with the reason, when it is not well formed: a line
// without a value, no or another VERSION, a PHOTO whose inline data does not
// decode, a BEGIN inside it or no END. A card without UID gets an identifier
// made from its contents, the same at every reading; one without FN (or an
// empty one) the given and family names as its full name, as it is written. PHOTO is read from
// inline data only ("data:" URIs in 4.0, ENCODING=b in 3.0); a picture named
// by another URI is not fetched. A bare carriage return in a value (which a
// line cannot hold) reads as a line break.
VCardReading readVCards(std::string_view text);

// Writes cards as vCard 4.0: CRLF line ends, lines folded at 75 octets,
// text escaped (every line break, CR, LF or CR LF, as "\n"), the photo as a
// base64 "data:" URI.
std::string writeVCards(const std::vector<Card>&);

} // namespace contacts
