#include "platform/foundation/TextCheckingResult.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Ref;
using runtime::Selector;

Range TextCheckingResult::rangeAtIndex(uint64_t index) const
{
    return index < m_ranges.size() ? m_ranges[index] : Range { Range::notFound, 0 };
}

Ref<TextCheckingResult> TextCheckingResult::make(runtime::Runtime& runtime, std::vector<Range> ranges)
{
    auto object = runtime::alloc(runtime.classNamed("NSTextCheckingResult"));
    Ref<TextCheckingResult> result(dynamic_cast<TextCheckingResult*>(object.get()));
    if (result)
        result->m_ranges = std::move(ranges);
    return result;
}

void TextCheckingResult::registerClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSTextCheckingResult"))
        return;
    ClassBuilder::define<TextCheckingResult>(runtime, "NSTextCheckingResult", "NSObject")
        .method("range", Imp::of([](TextCheckingResult* self, Selector) { return self->rangeAtIndex(0); }))
        .method("rangeAtIndex:", Imp::of(&TextCheckingResult::rangeAtIndex))
        .method("numberOfRanges",
            Imp::of([](TextCheckingResult* self, Selector) { return static_cast<uint64_t>(self->ranges().size()); }))
        .method("resultType", Imp::of([](TextCheckingResult*, Selector) { return regularExpressionType; }));
}

} // namespace foundation
