#include <benchmark/benchmark.h>
#include <functional>

#include "platform/runtime/Send.h"

using namespace runtime;

namespace {

// The same small piece of work behind three kinds of call: a message, a
// std::function and a virtual function.
class Receiver : public NSObject {
public:
    using NSObject::NSObject;
    virtual void take(Object* argument) { m_taken += argument != nullptr; }
    int64_t taken() const { return m_taken; }

protected:
    int64_t m_taken { 0 };
};

// A second override keeps the compiler from turning the virtual call into a direct one.
class DoubleReceiver final : public Receiver {
public:
    using Receiver::Receiver;
    void take(Object* argument) override { m_taken += 2 * (argument != nullptr); }
};

struct Fixture {
    Fixture()
        : cls(runtime.defineClass<Receiver>("Receiver", "NSObject"))
        , doubleCls(runtime.defineClass<DoubleReceiver>("DoubleReceiver", "Receiver"))
    {
        runtime.define(cls, SEL("take:"),
            Imp::of([](Receiver* self, Selector, Object* argument) { self->Receiver::take(argument); }));
        receiver = newObject(&cls);
        other = newObject(&doubleCls);
        argument = newObject(&runtime.rootClass());
    }

    Receiver* typedReceiver() const { return static_cast<Receiver*>(receiver.get()); }

    // Declared first, so that the objects go before their classes.
    Runtime runtime;
    Class& cls;
    Class& doubleCls;
    Ref<Object> receiver;
    Ref<Object> other;
    Ref<Object> argument;
};

void expectTaken(benchmark::State& state, const Fixture& fixture, int64_t extra)
{
    if (fixture.typedReceiver()->taken() != static_cast<int64_t>(state.iterations()) + extra)
        state.SkipWithError("the call did not reach the receiver on every iteration");
}

void BM_CachedSend(benchmark::State& state)
{
    Fixture fixture;
    Object* receiver = fixture.receiver.get();
    Object* argument = fixture.argument.get();
    send(receiver, SEL("take:"), argument);
    for (auto _ : state) {
        benchmark::DoNotOptimize(receiver);
        send(receiver, SEL("take:"), argument);
    }
    expectTaken(state, fixture, 1);
}
BENCHMARK(BM_CachedSend);

void BM_StdFunctionCall(benchmark::State& state)
{
    Fixture fixture;
    Receiver* receiver = fixture.typedReceiver();
    Object* argument = fixture.argument.get();
    std::function<void(Receiver*, Object*)> function
        = [](Receiver* self, Object* argument) { self->Receiver::take(argument); };
    for (auto _ : state) {
        benchmark::DoNotOptimize(receiver);
        function(receiver, argument);
    }
    expectTaken(state, fixture, 0);
}
BENCHMARK(BM_StdFunctionCall);

void BM_VirtualCall(benchmark::State& state)
{
    Fixture fixture;
    Receiver* receiver = fixture.typedReceiver();
    Object* argument = fixture.argument.get();
    static_cast<Receiver*>(fixture.other.get())->take(argument);
    for (auto _ : state) {
        benchmark::DoNotOptimize(receiver);
        receiver->take(argument);
    }
    expectTaken(state, fixture, 0);
}
BENCHMARK(BM_VirtualCall);

// Associated values: the object carries state.range(0) of them and the last
// one is read or replaced, the worst case of the linear search.
struct AssociationFixture {
    explicit AssociationFixture(int64_t count)
        : object(newObject(&runtime.rootClass()))
        , first(newObject(&runtime.rootClass()))
        , second(newObject(&runtime.rootClass()))
    {
        for (int64_t i = 0; i < count; ++i)
            object->setAssociatedObject(&keys[i], first.get(), AssociationPolicy::Retain);
        key = &keys[count - 1];
    }

    Runtime runtime;
    Ref<Object> object;
    Ref<Object> first;
    Ref<Object> second;
    char keys[16] {};
    const void* key { nullptr };
};

void BM_AssociatedGet(benchmark::State& state)
{
    AssociationFixture fixture(state.range(0));
    Object* object = fixture.object.get();
    const void* key = fixture.key;
    if (object->associatedObject(key) != fixture.first.get())
        state.SkipWithError("the associated value was not found");
    for (auto _ : state) {
        benchmark::DoNotOptimize(key);
        benchmark::DoNotOptimize(object->associatedObject(key));
    }
}
BENCHMARK(BM_AssociatedGet)->ArgName("values")->Arg(1)->Arg(8);

void BM_AssociatedSet(benchmark::State& state)
{
    AssociationFixture fixture(state.range(0));
    Object* object = fixture.object.get();
    Object* values[2] = { fixture.first.get(), fixture.second.get() };
    auto policy = state.range(1) ? AssociationPolicy::Retain : AssociationPolicy::Assign;
    size_t flip = 0;
    for (auto _ : state) {
        object->setAssociatedObject(fixture.key, values[flip], policy);
        flip ^= 1;
    }
    if (object->associatedObject(fixture.key) != values[flip ^ 1] || fixture.second->retainCount() > 2)
        state.SkipWithError("the associated value was not replaced as asked");
}
BENCHMARK(BM_AssociatedSet)->ArgNames({ "values", "retain" })->Args({ 1, 1 })->Args({ 1, 0 })->Args({ 8, 1 });

// A method hooked after the cache served it: the hook must be what runs.
void BM_SendAfterHook(benchmark::State& state)
{
    Runtime runtime;
    Class& base = runtime.defineClass<NSObject>("Base", "NSObject");
    Class& derived = runtime.defineClass<NSObject>("Derived", "Base");
    runtime.define(base, SEL("answer"), Imp::of([](Object*, Selector) -> int64_t { return 1; }));
    bool inherited = state.range(0) != 0;
    Class& hooked = inherited ? derived : base;
    auto object = newObject(&derived);
    send<int64_t>(object, SEL("answer"));
    runtime.hookMessage(hooked, SEL("answer"), Imp::of([](Object*, Selector) -> int64_t { return 2; }));
    if (send<int64_t>(object, SEL("answer")) != 2) {
        state.SkipWithError("the cache served the implementation from before the hook");
        return;
    }
    Object* receiver = object.get();
    int64_t sum = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(receiver);
        sum += send<int64_t>(receiver, SEL("answer"));
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_SendAfterHook)->ArgName("inherited")->Arg(0)->Arg(1);

} // namespace
