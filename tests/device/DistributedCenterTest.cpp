#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/device/Device.h"
#include "platform/device/DistributedNotificationCenter.h"
#include "platform/foundation/Classes.h"
#include "platform/runtime/Send.h"

#include "tests/support/TempDirectory.h"

using namespace device;
using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

constexpr const char* home = "com.apple.springboard";
constexpr const char* messages = "com.apple.MobileSMS";

// What a process's listeners received.
struct Inbox {
    explicit Inbox(Process&) { }
    std::vector<std::string> names;
    std::vector<Value> userInfos;
    std::vector<std::string> queues;
    int pings { 0 };
};

// Two apps with Foundation, the distributed center and a Listener class whose
// `received:` files each notification in its process's Inbox.
class BusDevice {
public:
    BusDevice()
        : device(temp.path() / "root")
    {
        for (std::string id : { home, messages })
            device.defineApp({ id, [](Process& process) { defineListener(process); }, {} });
        device.launch(home);
        device.launch(messages);
    }

    static void defineListener(Process& process)
    {
        auto& runtime = process.runtime();
        foundation::defineClasses(runtime);
        DistributedNotificationCenter::registerClass(process);
        auto& listener = runtime.defineClass<runtime::NSObject>("Listener", "NSObject");
        Process* owner = &process;
        runtime.define(listener, SEL("received:"), runtime::Imp::of([owner](Object*, Selector, Object* note) {
            auto& inbox = owner->service<Inbox>();
            inbox.names.push_back(runtime::send<Value>(note, SEL("name")).string());
            inbox.userInfos.push_back(runtime::send<Value>(note, SEL("userInfo")));
        }));
        runtime.define(
            listener, SEL("ping"), runtime::Imp::of([owner](Object*, Selector) { ++owner->service<Inbox>().pings; }));
    }

    Process& process(const char* id) { return *device.process(id); }
    Ref<Object> center(const char* id)
    {
        return runtime::send<Ref<Object>>(
            process(id).runtime().classNamed("NSDistributedNotificationCenter"), SEL("defaultCenter"));
    }
    Ref<Object> listener(const char* id) { return runtime::newObject(process(id).runtime().classNamed("Listener")); }
    void observe(const char* id, Object* listener, const Value& name)
    {
        runtime::send(center(id), SEL("addObserver:selector:name:object:"), listener, SEL("received:"), name, nullptr);
    }
    void post(const char* id, const char* name, const Value& userInfo)
    {
        runtime::send(center(id), SEL("postNotificationName:object:userInfo:"), name, nullptr, userInfo);
    }
    Inbox& inbox(const char* id) { return process(id).service<Inbox>(); }

    TempDirectory temp;
    Device device;
};

Value reply()
{
    return Value(Value::Dictionary { { "identifier", "+15551234567" }, { "body", "On my way" } });
}

} // namespace

TEST(DistributedCenter, deliversToOtherProcessesOnTheirMainQueueLater)
{
    BusDevice bus;
    auto listener = bus.listener(messages);
    bus.observe(messages, listener, "com.mavrel.brix.receivedcontacts");
    EXPECT_EQ(bus.center(home), bus.center(home)); // one center per process
    EXPECT_NE(bus.center(home), bus.center(messages));

    bus.post(home, "com.mavrel.brix.receivedcontacts", reply());
    bus.post(home, "com.example.unobserved", {});

    // Posted and traced at once, delivered only when the scheduler runs, on the observer's main queue.
    auto posted = bus.device.trace().eventsOfType("distributed.posted");
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0]["name"], "com.mavrel.brix.receivedcontacts");
    EXPECT_EQ(posted[0]["userInfo"]["body"], "On my way");
    EXPECT_EQ(posted[0]["sender"], home);
    EXPECT_TRUE(posted[1]["userInfo"].is_null());
    EXPECT_TRUE(bus.inbox(messages).names.empty());
    EXPECT_EQ(bus.device.scheduler().pendingCount(bus.process(messages).mainQueue()), 1u);

    EXPECT_TRUE(bus.device.scheduler().runDue(100));
    EXPECT_EQ(bus.inbox(messages).names, (std::vector<std::string> { "com.mavrel.brix.receivedcontacts" }));
    EXPECT_EQ(bus.inbox(messages).userInfos.at(0), reply());
    EXPECT_TRUE(bus.inbox(home).names.empty());
}

TEST(DistributedCenter, thePostersOwnObserversHearItAsynchronouslyToo)
{
    BusDevice bus;
    auto listener = bus.listener(home);
    bus.observe(home, listener, {}); // nil name: every name
    bus.post(home, "com.mavrel.brix.receivedbannertest", Value::dictionary());
    bus.post(home, "com.example.other", {});
    EXPECT_TRUE(bus.inbox(home).names.empty());
    EXPECT_TRUE(bus.device.scheduler().runDue(100));
    EXPECT_EQ(bus.inbox(home).names,
        (std::vector<std::string> { "com.mavrel.brix.receivedbannertest", "com.example.other" }));
}

TEST(DistributedCenter, observersAreHeldWeaklyAndCanLeave)
{
    BusDevice bus;
    auto gone = bus.listener(messages);
    auto leaving = bus.listener(messages);
    auto staying = bus.listener(messages);
    runtime::WeakRef<Object> weakGone(gone);
    for (auto* listener : { gone.get(), leaving.get(), staying.get() }) {
        bus.observe(messages, listener, "a");
        bus.observe(messages, listener, "b");
    }
    EXPECT_EQ(bus.device.distributedCenter().observerCount(), 6u);

    // The center does not keep an observer alive.
    gone = nullptr;
    EXPECT_EQ(weakGone.get(), nullptr);
    // Removing for one name keeps the other; a removal between posting and delivery holds.
    runtime::send(bus.center(messages), SEL("removeObserver:name:object:"), leaving.get(), "a", nullptr);
    bus.post(home, "a", {});
    bus.post(home, "b", {});
    runtime::send(bus.center(messages), SEL("removeObserver:"), leaving.get());
    EXPECT_TRUE(bus.device.scheduler().runDue(100));
    EXPECT_EQ(bus.inbox(messages).names, (std::vector<std::string> { "a", "b" }));
    EXPECT_EQ(bus.device.distributedCenter().observerCount(), 2u);
}

TEST(DistributedCenter, anObserverRemovingItselfInDeallocIsForgotten)
{
    BusDevice bus;
    auto& runtime = bus.process(messages).runtime();
    auto& cls = runtime.defineClass<runtime::NSObject>("Leaver", "NSObject");
    Process* process = &bus.process(messages);
    runtime.define(cls, SEL("dealloc"), runtime::Imp::of([process](Object* self, Selector) {
        process->device().distributedCenter().removeObserver(*process, self);
        self->finishDeallocation();
    }));
    auto leaver = runtime::newObject(&cls);
    bus.device.distributedCenter().addObserver(*process, leaver, SEL("received:"), "a");
    EXPECT_EQ(bus.device.distributedCenter().observerCount(), 1u);
    leaver = nullptr;
    EXPECT_EQ(bus.device.distributedCenter().observerCount(), 0u);
}

TEST(DistributedCenter, refusesUserInfoThatIsNotAPropertyList)
{
    BusDevice bus;
    auto listener = bus.listener(messages);
    bus.observe(messages, listener, {});
    auto object = bus.listener(home);
    auto& center = bus.device.distributedCenter();

    // An object anywhere inside, a user info that is not a dictionary, and no name.
    Value withObject(Value::Dictionary { { "nested", Value::Array { 1, Value(object.get()) } } });
    EXPECT_FALSE(center.post("a", withObject));
    EXPECT_FALSE(center.post("a", Value("text")));
    EXPECT_FALSE(center.post("", {}));
    bus.post(home, "a", Value::Array {});
    runtime::send(bus.center(home), SEL("postNotificationName:object:userInfo:"), Value(), nullptr, Value());

    EXPECT_TRUE(center.post("a", Value::dictionary()));
    EXPECT_TRUE(center.post("a", {}));
    EXPECT_EQ(bus.device.trace().eventsOfType("distributed.refused").size(), 5u);
    EXPECT_EQ(bus.device.trace().eventsOfType("distributed.posted").size(), 2u);
    EXPECT_EQ(bus.device.trace().eventsOfType("distributed.refused")[0]["name"], "a");
    EXPECT_TRUE(bus.device.scheduler().runDue(100));
    EXPECT_EQ(bus.inbox(messages).names.size(), 2u);
}

TEST(DistributedCenter, carriesTheNullObject)
{
    BusDevice bus;
    auto listener = bus.listener(messages);
    bus.observe(messages, listener, {});
    Value userInfo(Value::Dictionary { { "avatar", Value::null() }, { "list", Value::Array { Value::null(), 1 } } });
    bus.post(home, "a", userInfo);
    auto posted = bus.device.trace().eventsOfType("distributed.posted");
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_TRUE(posted[0]["userInfo"]["avatar"].is_null());
    EXPECT_TRUE(posted[0]["userInfo"].contains("avatar"));
    EXPECT_TRUE(bus.device.scheduler().runDue(100));
    ASSERT_EQ(bus.inbox(messages).userInfos.size(), 1u);
    EXPECT_TRUE(bus.inbox(messages).userInfos[0]["avatar"].isNull());
    EXPECT_EQ(bus.inbox(messages).userInfos[0], userInfo);

    // The platform's NSNull answers the same object.
    auto& runtime = bus.process(home).runtime();
    EXPECT_EQ(runtime::send<Value>(runtime.classNamed("NSNull"), SEL("null")), Value::null());
}

TEST(DistributedCenter, observersOfAnEndedProcessAreNotCalled)
{
    BusDevice bus;
    auto listener = bus.listener(messages);
    runtime::WeakRef<Object> weakListener(listener);
    bus.observe(messages, listener, "a");
    bus.process(messages).keep(std::move(listener));

    // Ended between posting and delivery: the queued delivery goes with the process.
    bus.post(home, "a", {});
    bus.device.terminate(messages);
    EXPECT_EQ(weakListener.get(), nullptr);
    EXPECT_EQ(bus.device.distributedCenter().observerCount(), 0u);
    EXPECT_EQ(bus.device.scheduler().pendingCount(), 0u);
    EXPECT_TRUE(bus.device.scheduler().runDue(100));

    // A relaunched process starts with no registrations of the old one.
    bus.device.launch(messages);
    bus.post(home, "a", {});
    EXPECT_TRUE(bus.device.scheduler().runDue(100));
    EXPECT_TRUE(bus.inbox(messages).names.empty());
}

TEST(DistributedCenter, anObserverSelectorWithoutArgumentIsSentBare)
{
    BusDevice bus;
    auto listener = bus.listener(home);
    runtime::send(bus.center(home), SEL("addObserver:selector:name:object:"), listener.get(), SEL("ping"),
        Value("com.mavrel.brix.receivedbannertest"), nullptr);
    bus.post(messages, "com.mavrel.brix.receivedbannertest", Value::dictionary());
    EXPECT_TRUE(bus.device.scheduler().runDue(100));
    EXPECT_EQ(bus.inbox(home).pings, 1);
    EXPECT_TRUE(bus.inbox(home).names.empty());
}
