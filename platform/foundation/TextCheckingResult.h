#pragma once

#include <vector>

#include "platform/foundation/Range.h"
#include "platform/foundation/Value.h"

namespace foundation {

// The platform's NSTextCheckingResult for a regular-expression match: the
// range of the whole match (index 0) and of each capture group, in UTF-16
// units; a group that took no part in the match has location Range::notFound.
//
// Messages: -range, -rangeAtIndex: (an index past the groups answers
// {notFound, 0}), -numberOfRanges, -resultType (1024, a regular expression).
class TextCheckingResult : public runtime::NSObject {
public:
    static constexpr uint64_t regularExpressionType = 1 << 10;

    using NSObject::NSObject;

    const std::vector<Range>& ranges() const { return m_ranges; }
    Range rangeAtIndex(uint64_t index) const;

    // A new result of the run time's "NSTextCheckingResult" class.
    static runtime::Ref<TextCheckingResult> make(runtime::Runtime&, std::vector<Range>);

    static void registerClass(runtime::Runtime&);

private:
    std::vector<Range> m_ranges;
};

} // namespace foundation
