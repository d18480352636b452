#include "platform/foundation/BoxedValue.h"

#include <algorithm>
#include <cstring>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::Class;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    struct Layout {
        size_t size;
        size_t alignment;
    };

    size_t alignUp(size_t offset, size_t alignment)
    {
        return (offset + alignment - 1) / alignment * alignment;
    }

    std::optional<Layout> layoutOf(std::string_view& type);

    std::optional<Layout> scalarLayout(char code)
    {
        switch (code) {
        case 'c':
        case 'C':
        case 'B':
            return Layout { 1, 1 };
        case 's':
        case 'S':
            return Layout { 2, 2 };
        case 'i':
        case 'I':
        case 'l':
        case 'L':
        case 'f':
            return Layout { 4, 4 };
        case 'q':
        case 'Q':
        case 'd':
        case '#':
        case ':':
        case '*':
            return Layout { 8, 8 };
        case 'D':
            return Layout { 16, 16 };
        default:
            return std::nullopt;
        }
    }

    // "@", optionally followed by a class name in quotes or by "?" for a block.
    Layout objectLayout(std::string_view& type)
    {
        if (type.starts_with("?")) {
            type.remove_prefix(1);
        } else if (type.starts_with("\"")) {
            size_t end = type.find('"', 1);
            type.remove_prefix(end == std::string_view::npos ? type.size() : end + 1);
        }
        return { 8, 8 };
    }

    // The length of the bracketed type at the front of `type` ("{name=...}" or "(name=...)"), nested ones included.
    std::optional<size_t> bracketedLength(std::string_view type)
    {
        int depth = 0;
        for (size_t i = 0; i < type.size(); ++i) {
            if (type[i] == '{' || type[i] == '(')
                ++depth;
            else if ((type[i] == '}' || type[i] == ')') && --depth == 0)
                return i + 1;
        }
        return std::nullopt;
    }

    // A pointer may point to anything, even a type without a known size: void,
    // an opaque structure, or a function ("^?").
    std::optional<Layout> pointerLayout(std::string_view& type)
    {
        constexpr Layout pointer { 8, 8 };
        std::string_view pointee = type;
        if (layoutOf(pointee)) {
            type = pointee;
            return pointer;
        }
        if (type.starts_with("?") || type.starts_with("v")) {
            type.remove_prefix(1);
            return pointer;
        }
        if (type.starts_with("{") || type.starts_with("(")) {
            auto length = bracketedLength(type);
            if (!length)
                return std::nullopt;
            type.remove_prefix(*length);
            return pointer;
        }
        return std::nullopt;
    }

    std::optional<Layout> arrayLayout(std::string_view& type)
    {
        size_t count = 0;
        size_t digits = 0;
        while (digits < type.size() && type[digits] >= '0' && type[digits] <= '9') {
            count = count * 10 + static_cast<size_t>(type[digits] - '0');
            if (count > (size_t(1) << 32))
                return std::nullopt;
            ++digits;
        }
        type.remove_prefix(digits);
        auto element = digits ? layoutOf(type) : std::nullopt;
        if (!element || !type.starts_with("]"))
            return std::nullopt;
        type.remove_prefix(1);
        return Layout { element->size * count, element->alignment };
    }

    // Structures ("{name=fields}") lay their fields out in order; unions ("(name=fields)") overlap them.
    std::optional<Layout> aggregateLayout(std::string_view& type, char close, bool isUnion)
    {
        size_t equals = type.find('=');
        size_t end = type.find(close);
        if (equals == std::string_view::npos || (end != std::string_view::npos && end < equals))
            return std::nullopt;
        type.remove_prefix(equals + 1);
        Layout layout { 0, 1 };
        while (!type.starts_with(std::string_view(&close, 1))) {
            auto field = layoutOf(type);
            if (!field)
                return std::nullopt;
            layout.alignment = std::max(layout.alignment, field->alignment);
            if (isUnion)
                layout.size = std::max(layout.size, field->size);
            else
                layout.size = alignUp(layout.size, field->alignment) + field->size;
        }
        type.remove_prefix(1);
        layout.size = alignUp(layout.size, layout.alignment);
        return layout.size ? std::optional(layout) : std::nullopt;
    }

    // Reads one type from the front of `type` and answers its layout.
    std::optional<Layout> layoutOf(std::string_view& type)
    {
        // Qualifiers: const, in, inout, out, bycopy, byref, oneway.
        while (!type.empty() && std::string_view("rnNoORV").find(type.front()) != std::string_view::npos)
            type.remove_prefix(1);
        if (type.empty())
            return std::nullopt;
        char code = type.front();
        type.remove_prefix(1);
        switch (code) {
        case '@':
            return objectLayout(type);
        case '^':
            return pointerLayout(type);
        case '[':
            return arrayLayout(type);
        case '{':
            return aggregateLayout(type, '}', false);
        case '(':
            return aggregateLayout(type, ')', true);
        default:
            return scalarLayout(code);
        }
    }

    BoxedValue* initWithBytes(BoxedValue* self, const void* bytes, const Value& objCType)
    {
        if (!objCType.isString())
            return nullptr;
        return self->setContents(objCType.string(), bytes) ? self : nullptr;
    }

    void getValue(BoxedValue* self, void* destination, size_t size)
    {
        if (!destination)
            return;
        auto& bytes = self->bytes();
        size_t copied = std::min(size, bytes.size());
        std::memcpy(destination, bytes.data(), copied);
        std::memset(static_cast<uint8_t*>(destination) + copied, 0, size - copied);
    }

} // namespace

std::optional<size_t> sizeOfObjCType(std::string_view type)
{
    auto layout = layoutOf(type);
    if (!layout || !type.empty())
        return std::nullopt;
    return layout->size;
}

bool BoxedValue::setContents(std::string_view objCType, const void* bytes)
{
    auto size = sizeOfObjCType(objCType);
    if (!size || !bytes)
        return false;
    m_objCType = objCType;
    auto* begin = static_cast<const uint8_t*>(bytes);
    m_bytes.assign(begin, begin + *size);
    return true;
}

void BoxedValue::registerClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSValue"))
        return;
    ClassBuilder::define<BoxedValue>(runtime, "NSValue", "NSObject")
        .method("initWithBytes:objCType:",
            Imp::of([](BoxedValue* self, Selector, const void* bytes, Value objCType) -> Object* {
                return initWithBytes(self, bytes, objCType);
            }))
        .method("objCType", Imp::of([](BoxedValue* self, Selector) { return Value(self->objCType()); }))
        .method("getValue:", Imp::of([](BoxedValue* self, Selector, void* destination) {
            getValue(self, destination, self->bytes().size());
        }))
        .method("getValue:size:", Imp::of([](BoxedValue* self, Selector, void* destination, uint64_t size) {
            getValue(self, destination, size);
        }))
        .method("isEqualToValue:", Imp::of([](BoxedValue* self, Selector, BoxedValue* boxed) {
            return boxed && boxed->objCType() == self->objCType() && boxed->bytes() == self->bytes();
        }))
        .classMethod("valueWithBytes:objCType:",
            Imp::of([](Class* self, Selector, const void* bytes, Value objCType) -> Ref<Object> {
                return runtime::send<Ref<Object>>(
                    runtime::alloc(self), SEL("initWithBytes:objCType:"), bytes, objCType);
            }));
}

Ref<Object> boxBool(runtime::Runtime& runtime, bool value)
{
    uint8_t byte = value ? 1 : 0;
    return runtime::send<Ref<Object>>(
        runtime.classNamed("NSValue"), SEL("valueWithBytes:objCType:"), static_cast<const void*>(&byte), "B");
}

bool unboxBool(Object* object)
{
    if (!runtime::isKindOf(object, "NSValue") || runtime::send<Value>(object, SEL("objCType")).string() != "B")
        return false;
    uint8_t byte = 0;
    runtime::send(object, SEL("getValue:"), static_cast<void*>(&byte));
    return byte != 0;
}

} // namespace foundation
