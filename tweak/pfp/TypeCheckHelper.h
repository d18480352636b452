#pragma once

#include <string>

#include "platform/runtime/Types.h"

namespace brix {

class Brix;

namespace pfp {

    // The class TypeCheckHelper and its class operation getTypeOf:, a short
    // name of an object's kind: "NSString", "NSArray", "NSMutableDictionary",
    // "NSDictionary", "NSNumber" or "NSUUID", tested in that order with
    // subclasses accepted, else "Undefined(<class name>)". Strings, numbers
    // and immutable collections are values of the platform; they count as
    // the classes they stand for.
    class TypeCheckHelper {
    public:
        static std::string getTypeOf(runtime::Id);
        static void registerClass(Brix&);
    };

} // namespace pfp
} // namespace brix
