#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/Send.h"

using namespace runtime;

namespace {

// Instances record which implementations ran, in order.
class Recorder : public NSObject {
public:
    using NSObject::NSObject;
    std::vector<std::string> calls;
};

class Widget : public Recorder {
public:
    using Recorder::Recorder;
    int64_t count { 0 };
    Ref<Object> child;
};

Ref<Recorder> instanceOf(Class& cls)
{
    return Ref<Recorder>(static_cast<Recorder*>(newObject(&cls).get()));
}

// An implementation of "value:" that logs `name` and answers what `previous`
// answers (zero when it is empty) plus `delta`.
Imp adding(std::string name, int64_t delta, std::shared_ptr<Imp> previous)
{
    return Imp::of([name, delta, previous](Recorder* self, Selector selector, int64_t x) -> int64_t {
        self->calls.push_back(name);
        return (*previous).operator()<int64_t>(self, selector, x) + delta;
    });
}

class RuntimeTest : public ::testing::Test {
protected:
    RuntimeTest()
    {
        runtime.define(base, SEL("value:"), Imp::of([](Recorder* self, Selector, int64_t x) -> int64_t {
            self->calls.push_back("base");
            return x * 2;
        }));
    }

    int64_t callPrevious(const Imp& previous, Object* receiver, int64_t x)
    {
        return previous.operator()<int64_t>(receiver, SEL("value:"), x);
    }

    Runtime runtime;
    Class& base { runtime.defineClass<Recorder>("Base", "NSObject") };
    Class& derived { runtime.defineClass<Recorder>("Derived", "Base") };
};

using RuntimeDeathTest = RuntimeTest;

TEST_F(RuntimeTest, classesAreFoundByNameAndFormOneHierarchy)
{
    EXPECT_EQ(runtime.classNamed("Base"), &base);
    EXPECT_EQ(runtime.classNamed("Derived"), &derived);
    EXPECT_EQ(runtime.classNamed("Missing"), nullptr);
    EXPECT_EQ(derived.superclass(), &base);
    EXPECT_EQ(base.superclass(), &runtime.rootClass());
    EXPECT_TRUE(derived.isSubclassOf(&runtime.rootClass()));
    EXPECT_FALSE(base.isSubclassOf(&derived));

    // Metaclasses mirror the hierarchy and end in the root class itself.
    EXPECT_TRUE(base.metaclass()->isMetaclass());
    EXPECT_FALSE(base.isMetaclass());
    EXPECT_EQ(derived.metaclass()->superclass(), base.metaclass());
    EXPECT_EQ(runtime.rootClass().metaclass()->superclass(), &runtime.rootClass());

    auto object = instanceOf(derived);
    EXPECT_EQ(classOf(object.get()), &derived);
    EXPECT_EQ(classNameOf(object.get()), "Derived");
    EXPECT_TRUE(isKindOf(object.get(), "Base"));
    EXPECT_TRUE(isKindOf(object.get(), "NSObject"));
    EXPECT_FALSE(isKindOf(object.get(), "Other"));
    EXPECT_FALSE(isKindOf(nullptr, "NSObject"));
    EXPECT_EQ(classOf(nullptr), nullptr);
    EXPECT_TRUE(send<bool>(object, SEL("isKindOfClass:"), static_cast<Object*>(&base)));
    EXPECT_FALSE(send<bool>(instanceOf(base), SEL("isKindOfClass:"), static_cast<Object*>(&derived)));
}

TEST_F(RuntimeTest, twoRuntimesKeepTheirClassesApart)
{
    Runtime other;
    EXPECT_EQ(other.classNamed("Base"), nullptr);
    Class& otherBase = other.defineClass<Recorder>("Base", "NSObject");
    other.define(otherBase, SEL("value:"), Imp::of([](Recorder*, Selector, int64_t) -> int64_t { return -1; }));
    EXPECT_EQ(send<int64_t>(instanceOf(base), SEL("value:"), 3), 6);
    EXPECT_EQ(send<int64_t>(instanceOf(otherBase), SEL("value:"), 3), -1);
}

TEST_F(RuntimeTest, replacementRunsAndCanCallThePreviousImplementation)
{
    auto object = instanceOf(base);
    EXPECT_EQ(send<int64_t>(object, SEL("value:"), 3), 6);

    auto previous = std::make_shared<Imp>();
    *previous = runtime.hookMessage(base, SEL("value:"), adding("hook", 1, previous));
    ASSERT_TRUE(*previous);
    object->calls.clear();
    EXPECT_EQ(send<int64_t>(object, SEL("value:"), 3), 7);
    EXPECT_EQ(object->calls, (std::vector<std::string> { "hook", "base" }));

    // What came back is the old implementation itself, not the hook.
    object->calls.clear();
    EXPECT_EQ(callPrevious(*previous, object.get(), 3), 6);
    EXPECT_EQ(object->calls, (std::vector<std::string> { "base" }));

    // A second hook gets the first one as its previous implementation.
    auto secondPrevious = std::make_shared<Imp>();
    *secondPrevious = runtime.hookMessage(base, SEL("value:"), adding("second", 10, secondPrevious));
    object->calls.clear();
    EXPECT_EQ(send<int64_t>(object, SEL("value:"), 3), 17);
    EXPECT_EQ(object->calls, (std::vector<std::string> { "second", "hook", "base" }));
}

TEST_F(RuntimeTest, hookingAnInheritedMethodLeavesTheSuperclassAlone)
{
    Class& leaf = runtime.defineClass<Recorder>("Leaf", "Derived");
    auto baseObject = instanceOf(base);
    auto derivedObject = instanceOf(derived);
    auto leafObject = instanceOf(leaf);
    EXPECT_EQ(send<int64_t>(derivedObject, SEL("value:"), 3), 6);
    EXPECT_EQ(derived.ownMethod(SEL("value:")), nullptr);

    auto previous = std::make_shared<Imp>();
    *previous = runtime.hookMessage(derived, SEL("value:"), adding("derived hook", 100, previous));

    // The previous implementation is the superclass's.
    derivedObject->calls.clear();
    EXPECT_EQ(callPrevious(*previous, derivedObject.get(), 3), 6);
    EXPECT_EQ(derivedObject->calls, (std::vector<std::string> { "base" }));

    // The subclass and its own subclasses see the hook; the superclass does not.
    EXPECT_NE(derived.ownMethod(SEL("value:")), nullptr);
    EXPECT_EQ(send<int64_t>(derivedObject, SEL("value:"), 3), 106);
    EXPECT_EQ(send<int64_t>(leafObject, SEL("value:"), 3), 106);
    baseObject->calls.clear();
    EXPECT_EQ(send<int64_t>(baseObject, SEL("value:"), 3), 6);
    EXPECT_EQ(baseObject->calls, (std::vector<std::string> { "base" }));
    EXPECT_EQ(base.ownMethod(SEL("value:"))->imp().operator()<int64_t>(baseObject.get(), SEL("value:"), 4), 8);
}

TEST_F(RuntimeTest, hookingAMethodNobodyImplementsInstallsItWithAnEmptyPrevious)
{
    auto object = instanceOf(derived);
    EXPECT_FALSE(respondsToSelector(object.get(), SEL("fresh:")));
    auto previous = std::make_shared<Imp>();
    *previous = runtime.hookMessage(derived, SEL("fresh:"), adding("fresh", 5, previous));
    EXPECT_FALSE(*previous);
    EXPECT_TRUE(respondsToSelector(object.get(), SEL("fresh:")));
    EXPECT_FALSE(respondsToSelector(instanceOf(base).get(), SEL("fresh:")));
    // The empty previous answers zero, so the hook answers its own delta.
    EXPECT_EQ(send<int64_t>(object, SEL("fresh:"), 3), 5);
}

TEST_F(RuntimeTest, additionNeverReplacesAnOwnMethodButAddsOverAnInheritedOne)
{
    auto never = std::make_shared<Imp>();
    EXPECT_FALSE(runtime.addMethod(base, SEL("value:"), adding("never", 1000, never), "q@:q"));
    EXPECT_EQ(send<int64_t>(instanceOf(base), SEL("value:"), 3), 6);

    auto added = Imp::of([](Recorder*, Selector, int64_t x) -> int64_t { return -x; });
    EXPECT_TRUE(runtime.addMethod(derived, SEL("value:"), added, "q@:q"));
    EXPECT_EQ(send<int64_t>(instanceOf(derived), SEL("value:"), 3), -3);
    EXPECT_EQ(send<int64_t>(instanceOf(base), SEL("value:"), 3), 6);
    EXPECT_EQ(derived.ownMethod(SEL("value:"))->types(), "q@:q");

    // Now the method is the subclass's own, so a second addition is refused.
    EXPECT_FALSE(runtime.addMethod(derived, SEL("value:"), adding("again", 1, never), "q@:q"));
    EXPECT_EQ(send<int64_t>(instanceOf(derived), SEL("value:"), 3), -3);

    // Only the addition that happened is recorded.
    ASSERT_EQ(runtime.changes().size(), 1u);
    EXPECT_EQ(runtime.changes()[0].className, "Derived");
}

TEST_F(RuntimeDeathTest, anAdditionWhoseTypesDisagreeWithItsImplementationAborts)
{
    auto imp = Imp::of([](Recorder*, Selector, Object*) {});
    EXPECT_EQ(imp.encoding(), "v@:@");
    EXPECT_DEATH(
        runtime.addMethod(base, SEL("take:"), imp, "v@:q"), "type encoding v@:q given for take: does not match");
}

TEST_F(RuntimeTest, classMethodsLiveOnTheMetaclass)
{
    runtime.defineClassMethod(base, SEL("tag"),
        Imp::of([](Class* self, Selector) -> int64_t { return static_cast<int64_t>(self->name().size()); }));
    // Class methods are inherited, and `self` is the class the message went to.
    EXPECT_EQ(send<int64_t>(&base, SEL("tag")), 4);
    EXPECT_EQ(send<int64_t>(&derived, SEL("tag")), 7);
    EXPECT_TRUE(respondsToSelector(&base, SEL("tag")));
    EXPECT_FALSE(respondsToSelector(instanceOf(base).get(), SEL("tag")));

    // Hooking through the metaclass reaches class messages only.
    auto previous = std::make_shared<Imp>();
    *previous = runtime.hookMessage(
        *base.metaclass(), SEL("tag"), Imp::of([previous](Class* self, Selector selector) -> int64_t {
            return 10 * (*previous).operator()<int64_t>(self, selector);
        }));
    EXPECT_EQ(send<int64_t>(&base, SEL("tag")), 40);
    EXPECT_EQ(send<int64_t>(&derived, SEL("tag")), 70);

    // An added class method belongs to the class it was added to and its subclasses.
    EXPECT_TRUE(runtime.addMethod(
        *derived.metaclass(), SEL("shared"), Imp::of([](Class* self, Selector) -> Object* { return self; }), "@@:"));
    EXPECT_EQ(send<Ref<Object>>(&derived, SEL("shared")).get(), &derived);
    EXPECT_FALSE(respondsToSelector(&base, SEL("shared")));

    // The root class's class methods create instances of the receiving class,
    // and class objects answer the root's instance methods.
    auto made = send<Ref<Object>>(&derived, SEL("new"));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->isa(), &derived);
    EXPECT_EQ(made->retainCount(), 1u);
    EXPECT_NE(dynamic_cast<Recorder*>(made.get()), nullptr);
    EXPECT_TRUE(send<bool>(&derived, SEL("respondsToSelector:"), SEL("shared")));
    EXPECT_EQ(send<Ref<Object>>(&derived, SEL("class")).get(), derived.metaclass());
}

TEST_F(RuntimeTest, changesRecordEveryReplacementAndAdditionInOrder)
{
    runtime.define(derived, SEL("defined"), Imp::of([](Object*, Selector) {}));
    runtime.defineClassMethod(base, SEL("tag"), Imp::of([](Class*, Selector) -> int64_t { return 0; }));
    EXPECT_TRUE(runtime.changes().empty());

    auto previous = std::make_shared<Imp>();
    runtime.hookMessage(base, SEL("value:"), adding("hook", 1, previous));
    runtime.addMethod(derived, SEL("take:flag:"), Imp::of([](Object*, Selector, Object*, bool) {}), "v@:@B");
    runtime.hookMessage(*base.metaclass(), SEL("tag"), Imp::of([](Class*, Selector) -> int64_t { return 1; }));
    runtime.addMethod(
        *derived.metaclass(), SEL("shared"), Imp::of([](Class*, Selector) -> Object* { return nullptr; }), "@@:");
    runtime.addMethod(derived, SEL("take:flag:"), Imp::of([](Object*, Selector, Object*, bool) {}), "v@:@B");
    runtime.hookMessage(derived, SEL("value:"), adding("derived", 2, previous));

    struct Expected {
        const char* className;
        const char* selector;
        ChangeKind kind;
        bool classMethod;
        const char* types;
    };
    const std::vector<Expected> expected {
        { "Base", "value:", ChangeKind::Replace, false, "" },
        { "Derived", "take:flag:", ChangeKind::Add, false, "v@:@B" },
        { "Base", "tag", ChangeKind::Replace, true, "" },
        { "Derived", "shared", ChangeKind::Add, true, "@@:" },
        { "Derived", "value:", ChangeKind::Replace, false, "" },
    };
    auto& changes = runtime.changes();
    ASSERT_EQ(changes.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(changes[i].className, expected[i].className);
        EXPECT_EQ(changes[i].selector, Selector::named(expected[i].selector));
        EXPECT_EQ(changes[i].kind, expected[i].kind);
        EXPECT_EQ(changes[i].classMethod, expected[i].classMethod);
        EXPECT_EQ(changes[i].types, expected[i].types);
    }

    auto ofDerived = runtime.changesOf("Derived");
    ASSERT_EQ(ofDerived.size(), 3u);
    EXPECT_EQ(ofDerived[0].selector, SEL("take:flag:"));
    EXPECT_EQ(ofDerived[1].selector, SEL("shared"));
    EXPECT_EQ(ofDerived[2].selector, SEL("value:"));
    EXPECT_TRUE(runtime.changesOf("Missing").empty());
}

TEST_F(RuntimeTest, typeEncodingsFollowThePlatformLetters)
{
    EXPECT_EQ(Imp::of([](Object*, Selector) {}).encoding(), "v@:");
    EXPECT_EQ(Imp::of([](Object*, Selector) -> bool { return true; }).encoding(), "B@:");
    EXPECT_EQ(
        Imp::of([](Object*, Selector, double, Object*, bool, double, Block<void(bool)>) {}).encoding(), "v@:d@Bd@?");
    EXPECT_EQ(Imp::of([](Object*, Selector, Object*, uint64_t) {}).encoding(), "v@:@Q");
    EXPECT_EQ(Imp::of([](Object*, Selector, int) -> Recorder* { return nullptr; }).encoding(), "@@:q");
    EXPECT_EQ(Imp::of([](Object*, Selector, Selector) -> Ref<Recorder> { return nullptr; }).encoding(), "@@::");
}

TEST_F(RuntimeTest, instanceVariablesAreFoundByNameAndType)
{
    Class& widgets = runtime.defineClass<Widget>("Widget", "Base");
    Class& fancy = runtime.defineClass<Widget>("FancyWidget", "Widget");
    widgets.addIvar("_count", &Widget::count);
    widgets.addIvar("_child", &Widget::child);

    auto object = instanceOf(fancy);
    auto* widget = static_cast<Widget*>(object.get());
    int64_t* count = ivarPointer<int64_t>(object.get(), "_count");
    ASSERT_EQ(count, &widget->count);
    *count = 42;
    EXPECT_EQ(widget->count, 42);
    EXPECT_EQ(ivarPointer<Ref<Object>>(object.get(), "_child"), &widget->child);

    // A name that is missing, a type that differs, an object of another class or nil all find nothing.
    EXPECT_EQ(ivarPointer<int64_t>(object.get(), "_missing"), nullptr);
    EXPECT_EQ(ivarPointer<double>(object.get(), "_count"), nullptr);
    EXPECT_EQ(ivarPointer<int32_t>(object.get(), "_count"), nullptr);
    EXPECT_EQ(ivarPointer<Object*>(object.get(), "_child"), nullptr);
    EXPECT_EQ(ivarPointer<int64_t>(instanceOf(base).get(), "_count"), nullptr);
    EXPECT_EQ(ivarPointer<int64_t>(nullptr, "_count"), nullptr);
}

} // namespace
