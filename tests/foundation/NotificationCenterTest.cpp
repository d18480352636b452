#include "platform/foundation/NotificationCenter.h"

#include <functional>
#include <gtest/gtest.h>

#include "platform/foundation/Classes.h"
#include "platform/foundation/Notification.h"
#include "platform/runtime/Send.h"

#include "tests/foundation/Printing.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

// An observer that records what it receives and can run extra work on each delivery.
class Listener : public runtime::NSObject {
public:
    using NSObject::NSObject;

    std::vector<std::string> names;
    std::vector<Value> userInfos;
    std::vector<Object*> objects;
    std::function<void()> onReceive;
};

class NotificationCenterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        foundation::defineClasses(m_runtime);
        auto& cls = m_runtime.defineClass<Listener>("Listener", "NSObject");
        m_runtime.define(cls, SEL("received:"), runtime::Imp::of([](Listener* self, Selector, Object* notification) {
            self->names.push_back(runtime::send<Value>(notification, SEL("name")).string());
            self->userInfos.push_back(runtime::send<Value>(notification, SEL("userInfo")));
            self->objects.push_back(runtime::send<Ref<Object>>(notification, SEL("object")).get());
            if (self->onReceive)
                self->onReceive();
        }));
        m_listenerClass = &cls;
        m_center = runtime::send<Ref<Object>>(m_runtime.classNamed("NSNotificationCenter"), SEL("defaultCenter"));
    }

    Ref<Listener> makeListener()
    {
        return Ref<Listener>(dynamic_cast<Listener*>(runtime::newObject(m_listenerClass).get()));
    }
    Ref<Object> makeObject() { return runtime::newObject(&m_runtime.rootClass()); }

    void observe(Object* listener, Value name, Object* object = nullptr)
    {
        runtime::send(
            m_center, SEL("addObserver:selector:name:object:"), listener, SEL("received:"), std::move(name), object);
    }
    void post(Value name, Object* object = nullptr, Value userInfo = {})
    {
        runtime::send(
            m_center, SEL("postNotificationName:object:userInfo:"), std::move(name), object, std::move(userInfo));
    }
    size_t observerCount() const
    {
        return dynamic_cast<foundation::NotificationCenter*>(m_center.get())->observerCount();
    }

    runtime::Runtime m_runtime;
    runtime::Class* m_listenerClass { nullptr };
    Ref<Object> m_center;
};

} // namespace

TEST_F(NotificationCenterTest, deliversSynchronouslyWithNameObjectAndUserInfo)
{
    auto listener = makeListener();
    auto sender = makeObject();
    observe(listener, "StatusChanged");
    Value command = Value::dictionary();
    command.set("command", "dismiss");
    post("StatusChanged", sender, command);

    ASSERT_EQ(listener->names, std::vector<std::string> { "StatusChanged" });
    EXPECT_EQ(listener->userInfos[0], command);
    EXPECT_EQ(listener->objects[0], sender.get());

    post("OtherNotification");
    EXPECT_EQ(listener->names.size(), 1u);
}

TEST_F(NotificationCenterTest, nilNameObservesEveryName)
{
    auto everything = makeListener();
    observe(everything, Value());
    // A name that is neither a string nor nil subscribes to nothing.
    auto confused = makeListener();
    observe(confused, 42);
    post("First");
    post("Second");
    post(7);
    EXPECT_EQ(everything->names, (std::vector<std::string> { "First", "Second" }));
    EXPECT_TRUE(confused->names.empty());
}

TEST_F(NotificationCenterTest, objectFilterSelectsTheSender)
{
    auto sender = makeObject();
    auto other = makeObject();
    auto fromSender = makeListener();
    auto fromAnyone = makeListener();
    observe(fromSender, "Changed", sender);
    observe(fromAnyone, "Changed");

    post("Changed", sender);
    post("Changed", other);
    post("Changed");
    EXPECT_EQ(fromSender->names.size(), 1u);
    EXPECT_EQ(fromAnyone->names.size(), 3u);

    // Once the filtered-on object is gone, its registrations can match nothing.
    sender = nullptr;
    EXPECT_EQ(observerCount(), 1u);
}

TEST_F(NotificationCenterTest, observersAreHeldWeakly)
{
    auto listener = makeListener();
    runtime::WeakRef<Listener> weak(listener);
    observe(listener, "Ping");
    EXPECT_EQ(observerCount(), 1u);

    listener = nullptr;
    EXPECT_EQ(weak.get(), nullptr);
    auto survivor = makeListener();
    observe(survivor, "Ping");
    post("Ping");
    EXPECT_EQ(survivor->names.size(), 1u);
    EXPECT_EQ(observerCount(), 1u);
}

TEST_F(NotificationCenterTest, observerRemovingItselfInDeallocIsForgotten)
{
    // As a controller does: its dealloc unsubscribes before the inherited dealloc runs.
    auto previous = std::make_shared<runtime::Imp>();
    auto* ownRuntime = &m_runtime;
    *previous = m_runtime.hookMessage(
        *m_listenerClass, SEL("dealloc"), runtime::Imp::of([previous, ownRuntime](Listener* self, Selector selector) {
            auto* center = foundation::defaultCenter(*ownRuntime);
            runtime::send(center, SEL("removeObserver:name:object:"), self, "Ping", nullptr);
            (*previous)(self, selector);
        }));
    auto listener = makeListener();
    observe(listener, "Ping");
    observe(listener, "Pong");
    listener = nullptr;
    post("Ping");
    post("Pong");
    EXPECT_EQ(observerCount(), 0u);
}

TEST_F(NotificationCenterTest, removalByNameAndObject)
{
    auto sender = makeObject();
    auto listener = makeListener();
    observe(listener, "A");
    observe(listener, "B");
    observe(listener, "C", sender);
    observe(listener, Value());

    // Removing by name leaves the registration for every name in place.
    runtime::send(m_center, SEL("removeObserver:name:object:"), listener, "A", nullptr);
    post("A");
    EXPECT_EQ(listener->names, std::vector<std::string> { "A" });
    listener->names.clear();

    // Removing by object leaves the registrations made without one.
    runtime::send(m_center, SEL("removeObserver:name:object:"), listener, Value(), sender);
    post("C", sender);
    post("B");
    EXPECT_EQ(listener->names, (std::vector<std::string> { "C", "B", "B" }));
    listener->names.clear();

    runtime::send(m_center, SEL("removeObserver:"), listener);
    post("A");
    post("B");
    EXPECT_TRUE(listener->names.empty());
    EXPECT_EQ(observerCount(), 0u);
}

TEST_F(NotificationCenterTest, changesDuringDeliveryDoNotBreakIt)
{
    auto first = makeListener();
    auto second = makeListener();
    auto third = makeListener();
    auto late = makeListener();
    observe(first, "Go");
    observe(second, "Go");
    observe(third, "Go");

    // The first removes the second, releases the last reference to the third and adds a new observer.
    Ref<Listener> thirdOwner = third;
    third = nullptr;
    bool firstDelivery = true;
    first->onReceive = [&] {
        if (!std::exchange(firstDelivery, false))
            return;
        runtime::send(m_center, SEL("removeObserver:"), second);
        thirdOwner = nullptr;
        observe(late, "Go");
    };
    post("Go");
    EXPECT_EQ(first->names.size(), 1u);
    EXPECT_TRUE(second->names.empty());
    EXPECT_TRUE(late->names.empty());

    post("Go");
    EXPECT_EQ(first->names.size(), 2u);
    EXPECT_TRUE(second->names.empty());
    EXPECT_EQ(late->names.size(), 1u);
}

TEST_F(NotificationCenterTest, observerMayPostDuringDelivery)
{
    auto relay = makeListener();
    auto receiver = makeListener();
    observe(relay, "Outer");
    observe(receiver, "Inner");
    relay->onReceive = [&] { post("Inner"); };
    post("Outer");
    EXPECT_EQ(receiver->names, std::vector<std::string> { "Inner" });
}

// Many observers, as in a burst of banners: a posting nested in another
// removes and adds observers, and most observers then go; every delivery
// still reaches exactly the live observers, in the order they registered.
TEST_F(NotificationCenterTest, busyCenterDeliversInOrderWhileObserversComeAndGo)
{
    std::vector<int> order;
    std::vector<Ref<Listener>> listeners;
    for (int i = 0; i < 100; ++i) {
        listeners.push_back(makeListener());
        listeners.back()->onReceive = [&order, i] { order.push_back(i); };
        observe(listeners.back(), "Tick");
    }
    auto relay = makeListener();
    observe(relay, "Inner");
    auto late = makeListener();
    late->onReceive = [&order] { order.push_back(-1); };
    bool relayed = false;
    listeners[10]->onReceive = [&] {
        order.push_back(10);
        if (!std::exchange(relayed, true))
            post("Inner");
    };
    relay->onReceive = [&] {
        runtime::send(m_center, SEL("removeObserver:"), listeners[60]);
        observe(late, "Tick");
    };
    post("Tick");
    std::vector<int> expected;
    for (int i = 0; i < 100; ++i) {
        if (i != 60)
            expected.push_back(i);
    }
    EXPECT_EQ(order, expected);
    EXPECT_EQ(relay->names.size(), 1u);

    // Ninety of them go and forty new ones come: the list is pruned on the way.
    order.clear();
    for (int i = 0; i < 90; ++i)
        listeners[i] = nullptr;
    for (int i = 100; i < 140; ++i) {
        listeners.push_back(makeListener());
        listeners.back()->onReceive = [&order, i] { order.push_back(i); };
        observe(listeners.back(), "Tick");
    }
    post("Tick");
    expected.assign({ 90, 91, 92, 93, 94, 95, 96, 97, 98, 99, -1 });
    for (int i = 100; i < 140; ++i)
        expected.push_back(i);
    EXPECT_EQ(order, expected);
    EXPECT_EQ(observerCount(), 10u + 1u + 40u + 1u);
}

TEST_F(NotificationCenterTest, eachRunTimeHasItsOwnDefaultCenter)
{
    EXPECT_EQ(foundation::defaultCenter(m_runtime), m_center.get());
    EXPECT_EQ(runtime::send<Ref<Object>>(m_runtime.classNamed("NSNotificationCenter"), SEL("defaultCenter")), m_center);
    // Defining the classes again changes nothing.
    foundation::defineClasses(m_runtime);
    EXPECT_EQ(foundation::defaultCenter(m_runtime), m_center.get());

    auto other = std::make_unique<runtime::Runtime>();
    foundation::defineClasses(*other);
    auto* otherCenter = foundation::defaultCenter(*other);
    ASSERT_NE(otherCenter, nullptr);
    EXPECT_NE(otherCenter, m_center.get());

    auto listener = makeListener();
    observe(listener, "Shared name");
    otherCenter->post("Shared name");
    EXPECT_TRUE(listener->names.empty());

    // A run time that ends takes its center with it; observers elsewhere are unaffected.
    auto& otherRoot = other->rootClass();
    auto otherObserver = runtime::newObject(&otherRoot);
    otherCenter->addObserver(otherObserver, SEL("description"), "Shared name");
    otherObserver = nullptr;
    other.reset();
    post("Shared name");
    EXPECT_EQ(listener->names.size(), 1u);

    runtime::Runtime bare;
    EXPECT_EQ(foundation::defaultCenter(bare), nullptr);
}

TEST_F(NotificationCenterTest, cxxInterfaceMatchesTheMessages)
{
    auto* center = foundation::defaultCenter(m_runtime);
    auto listener = makeListener();
    auto sender = makeObject();
    center->addObserver(listener, SEL("received:"), "Direct", sender);
    center->addObserver(listener, SEL("received:"), std::nullopt);
    center->post("Direct", sender, Value(Value::Array { 1 }));
    EXPECT_EQ(listener->names, (std::vector<std::string> { "Direct", "Direct" }));
    center->removeObserver(listener, std::string("Direct"), nullptr);
    center->post("Direct", sender);
    EXPECT_EQ(listener->names.size(), 3u);

    auto notification = foundation::makeNotification(m_runtime, "Made", sender, Value("info"));
    runtime::send(m_center, SEL("postNotification:"), notification);
    EXPECT_EQ(listener->names.back(), "Made");
    EXPECT_EQ(listener->userInfos.back(), Value("info"));
}

TEST_F(NotificationCenterTest, notificationHoldsItsObject)
{
    auto sender = makeObject();
    runtime::WeakRef<Object> weakSender(sender);
    Value info = Value::dictionary();
    info.set("key", "value");
    auto notification = foundation::makeNotification(m_runtime, "Held", sender, info);
    sender = nullptr;
    ASSERT_NE(weakSender.get(), nullptr);
    EXPECT_EQ(runtime::send<Value>(notification, SEL("name")), Value("Held"));
    EXPECT_EQ(runtime::send<Ref<Object>>(notification, SEL("object")).get(), weakSender.get());
    EXPECT_EQ(runtime::send<Value>(notification, SEL("userInfo")), info);
    notification = nullptr;
    EXPECT_EQ(weakSender.get(), nullptr);

    // A notification needs a name.
    auto unnamed = runtime::send<Ref<Object>>(
        m_runtime.classNamed("NSNotification"), SEL("notificationWithName:object:"), Value(), nullptr);
    EXPECT_EQ(unnamed, nullptr);
}
