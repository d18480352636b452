#include "platform/foundation/Number.h"

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

    template <typename T> T read(const std::vector<uint8_t>& bytes)
    {
        T value {};
        std::memcpy(&value, bytes.data(), std::min(sizeof(T), bytes.size()));
        return value;
    }

    template <typename T> Object* initWith(Number* self, const char* objCType, T value)
    {
        return self->setContents(objCType, &value) ? self : nullptr;
    }

    template <typename T> Imp classFactory(const char* initializer)
    {
        Selector init = Selector::named(initializer);
        return Imp::of([init](Class* self, Selector, T value) -> Ref<Object> {
            return runtime::send<Ref<Object>>(runtime::alloc(self), init, value);
        });
    }

} // namespace

Value Number::numericValue() const
{
    auto& type = objCType();
    auto& data = bytes();
    if (type == "c")
        return read<int8_t>(data);
    if (type == "C" || type == "B")
        return read<uint8_t>(data);
    if (type == "s")
        return read<int16_t>(data);
    if (type == "S")
        return read<uint16_t>(data);
    if (type == "i" || type == "l")
        return read<int32_t>(data);
    if (type == "I" || type == "L")
        return read<uint32_t>(data);
    if (type == "q" || type == "Q")
        return read<int64_t>(data);
    if (type == "f")
        return static_cast<double>(read<float>(data));
    if (type == "d")
        return read<double>(data);
    return 0;
}

void Number::registerClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSNumber"))
        return;
    ClassBuilder::define<Number>(runtime, "NSNumber", "NSValue")
        .method("initWithBool:",
            Imp::of([](Number* self, Selector, bool value) { return initWith<int8_t>(self, "c", value ? 1 : 0); }))
        .method("initWithInteger:",
            Imp::of([](Number* self, Selector, int64_t value) { return initWith(self, "q", value); }))
        .method(
            "initWithDouble:", Imp::of([](Number* self, Selector, double value) { return initWith(self, "d", value); }))
        .classMethod("numberWithBool:", classFactory<bool>("initWithBool:"))
        .classMethod("numberWithInteger:", classFactory<int64_t>("initWithInteger:"))
        .classMethod("numberWithDouble:", classFactory<double>("initWithDouble:"))
        .method("boolValue", Imp::of([](Number* self, Selector) { return self->numericValue().boolean(); }))
        .method("integerValue", Imp::of([](Number* self, Selector) { return self->numericValue().integer(); }))
        .method("doubleValue", Imp::of([](Number* self, Selector) { return self->numericValue().real(); }));
}

} // namespace foundation
