#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unicode/uversion.h>
#include <vector>

#include "platform/foundation/Range.h"
#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"

U_NAMESPACE_BEGIN
class RegexPattern;
class UnicodeString;
U_NAMESPACE_END

namespace foundation {

// The platform's NSRegularExpression over ICU's regular expressions: ICU's
// pattern syntax, UTF-16 ranges, the platform's option numbers.
//
// Messages: +regularExpressionWithPattern:options:error: and
// -initWithPattern:options:error: (nil, with the reason on standard error,
// for a pattern that does not compile; the error argument is not written),
// -pattern, -options, -numberOfCaptureGroups, and over a string and a range:
// -firstMatchInString:options:range: (an NSTextCheckingResult or nil),
// -matchesInString:options:range: (an array), -numberOfMatchesInString:options:range:,
// -rangeOfFirstMatchInString:options:range: ({notFound, 0} when none),
// -stringByReplacingMatchesInString:options:range:withTemplate: ("$1" names a
// group). A range that reaches past the string is refused with a message on
// standard error and finds nothing.
class RegularExpression : public runtime::NSObject {
public:
    // NSRegularExpressionOptions.
    enum Option : uint64_t {
        CaseInsensitive = 1 << 0,
        AllowCommentsAndWhitespace = 1 << 1,
        IgnoreMetacharacters = 1 << 2,
        DotMatchesLineSeparators = 1 << 3,
        AnchorsMatchLines = 1 << 4,
        UseUnixLineSeparators = 1 << 5,
        UseUnicodeWordBoundaries = 1 << 6,
    };
    // NSMatchingOptions that change what matches.
    enum MatchingOption : uint64_t {
        Anchored = 1 << 2,
        WithTransparentBounds = 1 << 3,
        WithoutAnchoringBounds = 1 << 4,
    };

    explicit RegularExpression(runtime::Class*);
    ~RegularExpression() override;

    // Compiles `pattern`; on failure the expression stays unusable and the
    // answer says why.
    Result<void> compile(const std::string& pattern, uint64_t options);

    const std::string& pattern() const { return m_pattern; }
    uint64_t options() const { return m_options; }
    uint64_t numberOfCaptureGroups() const;

    // The matches in `range` of `text` (UTF-8), at most `limit` of them, each
    // as the ranges of the whole match and of every group. Nothing for a
    // range past the end of the text.
    std::optional<std::vector<std::vector<Range>>> matches(
        const std::string& text, uint64_t matchingOptions, std::optional<Range> range, size_t limit = SIZE_MAX) const;

    // `text` with every match in `range` replaced by the template.
    std::optional<std::string> replacingMatches(const std::string& text, uint64_t matchingOptions,
        std::optional<Range> range, const std::string& replacementTemplate) const;

    static void registerClass(runtime::Runtime&);

private:
    std::string m_pattern;
    uint64_t m_options { 0 };
    std::unique_ptr<icu::RegexPattern> m_compiled;
};

} // namespace foundation
