#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/TextLayout.h"
#include "platform/uikit/Geometry.h"

namespace uikit {

// One attribute set over a range of an attributed string.
struct AttributeRun {
    Range range;
    std::string name;
    foundation::Value value;
};

// Text with attributes over ranges counted in UTF-16 units. Where two runs of
// one attribute overlap, the one added later wins. The font attribute
// ("NSFont", a UIFont) is the one text layout reads; others are kept and
// answered as they were given.
class NSAttributedString : public runtime::NSObject {
public:
    static constexpr const char* fontAttributeName = "NSFont";

    using NSObject::NSObject;

    const std::string& string() const { return m_string; }
    uint64_t length() const { return m_length; }
    const std::vector<AttributeRun>& attributeRuns() const { return m_runs; }

    // The value of attribute `name` at `index` (nil where none is set), and
    // the widest range around `index` over which it has that value.
    foundation::Value attribute(std::string_view name, uint64_t index, Range* effectiveRange = nullptr) const;

    // The font runs in the order they were added: every "NSFont" run whose value is a UIFont.
    std::vector<graphics::FontRun> fontRuns() const;

    // A new immutable attributed string (class "NSAttributedString"); runs
    // reaching past the end of the text are left out.
    static runtime::Ref<NSAttributedString> make(runtime::Runtime&, std::string, std::vector<AttributeRun> = {});
    // A new immutable copy of `source`'s text and attributes, without the
    // runs of `droppedAttribute` when one is named.
    static runtime::Ref<NSAttributedString> copyOf(
        runtime::Runtime&, const NSAttributedString& source, std::string_view droppedAttribute = {});

    static void registerClass(device::Process&);

protected:
    void setString(std::string);
    void copyFrom(const NSAttributedString&);
    // Refuses, with a message, a range reaching past the end of the text.
    bool addAttribute(std::string name, foundation::Value, Range);

    std::string m_string;
    uint64_t m_length { 0 };
    std::vector<AttributeRun> m_runs;
};

} // namespace uikit
