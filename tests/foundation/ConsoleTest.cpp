#include "platform/runtime/Console.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/foundation/MutableArray.h"
#include "platform/runtime/Send.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;

namespace {

// Restores standard error as the console when a test ends, however it ends.
struct ConsoleLines {
    ConsoleLines()
    {
        runtime::setConsoleSink([this](std::string_view line) { lines.emplace_back(line); });
    }
    ~ConsoleLines() { runtime::setConsoleSink({}); }
    std::vector<std::string> lines;
};

} // namespace

TEST(Console, aMessageThatCannotAnswerAnErrorReachesTheHostsSinkAndOtherwiseStandardError)
{
    runtime::Runtime runtime;
    foundation::MutableArray::registerClass(runtime);
    auto array = send<Ref<Object>>(runtime.classNamed("NSMutableArray"), SEL("array"));
    {
        ConsoleLines console;
        send(array, SEL("addObject:"), Value());
        send(array, SEL("addObject:"), Value("kept"));
        EXPECT_EQ(send<Value>(array, SEL("objectAtIndex:"), uint64_t { 3 }), Value());
        ASSERT_EQ(console.lines.size(), 2u);
        EXPECT_EQ(console.lines[0], "foundation: -[NSMutableArray addObject:] was given nil; nothing was added");
        EXPECT_EQ(console.lines[1], "foundation: -[NSMutableArray objectAtIndex:] index 3 beyond bounds [0 .. 1)");
    }
    testing::internal::CaptureStderr();
    send(array, SEL("addObject:"), Value());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
        "foundation: -[NSMutableArray addObject:] was given nil; nothing was added\n");
}
