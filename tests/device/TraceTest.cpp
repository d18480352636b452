#include "platform/device/Trace.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/device/Json.h"
#include "platform/runtime/Send.h"

using namespace device;
using foundation::Value;

TEST(Trace, stampsEventsWithTheClockAndKeepsFieldOrder)
{
    double clock = 0;
    Trace trace([&] { return clock; });
    trace.emit("process.launched", { { "bundleId", "com.apple.springboard" }, { "zeta", 1 }, { "alpha", 2 } });
    clock = 1.5;
    trace.emit("banner.removed", { { "id", "n1" } });
    clock = 0.1 + 0.2; // written as the microsecond it means
    trace.emit("wait");

    ASSERT_EQ(trace.events().size(), 3u);
    EXPECT_EQ(Trace::line(trace.events()[0]),
        R"({"t":0,"type":"process.launched","bundleId":"com.apple.springboard","zeta":1,"alpha":2})");
    EXPECT_EQ(Trace::line(trace.events()[1]), R"({"t":1.5,"type":"banner.removed","id":"n1"})");
    EXPECT_EQ(Trace::line(trace.events()[2]), R"({"t":0.3,"type":"wait"})");
    EXPECT_TRUE(trace.events()[0]["t"].is_number_integer());
    EXPECT_EQ(trace.eventsOfType("banner.removed").size(), 1u);
    EXPECT_TRUE(trace.eventsOfType("nothing").empty());
}

TEST(Trace, fieldsCannotOverrideTimeOrType)
{
    Trace trace([] { return 2.0; });
    trace.emit("real", { { "t", 99 }, { "type", "fake" }, { "kept", true } });
    trace.emit("scalar", 7);
    EXPECT_EQ(Trace::line(trace.events()[0]), R"({"t":2,"type":"real","kept":true})");
    EXPECT_EQ(Trace::line(trace.events()[1]), R"({"t":2,"type":"scalar","value":7})");
}

TEST(Trace, sinksSeeEveryEventAsItIsEmitted)
{
    Trace trace([] { return 0.0; });
    std::vector<std::string> lines;
    trace.addSink([&](const Trace::Event& event) {
        lines.push_back(Trace::line(event));
        // A sink may itself emit, and may add sinks, without disturbing the others.
        if (event["type"] == "first") {
            trace.emit("caused");
            trace.addSink([&](const Trace::Event&) { lines.push_back("late sink"); });
        }
    });
    trace.emit("first");
    trace.emit("second");
    EXPECT_EQ(lines,
        (std::vector<std::string> {
            R"({"t":0,"type":"first"})", R"({"t":0,"type":"caused"})", R"({"t":0,"type":"second"})", "late sink" }));
}

TEST(Trace, aTraceThatKeepsNoEventsStillFeedsItsSinks)
{
    Trace trace([] { return 0.0; });
    trace.emit("kept");
    trace.setKeepsEvents(false);
    std::vector<std::string> types;
    trace.addSink([&](const Trace::Event& event) { types.push_back(event["type"]); });
    trace.emit("passed on");
    EXPECT_EQ(types, (std::vector<std::string> { "passed on" }));
    ASSERT_EQ(trace.events().size(), 1u);
    EXPECT_EQ(trace.events()[0]["type"], "kept");
}

TEST(Trace, linesStayValidJsonForBrokenText)
{
    Trace trace([] { return 0.0; });
    trace.emit("text", { { "body", std::string("ok \xff\xfe end") } });
    auto line = Trace::line(trace.events()[0]);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    auto parsed = nlohmann::json::parse(line);
    EXPECT_EQ(parsed["body"], "ok \xEF\xBF\xBD\xEF\xBF\xBD end");
}

TEST(Trace, valuesConvertToJson)
{
    runtime::Runtime runtime;
    auto object = runtime::newObject(&runtime.rootClass());
    Value::Dictionary entries {
        { "bool", true },
        { "int", int64_t(-3) },
        { "real", 2.5 },
        { "text", "hi" },
        { "data", foundation::Data { 'M', 'a', 'n', 'y' } },
        { "date", foundation::Date { 1 } },
        { "list", Value::Array { 1, "two", Value() } },
        { "object", Value(object.get()) },
    };
    auto json = toJson(Value(entries));
    EXPECT_EQ(json["bool"], true);
    EXPECT_EQ(json["int"], -3);
    EXPECT_EQ(json["real"], 2.5);
    EXPECT_EQ(json["text"], "hi");
    EXPECT_EQ(json["data"], "TWFueQ==");
    EXPECT_EQ(json["date"], 978307201.0);
    EXPECT_EQ(Trace::line(json["list"]), R"([1,"two",null])");
    EXPECT_EQ(json["object"], "NSObject");
    EXPECT_TRUE(toJson(Value()).is_null());
}
