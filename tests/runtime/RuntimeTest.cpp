#include <gtest/gtest.h>

#include "platform/runtime/Send.h"

using namespace runtime;

namespace {

class Counter : public NSObject {
public:
    using NSObject::NSObject;
    int64_t count { 0 };
};

}

TEST(Runtime, smoke)
{
    Runtime rt;
    Class& cls = rt.defineClass<Counter>("Counter", "NSObject");
    rt.define(cls, SEL("add:"), Imp::of([](Counter* self, Selector, int64_t n) { self->count += n; return self->count; }));
    auto obj = newObject(&cls);
    EXPECT_EQ(send<int64_t>(obj, SEL("add:"), 2), 2);
    EXPECT_EQ(send<int>(obj, "add:", 3), 5);
}
