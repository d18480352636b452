#include "platform/foundation/DateFormatter.h"

#include <gtest/gtest.h>

#include "platform/foundation/DateClass.h"

#include "tests/foundation/Printing.h"
#include "tests/uikit/UIKitTestProcess.h"

using foundation::Date;
using foundation::DateClass;
using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;

namespace {

// 2026-01-01 14:05:00 UTC.
constexpr double fivePastTwo = 1767276300;

Ref<Object> formatter(UIKitTestProcess& test, const char* format)
{
    auto made = runtime::newObject(test.runtime().classNamed("NSDateFormatter"));
    send(made, SEL("setDateFormat:"), Value(format));
    return made;
}

Value format(UIKitTestProcess& test, const char* pattern, double secondsSince1970)
{
    return send<Value>(formatter(test, pattern), SEL("stringFromDate:"),
        Value(DateClass::fromTimeIntervalSince1970(secondsSince1970)));
}

} // namespace

TEST(NSDate, isTheDeviceClockFromItsStartTime)
{
    device::Hardware hardware;
    hardware.startTime = fivePastTwo;
    UIKitTestProcess test(hardware);
    auto dateClass = test.runtime().classNamed("NSDate");
    Value now = send<Value>(dateClass, SEL("date"));
    ASSERT_TRUE(now.isDate());
    EXPECT_NEAR(DateClass::timeIntervalSince1970(now.date()), fivePastTwo, 1e-6);
    EXPECT_NEAR(now.date().secondsSinceReferenceDate, fivePastTwo - 978307200, 1e-6);

    ASSERT_TRUE(test.device().scheduler().advance(90));
    EXPECT_NEAR(DateClass::timeIntervalSince1970(send<Value>(dateClass, SEL("date")).date()), fivePastTwo + 90, 1e-6);
    EXPECT_NEAR(
        DateClass::timeIntervalSince1970(send<Value>(dateClass, SEL("dateWithTimeIntervalSinceNow:"), 10.0).date()),
        fivePastTwo + 100, 1e-6);
}

TEST(NSDateFormatter, formatsIcuPatternsInTheDevicesLocaleAndTimeZone)
{
    UIKitTestProcess test;
    EXPECT_EQ(format(test, "HH:mm", fivePastTwo), Value("14:05"));
    EXPECT_EQ(format(test, "h:mm", fivePastTwo), Value("2:05"));
    EXPECT_EQ(format(test, "h:mm a", fivePastTwo), Value("2:05 PM"));
    EXPECT_EQ(format(test, "yyyy-MM-dd EEEE", fivePastTwo), Value("2026-01-01 Thursday"));
    EXPECT_EQ(format(test, "h:mm", fivePastTwo + 10 * 3600), Value("12:05"));

    // A formatter takes the locale and time zone the device has when it is made.
    test.device().hardware().timeZone = "Europe/Paris";
    test.device().hardware().locale = "de_DE";
    EXPECT_EQ(format(test, "HH:mm EEEE", fivePastTwo), Value("15:05 Donnerstag"));

    // Anything but a date formats to nil.
    EXPECT_TRUE(send<Value>(formatter(test, "HH:mm"), SEL("stringFromDate:"), Value("14:05")).isNil());
}

TEST(NSDateFormatter, readsDatesThatFitItsPattern)
{
    UIKitTestProcess test;
    auto reader = formatter(test, "yyyy-MM-dd HH:mm");
    Value date = send<Value>(reader, SEL("dateFromString:"), Value("2026-01-01 14:05"));
    ASSERT_TRUE(date.isDate());
    EXPECT_NEAR(DateClass::timeIntervalSince1970(date.date()), fivePastTwo, 1e-6);
    EXPECT_TRUE(send<Value>(reader, SEL("dateFromString:"), Value("yesterday")).isNil());
    EXPECT_TRUE(send<Value>(reader, SEL("dateFromString:"), Value("2026-01-01 14:05 and more")).isNil());
}
