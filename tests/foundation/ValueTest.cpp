#include "platform/foundation/Value.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "platform/runtime/Send.h"

#include "tests/foundation/Printing.h"

using foundation::Data;
using foundation::Date;
using foundation::Value;

namespace {

Value sampleMessage()
{
    Value alert = Value::dictionary();
    alert.set("title", "Anna");
    alert.set("body", "See you at eight");
    Value aps = Value::dictionary();
    aps.set("alert", alert);
    Value message = Value::dictionary();
    message.set("aps", aps);
    message.set("recipients", Value(Value::Array { "a@example.com", "b@example.com" }));
    return message;
}

} // namespace

TEST(Value, chainedLookupIsNilSafe)
{
    auto message = sampleMessage();
    EXPECT_EQ(message["aps"]["alert"]["body"].string(), "See you at eight");
    EXPECT_EQ(message["recipients"][1].string(), "b@example.com");

    // Missing keys, indexes past the end and lookups on the wrong kind all read as nil.
    EXPECT_TRUE(message["aps"]["alert"]["subtitle"].isNil());
    EXPECT_TRUE(message["aps"]["missing"]["deeper"]["still"].isNil());
    EXPECT_TRUE(message["recipients"][2].isNil());
    EXPECT_TRUE(message["recipients"][-1].isNil());
    EXPECT_TRUE(message["recipients"]["first"].isNil());
    EXPECT_TRUE(message["aps"][0].isNil());
    EXPECT_TRUE(message["aps"]["alert"]["body"]["length"].isNil());
    EXPECT_TRUE(Value()["a"][0]["b"].isNil());

    // Asking a value of the wrong kind for its contents gives an empty answer.
    Value nil;
    EXPECT_EQ(nil.string(), "");
    EXPECT_TRUE(nil.data().empty());
    EXPECT_TRUE(nil.items().empty());
    EXPECT_TRUE(nil.entries().empty());
    EXPECT_EQ(nil.object(), nullptr);
    EXPECT_EQ(Value("text").count(), 0u);
    EXPECT_FALSE(Value(42).contains("x"));
    EXPECT_TRUE(message.contains("aps"));
    EXPECT_EQ(message.count(), 2u);
}

TEST(Value, nullCStringIsNil)
{
    const char* missing = nullptr;
    EXPECT_TRUE(Value(missing).isNil());
    EXPECT_TRUE(Value(missing).isEmptyText());
    EXPECT_TRUE(Value("").isEmptyText());
    EXPECT_FALSE(Value(" ").isEmptyText());
    EXPECT_FALSE(Value(0).isEmptyText());
}

TEST(Value, copiesShareStorageUntilOneChanges)
{
    auto original = sampleMessage();
    auto copy = original;
    copy.set("aps", "replaced");
    copy.remove("recipients");
    EXPECT_EQ(original["aps"]["alert"]["title"].string(), "Anna");
    EXPECT_EQ(original.count(), 2u);
    EXPECT_EQ(copy.count(), 1u);

    // Changing a nested collection taken out of a value leaves the value alone until it is stored back.
    auto alert = original["aps"]["alert"];
    alert.set("title", "Bob");
    EXPECT_EQ(original["aps"]["alert"]["title"].string(), "Anna");
    auto aps = original["aps"];
    aps.set("alert", alert);
    original.set("aps", aps);
    EXPECT_EQ(original["aps"]["alert"]["title"].string(), "Bob");

    auto list = Value(Value::Array { 1, 2 });
    auto longer = list;
    longer.append(3);
    EXPECT_EQ(list.count(), 2u);
    EXPECT_EQ(longer.count(), 3u);
    EXPECT_EQ(longer[2].integer(), 3);
}

TEST(Value, changesCreateCollectionsOnlyFromNil)
{
    Value dictionary;
    dictionary.set("key", true);
    EXPECT_TRUE(dictionary.isDictionary());
    Value array;
    array.append("first");
    EXPECT_TRUE(array.isArray());

    // A value of another kind is left as it was.
    Value text("text");
    text.set("key", 1);
    text.append(2);
    text.remove("key");
    EXPECT_EQ(text, Value("text"));
    dictionary.append(3);
    EXPECT_EQ(dictionary.count(), 1u);
    dictionary.remove("absent");
    EXPECT_EQ(dictionary.count(), 1u);
}

TEST(Value, equalityComparesKindAndContents)
{
    EXPECT_EQ(sampleMessage(), sampleMessage());
    auto changed = sampleMessage();
    changed.set("extra", Value());
    EXPECT_NE(changed, sampleMessage());

    // Numbers of different kinds are different values.
    EXPECT_NE(Value(true), Value(1));
    EXPECT_NE(Value(1), Value(1.0));
    EXPECT_NE(Value(), Value(""));
    EXPECT_NE(Value(0), Value());

    EXPECT_EQ(Value(Data { 1, 2, 3 }), Value(Data { 1, 2, 3 }));
    EXPECT_NE(Value(Data { 1, 2, 3 }), Value(Data { 1, 2 }));
    EXPECT_EQ(Value(Date { 12.5 }), Value(Date { 12.5 }));
    EXPECT_NE(Value(Date { 12.5 }), Value(12.5));
    EXPECT_NE(Value(Value::Array { 1, 2 }), Value(Value::Array { 2, 1 }));

    // Objects are equal only to themselves.
    runtime::Runtime runtime;
    auto first = runtime::newObject(&runtime.rootClass());
    auto second = runtime::newObject(&runtime.rootClass());
    EXPECT_EQ(Value(first), Value(first.get()));
    EXPECT_NE(Value(first), Value(second));
    EXPECT_TRUE(Value(static_cast<runtime::Object*>(nullptr)).isNil());
}

TEST(Value, propertyListsHoldNoNilAndNoObjects)
{
    EXPECT_TRUE(sampleMessage().isPropertyList());
    EXPECT_TRUE(Value::dictionary().isPropertyList());
    EXPECT_TRUE(Value(Date { 0 }).isPropertyList());
    EXPECT_TRUE(Value(Data {}).isPropertyList());
    EXPECT_FALSE(Value().isPropertyList());

    auto withNil = sampleMessage();
    withNil.set("nothing", Value());
    EXPECT_FALSE(withNil.isPropertyList());

    runtime::Runtime runtime;
    auto object = runtime::newObject(&runtime.rootClass());
    Value deep = Value::dictionary();
    deep.set("list", Value(Value::Array { 1, Value(Value::Array { "x", Value(object) }) }));
    EXPECT_FALSE(deep.isPropertyList());
}

TEST(Value, theNullObjectIsAValueOfItsOwnKind)
{
    Value null = Value::null();
    EXPECT_TRUE(null.isNull());
    EXPECT_FALSE(null.isNil());
    EXPECT_FALSE(null.isString() || null.isNumber() || null.isDictionary() || null.isArray() || null.isObject());
    EXPECT_FALSE(Value().isNull());
    // Whatever a reader asks of it, it answers as a value of the wrong kind.
    EXPECT_EQ(null.string(), "");
    EXPECT_EQ(null.integer(), 0);
    EXPECT_EQ(null.object(), nullptr);
    EXPECT_TRUE(null["key"].isNil());
    EXPECT_FALSE(null.isEmptyText());
    // It is a singleton: every null equals every other, and nothing else.
    EXPECT_EQ(null, Value::null());
    EXPECT_NE(null, Value());
    EXPECT_NE(null, Value(0));
    EXPECT_NE(null, Value(""));
    EXPECT_EQ(describe(Value(Value::Dictionary { { "avatar", null } })), "{avatar = <null>}");
    // A change does not turn it into a collection.
    null.set("key", 1);
    null.append(1);
    EXPECT_TRUE(null.isNull());

    // A collection holds it where it cannot hold nil: a payload, not a property list.
    Value author(Value::Dictionary { { "id", "1" }, { "avatar", Value::null() } });
    EXPECT_TRUE(author.contains("avatar"));
    EXPECT_TRUE(author["avatar"].isNull());
    EXPECT_FALSE(author.isPropertyList());
    EXPECT_TRUE(author.isPayload());
    EXPECT_TRUE(Value(Value::Array { 1, Value(Value::Array { Value::null() }) }).isPayload());
    EXPECT_FALSE(Value(Value::Array { 1, Value() }).isPayload());
    EXPECT_TRUE(sampleMessage().isPayload());
    EXPECT_FALSE(Value().isPayload());
}

TEST(Value, numbersConvertLikeBoxedNumbers)
{
    EXPECT_EQ(Value(true).integer(), 1);
    EXPECT_EQ(Value(false).real(), 0.0);
    EXPECT_EQ(Value(int64_t(-7)).real(), -7.0);
    EXPECT_TRUE(Value(-7).boolean());
    EXPECT_FALSE(Value(0).boolean());
    EXPECT_TRUE(Value(0.25).boolean());
    EXPECT_FALSE(Value(0.0).boolean());

    // Reals convert to integers by truncation toward zero, saturating outside the 64-bit range.
    EXPECT_EQ(Value(2.9).integer(), 2);
    EXPECT_EQ(Value(-2.9).integer(), -2);
    EXPECT_EQ(Value(1e300).integer(), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(Value(-1e300).integer(), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(Value(std::numeric_limits<double>::infinity()).integer(), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(Value(std::nan("")).integer(), 0);
    EXPECT_EQ(Value(-9223372036854775808.0).integer(), std::numeric_limits<int64_t>::min());

    // Anything that is not a number reads as zero.
    EXPECT_EQ(Value("12").integer(), 0);
    EXPECT_FALSE(Value("YES").boolean());
    EXPECT_EQ(Value(Date { 5 }).real(), 0.0);
    EXPECT_EQ(Value().integer(), 0);
}
