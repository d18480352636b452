#include "platform/uikit/NSAttributedString.h"

#include <algorithm>
#include <set>

#include "platform/device/Process.h"
#include "platform/foundation/Text.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/TextRange.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Console.h"
#include "platform/uikit/NSMutableAttributedString.h"
#include "platform/uikit/UIFont.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    const AttributeRun* winnerAt(const std::vector<AttributeRun>& runs, std::string_view name, uint64_t index)
    {
        for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
            if (run->name == name && index >= run->range.location && index < run->range.end())
                return &*run;
        }
        return nullptr;
    }

    Value valueOf(const AttributeRun* run)
    {
        return run ? run->value : Value();
    }

} // namespace

void NSAttributedString::setString(std::string string)
{
    m_string = std::move(string);
    m_length = foundation::text::utf16Length(m_string);
}

void NSAttributedString::copyFrom(const NSAttributedString& other)
{
    m_string = other.m_string;
    m_length = other.m_length;
    m_runs = other.m_runs;
}

bool NSAttributedString::addAttribute(std::string name, Value value, Range range)
{
    if (range.location > m_length || range.length > m_length - range.location) {
        runtime::console("uikit: attribute range {" + std::to_string(range.location) + ", "
            + std::to_string(range.length) + "} lies beyond the end of a string of length " + std::to_string(m_length));
        return false;
    }
    if (range.length > 0)
        m_runs.push_back({ range, std::move(name), std::move(value) });
    return true;
}

Value NSAttributedString::attribute(std::string_view name, uint64_t index, Range* effectiveRange) const
{
    if (index >= m_length) {
        if (effectiveRange)
            *effectiveRange = { index, 0 };
        return {};
    }
    // The text splits into stretches at every edge of a run of this attribute;
    // the answer is the stretch holding `index`, widened while its neighbours
    // carry the same value.
    std::set<uint64_t> edges { 0, m_length };
    for (const auto& run : m_runs) {
        if (run.name == name) {
            edges.insert(run.range.location);
            edges.insert(run.range.end());
        }
    }
    Value value = valueOf(winnerAt(m_runs, name, index));
    auto after = edges.upper_bound(index);
    auto before = std::prev(after);
    while (before != edges.begin() && valueOf(winnerAt(m_runs, name, *std::prev(before))) == value)
        --before;
    while (*after < m_length && valueOf(winnerAt(m_runs, name, *after)) == value)
        ++after;
    if (effectiveRange)
        *effectiveRange = { *before, *after - *before };
    return value;
}

std::vector<graphics::FontRun> NSAttributedString::fontRuns() const
{
    std::vector<graphics::FontRun> runs;
    for (const auto& run : m_runs) {
        if (run.name != fontAttributeName)
            continue;
        if (auto* font = dynamic_cast<UIFont*>(run.value.object()))
            runs.push_back({ { run.range.location, run.range.length }, font->font() });
    }
    return runs;
}

Ref<NSAttributedString> NSAttributedString::make(
    runtime::Runtime& runtime, std::string string, std::vector<AttributeRun> runs)
{
    auto result = instantiate<NSAttributedString>(runtime, "NSAttributedString");
    if (!result)
        return nullptr;
    result->setString(std::move(string));
    for (auto& run : runs)
        result->addAttribute(std::move(run.name), std::move(run.value), run.range);
    return result;
}

Ref<NSAttributedString> NSAttributedString::copyOf(
    runtime::Runtime& runtime, const NSAttributedString& source, std::string_view droppedAttribute)
{
    auto copy = instantiate<NSAttributedString>(runtime, "NSAttributedString");
    if (!copy)
        return nullptr;
    copy->copyFrom(source);
    if (!droppedAttribute.empty())
        std::erase_if(copy->m_runs, [&](const AttributeRun& run) { return run.name == droppedAttribute; });
    return copy;
}

void NSAttributedString::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<NSAttributedString>(process.runtime(), "NSAttributedString", "NSObject")
        .method("initWithString:", Imp::of([](NSAttributedString* self, Selector, const Value& string) -> Object* {
            self->setString(string.string());
            return self;
        }))
        .method("initWithString:attributes:",
            Imp::of([](NSAttributedString* self, Selector, const Value& string, const Value& attributes) -> Object* {
                self->setString(string.string());
                for (const auto& [name, value] : attributes.entries())
                    self->addAttribute(name, value, { 0, self->m_length });
                return self;
            }))
        .method("initWithAttributedString:",
            Imp::of([](NSAttributedString* self, Selector, NSAttributedString* other) -> Object* {
                if (other)
                    self->copyFrom(*other);
                return self;
            }))
        .method("string", Imp::of([](NSAttributedString* self, Selector) { return Value(self->m_string); }))
        .method("length", Imp::of([](NSAttributedString* self, Selector) { return self->m_length; }))
        .method("attribute:atIndex:effectiveRange:",
            Imp::of([](NSAttributedString* self, Selector, const Value& name, uint64_t index, Range* range) {
                return self->attribute(name.string(), index, range);
            }))
        .method("copy", Imp::of([](NSAttributedString* self, Selector) -> Ref<Object> { return Ref<Object>(self); }))
        .method("mutableCopy", Imp::of([](NSAttributedString* self, Selector) -> Ref<Object> {
            auto copy = instantiate<NSMutableAttributedString>(self->isa()->runtime(), "NSMutableAttributedString");
            if (copy)
                copy->copyFrom(*self);
            return copy;
        }));
}

} // namespace uikit
