#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/Send.h"

using namespace runtime;

namespace {

// Reports its destruction to a log the test owns.
class Tracked : public NSObject {
public:
    using NSObject::NSObject;
    ~Tracked() override
    {
        if (log)
            log->push_back("destroyed " + name);
    }
    std::vector<std::string>* log { nullptr };
    std::string name;
    Ref<Object> held;
};

class ObjectLifetimeTest : public ::testing::Test {
protected:
    Ref<Tracked> make(std::string name, Class* cls = nullptr)
    {
        auto object = Ref<Tracked>(static_cast<Tracked*>(newObject(cls ? cls : &tracked).get()));
        object->log = &log;
        object->name = std::move(name);
        return object;
    }

    // Hooks `dealloc` on `cls`, logging "dealloc <name>" before the previous implementation runs.
    void hookDealloc(Class& cls, std::function<void(Tracked*)> check = {})
    {
        auto previous = std::make_shared<Imp>();
        *previous
            = runtime.hookMessage(cls, SEL("dealloc"), Imp::of([this, previous, check](Tracked* self, Selector sel) {
                  log.push_back("dealloc " + className(self) + " " + self->name);
                  if (check)
                      check(self);
                  (*previous)(self, sel);
              }));
    }
    static std::string className(Object* self) { return std::string(classNameOf(self)); }
    bool destroyed(const std::string& name) const
    {
        return std::find(log.begin(), log.end(), "destroyed " + name) != log.end();
    }

    std::vector<std::string> log;
    Runtime runtime;
    Class& tracked { runtime.defineClass<Tracked>("Tracked", "NSObject") };
};

TEST_F(ObjectLifetimeTest, theLastStrongReferenceDestroysTheObject)
{
    auto object = make("a");
    EXPECT_EQ(object->retainCount(), 1u);
    {
        Ref<Tracked> copy = object;
        Ref<Object> widened = copy;
        EXPECT_EQ(object->retainCount(), 3u);
    }
    EXPECT_EQ(object->retainCount(), 1u);
    Ref<Tracked> moved = std::move(object);
    EXPECT_FALSE(object);
    EXPECT_EQ(moved->retainCount(), 1u);
    EXPECT_TRUE(log.empty());
    moved = nullptr;
    EXPECT_EQ(log, (std::vector<std::string> { "destroyed a" }));

    // An owner releases what it holds when it goes.
    auto parent = make("parent");
    parent->held = make("child");
    parent = nullptr;
    EXPECT_EQ(log, (std::vector<std::string> { "destroyed a", "destroyed parent", "destroyed child" }));
}

TEST_F(ObjectLifetimeTest, theRuntimeCountsLiveInstancesButNotClasses)
{
    size_t before = runtime.liveObjectCount();
    runtime.defineClass<Tracked>("Other", "Tracked");
    EXPECT_EQ(runtime.liveObjectCount(), before);

    auto parent = make("parent");
    parent->held = make("child");
    auto direct = runtime::make<Tracked>(&tracked);
    EXPECT_EQ(runtime.liveObjectCount(), before + 3);
    parent = nullptr;
    EXPECT_EQ(runtime.liveObjectCount(), before + 1);
    direct = nullptr;
    EXPECT_EQ(runtime.liveObjectCount(), before);
}

TEST_F(ObjectLifetimeTest, deallocHooksFireWhenTheLastReferenceGoes)
{
    Class& special = runtime.defineClass<Tracked>("Special", "Tracked");
    WeakRef<Tracked> watcher;
    bool sawLiveObject = false;
    hookDealloc(tracked, [&](Tracked* self) {
        // The object is whole while dealloc runs, and weak references already read nil.
        sawLiveObject = self->isDeallocating() && self->name == "b" && !watcher;
    });
    hookDealloc(special);

    auto object = make("b");
    watcher = object;
    Ref<Tracked> second = object;
    object = nullptr;
    EXPECT_TRUE(log.empty());
    second = nullptr;
    EXPECT_EQ(log, (std::vector<std::string> { "dealloc Tracked b", "destroyed b" }));
    EXPECT_TRUE(sawLiveObject);

    // A subclass's hook runs first; its previous implementation is the superclass's hook.
    log.clear();
    make("c", &special);
    EXPECT_EQ(log, (std::vector<std::string> { "dealloc Special c", "dealloc Special c", "destroyed c" }));
}

TEST_F(ObjectLifetimeTest, referencesTakenDuringDeallocDoNotDeallocateTwice)
{
    std::vector<Tracked*> seen;
    hookDealloc(tracked, [&](Tracked* self) {
        Ref<Tracked> again(self);
        Ref<Object> copy = again;
        seen.push_back(self);
        WeakRef<Tracked> weak(self);
        EXPECT_FALSE(weak);
    });
    make("d");
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(log, (std::vector<std::string> { "dealloc Tracked d", "destroyed d" }));
}

TEST_F(ObjectLifetimeTest, retainedAssociatedValuesLiveUntilTheirObjectGoes)
{
    static const char key = 0;
    static const char otherKey = 0;
    auto owner = make("owner");
    auto value = make("value");
    Tracked* raw = value.get();
    owner->setAssociatedObject(&key, raw, AssociationPolicy::Retain);
    EXPECT_EQ(raw->retainCount(), 2u);
    value = nullptr;
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(owner->associatedObject(&key), raw);
    EXPECT_EQ(owner->associatedObject(&otherKey), nullptr);
    EXPECT_EQ(make("stranger")->associatedObject(&key), nullptr);

    // Setting the value it already holds must not release it first.
    owner->setAssociatedObject(&key, raw, AssociationPolicy::Retain);
    EXPECT_EQ(raw->retainCount(), 1u);
    EXPECT_EQ(owner->associatedObject(&key), raw);

    EXPECT_FALSE(destroyed("value"));
    owner = nullptr;
    EXPECT_TRUE(destroyed("owner"));
    EXPECT_TRUE(destroyed("value"));
}

TEST_F(ObjectLifetimeTest, replacingOrClearingAnAssociationReleasesTheOldValue)
{
    static const char key = 0;
    auto owner = make("owner");
    owner->setAssociatedObject(&key, make("first").get(), AssociationPolicy::Retain);

    // The old value's dealloc already sees the new value in place.
    Object* seenByOldValue = nullptr;
    hookDealloc(tracked, [&](Tracked* self) {
        if (self->name == "first")
            seenByOldValue = owner->associatedObject(&key);
    });
    auto second = make("second");
    owner->setAssociatedObject(&key, second.get(), AssociationPolicy::Retain);
    EXPECT_EQ(log, (std::vector<std::string> { "dealloc Tracked first", "destroyed first" }));
    EXPECT_EQ(seenByOldValue, second.get());
    EXPECT_EQ(second->retainCount(), 2u);

    owner->setAssociatedObject(&key, nullptr, AssociationPolicy::Retain);
    EXPECT_EQ(owner->associatedObject(&key), nullptr);
    EXPECT_EQ(second->retainCount(), 1u);
}

TEST_F(ObjectLifetimeTest, valuesAssociatedWhileTheOwnerGoesAreReleasedToo)
{
    // The value's dealloc reaches its dying owner through a plain pointer and
    // associates something new with it; that must not outlive the owner.
    static const char key = 0;
    static const char lateKey = 0;
    auto owner = make("owner");
    Tracked* rawOwner = owner.get();
    hookDealloc(tracked, [&](Tracked* self) {
        if (self->name == "value")
            rawOwner->setAssociatedObject(&lateKey, make("late").get(), AssociationPolicy::Retain);
    });
    owner->setAssociatedObject(&key, make("value").get(), AssociationPolicy::Retain);
    owner = nullptr;
    EXPECT_TRUE(destroyed("value"));
    EXPECT_TRUE(destroyed("late"));
    EXPECT_TRUE(destroyed("owner"));
}

TEST_F(ObjectLifetimeTest, assignedAssociatedValuesAreNeitherRetainedNorReleased)
{
    static const char key = 0;
    static const char strongKey = 0;
    static const char replacedKey = 0;
    auto value = make("value");
    {
        auto owner = make("owner");
        owner->setAssociatedObject(&key, value.get(), AssociationPolicy::Assign);
        EXPECT_EQ(value->retainCount(), 1u);
        EXPECT_EQ(owner->associatedObject(&key), value.get());
        owner->setAssociatedObject(&strongKey, value.get(), AssociationPolicy::Retain);
        EXPECT_EQ(value->retainCount(), 2u);
        // Replacing an assigned value releases nothing that was not retained.
        owner->setAssociatedObject(&replacedKey, value.get(), AssociationPolicy::Assign);
        owner->setAssociatedObject(&replacedKey, make("other").get(), AssociationPolicy::Retain);
        EXPECT_EQ(value->retainCount(), 2u);
    }
    // The owner released its one retained reference to the value, and only that one.
    EXPECT_TRUE(destroyed("owner"));
    EXPECT_TRUE(destroyed("other"));
    EXPECT_FALSE(destroyed("value"));
    EXPECT_EQ(value->retainCount(), 1u);
}

TEST_F(ObjectLifetimeTest, weakReferencesReadNilOnceTheObjectGoes)
{
    WeakRef<Tracked> early;
    EXPECT_FALSE(early);
    EXPECT_EQ(WeakRef<Tracked>(nullptr).get(), nullptr);
    {
        auto object = make("e");
        early = object;
        WeakRef<Tracked> copy = early;
        WeakRef<Object> widened(object.get());
        EXPECT_EQ(early.get(), object.get());
        EXPECT_EQ(copy.get(), object.get());
        EXPECT_EQ(widened.get(), object.get());
        // A weak reference does not keep the object, and a strong one made from it does.
        EXPECT_EQ(object->retainCount(), 1u);
        Ref<Tracked> promoted = copy.strong();
        EXPECT_EQ(object->retainCount(), 2u);
    }
    EXPECT_EQ(log, (std::vector<std::string> { "destroyed e" }));
    EXPECT_FALSE(early);
    EXPECT_FALSE(early.strong());

    // Weak references that outlive their object and each other free their shared state (checked by LeakSanitizer).
    WeakRef<Tracked> last;
    {
        auto object = make("f");
        WeakRef<Tracked> first(object);
        last = first;
    }
    EXPECT_FALSE(last);
    last = WeakRef<Tracked>();

    // Class objects go with their run time, without a dealloc; weak references to them read nil.
    WeakRef<Object> weakClass;
    {
        Runtime other;
        Class& cls = other.defineClass<Tracked>("Transient", "NSObject");
        weakClass = WeakRef<Object>(&cls);
        EXPECT_EQ(weakClass.get(), &cls);
    }
    EXPECT_FALSE(weakClass);
}

} // namespace
