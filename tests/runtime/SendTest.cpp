#include "platform/runtime/Send.h"

#include <gtest/gtest.h>
#include <memory>

#include "platform/foundation/Value.h"

using namespace runtime;

namespace {

class Cell : public NSObject {
public:
    using NSObject::NSObject;
    int64_t number { 0 };
    double real { 0 };
    bool flag { false };
    Ref<Object> object;
};

class Label : public Cell {
public:
    using Cell::Cell;
};

class SendTest : public ::testing::Test {
protected:
    SendTest()
    {
        runtime.define(cell, SEL("answer"), Imp::of([](Cell*, Selector) -> int64_t { return 1; }));
    }

    Ref<Cell> make(Class& cls) { return Ref<Cell>(static_cast<Cell*>(newObject(&cls).get())); }

    Runtime runtime;
    Class& cell { runtime.defineClass<Cell>("Cell", "NSObject") };
    Class& label { runtime.defineClass<Label>("Label", "Cell") };
};

using SendDeathTest = SendTest;

TEST_F(SendTest, argumentsAndResultsTravelAsCanonicalTypes)
{
    // The method declares narrow types; callers may use any spelling of the same kind.
    runtime.define(
        cell, SEL("setNumber:real:flag:"), Imp::of([](Cell* self, Selector, int number, float real, bool flag) {
            self->number = number;
            self->real = real;
            self->flag = flag;
        }));
    runtime.define(cell, SEL("number"), Imp::of([](Cell* self, Selector) -> int32_t { return int32_t(self->number); }));
    auto object = make(cell);
    send(object, SEL("setNumber:real:flag:"), short(-7), 2.5, true);
    EXPECT_EQ(object->number, -7);
    EXPECT_DOUBLE_EQ(object->real, 2.5);
    EXPECT_TRUE(object->flag);
    send(object, SEL("setNumber:real:flag:"), int64_t(12), 0.25f, false);
    EXPECT_EQ(send<int64_t>(object, SEL("number")), 12);
    EXPECT_EQ(send<int>(object, SEL("number")), 12);
    EXPECT_EQ(send<long long>(object.get(), "number"), 12);
    EXPECT_FALSE(object->flag);

    // A typed object parameter receives nil when the argument is of another class.
    runtime.define(cell, SEL("adopt:"), Imp::of([](Cell* self, Selector, Label* label) { self->object = label; }));
    auto child = make(label);
    send(object, SEL("adopt:"), child);
    EXPECT_EQ(object->object.get(), child.get());
    send(object, SEL("adopt:"), make(cell));
    EXPECT_EQ(object->object.get(), nullptr);

    // Object results come back owned: a fresh object outlives the call that made it.
    runtime.define(cell, SEL("makeLabel"), Imp::of([this](Cell*, Selector) -> Ref<Label> {
        return Ref<Label>(static_cast<Label*>(newObject(&label).get()));
    }));
    Ref<Label> made = send<Ref<Label>>(object, SEL("makeLabel"));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->isa(), &label);
    EXPECT_EQ(made->retainCount(), 1u);
    // Asking for a narrower class than the result has yields nil.
    runtime.define(cell, SEL("makeCell"), Imp::of([this](Cell*, Selector) -> Ref<Object> { return newObject(&cell); }));
    EXPECT_FALSE(send<Ref<Label>>(object, SEL("makeCell")));

    // Blocks, selectors and values pass through unchanged.
    runtime.define(
        cell, SEL("run:with:"), Imp::of([](Cell* self, Selector, Block<int64_t(int64_t)> block, Selector sel) {
            self->number = block ? block(sel.name().size()) : -1;
        }));
    send(object, SEL("run:with:"), Block<int64_t(int64_t)>([](int64_t n) { return n * 3; }), SEL("four"));
    EXPECT_EQ(object->number, 12);
    send(object, SEL("run:with:"), Block<int64_t(int64_t)>(), SEL("four"));
    EXPECT_EQ(object->number, -1);
    runtime.define(cell, SEL("describe:"), Imp::of([](Cell*, Selector, foundation::Value text) -> foundation::Value {
        return text.isNil() ? foundation::Value("nil") : foundation::Value(text.string() + "!");
    }));
    EXPECT_EQ(send<foundation::Value>(object, SEL("describe:"), "hi").string(), "hi!");
    EXPECT_EQ(send<foundation::Value>(object, SEL("describe:"), foundation::Value()).string(), "nil");
}

TEST_F(SendTest, memberFunctionsServeAsImplementations)
{
    struct Counter : Cell {
        using Cell::Cell;
        int64_t add(int64_t n) { return number += n; }
        bool isPositive() const { return number > 0; }
    };
    Class& counters = runtime.defineClass<Counter>("Counter", "Cell");
    runtime.define(counters, SEL("add:"), Imp::of(&Counter::add));
    runtime.define(counters, SEL("isPositive"), Imp::of(&Counter::isPositive));
    auto counter = make(counters);
    EXPECT_FALSE(send<bool>(counter, SEL("isPositive")));
    EXPECT_EQ(send<int64_t>(counter, SEL("add:"), 2), 2);
    EXPECT_EQ(send<int64_t>(counter, SEL("add:"), 3), 5);
    EXPECT_TRUE(send<bool>(counter, SEL("isPositive")));
}

TEST_F(SendTest, nilReceiversYieldZeroValuesForEveryResultKind)
{
    Object* nil = nullptr;
    Ref<Cell> nilRef;
    // Selectors nobody implements are fine too: nothing is looked up.
    send(nil, SEL("noSuchMethod"));
    EXPECT_FALSE(send<bool>(nil, SEL("flag")));
    EXPECT_EQ(send<int64_t>(nil, SEL("number")), 0);
    EXPECT_EQ(send<int>(nilRef, SEL("number")), 0);
    EXPECT_EQ(send<uint64_t>(nil, SEL("count")), 0u);
    EXPECT_EQ(send<double>(nil, SEL("alpha")), 0.0);
    EXPECT_FALSE(send<Ref<Object>>(nil, SEL("view")));
    EXPECT_FALSE(send<Ref<Label>>(nilRef, SEL("label")));
    EXPECT_TRUE(send<Selector>(nil, SEL("action")).isNull());
    EXPECT_FALSE(send<Block<void()>>(nil, SEL("completion")));
    EXPECT_TRUE(send<foundation::Value>(nil, SEL("userInfo")).isNil());
    EXPECT_TRUE(send<foundation::Value>(nilRef, "text").isNil());

    // Objects that do not respond give the same zero values through sendIfResponds.
    auto object = make(cell);
    EXPECT_EQ(sendIfResponds<int64_t>(object, SEL("number")), 0);
    EXPECT_FALSE(sendIfResponds<Ref<Object>>(object, SEL("view")));
    EXPECT_EQ(sendIfResponds<int64_t>(object, SEL("answer")), 1);
    EXPECT_EQ(sendIfResponds<int64_t>(nil, SEL("answer")), 0);
}

TEST_F(SendTest, respondsToSelectorFollowsInheritanceAndAdditions)
{
    auto base = make(cell);
    auto derived = make(label);
    EXPECT_TRUE(respondsToSelector(derived.get(), SEL("answer")));
    EXPECT_TRUE(respondsToSelector(derived.get(), SEL("init")));
    EXPECT_FALSE(respondsToSelector(derived.get(), SEL("question")));
    EXPECT_FALSE(respondsToSelector(nullptr, SEL("answer")));
    EXPECT_TRUE(send<bool>(derived, SEL("respondsToSelector:"), SEL("answer")));
    EXPECT_FALSE(send<bool>(derived, SEL("respondsToSelector:"), SEL("question")));

    // A negative answer is cached, and an addition must still be seen.
    EXPECT_TRUE(runtime.addMethod(cell, SEL("question"), Imp::of([](Cell*, Selector) {}), "v@:"));
    EXPECT_TRUE(respondsToSelector(derived.get(), SEL("question")));
    EXPECT_TRUE(respondsToSelector(base.get(), SEL("question")));
}

TEST_F(SendTest, theMethodCacheSeesChangesMadeAfterACallWasCached)
{
    auto base = make(cell);
    auto derived = make(label);
    EXPECT_EQ(send<int64_t>(base, SEL("answer")), 1);
    EXPECT_EQ(send<int64_t>(derived, SEL("answer")), 1);

    // A replacement of the class's own method.
    runtime.hookMessage(cell, SEL("answer"), Imp::of([](Cell*, Selector) -> int64_t { return 2; }));
    EXPECT_EQ(send<int64_t>(base, SEL("answer")), 2);
    EXPECT_EQ(send<int64_t>(derived, SEL("answer")), 2);

    // A hook of the inherited method in the subclass, after the subclass cached the superclass's.
    runtime.hookMessage(label, SEL("answer"), Imp::of([](Cell*, Selector) -> int64_t { return 3; }));
    EXPECT_EQ(send<int64_t>(derived, SEL("answer")), 3);
    EXPECT_EQ(send<int64_t>(base, SEL("answer")), 2);

    // An addition over an inherited method, after the subclass cached it.
    Class& tag = runtime.defineClass<Label>("Tag", "Cell");
    auto tagged = make(tag);
    EXPECT_EQ(send<int64_t>(tagged, SEL("answer")), 2);
    EXPECT_TRUE(runtime.addMethod(tag, SEL("answer"), Imp::of([](Cell*, Selector) -> int64_t { return 4; }), "q@:"));
    EXPECT_EQ(send<int64_t>(tagged, SEL("answer")), 4);

    // Class methods have their own cache, on the metaclass.
    runtime.defineClassMethod(cell, SEL("kind"), Imp::of([](Class*, Selector) -> int64_t { return 1; }));
    EXPECT_EQ(send<int64_t>(&label, SEL("kind")), 1);
    runtime.hookMessage(*label.metaclass(), SEL("kind"), Imp::of([](Class*, Selector) -> int64_t { return 5; }));
    EXPECT_EQ(send<int64_t>(&label, SEL("kind")), 5);
    EXPECT_EQ(send<int64_t>(&cell, SEL("kind")), 1);
}

TEST_F(SendTest, manySelectorsInOneClassAllStayReachable)
{
    // Enough methods to make the cache grow several times while calls are cached.
    constexpr int count = 200;
    for (int i = 0; i < count; ++i) {
        runtime.define(cell, Selector::named("method" + std::to_string(i)),
            Imp::of([i](Cell*, Selector) -> int64_t { return i; }));
    }
    auto object = make(label);
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(send<int64_t>(object, "method" + std::to_string(i)), i);
    }
    for (int i = 0; i < count; ++i)
        EXPECT_FALSE(respondsToSelector(object.get(), Selector::named("missing" + std::to_string(i))));
    EXPECT_EQ(send<int64_t>(object, SEL("method7")), 7);
}

TEST_F(SendDeathTest, anUnrecognizedSelectorAbortsNamingClassAndSelector)
{
    auto object = make(label);
    EXPECT_DEATH(send(object, SEL("noSuchMethod:")), "-\\[Label noSuchMethod:\\]: unrecognized selector");
    EXPECT_DEATH(send(&label, SEL("noSuchClassMethod")), "\\+\\[Label noSuchClassMethod\\]: unrecognized selector");
}

TEST_F(SendDeathTest, aSignatureMismatchAbortsNamingBothSignatures)
{
    auto object = make(cell);
    EXPECT_DEATH(send<double>(object, SEL("answer")),
        "'answer' is implemented with signature long int\\(\\) but was sent as double\\(\\)");
    EXPECT_DEATH(send<int64_t>(object, SEL("answer"), object),
        "'answer' is implemented with signature long int\\(\\) but was sent as long int\\(runtime::Id\\)");

    // A saved previous implementation is checked the same way.
    Imp previous = runtime.hookMessage(cell, SEL("answer"), Imp::of([](Cell*, Selector) -> int64_t { return 2; }));
    EXPECT_EQ(previous.operator()<int64_t>(object.get(), SEL("answer")), 1);
    EXPECT_DEATH(previous.operator()<bool>(object.get(), SEL("answer")), "was sent as bool\\(\\)");
}

} // namespace
