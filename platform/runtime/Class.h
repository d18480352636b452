#pragma once

#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "platform/runtime/Imp.h"

namespace runtime {

// One entry of a class's method list. Replacing the implementation is one
// store, so caches that point at the record see the new code at once.
class Method {
public:
    Method(Selector selector, Imp imp, std::string types)
        : m_selector(selector)
        , m_imp(std::move(imp))
        , m_types(std::move(types))
    {
    }
    Selector selector() const { return m_selector; }
    const Imp& imp() const { return m_imp; }
    const std::string& types() const { return m_types; }
    Imp exchangeImp(Imp imp)
    {
        std::swap(m_imp, imp);
        return imp;
    }

private:
    Selector m_selector;
    Imp m_imp;
    std::string m_types;
};

// An instance variable, found by name like the platform's ivar list. It knows
// the C++ type of its storage, so reading it as another type finds nothing.
struct Ivar {
    std::string name;
    const std::type_info* type;
    void* (*address)(Object*, const void* member);
    std::shared_ptr<const void> member;
};

// A class or a metaclass. A class object is itself an object whose class is
// its metaclass, so class methods are found like instance methods.
class Class final : public Object {
public:
    using Factory = Object* (*)(Class*);

    Class(Runtime&, std::string name, Class* superclass, Class* metaclass, Factory);

    const std::string& name() const { return m_name; }
    Class* superclass() const { return m_superclass; }
    Class* metaclass() const { return isa(); }
    bool isMetaclass() const { return m_factory == nullptr; }
    Runtime& runtime() const { return *m_runtime; }

    // The method that answers `selector` for instances: this class's own or
    // the nearest superclass's. Served from a per-class cache.
    const Method* lookUpMethod(Selector selector) const
    {
        if (const Method* method = cachedMethod(selector)) [[likely]]
            return method;
        return lookUpUncached(selector);
    }
    // The method the cache holds for `selector`; nil when the cache is stale,
    // has no entry, or remembers that no method answers. Never fills the cache.
    const Method* cachedMethod(Selector selector) const
    {
        const CacheEntry* entry = probe(selector);
        return entry ? entry->method : nullptr;
    }
    const Method* ownMethod(Selector) const;
    bool respondsToSelector(Selector selector) const { return lookUpMethod(selector) != nullptr; }
    bool isSubclassOf(const Class*) const;

    // Creates a new instance with one reference, owned by the caller.
    Object* createInstance();

    // Instance variables.
    template <typename C, typename T> void addIvar(std::string name, T C::*member)
    {
        using Member = T C::*;
        m_ivars.push_back(Ivar { std::move(name), &typeid(T),
            [](Object* object, const void* storedMember) -> void* {
                return &(static_cast<C*>(object)->*(*static_cast<const Member*>(storedMember)));
            },
            std::make_shared<Member>(member) });
    }
    const Ivar* instanceVariable(std::string_view name) const;

    // Used by the run time only.
    void insertMethod(std::unique_ptr<Method>);
    Method* mutableOwnMethod(Selector);
    void setMetaclassChain(Class* isa, Class* superclass);

private:
    struct CacheEntry {
        const void* selector { nullptr };
        const Method* method { nullptr };
    };
    struct Cache {
        std::vector<CacheEntry> entries;
        size_t mask { 0 };
        size_t count { 0 };
        uint64_t generation { ~uint64_t(0) };
    };

    const CacheEntry* probe(Selector selector) const
    {
        if (m_cache.generation != *m_runtimeGeneration) [[unlikely]]
            return nullptr;
        size_t index = slotFor(selector);
        while (true) {
            auto& entry = m_cache.entries[index];
            if (entry.selector == selector.identity())
                return &entry;
            if (!entry.selector)
                return nullptr;
            index = (index + 1) & m_cache.mask;
        }
    }
    size_t slotFor(Selector selector) const
    {
        auto bits = reinterpret_cast<uintptr_t>(selector.identity());
        return ((bits >> 4) ^ (bits >> 12)) & m_cache.mask;
    }
    void flushCache() const;
    const Method* lookUpUncached(Selector) const;
    const Method* cacheMiss(Selector) const;
    void insertIntoCache(const void* selector, const Method*) const;

    Runtime* m_runtime;
    // The run time's generation counter, read inline on every send.
    const uint64_t* m_runtimeGeneration;
    std::string m_name;
    Class* m_superclass;
    Factory m_factory;
    std::unordered_map<Selector, std::unique_ptr<Method>> m_methods;
    std::vector<Ivar> m_ivars;
    mutable Cache m_cache;
};

} // namespace runtime
