#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/Class.h"

namespace runtime {

enum class ChangeKind { Replace, Add };

// One change made to a class after it was defined, as the introspection list records it.
struct Change {
    std::string className;
    Selector selector;
    ChangeKind kind;
    bool classMethod;
    std::string types; // the type encoding given with an addition; empty for a replacement
};

// The root class every other class descends from.
class NSObject : public Object {
public:
    using Object::Object;
};

// The object run time of one process: its classes by name, and the record of
// every method replaced or added after the classes were defined.
class Runtime {
public:
    Runtime();
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // Defines a class whose instances are the C++ type T, constructed as T(Class*).
    // T must derive from the C++ type of `superclassName`'s instances.
    template <typename T> Class& defineClass(std::string name, std::string_view superclassName)
    {
        return defineClassWithFactory(
            std::move(name), superclassName, [](Class* cls) -> Object* { return new T(cls); });
    }
    Class& defineClassWithFactory(std::string name, std::string_view superclassName, Class::Factory);

    // The class with that name, or nil: the platform's objc_getClass.
    Class* classNamed(std::string_view name) const;
    Class& rootClass() const { return *m_root; }

    // Methods defined with a class, before any change is recorded.
    void define(Class&, Selector, Imp);
    void defineClassMethod(Class&, Selector, Imp);

    // Replaces the implementation of `selector` for instances of `cls` and
    // returns the previous one. When `cls` only inherits the method, the
    // method is added to `cls` and the inherited implementation is returned;
    // the superclass is left untouched. Without any implementation the new
    // one is added and an empty implementation returned.
    Imp hookMessage(Class& cls, Selector, Imp);

    // Adds a method unless `cls` defines `selector` itself; answers whether it
    // did. `types` must agree with the implementation's own encoding.
    bool addMethod(Class& cls, Selector, Imp, std::string_view types);

    // Every replacement and addition, in the order they were made.
    const std::vector<Change>& changes() const { return m_changes; }
    std::vector<Change> changesOf(std::string_view className) const;

    // Bumped by every change that may alter which method answers a selector.
    uint64_t generation() const { return m_generation; }

    // Instances created in this run time and not yet destroyed.
    size_t liveObjectCount() const { return m_liveObjects; }

private:
    friend class Class;
    friend class Object;

    Class& makeClass(std::string name, Class* superclass, Class::Factory);
    void record(const Class&, Selector, ChangeKind, std::string types);

    std::map<std::string, std::unique_ptr<Class>, std::less<>> m_classes;
    std::vector<std::unique_ptr<Class>> m_metaclasses;
    Class* m_root { nullptr };
    std::vector<Change> m_changes;
    uint64_t m_generation { 0 };
    size_t m_liveObjects { 0 };
};

// The class of an object; nil for nil.
Class* classOf(const Object*);
std::string_view classNameOf(const Object*);
bool isKindOf(const Object*, std::string_view className);

// Instance variables by name, typed: nil when the object's class has no such
// variable or it holds another type.
template <typename T> T* ivarPointer(Object* object, std::string_view name)
{
    if (!object)
        return nullptr;
    const Ivar* ivar = object->isa()->instanceVariable(name);
    if (!ivar || *ivar->type != typeid(T))
        return nullptr;
    return static_cast<T*>(ivar->address(object, ivar->member.get()));
}

} // namespace runtime
