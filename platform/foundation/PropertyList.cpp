#include "platform/foundation/PropertyList.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <plist/plist.h>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/PropertyListCheck.h"
#include "platform/foundation/Text.h"

namespace foundation {

namespace {

    struct NodeDeleter {
        void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
    };
    using Node = std::unique_ptr<void, NodeDeleter>;

    // A string the property-list library allocated with malloc.
    struct MallocDeleter {
        void operator()(void* memory) const { std::free(memory); }
    };
    template <typename T> using Malloced = std::unique_ptr<T, MallocDeleter>;

    const PropertyListLimits limits;

    // MARK: Reading

    Result<Value> valueOf(plist_t node);

    std::string takeString(char* text)
    {
        Malloced<char> owned(text);
        return owned ? std::string(owned.get()) : std::string();
    }

    Result<Node> dateNode(Date date, const std::string& path);

    // The library answers a date cut towards zero to whole microseconds, so
    // that a date it was given as 48.875305 s may come back as 48.875304 s,
    // and the fraction of a date in the second before 2001 without its sign.
    // The stored value is compared with those this writer makes of the
    // candidates, and the one it matches exactly is taken; a date no writer
    // of this kind made keeps the microseconds answered; one beyond what can
    // be written again is refused.
    Result<Value> dateOf(plist_t node)
    {
        int32_t seconds = 0;
        int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        double whole = seconds;
        double sign = seconds < 0 ? -1 : 1;
        int64_t magnitude = std::abs(static_cast<int64_t>(microseconds));
        std::array<double, 4> candidates { whole + sign * static_cast<double>(magnitude) / 1e6,
            whole + sign * static_cast<double>(magnitude + 1) / 1e6, -static_cast<double>(magnitude) / 1e6,
            -static_cast<double>(magnitude + 1) / 1e6 };
        size_t count = seconds == 0 ? candidates.size() : 2;
        for (size_t index = 0; index < count; ++index) {
            auto made = dateNode(Date { candidates[index] }, {});
            if (made && plist_compare_node_value(made.value().get(), node))
                return Value(Date { candidates[index] });
        }
        // A date the library cannot answer in whole seconds of 32 bits comes back clamped or as garbage.
        bool clamped = seconds == std::numeric_limits<int32_t>::min() || seconds == std::numeric_limits<int32_t>::max();
        if (clamped || magnitude >= 1000000 || !dateNode(Date { candidates[0] }, {}))
            return Error { "the property list holds a date too far from 2001 (it must lie between 1933 and 2069)" };
        return Value(Date { candidates[0] });
    }

    Value dataOf(plist_t node)
    {
        char* bytes = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &bytes, &length);
        Malloced<char> owned(bytes);
        auto* begin = reinterpret_cast<const uint8_t*>(owned.get());
        return Data(begin, begin + (owned ? length : 0));
    }

    Result<Value> arrayOf(plist_t node)
    {
        Value array = Value::array();
        uint32_t count = plist_array_get_size(node);
        for (uint32_t i = 0; i < count; ++i) {
            auto item = valueOf(plist_array_get_item(node, i));
            if (!item)
                return item;
            array.append(std::move(item).value());
        }
        return array;
    }

    Result<Value> dictionaryOf(plist_t node)
    {
        Value::Dictionary entries;
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        Malloced<void> ownedIterator(iterator);
        while (true) {
            char* key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, iterator, &key, &item);
            if (!item) {
                std::free(key);
                break;
            }
            auto name = takeString(key);
            if (!text::isValidUtf8(name))
                return Error { "the property list holds a key that is not valid UTF-8 text" };
            auto value = valueOf(item);
            if (!value)
                return value;
            entries.insert_or_assign(std::move(name), std::move(value).value());
        }
        return Value(std::move(entries));
    }

    Result<Value> valueOf(plist_t node)
    {
        switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            uint8_t value = 0;
            plist_get_bool_val(node, &value);
            return Value(value != 0);
        }
        case PLIST_UINT: {
            uint64_t value = 0;
            plist_get_uint_val(node, &value);
            return Value(static_cast<int64_t>(value));
        }
        case PLIST_REAL: {
            double value = 0;
            plist_get_real_val(node, &value);
            return Value(value);
        }
        case PLIST_STRING: {
            char* text = nullptr;
            plist_get_string_val(node, &text);
            // The binary format's ASCII strings may hold any byte; what is not UTF-8 could not be written again.
            auto string = takeString(text);
            if (!text::isValidUtf8(string))
                return Error { "the property list holds a string that is not valid UTF-8 text" };
            return Value(std::move(string));
        }
        case PLIST_DATE:
            return dateOf(node);
        case PLIST_DATA:
            return dataOf(node);
        case PLIST_ARRAY:
            return arrayOf(node);
        case PLIST_DICT:
            return dictionaryOf(node);
        case PLIST_UID: {
            // Keyed archives refer to their objects by UID; the XML format writes one as this dictionary.
            uint64_t uid = 0;
            plist_get_uid_val(node, &uid);
            Value reference = Value::dictionary();
            reference.set("CF$UID", static_cast<int64_t>(uid));
            return reference;
        }
        default:
            return Error { "the property list holds a value of an unknown kind" };
        }
    }

    bool isBinary(std::span<const uint8_t> bytes)
    {
        return bytes.size() >= 6 && std::memcmp(bytes.data(), "bplist", 6) == 0;
    }

    // MARK: Writing

    // Where a value sits in the one being written, for error messages: `"items"[2]`.
    std::string describePath(const std::string& path)
    {
        return path.empty() ? std::string("the top-level value") : "the value at " + path;
    }

    Result<Node> nodeOf(const Value&, const std::string& path, size_t depth);

    Result<Node> stringNode(const std::string& text, const std::string& path)
    {
        if (text.find('\0') != std::string::npos)
            return Error { describePath(path) + " is a string containing a NUL character" };
        if (!text::isValidUtf8(text))
            return Error { describePath(path) + " is a string that is not valid UTF-8" };
        return Node(plist_new_string(text.c_str()));
    }

    Result<Node> dateNode(Date date, const std::string& path)
    {
        double seconds = std::floor(date.secondsSinceReferenceDate);
        double microseconds = std::round((date.secondsSinceReferenceDate - seconds) * 1e6);
        if (microseconds >= 1e6) {
            seconds += 1;
            microseconds = 0;
        }
        if (!std::isfinite(seconds) || seconds < std::numeric_limits<int32_t>::min()
            || seconds > std::numeric_limits<int32_t>::max())
            return Error { describePath(path) + " is a date too far from 2001 to be stored" };
        return Node(plist_new_date(static_cast<int32_t>(seconds), static_cast<int32_t>(microseconds)));
    }

    Result<Node> arrayNode(const Value& value, const std::string& path, size_t depth)
    {
        Node array(plist_new_array());
        const auto& items = value.items();
        for (size_t i = 0; i < items.size(); ++i) {
            auto item = nodeOf(items[i], path + "[" + std::to_string(i) + "]", depth + 1);
            if (!item)
                return item;
            plist_array_append_item(array.get(), std::move(item).value().release());
        }
        return array;
    }

    Result<Node> dictionaryNode(const Value& value, const std::string& path, size_t depth)
    {
        Node dictionary(plist_new_dict());
        for (auto& [key, entry] : value.entries()) {
            auto entryPath = path + "\"" + key + "\"";
            if (key.find('\0') != std::string::npos || !text::isValidUtf8(key))
                return Error { "the key " + entryPath + " is not valid UTF-8 text without NUL characters" };
            auto item = nodeOf(entry, entryPath, depth + 1);
            if (!item)
                return item;
            plist_dict_set_item(dictionary.get(), key.c_str(), std::move(item).value().release());
        }
        return dictionary;
    }

    Result<Node> nodeOf(const Value& value, const std::string& path, size_t depth)
    {
        if (depth >= limits.maximumDepth)
            return Error { "values nest more than " + std::to_string(limits.maximumDepth) + " levels deep" };
        switch (value.kind()) {
        case Value::Kind::Nil:
            return Error { describePath(path) + " is nil, which a property list cannot hold" };
        case Value::Kind::Object:
            return Error { describePath(path) + " is an object (" + describe(value)
                + "), which a property list cannot hold" };
        case Value::Kind::Null:
            return Error { describePath(path) + " is null, which a property list cannot hold" };
        case Value::Kind::Boolean:
            return Node(plist_new_bool(value.boolean()));
        case Value::Kind::Integer:
            return Node(plist_new_uint(static_cast<uint64_t>(value.integer())));
        case Value::Kind::Real:
            return Node(plist_new_real(value.real()));
        case Value::Kind::String:
            return stringNode(value.string(), path);
        case Value::Kind::Data:
            return Node(plist_new_data(reinterpret_cast<const char*>(value.data().data()), value.data().size()));
        case Value::Kind::Date:
            return dateNode(value.date(), path);
        case Value::Kind::Array:
            return arrayNode(value, path, depth);
        case Value::Kind::Dictionary:
            return dictionaryNode(value, path, depth);
        }
        return Error { describePath(path) + " is of an unknown kind" };
    }

    Result<std::vector<char>> readFile(const std::filesystem::path& path)
    {
        std::error_code error;
        if (std::filesystem::is_directory(path, error))
            return Error { path.string() + " is a folder, not a file" };
        std::ifstream file(path, std::ios::binary);
        if (!file)
            return Error { "cannot open " + path.string() + ": " + std::strerror(errno) };
        std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (file.bad())
            return Error { "cannot read " + path.string() };
        return bytes;
    }

} // namespace

Result<Value> parsePropertyList(std::span<const uint8_t> bytes)
{
    if (bytes.empty())
        return Error { "the property list is empty" };
    if (bytes.size() > std::numeric_limits<uint32_t>::max())
        return Error { "the property list is larger than 4 GiB" };
    bool binary = isBinary(bytes);
    auto checked = binary ? checkBinaryPropertyList(bytes, limits) : checkXmlPropertyList(bytes, limits);
    if (!checked) {
        return Error { (binary ? "malformed binary property list: " : "malformed XML property list: ")
            + checked.error().message };
    }

    plist_t root = nullptr;
    auto* text = reinterpret_cast<const char*>(bytes.data());
    if (binary)
        plist_from_bin(text, static_cast<uint32_t>(bytes.size()), &root);
    else
        plist_from_xml(text, static_cast<uint32_t>(bytes.size()), &root);
    Node owned(root);
    if (!root)
        return Error { binary ? "malformed binary property list" : "malformed XML property list" };
    return valueOf(root);
}

Result<Value> loadPropertyList(const std::filesystem::path& path)
{
    auto bytes = readFile(path);
    if (!bytes)
        return bytes.error();
    auto& contents = bytes.value();
    auto value = parsePropertyList({ reinterpret_cast<const uint8_t*>(contents.data()), contents.size() });
    if (!value)
        return Error { path.string() + ": " + value.error().message };
    return value;
}

std::optional<Value> readPropertyList(const std::filesystem::path& path)
{
    return loadPropertyList(path).toOptional();
}

Result<Data> serializePropertyList(const Value& value, PropertyListFormat format)
{
    auto root = nodeOf(value, {}, 0);
    if (!root)
        return root.error();
    char* bytes = nullptr;
    uint32_t length = 0;
    if (format == PropertyListFormat::Xml)
        plist_to_xml(root.value().get(), &bytes, &length);
    else
        plist_to_bin(root.value().get(), &bytes, &length);
    Malloced<char> owned(bytes);
    if (!owned)
        return Error { "the property list could not be encoded" };
    auto* begin = reinterpret_cast<const uint8_t*>(owned.get());
    return Data(begin, begin + length);
}

Result<void> writePropertyList(const std::filesystem::path& path, const Value& value, PropertyListFormat format)
{
    auto bytes = serializePropertyList(value, format);
    if (!bytes)
        return Error { "cannot write " + path.string() + ": " + bytes.error().message };
    return writeFileAtomically(path, bytes.value());
}

} // namespace foundation
