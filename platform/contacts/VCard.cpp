#include "platform/contacts/VCard.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <variant>

#include "platform/foundation/Digest.h"
#include "platform/foundation/Encoding.h"
#include "platform/foundation/Text.h"

namespace contacts {

namespace {

    using foundation::text::asciiUppercase;
    using foundation::text::equalsIgnoringAsciiCase;

    // Lines joined again where they were folded (a line break and one blank or tab).
    std::vector<std::string> unfoldedLines(std::string_view text)
    {
        std::vector<std::string> lines;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            std::string_view line
                = text.substr(start, end == std::string_view::npos ? text.size() - start : end - start);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (!line.empty() && (line.front() == ' ' || line.front() == '\t') && !lines.empty())
                lines.back() += line.substr(1);
            else
                lines.emplace_back(line);
            if (end == std::string_view::npos)
                break;
            start = end + 1;
        }
        return lines;
    }

    struct Parameter {
        std::string name; // upper case
        std::vector<std::string> values;
    };

    struct ContentLine {
        std::string name; // upper case, without its group
        std::vector<Parameter> parameters;
        std::string value;

        std::vector<std::string> parameter(std::string_view key) const
        {
            std::vector<std::string> values;
            for (auto& parameter : parameters) {
                if (parameter.name == key)
                    values.insert(values.end(), parameter.values.begin(), parameter.values.end());
            }
            return values;
        }
    };

    // Splits at `separator` outside double quotes.
    std::vector<std::string> splitOutsideQuotes(std::string_view text, char separator)
    {
        std::vector<std::string> pieces(1);
        bool quoted = false;
        for (char c : text) {
            if (c == '"')
                quoted = !quoted;
            else if (c == separator && !quoted)
                pieces.emplace_back();
            else
                pieces.back() += c;
        }
        return pieces;
    }

    Parameter parseParameter(const std::string& text)
    {
        size_t equals = text.find('=');
        if (equals == std::string::npos)
            return { "TYPE", { text } }; // "HOME" alone, as older cards write it
        Parameter parameter { asciiUppercase(text.substr(0, equals)), {} };
        for (auto& value : splitOutsideQuotes(text.substr(equals + 1), ','))
            parameter.values.push_back(value);
        return parameter;
    }

    std::optional<ContentLine> parseContentLine(const std::string& line)
    {
        bool quoted = false;
        size_t colon = std::string::npos;
        for (size_t index = 0; index < line.size(); ++index) {
            if (line[index] == '"')
                quoted = !quoted;
            else if (line[index] == ':' && !quoted) {
                colon = index;
                break;
            }
        }
        if (colon == std::string::npos || colon == 0)
            return std::nullopt;
        auto head = splitOutsideQuotes(std::string_view(line).substr(0, colon), ';');
        std::string name = head.front();
        if (size_t dot = name.rfind('.'); dot != std::string::npos)
            name = name.substr(dot + 1);
        if (name.empty())
            return std::nullopt;
        ContentLine content { asciiUppercase(name), {}, line.substr(colon + 1) };
        for (size_t index = 1; index < head.size(); ++index)
            content.parameters.push_back(parseParameter(head[index]));
        return content;
    }

    bool isEscapedLineBreak(std::string_view text, size_t index)
    {
        return index + 1 < text.size() && text[index] == '\\' && (text[index + 1] == 'n' || text[index + 1] == 'N');
    }

    // Text with its escapes undone, cut into components at unescaped `separator` (0: none).
    // A bare carriage return, which a line cannot hold, is an older writer's
    // line break: it reads as one, and with an escaped line break after it as that one.
    std::vector<std::string> unescapedComponents(std::string_view text, char separator)
    {
        std::vector<std::string> components(1);
        for (size_t index = 0; index < text.size(); ++index) {
            char c = text[index];
            if (c == '\r') {
                if (!isEscapedLineBreak(text, index + 1))
                    components.back() += '\n';
            } else if (c == '\\' && index + 1 < text.size()) {
                char next = text[++index];
                components.back() += (next == 'n' || next == 'N' || next == '\r') ? '\n' : next;
            } else if (separator && c == separator) {
                components.emplace_back();
            } else {
                components.back() += c;
            }
        }
        return components;
    }

    std::string unescaped(std::string_view text)
    {
        return unescapedComponents(text, 0).front();
    }

    std::string labelFor(const ContentLine& line)
    {
        for (auto& type : line.parameter("TYPE")) {
            std::string upper = asciiUppercase(type);
            if (upper == "HOME")
                return "_$!<Home>!$_";
            if (upper == "WORK")
                return "_$!<Work>!$_";
            if (upper == "CELL")
                return "_$!<Mobile>!$_";
            if (upper == "OTHER")
                return "_$!<Other>!$_";
        }
        return {};
    }

    // PHOTO: inline data, or nothing for a picture named by a link. Fails on data that does not decode.
    std::optional<std::optional<foundation::Data>> photoOf(const ContentLine& line)
    {
        std::string_view value = line.value;
        if (value.size() >= 5 && equalsIgnoringAsciiCase(value.substr(0, 5), "data:")) {
            size_t comma = value.find(',');
            if (comma == std::string_view::npos)
                return std::nullopt;
            std::string_view header = value.substr(5, comma - 5);
            if (header.size() < 7 || !equalsIgnoringAsciiCase(header.substr(header.size() - 7), ";base64"))
                return std::nullopt;
            auto bytes = foundation::base64Decode(value.substr(comma + 1));
            if (!bytes)
                return std::nullopt;
            return std::optional<foundation::Data>(std::move(*bytes));
        }
        for (auto& encoding : line.parameter("ENCODING")) {
            if (equalsIgnoringAsciiCase(encoding, "b") || equalsIgnoringAsciiCase(encoding, "base64")) {
                auto bytes = foundation::base64Decode(value);
                if (!bytes)
                    return std::nullopt;
                return std::optional<foundation::Data>(std::move(*bytes));
            }
        }
        return std::optional<foundation::Data>();
    }

    // The formatted name of a card without one, as a card must have one: the given and family names.
    std::string nameFromParts(const Card& card)
    {
        return card.givenName + (card.givenName.empty() || card.familyName.empty() ? "" : " ") + card.familyName;
    }

    std::string derivedIdentifier(const std::vector<std::string>& lines)
    {
        foundation::Data text;
        for (auto& line : lines) {
            text.insert(text.end(), line.begin(), line.end());
            text.push_back('\n');
        }
        std::string hex = foundation::hexEncode(foundation::md5(text), foundation::LetterCase::Upper);
        return hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" + hex.substr(16, 4) + "-"
            + hex.substr(20);
    }

    // One card being read.
    class CardReader {
    public:
        explicit CardReader(size_t firstLine)
            : m_firstLine(firstLine)
        {
        }

        void add(size_t lineNumber, const std::string& line)
        {
            m_lines.push_back(line);
            if (m_failure)
                return;
            auto content = parseContentLine(line);
            if (!content) {
                fail(lineNumber, "the line has no value");
                return;
            }
            apply(lineNumber, *content);
        }

        // The card, or the reason it is left out.
        std::variant<Card, std::string> finish()
        {
            if (m_failure)
                return *m_failure;
            if (m_version != "4.0" && m_version != "3.0")
                return "card at line " + std::to_string(m_firstLine) + ": "
                    + (m_version.empty() ? std::string("it has no VERSION")
                                         : "VERSION " + m_version + " is not read (only 3.0 and 4.0)");
            if (m_card.identifier.empty())
                m_card.identifier = derivedIdentifier(m_lines);
            if (m_card.fullName.empty())
                m_card.fullName = nameFromParts(m_card);
            return std::move(m_card);
        }

        size_t firstLine() const { return m_firstLine; }

    private:
        void fail(size_t lineNumber, const std::string& reason)
        {
            m_failure = "card at line " + std::to_string(m_firstLine) + ": line " + std::to_string(lineNumber) + ": "
                + reason;
        }

        static bool isDeclaredText(const ContentLine& line)
        {
            auto values = line.parameter("VALUE");
            return std::any_of(values.begin(), values.end(),
                [](const std::string& value) { return equalsIgnoringAsciiCase(value, "text"); });
        }

        void apply(size_t lineNumber, const ContentLine& line)
        {
            if (line.name == "VERSION") {
                m_version = line.value;
            } else if (line.name == "UID") {
                m_card.identifier = unescaped(line.value);
            } else if (line.name == "N") {
                auto components = unescapedComponents(line.value, ';');
                m_card.familyName = components[0];
                m_card.givenName = components.size() > 1 ? components[1] : "";
            } else if (line.name == "FN") {
                m_card.fullName = unescaped(line.value);
            } else if (line.name == "EMAIL") {
                m_card.emailAddresses.push_back({ labelFor(line), unescaped(line.value) });
            } else if (line.name == "TEL") {
                // A "tel:" address gives the number after its scheme; a value
                // declared text is the number as it stands, "tel:" and all.
                std::string number = unescaped(line.value);
                if (!isDeclaredText(line) && number.size() > 4
                    && equalsIgnoringAsciiCase(std::string_view(number).substr(0, 4), "tel:"))
                    number = number.substr(4);
                m_card.phoneNumbers.push_back({ labelFor(line), number });
            } else if (line.name == "PHOTO") {
                auto photo = photoOf(line);
                if (!photo)
                    fail(lineNumber, "the PHOTO's data does not decode");
                else if (*photo)
                    m_card.photo = std::move(**photo);
            }
        }

        size_t m_firstLine;
        std::vector<std::string> m_lines;
        std::string m_version;
        Card m_card;
        std::optional<std::string> m_failure;
    };

    bool isBoundary(const std::string& line, std::string_view word)
    {
        auto content = parseContentLine(line);
        return content && content->name == word && equalsIgnoringAsciiCase(content->value, "VCARD");
    }

} // namespace

VCardReading readVCards(std::string_view text)
{
    VCardReading reading;
    std::optional<CardReader> card;
    auto lines = unfoldedLines(text);
    for (size_t index = 0; index < lines.size(); ++index) {
        const std::string& line = lines[index];
        size_t lineNumber = index + 1;
        if (isBoundary(line, "BEGIN")) {
            if (card)
                reading.skipped.push_back("card at line " + std::to_string(card->firstLine())
                    + ": a BEGIN:VCARD at line " + std::to_string(lineNumber) + " comes before its END");
            card.emplace(lineNumber);
        } else if (isBoundary(line, "END")) {
            if (!card)
                continue;
            auto finished = card->finish();
            if (auto* done = std::get_if<Card>(&finished))
                reading.cards.push_back(std::move(*done));
            else
                reading.skipped.push_back(std::get<std::string>(finished));
            card.reset();
        } else if (card && !line.empty()) {
            card->add(lineNumber, line);
        }
    }
    if (card)
        reading.skipped.push_back("card at line " + std::to_string(card->firstLine()) + ": it has no END:VCARD");
    return reading;
}

namespace {

    std::string escaped(std::string_view text)
    {
        std::string result;
        for (size_t index = 0; index < text.size(); ++index) {
            char c = text[index];
            if (c == '\\' || c == ',' || c == ';')
                result += '\\';
            // Every line break is written as the escaped one: a carriage return
            // alone or before a line feed (which then makes the break) alike.
            if (c == '\r' && index + 1 < text.size() && text[index + 1] == '\n')
                continue;
            if (c == '\n' || c == '\r') {
                result += "\\n";
                continue;
            }
            result += c;
        }
        return result;
    }

    // A content line folded at 75 octets, never inside a UTF-8 sequence.
    void appendFolded(std::string& out, const std::string& line)
    {
        size_t start = 0;
        size_t limit = 75;
        while (line.size() - start > limit) {
            size_t cut = start + limit;
            while (cut > start && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
                --cut;
            if (cut == start) // a run of continuation bytes, which is no UTF-8 to keep whole
                cut = start + limit;
            out.append(line, start, cut - start);
            out += "\r\n ";
            start = cut;
            limit = 74; // the blank that continues a line counts
        }
        out.append(line, start, std::string::npos);
        out += "\r\n";
    }

    std::string mediaTypeOf(const foundation::Data& bytes)
    {
        if (bytes.size() >= 8 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G')
            return "image/png";
        if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
            return "image/jpeg";
        return "application/octet-stream";
    }

    std::string typeParameter(const std::string& label)
    {
        if (label == "_$!<Home>!$_")
            return ";TYPE=home";
        if (label == "_$!<Work>!$_")
            return ";TYPE=work";
        if (label == "_$!<Mobile>!$_")
            return ";TYPE=cell";
        if (label == "_$!<Other>!$_")
            return ";TYPE=other";
        return {};
    }

} // namespace

std::string writeVCards(const std::vector<Card>& cards)
{
    std::string out;
    for (auto& card : cards) {
        appendFolded(out, "BEGIN:VCARD");
        appendFolded(out, "VERSION:4.0");
        if (!card.identifier.empty())
            appendFolded(out, "UID:" + escaped(card.identifier));
        appendFolded(out, "FN:" + escaped(card.fullName.empty() ? nameFromParts(card) : card.fullName));
        appendFolded(out, "N:" + escaped(card.familyName) + ";" + escaped(card.givenName) + ";;;");
        for (auto& email : card.emailAddresses)
            appendFolded(out, "EMAIL" + typeParameter(email.label) + ":" + escaped(email.value));
        for (auto& phone : card.phoneNumbers)
            appendFolded(out, "TEL" + typeParameter(phone.label) + ";VALUE=text:" + escaped(phone.value));
        if (card.photo)
            appendFolded(
                out, "PHOTO:data:" + mediaTypeOf(*card.photo) + ";base64," + foundation::base64Encode(*card.photo));
        appendFolded(out, "END:VCARD");
    }
    return out;
}

} // namespace contacts
