#include <cstring>
#include <vector>

#include "platform/foundation/PropertyListCheck.h"

namespace foundation {

namespace {

    constexpr size_t headerSize = 8;
    constexpr size_t trailerSize = 32;

    uint64_t readBigEndian(const uint8_t* bytes, size_t size)
    {
        uint64_t value = 0;
        for (size_t i = 0; i < size; ++i)
            value = (value << 8) | bytes[i];
        return value;
    }

    bool isValidIntegerSize(uint8_t size)
    {
        return size == 1 || size == 2 || size == 4 || size == 8;
    }

    // Walks the object graph of a binary property list (a header, the objects, a
    // table of their offsets and a trailer) without building anything: every
    // reference must name an object, no container may contain itself, and the
    // tree that parsing would build must stay within the limits. Objects that
    // several containers share are counted once per use, as parsing copies them.
    class BinaryChecker {
    public:
        BinaryChecker(std::span<const uint8_t> bytes, const PropertyListLimits& limits)
            : m_bytes(bytes)
            , m_limits(limits)
        {
        }

        std::optional<std::string> run()
        {
            if (auto problem = readTrailer())
                return problem;
            if (auto problem = readOffsets())
                return problem;
            return walk();
        }

    private:
        struct Visit {
            uint64_t object;
            std::vector<uint64_t> children;
            size_t next { 0 };
            size_t depth { 0 };
            uint64_t values { 1 };
        };
        enum class State : uint8_t { Unvisited, Visiting, Done };

        std::optional<std::string> readTrailer()
        {
            if (m_bytes.size() < headerSize + 1 + trailerSize)
                return std::string("the data is too short to be a binary property list");
            if (std::memcmp(m_bytes.data(), "bplist00", headerSize) != 0)
                return std::string("unsupported binary property list version");
            const uint8_t* trailer = m_bytes.data() + m_bytes.size() - trailerSize;
            m_offsetSize = trailer[6];
            m_referenceSize = trailer[7];
            m_objectCount = readBigEndian(trailer + 8, 8);
            m_topObject = readBigEndian(trailer + 16, 8);
            m_tableOffset = readBigEndian(trailer + 24, 8);
            size_t tableEnd = m_bytes.size() - trailerSize;
            if (!isValidIntegerSize(m_offsetSize) || !isValidIntegerSize(m_referenceSize) || m_objectCount == 0
                || m_topObject >= m_objectCount || m_tableOffset < headerSize || m_tableOffset > tableEnd
                || m_objectCount > (tableEnd - m_tableOffset) / m_offsetSize)
                return std::string("the trailer of the binary property list is damaged (the file may be truncated)");
            return std::nullopt;
        }

        std::optional<std::string> readOffsets()
        {
            m_offsets.reserve(m_objectCount);
            for (uint64_t i = 0; i < m_objectCount; ++i) {
                uint64_t offset = readBigEndian(m_bytes.data() + m_tableOffset + i * m_offsetSize, m_offsetSize);
                if (offset < headerSize || offset >= m_tableOffset)
                    return "object " + std::to_string(i) + " lies outside the object area";
                m_offsets.push_back(offset);
            }
            return std::nullopt;
        }

        std::string problemAt(uint64_t object, const char* what) const
        {
            return "object " + std::to_string(object) + " " + what;
        }

        // The element count of the object at `position` (its marker's low bits, or
        // the integer that follows them); moves `position` past the marker.
        std::optional<uint64_t> countAt(size_t& position) const
        {
            uint64_t count = m_bytes[position++] & 0xF;
            if (count != 0xF)
                return count;
            if (position >= m_tableOffset || (m_bytes[position] >> 4) != 0x1 || (m_bytes[position] & 0xF) > 3)
                return std::nullopt;
            size_t size = size_t(1) << (m_bytes[position] & 0xF);
            if (position + 1 + size > m_tableOffset)
                return std::nullopt;
            count = readBigEndian(m_bytes.data() + position + 1, size);
            position += 1 + size;
            return count;
        }

        // Strings become C strings in the parser, which stops the program when one holds a NUL.
        std::optional<std::string> checkString(uint64_t object, size_t position, uint64_t count, size_t unitSize) const
        {
            if (count > (m_tableOffset - position) / unitSize)
                return problemAt(object, "runs past the object area");
            for (uint64_t i = 0; i < count; ++i) {
                const uint8_t* unit = m_bytes.data() + position + i * unitSize;
                if (unit[0] == 0 && unit[unitSize - 1] == 0)
                    return problemAt(object, "is a string containing a NUL character");
            }
            return std::nullopt;
        }

        // Integers of 1, 2 and 4 bytes are unsigned, of 8 bytes signed; 16 bytes
        // carry a value beyond the signed range, which the parser would wrap
        // around (2^64 - 1 reads as -1). Only what fits in 64 bits is read.
        std::optional<std::string> checkInteger(uint64_t object, size_t position) const
        {
            unsigned exponent = m_bytes[position] & 0xF;
            if (exponent > 4)
                return problemAt(object, "is an integer of an unknown size");
            size_t size = size_t(1) << exponent;
            if (size > m_tableOffset - position - 1)
                return problemAt(object, "runs past the object area");
            if (size < 16)
                return std::nullopt;
            uint64_t high = readBigEndian(m_bytes.data() + position + 1, 8);
            bool lowIsNegative = (m_bytes[position + 9] & 0x80) != 0;
            if ((high == 0 && !lowIsNegative) || (high == ~uint64_t(0) && lowIsNegative))
                return std::nullopt;
            return problemAt(object, "is an integer beyond 64 bits, which cannot be read without changing it");
        }

        bool isString(uint64_t object) const
        {
            uint8_t type = m_bytes[m_offsets[object]] >> 4;
            return type == 0x5 || type == 0x6;
        }

        // Checks one object and lists the objects it refers to (keys before
        // values for a dictionary); a scalar refers to none.
        std::optional<std::string> inspect(uint64_t object, std::vector<uint64_t>& children) const
        {
            size_t position = m_offsets[object];
            uint8_t type = m_bytes[position] >> 4;
            if (type == 0x1)
                return checkInteger(object, position);
            auto count = countAt(position);
            if (!count)
                return problemAt(object, "has a malformed length");
            if (type == 0x5 || type == 0x6)
                return checkString(object, position, *count, type == 0x5 ? 1 : 2);
            if (type != 0xA && type != 0xC && type != 0xD)
                return std::nullopt;
            uint64_t references = type == 0xD ? 2 : 1;
            if (*count > (m_tableOffset - position) / m_referenceSize / references)
                return problemAt(object, "runs past the object area");
            children.clear();
            for (uint64_t i = 0; i < *count * references; ++i) {
                uint64_t child = readBigEndian(m_bytes.data() + position + i * m_referenceSize, m_referenceSize);
                if (child >= m_objectCount)
                    return problemAt(object, "refers to a missing object");
                if (type == 0xD && i < *count && !isString(child))
                    return problemAt(object, "is a dictionary with a key that is not a string");
                children.push_back(child);
            }
            return std::nullopt;
        }

        std::optional<std::string> enter(std::vector<Visit>& stack, uint64_t object)
        {
            if (stack.size() >= m_limits.maximumDepth)
                return "values nest more than " + std::to_string(m_limits.maximumDepth) + " levels deep";
            m_state[object] = State::Visiting;
            stack.push_back({ object, {} });
            return inspect(object, stack.back().children);
        }

        void leave(std::vector<Visit>& stack)
        {
            auto& done = stack.back();
            m_state[done.object] = State::Done;
            m_depth[done.object] = done.depth + 1;
            m_values[done.object] = done.values;
            stack.pop_back();
        }

        std::optional<std::string> walk()
        {
            m_state.assign(m_objectCount, State::Unvisited);
            m_depth.assign(m_objectCount, 0);
            m_values.assign(m_objectCount, 0);
            std::vector<Visit> stack;
            if (auto problem = enter(stack, m_topObject))
                return problem;
            while (!stack.empty()) {
                auto& visit = stack.back();
                if (visit.next == visit.children.size()) {
                    leave(stack);
                    continue;
                }
                uint64_t child = visit.children[visit.next++];
                if (m_state[child] == State::Visiting)
                    return "object " + std::to_string(child) + " contains itself";
                if (m_state[child] == State::Unvisited) {
                    --visit.next;
                    if (auto problem = enter(stack, child))
                        return problem;
                    continue;
                }
                visit.depth = std::max(visit.depth, m_depth[child]);
                visit.values += m_values[child];
                if (stack.size() + m_depth[child] > m_limits.maximumDepth)
                    return "values nest more than " + std::to_string(m_limits.maximumDepth) + " levels deep";
                if (visit.values > m_limits.maximumValues)
                    return "the property list expands to more than " + std::to_string(m_limits.maximumValues)
                        + " values";
            }
            return std::nullopt;
        }

        std::span<const uint8_t> m_bytes;
        const PropertyListLimits& m_limits;
        uint8_t m_offsetSize { 0 };
        uint8_t m_referenceSize { 0 };
        uint64_t m_objectCount { 0 };
        uint64_t m_topObject { 0 };
        uint64_t m_tableOffset { 0 };
        std::vector<uint64_t> m_offsets;
        std::vector<State> m_state;
        std::vector<size_t> m_depth;
        std::vector<uint64_t> m_values;
    };

} // namespace

Result<void> checkBinaryPropertyList(std::span<const uint8_t> bytes, const PropertyListLimits& limits)
{
    if (auto problem = BinaryChecker(bytes, limits).run())
        return Error { std::move(*problem) };
    return {};
}

} // namespace foundation
