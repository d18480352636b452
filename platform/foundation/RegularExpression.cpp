#include "platform/foundation/RegularExpression.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include "platform/foundation/TextCheckingResult.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Console.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    // How long one search may run, in ICU's steps (about a millisecond each), so
    // that a pattern that backtracks without end cannot hang the device.
    constexpr int32_t searchTimeLimit = 2000;

    uint32_t icuFlags(uint64_t options)
    {
        uint32_t flags = 0;
        if (options & RegularExpression::CaseInsensitive)
            flags |= UREGEX_CASE_INSENSITIVE;
        if (options & RegularExpression::AllowCommentsAndWhitespace)
            flags |= UREGEX_COMMENTS;
        if (options & RegularExpression::IgnoreMetacharacters)
            flags |= UREGEX_LITERAL;
        if (options & RegularExpression::DotMatchesLineSeparators)
            flags |= UREGEX_DOTALL;
        if (options & RegularExpression::AnchorsMatchLines)
            flags |= UREGEX_MULTILINE;
        if (options & RegularExpression::UseUnixLineSeparators)
            flags |= UREGEX_UNIX_LINES;
        if (options & RegularExpression::UseUnicodeWordBoundaries)
            flags |= UREGEX_UWORD;
        return flags;
    }

    // The range to search, checked against the text's length.
    std::optional<Range> searchRange(const icu::UnicodeString& text, std::optional<Range> range)
    {
        auto length = static_cast<uint64_t>(text.length());
        if (!range)
            return Range { 0, length };
        if (range->location > length || range->length > length - range->location) {
            runtime::console("foundation: the range {" + std::to_string(range->location) + ", "
                + std::to_string(range->length) + "} lies outside a string of length " + std::to_string(length));
            return std::nullopt;
        }
        return range;
    }

    std::vector<Range> rangesOf(const icu::RegexMatcher& matcher)
    {
        std::vector<Range> ranges;
        UErrorCode status = U_ZERO_ERROR;
        for (int32_t group = 0; group <= matcher.groupCount(); ++group) {
            int32_t start = matcher.start(group, status);
            int32_t end = matcher.end(group, status);
            if (U_FAILURE(status) || start < 0)
                ranges.push_back({ Range::notFound, 0 });
            else
                ranges.push_back({ static_cast<uint64_t>(start), static_cast<uint64_t>(end - start) });
        }
        return ranges;
    }

    // A replacement template with "$n" replaced by the text of group n (as many
    // digits as still name a group) and "\c" standing for the character c.
    icu::UnicodeString expandTemplate(
        const icu::UnicodeString& input, const std::vector<Range>& groups, const icu::UnicodeString& pattern)
    {
        icu::UnicodeString result;
        for (int32_t i = 0; i < pattern.length(); ++i) {
            char16_t c = pattern[i];
            if (c == u'\\' && i + 1 < pattern.length()) {
                result.append(pattern[++i]);
                continue;
            }
            if (c != u'$' || i + 1 >= pattern.length() || pattern[i + 1] < u'0' || pattern[i + 1] > u'9') {
                result.append(c);
                continue;
            }
            size_t group = pattern[++i] - u'0';
            while (i + 1 < pattern.length() && pattern[i + 1] >= u'0' && pattern[i + 1] <= u'9'
                && group * 10 + (pattern[i + 1] - u'0') < groups.size())
                group = group * 10 + (pattern[++i] - u'0');
            if (group < groups.size() && groups[group].location != Range::notFound)
                result.append(
                    input, static_cast<int32_t>(groups[group].location), static_cast<int32_t>(groups[group].length));
        }
        return result;
    }

    // The messages that search a text.
    void defineMatching(ClassBuilder& builder, runtime::Runtime& runtime)
    {
        auto* owner = &runtime;
        builder
            .method("firstMatchInString:options:range:",
                Imp::of([owner](RegularExpression* self, Selector, const Value& text, uint64_t options,
                            Range range) -> Ref<Object> {
                    auto found = text.isString() ? self->matches(text.string(), options, range, 1) : std::nullopt;
                    if (!found || found->empty())
                        return nullptr;
                    return TextCheckingResult::make(*owner, std::move(found->front()));
                }))
            .method("matchesInString:options:range:",
                Imp::of([owner](RegularExpression* self, Selector, const Value& text, uint64_t options, Range range) {
                    Value results = Value::array();
                    auto found = text.isString() ? self->matches(text.string(), options, range) : std::nullopt;
                    for (auto& match : found.value_or(std::vector<std::vector<Range>> {}))
                        results.append(Value(TextCheckingResult::make(*owner, std::move(match))));
                    return results;
                }))
            .method("numberOfMatchesInString:options:range:",
                Imp::of([](RegularExpression* self, Selector, const Value& text, uint64_t options, Range range) {
                    auto found = text.isString() ? self->matches(text.string(), options, range) : std::nullopt;
                    return static_cast<uint64_t>(found ? found->size() : 0);
                }))
            .method("rangeOfFirstMatchInString:options:range:",
                Imp::of([](RegularExpression* self, Selector, const Value& text, uint64_t options, Range range) {
                    auto found = text.isString() ? self->matches(text.string(), options, range, 1) : std::nullopt;
                    return found && !found->empty() ? found->front().front() : Range { Range::notFound, 0 };
                }))
            .method("stringByReplacingMatchesInString:options:range:withTemplate:",
                Imp::of([](RegularExpression* self, Selector, const Value& text, uint64_t options, Range range,
                            const Value& replacement) -> Value {
                    if (!text.isString())
                        return {};
                    auto result = self->replacingMatches(text.string(), options, range, replacement.string());
                    return result ? Value(*result) : text;
                }));
    }

} // namespace

RegularExpression::RegularExpression(runtime::Class* cls)
    : NSObject(cls)
{
}

RegularExpression::~RegularExpression() = default;

Result<void> RegularExpression::compile(const std::string& pattern, uint64_t options)
{
    UErrorCode status = U_ZERO_ERROR;
    UParseError where {};
    std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(icu::UnicodeString::fromUTF8(pattern), icuFlags(options), where, status));
    if (U_FAILURE(status)) {
        return Error { "the regular expression \"" + pattern + "\" does not compile at offset "
            + std::to_string(where.offset) + ": " + u_errorName(status) };
    }
    m_pattern = pattern;
    m_options = options;
    m_compiled = std::move(compiled);
    return {};
}

uint64_t RegularExpression::numberOfCaptureGroups() const
{
    if (!m_compiled)
        return 0;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(m_compiled->matcher(status));
    return U_SUCCESS(status) ? static_cast<uint64_t>(matcher->groupCount()) : 0;
}

std::optional<std::vector<std::vector<Range>>> RegularExpression::matches(
    const std::string& text, uint64_t matchingOptions, std::optional<Range> range, size_t limit) const
{
    if (!m_compiled)
        return std::nullopt;
    icu::UnicodeString input = icu::UnicodeString::fromUTF8(text);
    auto region = searchRange(input, range);
    if (!region)
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(m_compiled->matcher(input, status));
    if (U_FAILURE(status))
        return std::nullopt;
    matcher->region(static_cast<int64_t>(region->location), static_cast<int64_t>(region->end()), status);
    matcher->useTransparentBounds(matchingOptions & WithTransparentBounds);
    matcher->useAnchoringBounds(!(matchingOptions & WithoutAnchoringBounds));
    matcher->setTimeLimit(searchTimeLimit, status);

    std::vector<std::vector<Range>> found;
    if (matchingOptions & Anchored) {
        if (limit > 0 && matcher->lookingAt(status))
            found.push_back(rangesOf(*matcher));
    } else {
        while (found.size() < limit && matcher->find(status))
            found.push_back(rangesOf(*matcher));
    }
    if (status == U_REGEX_TIME_OUT)
        runtime::console("foundation: the regular expression \"" + m_pattern + "\" ran too long; the search stopped");
    return found;
}

std::optional<std::string> RegularExpression::replacingMatches(const std::string& text, uint64_t matchingOptions,
    std::optional<Range> range, const std::string& replacementTemplate) const
{
    auto found = matches(text, matchingOptions, range);
    if (!found)
        return std::nullopt;
    icu::UnicodeString input = icu::UnicodeString::fromUTF8(text);
    icu::UnicodeString pattern = icu::UnicodeString::fromUTF8(replacementTemplate);
    icu::UnicodeString output;
    int32_t copied = 0;
    for (auto& match : *found) {
        auto start = static_cast<int32_t>(match[0].location);
        output.append(input, copied, start - copied);
        output.append(expandTemplate(input, match, pattern));
        copied = static_cast<int32_t>(match[0].end());
    }
    output.append(input, copied, input.length() - copied);
    std::string result;
    output.toUTF8String(result);
    return result;
}

void RegularExpression::registerClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSRegularExpression"))
        return;
    auto builder = ClassBuilder::define<RegularExpression>(runtime, "NSRegularExpression", "NSObject");
    builder
        .method("initWithPattern:options:error:",
            Imp::of([](RegularExpression* self, Selector, const Value& pattern, uint64_t options, Object*) -> Object* {
                if (!pattern.isString()) {
                    runtime::console("foundation: a regular expression needs a pattern string");
                    return nullptr;
                }
                if (auto compiled = self->compile(pattern.string(), options); !compiled) {
                    runtime::console("foundation: " + compiled.error().message);
                    return nullptr;
                }
                return self;
            }))
        .method("pattern", Imp::of([](RegularExpression* self, Selector) { return Value(self->pattern()); }))
        .method("options", Imp::of(&RegularExpression::options))
        .method("numberOfCaptureGroups", Imp::of(&RegularExpression::numberOfCaptureGroups));
    defineMatching(builder, runtime);
    builder.classMethod("regularExpressionWithPattern:options:error:",
        Imp::of([](runtime::Class* self, Selector, const Value& pattern, uint64_t options, Object* error) {
            return runtime::send<Ref<Object>>(
                runtime::alloc(self), SEL("initWithPattern:options:error:"), pattern, options, error);
        }));
}

} // namespace foundation
