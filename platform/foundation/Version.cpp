#include "platform/foundation/Version.h"

namespace foundation {

namespace {

    bool isDigit(char c)
    {
        return c >= '0' && c <= '9';
    }

    // The run of digits starting at `position`, without its leading zeros; moves `position` past the run.
    std::string_view digitRun(std::string_view text, size_t& position)
    {
        size_t start = position;
        while (position < text.size() && isDigit(text[position]))
            ++position;
        auto run = text.substr(start, position - start);
        size_t firstSignificant = run.find_first_not_of('0');
        return firstSignificant == std::string_view::npos ? std::string_view() : run.substr(firstSignificant);
    }

    int sign(int value)
    {
        return (value > 0) - (value < 0);
    }

    // Compares the numbers two runs of digits spell, however long they are.
    int compareNumbers(std::string_view a, std::string_view b)
    {
        if (a.size() != b.size())
            return a.size() < b.size() ? -1 : 1;
        return sign(a.compare(b));
    }

} // namespace

int compareVersions(std::string_view a, std::string_view b)
{
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            if (int order = compareNumbers(digitRun(a, i), digitRun(b, j)))
                return order;
            continue;
        }
        auto left = static_cast<unsigned char>(a[i++]);
        auto right = static_cast<unsigned char>(b[j++]);
        if (left != right)
            return left < right ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

} // namespace foundation
