#include <algorithm>
#include <charconv>
#include <chrono>
#include <limits>
#include <string_view>
#include <vector>

#include "platform/foundation/PropertyListCheck.h"
#include "platform/foundation/Text.h"

namespace foundation {

namespace {

    enum class Element { Plist, Dict, Array, Key, String, Integer, Real, Date, Data, True, False };

    std::optional<Element> elementNamed(std::string_view name)
    {
        static constexpr std::pair<std::string_view, Element> names[] = {
            { "plist", Element::Plist },
            { "dict", Element::Dict },
            { "array", Element::Array },
            { "key", Element::Key },
            { "string", Element::String },
            { "integer", Element::Integer },
            { "real", Element::Real },
            { "date", Element::Date },
            { "data", Element::Data },
            { "true", Element::True },
            { "false", Element::False },
        };
        for (auto& [elementName, element] : names) {
            if (elementName == name)
                return element;
        }
        return std::nullopt;
    }

    bool isContainer(Element element)
    {
        return element == Element::Plist || element == Element::Dict || element == Element::Array;
    }

    bool isSpace(char c)
    {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r';
    }

    std::string_view trimmed(std::string_view text)
    {
        while (!text.empty() && isSpace(text.front()))
            text.remove_prefix(1);
        while (!text.empty() && isSpace(text.back()))
            text.remove_suffix(1);
        return text;
    }

    bool isBlank(std::string_view text)
    {
        return trimmed(text).empty();
    }

    bool isDigit(char c)
    {
        return c >= '0' && c <= '9';
    }

    // Integers are signed 64-bit values, in decimal or in hexadecimal with "0x".
    bool isValidInteger(std::string_view text)
    {
        text = trimmed(text);
        bool negative = false;
        if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
            negative = text.front() == '-';
            text.remove_prefix(1);
        }
        int base = 10;
        if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
            base = 16;
            text.remove_prefix(2);
        }
        if (text.empty())
            return false;
        uint64_t magnitude = 0;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
        if (error != std::errc() || end != text.data() + text.size())
            return false;
        uint64_t limit = uint64_t(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0);
        return magnitude <= limit;
    }

    bool isValidReal(std::string_view text)
    {
        text = trimmed(text);
        if (!text.empty() && text.front() == '+')
            text.remove_prefix(1);
        if (text.empty() || text.front() == '+')
            return false;
        double value = 0;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return error == std::errc() && end == text.data() + text.size();
    }

    std::optional<int> readNumber(std::string_view text, size_t at, size_t digits, int low, int high)
    {
        if (at + digits > text.size())
            return std::nullopt;
        int value = 0;
        for (size_t i = at; i < at + digits; ++i) {
            if (!isDigit(text[i]))
                return std::nullopt;
            value = value * 10 + (text[i] - '0');
        }
        if (value < low || value > high)
            return std::nullopt;
        return value;
    }

    // Dates are written as "2001-01-01T00:00:00Z", optionally with a fraction of a second.
    bool isValidDate(std::string_view text)
    {
        text = trimmed(text);
        if (text.size() < 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':'
            || text[16] != ':' || text.back() != 'Z')
            return false;
        auto year = readNumber(text, 0, 4, 0, 9999);
        auto month = readNumber(text, 5, 2, 1, 12);
        auto day = readNumber(text, 8, 2, 1, 31);
        if (!year || !month || !day || !readNumber(text, 11, 2, 0, 23) || !readNumber(text, 14, 2, 0, 59)
            || !readNumber(text, 17, 2, 0, 60))
            return false;
        // The 31st of February and the like do not exist.
        std::chrono::year_month_day date { std::chrono::year(*year), std::chrono::month(unsigned(*month)),
            std::chrono::day(unsigned(*day)) };
        if (!date.ok())
            return false;
        auto fraction = text.substr(19, text.size() - 20);
        if (fraction.empty())
            return true;
        return fraction.size() > 1 && fraction.front() == '.'
            && std::all_of(fraction.begin() + 1, fraction.end(), [](char c) { return isDigit(c); });
    }

    bool isBase64Letter(char c)
    {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || isDigit(c) || c == '+' || c == '/';
    }

    bool isValidBase64(std::string_view text)
    {
        size_t letters = 0;
        size_t padding = 0;
        for (char c : text) {
            if (isSpace(c))
                continue;
            if (c == '=')
                ++padding;
            else if (!isBase64Letter(c) || padding > 0)
                return false;
            else
                ++letters;
        }
        if (padding > 2)
            return false;
        if (padding > 0)
            return (letters + padding) % 4 == 0;
        return letters % 4 != 1;
    }

    bool isValidEntity(std::string_view name)
    {
        if (name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos")
            return true;
        if (name.size() < 2 || name[0] != '#')
            return false;
        int base = 10;
        name.remove_prefix(1);
        if (name[0] == 'x') {
            base = 16;
            name.remove_prefix(1);
        }
        uint32_t codePoint = 0;
        auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), codePoint, base);
        return error == std::errc() && end == name.data() + name.size() && codePoint != 0 && codePoint <= 0x10FFFF
            && (codePoint < 0xD800 || codePoint > 0xDFFF);
    }

    // A small XML reader that knows the property-list vocabulary: it checks the
    // nesting and placement of elements and the text of every leaf, and builds
    // nothing.
    class XmlChecker {
    public:
        XmlChecker(std::string_view text, const PropertyListLimits& limits)
            : m_text(text)
            , m_limits(limits)
        {
        }

        std::optional<std::string> run()
        {
            skipByteOrderMark();
            while (m_position < m_text.size() && !m_failure) {
                if (m_text[m_position] == '<')
                    readMarkup();
                else
                    readText();
            }
            if (m_failure)
                return m_failure;
            if (!m_stack.empty())
                return "the document ends inside <" + std::string(m_stack.back().name) + "> (it may be truncated)";
            if (!m_sawRoot)
                return std::string("the document has no <plist> element");
            return std::nullopt;
        }

    private:
        struct Frame {
            Element element;
            std::string_view name;
            size_t children { 0 };
            bool awaitingValue { false };
            std::string text;
            std::string key; // of a <dict>: the last key read, which names the value that follows
        };

        void fail(std::string message, const std::string& place = {})
        {
            if (m_failure)
                return;
            size_t line = 1 + std::count(m_text.begin(), m_text.begin() + std::min(m_position, m_text.size()), '\n');
            m_failure = "line " + std::to_string(line) + (place.empty() ? "" : ", " + place) + ": " + message;
        }

        bool startsWith(std::string_view prefix) const { return m_text.substr(m_position).starts_with(prefix); }

        void skipByteOrderMark()
        {
            if (startsWith("\xEF\xBB\xBF"))
                m_position += 3;
        }

        // Moves past `terminator`, or fails when the document ends first.
        void skipPast(std::string_view terminator, const char* what)
        {
            size_t end = m_text.find(terminator, m_position);
            if (end == std::string_view::npos) {
                fail(std::string("unterminated ") + what);
                m_position = m_text.size();
                return;
            }
            m_position = end + terminator.size();
        }

        void readMarkup()
        {
            if (startsWith("<?"))
                skipPast("?>", "processing instruction");
            else if (startsWith("<!--"))
                skipPast("-->", "comment");
            else if (startsWith("<![CDATA["))
                readCharacterData();
            else if (startsWith("<!DOCTYPE"))
                readDocumentType();
            else if (startsWith("</"))
                readEndTag();
            else
                readStartTag();
        }

        void readCharacterData()
        {
            size_t start = m_position + 9;
            size_t end = m_text.find("]]>", start);
            if (end == std::string_view::npos) {
                fail("unterminated CDATA section");
                m_position = m_text.size();
                return;
            }
            if (m_stack.empty()
                || (m_stack.back().element != Element::String && m_stack.back().element != Element::Key))
                fail("character data is allowed only in <string> and <key>");
            else
                m_stack.back().text.append(m_text.substr(start, end - start));
            m_position = end + 3;
        }

        void readDocumentType()
        {
            if (m_sawRoot || !m_stack.empty())
                fail("a document type declaration must come before the <plist> element");
            int bracketDepth = 0;
            for (++m_position; m_position < m_text.size(); ++m_position) {
                char c = m_text[m_position];
                if (c == '[')
                    ++bracketDepth;
                else if (c == ']')
                    --bracketDepth;
                else if (c == '>' && bracketDepth <= 0) {
                    ++m_position;
                    return;
                }
            }
            fail("unterminated document type declaration");
        }

        std::string_view readName()
        {
            size_t start = m_position;
            while (m_position < m_text.size()) {
                char c = m_text[m_position];
                if (isSpace(c) || c == '>' || c == '/' || c == '=')
                    break;
                ++m_position;
            }
            return m_text.substr(start, m_position - start);
        }

        void skipSpaces()
        {
            while (m_position < m_text.size() && isSpace(m_text[m_position]))
                ++m_position;
        }

        // Skips the attributes; answers whether the tag closes itself ("/>").
        std::optional<bool> skipAttributes()
        {
            while (true) {
                skipSpaces();
                if (m_position >= m_text.size())
                    break;
                if (m_text[m_position] == '>') {
                    ++m_position;
                    return false;
                }
                if (startsWith("/>")) {
                    m_position += 2;
                    return true;
                }
                if (readName().empty() || m_position >= m_text.size() || m_text[m_position] != '=')
                    break;
                ++m_position;
                if (m_position >= m_text.size() || (m_text[m_position] != '"' && m_text[m_position] != '\''))
                    break;
                size_t end = m_text.find(m_text[m_position], m_position + 1);
                if (end == std::string_view::npos)
                    break;
                m_position = end + 1;
            }
            fail("malformed tag");
            return std::nullopt;
        }

        void readStartTag()
        {
            ++m_position;
            auto name = readName();
            auto element = elementNamed(name);
            if (!element)
                return fail("unknown element <" + std::string(name) + ">");
            auto selfClosing = skipAttributes();
            if (!selfClosing)
                return;
            open(*element, name);
            if (*selfClosing && !m_failure)
                close();
        }

        void readEndTag()
        {
            m_position += 2;
            auto name = readName();
            skipSpaces();
            if (m_position >= m_text.size() || m_text[m_position] != '>')
                return fail("malformed closing tag </" + std::string(name) + ">");
            ++m_position;
            if (m_stack.empty() || m_stack.back().name != name)
                return fail("</" + std::string(name) + "> does not close the open element");
            close();
        }

        void readText()
        {
            size_t end = std::min(m_text.find('<', m_position), m_text.size());
            auto text = m_text.substr(m_position, end - m_position);
            if (m_stack.empty() || isContainer(m_stack.back().element)) {
                if (!isBlank(text))
                    return fail("text outside of a value");
            } else {
                m_stack.back().text.append(text);
            }
            m_position = end;
        }

        void open(Element element, std::string_view name)
        {
            if (m_stack.empty()) {
                if (element != Element::Plist || m_sawRoot)
                    return fail("the document must consist of one <plist> element");
                m_sawRoot = true;
            } else if (!placeInParent(element, name)) {
                return;
            }
            if (m_stack.size() >= m_limits.maximumDepth)
                return fail("values nest more than " + std::to_string(m_limits.maximumDepth) + " levels deep");
            m_stack.push_back(Frame { element, name, 0, false, {}, {} });
        }

        bool placeInParent(Element element, std::string_view name)
        {
            auto& parent = m_stack.back();
            auto quoted = "<" + std::string(name) + ">";
            if (!isContainer(parent.element)) {
                fail(quoted + " cannot appear inside <" + std::string(parent.name) + ">");
                return false;
            }
            if (element == Element::Plist) {
                fail("<plist> cannot be nested");
                return false;
            }
            if (parent.element == Element::Dict) {
                if (parent.awaitingValue == (element == Element::Key)) {
                    fail(parent.awaitingValue ? "a <key> is followed by another <key> instead of its value"
                                              : quoted + " in a <dict> has no <key>");
                    return false;
                }
                parent.awaitingValue = element == Element::Key;
            } else if (element == Element::Key) {
                fail("<key> is allowed only in a <dict>");
                return false;
            } else if (parent.element == Element::Plist && parent.children > 0) {
                fail("<plist> holds more than one value");
                return false;
            }
            ++parent.children;
            return true;
        }

        void close()
        {
            Frame frame = std::move(m_stack.back());
            m_stack.pop_back();
            if (auto problem = problemWith(frame))
                return fail(*problem, placeOf(frame));
            if (frame.element == Element::Key && !m_stack.empty())
                m_stack.back().key = std::move(frame.text);
        }

        // Where a value just closed sits, by the keys and indexes that lead to
        // it, as in `the value at "items"[2]`; a key sits in its dictionary.
        std::string placeOf(const Frame& frame) const
        {
            std::string path;
            size_t levels = m_stack.size() - (frame.element == Element::Key ? 1 : 0);
            for (size_t level = 0; level < levels; ++level) {
                const Frame& container = m_stack[level];
                if (container.element == Element::Dict)
                    path += "\"" + std::string(trimmed(container.key).substr(0, 40)) + "\"";
                else if (container.element == Element::Array)
                    path += "[" + std::to_string(container.children - 1) + "]";
            }
            std::string value = path.empty() ? std::string("the top-level value") : "the value at " + path;
            return frame.element == Element::Key ? "a key of " + value : value;
        }

        std::optional<std::string> problemWith(const Frame& frame) const
        {
            auto quote = [&](const std::string& text) {
                auto shown = std::string(trimmed(text).substr(0, 40));
                return "<" + std::string(frame.name) + "> holds \"" + shown + "\", which is not ";
            };
            switch (frame.element) {
            case Element::Plist:
                return frame.children == 1 ? std::nullopt : std::optional<std::string>("<plist> holds no value");
            case Element::Dict:
                return frame.awaitingValue ? std::optional<std::string>("the last <key> of a <dict> has no value")
                                           : std::nullopt;
            case Element::Array:
                return std::nullopt;
            case Element::Key:
            case Element::String:
                return textProblem(frame.text);
            case Element::Integer:
                return isValidInteger(frame.text) ? std::nullopt
                                                  : std::optional(quote(frame.text) + "a 64-bit integer");
            case Element::Real:
                return isValidReal(frame.text) ? std::nullopt : std::optional(quote(frame.text) + "a number");
            case Element::Date:
                return isValidDate(frame.text) ? std::nullopt : std::optional(quote(frame.text) + "a date");
            case Element::Data:
                return isValidBase64(frame.text) ? std::nullopt : std::optional(quote(frame.text) + "base-64 data");
            case Element::True:
            case Element::False:
                return isBlank(frame.text) ? std::nullopt
                                           : std::optional("<" + std::string(frame.name) + "/> cannot hold text");
            }
            return std::nullopt;
        }

        static std::optional<std::string> textProblem(std::string_view text)
        {
            for (size_t at = text.find('&'); at != std::string_view::npos; at = text.find('&', at + 1)) {
                size_t end = text.find(';', at);
                if (end == std::string_view::npos || !isValidEntity(text.substr(at + 1, end - at - 1)))
                    return "malformed character reference \"" + std::string(text.substr(at, 12)) + "\"";
            }
            return std::nullopt;
        }

        std::string_view m_text;
        const PropertyListLimits& m_limits;
        size_t m_position { 0 };
        std::vector<Frame> m_stack;
        bool m_sawRoot { false };
        std::optional<std::string> m_failure;
    };

} // namespace

Result<void> checkXmlPropertyList(std::span<const uint8_t> bytes, const PropertyListLimits& limits)
{
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.find('\0') != std::string_view::npos)
        return Error { "the XML text contains a NUL character" };
    if (!text::isValidUtf8(text))
        return Error { "the XML text is not valid UTF-8" };
    if (auto problem = XmlChecker(text, limits).run())
        return Error { std::move(*problem) };
    return {};
}

} // namespace foundation
