#include "platform/foundation/BoxedValue.h"

#include <cstring>
#include <gtest/gtest.h>
#include <limits>

#include "platform/foundation/Classes.h"
#include "platform/foundation/Number.h"
#include "platform/runtime/Send.h"

#include "tests/foundation/Printing.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;

namespace {

struct Point {
    double x;
    double y;
};
struct Rect {
    Point origin;
    Point size;
};

class BoxedValueTest : public ::testing::Test {
protected:
    void SetUp() override { foundation::defineClasses(m_runtime); }

    Ref<Object> box(const void* bytes, const char* objCType)
    {
        return runtime::send<Ref<Object>>(
            m_runtime.classNamed("NSValue"), SEL("valueWithBytes:objCType:"), bytes, objCType);
    }
    Ref<Object> number(const char* factory, auto value)
    {
        return runtime::send<Ref<Object>>(m_runtime.classNamed("NSNumber"), runtime::Selector::named(factory), value);
    }
    static std::string typeOf(Object* value) { return runtime::send<Value>(value, SEL("objCType")).string(); }

    runtime::Runtime m_runtime;
};

} // namespace

TEST_F(BoxedValueTest, boolRoundTripsAsTypeB)
{
    for (bool flag : { true, false }) {
        auto boxed = foundation::boxBool(m_runtime, flag);
        ASSERT_NE(boxed, nullptr);
        EXPECT_EQ(runtime::classNameOf(boxed), "NSValue");
        EXPECT_EQ(typeOf(boxed), "B");
        EXPECT_EQ(foundation::unboxBool(boxed), flag);
        uint8_t byte = 0xEE;
        runtime::send(boxed, SEL("getValue:"), static_cast<void*>(&byte));
        EXPECT_EQ(byte, flag ? 1 : 0);
    }
}

TEST_F(BoxedValueTest, unboxingAnythingButABoolIsNo)
{
    EXPECT_FALSE(foundation::unboxBool(nullptr));
    EXPECT_FALSE(foundation::unboxBool(runtime::newObject(&m_runtime.rootClass())));
    int32_t one = 1;
    EXPECT_FALSE(foundation::unboxBool(box(&one, "i")));
    uint8_t yes = 1;
    EXPECT_FALSE(foundation::unboxBool(box(&yes, "c")));
    // A BOOL number is not a BOOL value: the platform keeps it as a char.
    EXPECT_FALSE(foundation::unboxBool(number("numberWithBool:", true)));

    runtime::Runtime bare;
    EXPECT_EQ(foundation::boxBool(bare, true), nullptr);
}

TEST_F(BoxedValueTest, storedBoolPropertyUsesABoxedValue)
{
    // A BOOL kept in an association, as stored properties keep it.
    static const char key = 0;
    auto owner = runtime::newObject(&m_runtime.rootClass());
    EXPECT_FALSE(foundation::unboxBool(owner->associatedObject(&key)));
    owner->setAssociatedObject(&key, foundation::boxBool(m_runtime, true), runtime::AssociationPolicy::Retain);
    EXPECT_TRUE(foundation::unboxBool(owner->associatedObject(&key)));
    EXPECT_EQ(typeOf(owner->associatedObject(&key)), "B");
    owner->setAssociatedObject(&key, foundation::boxBool(m_runtime, false), runtime::AssociationPolicy::Retain);
    EXPECT_FALSE(foundation::unboxBool(owner->associatedObject(&key)));
}

TEST_F(BoxedValueTest, structuresKeepTheirBytes)
{
    Rect frame { { 10, 20 }, { 300, 40.5 } };
    auto boxed = box(&frame, "{CGRect={CGPoint=dd}{CGSize=dd}}");
    ASSERT_NE(boxed, nullptr);
    Rect copy {};
    runtime::send(boxed, SEL("getValue:"), static_cast<void*>(&copy));
    EXPECT_EQ(std::memcmp(&copy, &frame, sizeof(Rect)), 0);

    // A smaller buffer gets the start of the bytes and nothing more.
    Point start {};
    runtime::send(boxed, SEL("getValue:size:"), static_cast<void*>(&start), uint64_t(sizeof(Point)));
    EXPECT_EQ(start.x, 10);
    EXPECT_EQ(start.y, 20);

    auto same = box(&frame, "{CGRect={CGPoint=dd}{CGSize=dd}}");
    EXPECT_TRUE(runtime::send<bool>(boxed, SEL("isEqualToValue:"), same));
    frame.size.y = 41;
    EXPECT_FALSE(runtime::send<bool>(boxed, SEL("isEqualToValue:"), box(&frame, "{CGRect={CGPoint=dd}{CGSize=dd}}")));
    EXPECT_FALSE(runtime::send<bool>(boxed, SEL("isEqualToValue:"), nullptr));
}

TEST_F(BoxedValueTest, encodingsHaveTheirPlatformSizes)
{
    using foundation::sizeOfObjCType;
    EXPECT_EQ(sizeOfObjCType("B"), 1u);
    EXPECT_EQ(sizeOfObjCType("s"), 2u);
    EXPECT_EQ(sizeOfObjCType("i"), 4u);
    EXPECT_EQ(sizeOfObjCType("q"), 8u);
    EXPECT_EQ(sizeOfObjCType("d"), 8u);
    EXPECT_EQ(sizeOfObjCType("@"), 8u);
    EXPECT_EQ(sizeOfObjCType("@\"NSString\""), 8u);
    EXPECT_EQ(sizeOfObjCType("@?"), 8u);
    EXPECT_EQ(sizeOfObjCType("r^v"), 8u);
    EXPECT_EQ(sizeOfObjCType("^{Opaque}"), 8u);
    EXPECT_EQ(sizeOfObjCType("^?"), 8u);
    EXPECT_EQ(sizeOfObjCType("{CGPoint=dd}"), 16u);
    EXPECT_EQ(sizeOfObjCType("{CGRect={CGPoint=dd}{CGSize=dd}}"), 32u);
    // Fields are aligned, and a structure is padded to its own alignment.
    EXPECT_EQ(sizeOfObjCType("{Mixed=cq}"), 16u);
    EXPECT_EQ(sizeOfObjCType("{Small=ci}"), 8u);
    EXPECT_EQ(sizeOfObjCType("{Tail=qc}"), 16u);
    EXPECT_EQ(sizeOfObjCType("[4s]"), 8u);
    EXPECT_EQ(sizeOfObjCType("{WithArray=c[3i]}"), 16u);
    EXPECT_EQ(sizeOfObjCType("(Either=cd)"), 8u);

    // Nothing that has no size or is malformed.
    for (const char* type : { "", "v", "{Opaque}", "x", "[s]", "[4s", "{S=dd", "qq", "^", "{Empty=}" })
        EXPECT_EQ(sizeOfObjCType(type), std::nullopt) << type;
    int64_t value = 5;
    EXPECT_EQ(box(&value, "{Opaque}"), nullptr);
    EXPECT_EQ(box(nullptr, "q"), nullptr);
}

TEST_F(BoxedValueTest, numbersConvertBetweenTheirKinds)
{
    auto yes = number("numberWithBool:", true);
    EXPECT_TRUE(runtime::isKindOf(yes, "NSValue"));
    EXPECT_EQ(typeOf(yes), "c");
    EXPECT_TRUE(runtime::send<bool>(yes, SEL("boolValue")));
    EXPECT_EQ(runtime::send<int64_t>(yes, SEL("integerValue")), 1);
    EXPECT_FALSE(runtime::send<bool>(number("numberWithBool:", false), SEL("boolValue")));

    auto negative = number("numberWithInteger:", int64_t(-42));
    EXPECT_EQ(typeOf(negative), "q");
    EXPECT_EQ(runtime::send<int64_t>(negative, SEL("integerValue")), -42);
    EXPECT_TRUE(runtime::send<bool>(negative, SEL("boolValue")));
    EXPECT_EQ(runtime::send<double>(negative, SEL("doubleValue")), -42.0);
    EXPECT_FALSE(runtime::send<bool>(number("numberWithInteger:", int64_t(0)), SEL("boolValue")));
    int64_t raw = 0;
    runtime::send(negative, SEL("getValue:"), static_cast<void*>(&raw));
    EXPECT_EQ(raw, -42);

    auto real = number("numberWithDouble:", 2.75);
    EXPECT_EQ(typeOf(real), "d");
    EXPECT_EQ(runtime::send<int64_t>(real, SEL("integerValue")), 2);
    EXPECT_TRUE(runtime::send<bool>(real, SEL("boolValue")));
    EXPECT_EQ(runtime::send<int64_t>(number("numberWithDouble:", 1e300), SEL("integerValue")),
        std::numeric_limits<int64_t>::max());

    // Numbers made from other encodings read through the same conversions.
    int16_t shortValue = -3;
    runtime::Ref<foundation::Number> made(
        dynamic_cast<foundation::Number*>(runtime::alloc(m_runtime.classNamed("NSNumber")).get()));
    ASSERT_TRUE(made->setContents("s", &shortValue));
    EXPECT_EQ(made->numericValue(), Value(-3));
    EXPECT_FALSE(made->setContents("v", &shortValue));
    EXPECT_EQ(made->objCType(), "s");
}
