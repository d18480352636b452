#include "platform/foundation/StringsTable.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <unicode/unistr.h>

#include "platform/foundation/Encoding.h"
#include "platform/foundation/PropertyList.h"

namespace foundation {

namespace {

    bool startsWith(std::span<const uint8_t> bytes, std::string_view prefix)
    {
        return bytes.size() >= prefix.size()
            && std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                [](char expected, uint8_t byte) { return static_cast<uint8_t>(expected) == byte; });
    }

    // The text as UTF-8, whatever byte-order mark it starts with. Malformed
    // sequences become U+FFFD, so every string read from it is valid UTF-8.
    std::string decodeText(std::span<const uint8_t> bytes)
    {
        icu::UnicodeString text;
        if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
            bool littleEndian = bytes[0] == 0xFF;
            for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
                auto unit = littleEndian ? (bytes[i] | bytes[i + 1] << 8) : (bytes[i] << 8 | bytes[i + 1]);
                text.append(static_cast<char16_t>(unit));
            }
        } else {
            if (startsWith(bytes, "\xEF\xBB\xBF"))
                bytes = bytes.subspan(3);
            text = icu::UnicodeString::fromUTF8(
                icu::StringPiece(reinterpret_cast<const char*>(bytes.data()), static_cast<int32_t>(bytes.size())));
        }
        std::string result;
        text.toUTF8String(result);
        return result;
    }

    void appendCodePoint(std::string& out, char32_t codePoint)
    {
        icu::UnicodeString(static_cast<UChar32>(codePoint)).toUTF8String(out);
    }

    class TextParser {
    public:
        explicit TextParser(std::string text)
            : m_text(std::move(text))
        {
        }

        Result<Value> parse()
        {
            Value table = Value::dictionary();
            if (!skipBlanks())
                return failure();
            bool braced = peek() == '{';
            if (braced)
                ++m_position;
            while (true) {
                if (!skipBlanks())
                    return failure();
                if (atEnd()) {
                    if (braced)
                        return fail("the closing \"}\" is missing");
                    break;
                }
                if (braced && peek() == '}') {
                    ++m_position;
                    if (!skipBlanks())
                        return failure();
                    if (!atEnd())
                        return fail("unexpected text after the closing \"}\"");
                    break;
                }
                if (!parseEntry(table))
                    return failure();
            }
            return table;
        }

    private:
        bool atEnd() const { return m_position >= m_text.size(); }
        char peek() const { return atEnd() ? '\0' : m_text[m_position]; }

        Result<Value> failure() const { return Error { m_error }; }
        Result<Value> fail(const std::string& message)
        {
            setError(message);
            return failure();
        }
        bool setError(const std::string& message)
        {
            m_error = "line " + std::to_string(lineAt(m_position)) + ": " + message;
            return false;
        }
        size_t lineAt(size_t position) const
        {
            return 1 + std::count(m_text.begin(), m_text.begin() + std::min(position, m_text.size()), '\n');
        }

        // Skips white space and comments; false for a comment left open.
        bool skipBlanks()
        {
            while (!atEnd()) {
                char c = peek();
                if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
                    ++m_position;
                } else if (m_text.compare(m_position, 2, "//") == 0) {
                    size_t end = m_text.find('\n', m_position);
                    m_position = end == std::string::npos ? m_text.size() : end;
                } else if (m_text.compare(m_position, 2, "/*") == 0) {
                    size_t end = m_text.find("*/", m_position + 2);
                    if (end == std::string::npos)
                        return setError("a comment is not closed");
                    m_position = end + 2;
                } else {
                    break;
                }
            }
            return true;
        }

        bool parseEntry(Value& table)
        {
            std::string key;
            if (!parseString(key, "a key"))
                return false;
            if (!skipBlanks())
                return false;
            if (peek() == ';') {
                ++m_position;
                table.set(key, key);
                return true;
            }
            if (peek() != '=')
                return setError("expected \"=\" after the key \"" + key + "\"");
            ++m_position;
            if (!skipBlanks())
                return false;
            std::string value;
            if (!parseString(value, "a value for the key \"" + key + "\""))
                return false;
            if (!skipBlanks())
                return false;
            if (peek() != ';')
                return setError("expected \";\" after the value of the key \"" + key + "\"");
            ++m_position;
            table.set(key, std::move(value));
            return true;
        }

        static bool isWordCharacter(char c)
        {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$'
                || c == '+' || c == '/' || c == ':' || c == '.' || c == '-';
        }

        bool parseString(std::string& out, const std::string& what)
        {
            if (peek() == '"')
                return parseQuoted(out);
            size_t start = m_position;
            while (!atEnd() && isWordCharacter(peek()))
                ++m_position;
            if (m_position == start)
                return setError("expected " + what);
            out = m_text.substr(start, m_position - start);
            return true;
        }

        bool parseQuoted(std::string& out)
        {
            size_t opening = m_position++;
            while (!atEnd()) {
                char c = m_text[m_position++];
                if (c == '"')
                    return true;
                if (c != '\\') {
                    out += c;
                    continue;
                }
                if (atEnd())
                    break;
                parseEscape(out);
            }
            m_position = opening;
            return setError("a quoted string is not closed");
        }

        void parseEscape(std::string& out)
        {
            char c = m_text[m_position++];
            switch (c) {
            case 'n':
                out += '\n';
                return;
            case 't':
                out += '\t';
                return;
            case 'r':
                out += '\r';
                return;
            case 'a':
                out += '\a';
                return;
            case 'b':
                out += '\b';
                return;
            case 'f':
                out += '\f';
                return;
            case 'v':
                out += '\v';
                return;
            case 'U':
            case 'u':
                appendCodePoint(out, parseUnicodeEscape());
                return;
            default:
                break;
            }
            if (c >= '0' && c <= '7') {
                unsigned value = c - '0';
                for (int digits = 1; digits < 3 && peek() >= '0' && peek() <= '7'; ++digits)
                    value = value * 8 + (m_text[m_position++] - '0');
                appendCodePoint(out, value & 0xFF);
                return;
            }
            out += c;
        }

        // Up to four hexadecimal digits of a UTF-16 unit; a high surrogate is
        // joined with the low one of a \U escape right after it.
        char32_t parseUnicodeEscape()
        {
            char32_t unit = parseHexUnit();
            if (unit >= 0xD800 && unit <= 0xDBFF && m_text.compare(m_position, 2, "\\U") == 0) {
                size_t save = m_position;
                m_position += 2;
                char32_t low = parseHexUnit();
                if (low >= 0xDC00 && low <= 0xDFFF)
                    return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                m_position = save;
            }
            if (unit >= 0xD800 && unit <= 0xDFFF)
                return 0xFFFD;
            return unit;
        }

        char32_t parseHexUnit()
        {
            char32_t value = 0;
            for (int digits = 0; digits < 4 && hexDigitValue(peek()) >= 0; ++digits)
                value = value * 16 + static_cast<char32_t>(hexDigitValue(m_text[m_position++]));
            return value;
        }

        std::string m_text;
        size_t m_position { 0 };
        std::string m_error;
    };

    Result<Value> tableFromPropertyList(std::span<const uint8_t> bytes)
    {
        auto parsed = parsePropertyList(bytes);
        if (!parsed)
            return parsed.error();
        if (!parsed->isDictionary())
            return Error { "the property list does not hold a dictionary" };
        Value table = Value::dictionary();
        for (auto& [key, value] : parsed->entries()) {
            if (value.isString())
                table.set(key, value);
        }
        return table;
    }

} // namespace

Result<Value> parseStringsTable(std::span<const uint8_t> bytes)
{
    if (startsWith(bytes, "bplist"))
        return tableFromPropertyList(bytes);
    std::string text = decodeText(bytes);
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && (text.compare(first, 5, "<?xml") == 0 || text.compare(first, 6, "<plist") == 0))
        return tableFromPropertyList(bytes);
    return TextParser(std::move(text)).parse();
}

} // namespace foundation
