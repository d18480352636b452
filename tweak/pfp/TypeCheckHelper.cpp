#include "tweak/pfp/TypeCheckHelper.h"

#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

#include "tweak/Brix.h"

namespace brix::pfp {

using foundation::Value;
using runtime::Class;
using runtime::Imp;
using runtime::Object;
using runtime::Selector;

namespace {

    // The platform class a value stands for.
    std::string classNameOfValue(const Value& value)
    {
        switch (value.kind()) {
        case Value::Kind::Nil:
            return "(null)";
        case Value::Kind::Boolean:
        case Value::Kind::Integer:
        case Value::Kind::Real:
            return "NSNumber";
        case Value::Kind::String:
            return "NSString";
        case Value::Kind::Data:
            return "NSData";
        case Value::Kind::Date:
            return "NSDate";
        case Value::Kind::Array:
            return "NSArray";
        case Value::Kind::Dictionary:
            return "NSDictionary";
        case Value::Kind::Object:
            return std::string(runtime::classNameOf(value.object()));
        case Value::Kind::Null:
            return "NSNull";
        }
        return "(null)";
    }

} // namespace

std::string TypeCheckHelper::getTypeOf(runtime::Id argument)
{
    Object* object = argument.resolvedObject();
    std::string valueClass = object || !argument.value ? "" : classNameOfValue(*argument.value);
    auto isKind = [&](std::string_view name) { return object ? runtime::isKindOf(object, name) : valueClass == name; };
    for (const char* name : { "NSString", "NSArray", "NSMutableDictionary", "NSDictionary", "NSNumber", "NSUUID" }) {
        if (isKind(name))
            return name;
    }
    std::string className = object ? std::string(runtime::classNameOf(object)) : valueClass;
    return "Undefined(" + (className.empty() ? std::string("(null)") : className) + ")";
}

void TypeCheckHelper::registerClass(Brix& brix)
{
    auto& runtime = brix.runtime();
    if (runtime.classNamed("TypeCheckHelper"))
        return;
    runtime::ClassBuilder::define<runtime::NSObject>(runtime, "TypeCheckHelper", "NSObject")
        .classMethod("getTypeOf:", Imp::of([](Class*, Selector, const Value& object) {
            return Value(getTypeOf(
                object.isObject() ? runtime::Id { object.object(), nullptr } : runtime::Id { nullptr, &object }));
        }));
}

} // namespace brix::pfp
