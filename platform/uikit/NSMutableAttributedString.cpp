#include "platform/uikit/NSMutableAttributedString.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void NSMutableAttributedString::append(const NSAttributedString& other)
{
    uint64_t offset = m_length;
    std::vector<AttributeRun> shifted = other.attributeRuns();
    setString(m_string + other.string());
    for (auto& run : shifted) {
        run.range.location += offset;
        m_runs.push_back(std::move(run));
    }
}

void NSMutableAttributedString::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<NSMutableAttributedString>(
        process.runtime(), "NSMutableAttributedString", "NSAttributedString")
        .method("addAttribute:value:range:",
            Imp::of([](NSMutableAttributedString* self, Selector, const Value& name, const Value& value, Range range) {
                self->addAttribute(name.string(), value, range);
            }))
        .method("addAttributes:range:",
            Imp::of([](NSMutableAttributedString* self, Selector, const Value& attributes, Range range) {
                for (const auto& [name, value] : attributes.entries())
                    self->addAttribute(name, value, range);
            }))
        .method(
            "appendAttributedString:", Imp::of([](NSMutableAttributedString* self, Selector, NSAttributedString* text) {
                if (text)
                    self->append(*text);
            }))
        .method("copy", Imp::of([](NSMutableAttributedString* self, Selector) -> Ref<Object> {
            return copyOf(self->isa()->runtime(), *self);
        }));
}

} // namespace uikit
