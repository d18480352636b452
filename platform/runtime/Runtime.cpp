#include "platform/runtime/Runtime.h"

#include <cstdio>
#include <cstdlib>

#include "platform/runtime/Send.h"

namespace runtime {

void signatureMismatch(Selector selector, std::string_view methodSignature, std::string_view callSignature)
{
    std::fprintf(stderr, "runtime: '%s' is implemented with signature %.*s but was sent as %.*s\n",
        selector.name().c_str(), static_cast<int>(methodSignature.size()), methodSignature.data(),
        static_cast<int>(callSignature.size()), callSignature.data());
    std::abort();
}

void unrecognizedSelector(const Object* receiver, Selector selector)
{
    auto* cls = receiver->isa();
    std::fprintf(stderr, "runtime: %s[%s %s]: unrecognized selector sent to instance\n", cls->isMetaclass() ? "+" : "-",
        cls->name().c_str(), selector.name().c_str());
    std::abort();
}

// MARK: Class

Class::Class(Runtime& runtime, std::string name, Class* superclass, Class* metaclass, Factory factory)
    : Object(metaclass)
    , m_runtime(&runtime)
    , m_runtimeGeneration(&runtime.m_generation)
    , m_name(std::move(name))
    , m_superclass(superclass)
    , m_factory(factory)
{
    makeImmortal();
}

void Class::flushCache() const
{
    m_cache.entries.assign(8, {});
    m_cache.mask = 7;
    m_cache.count = 0;
    m_cache.generation = m_runtime->generation();
}

const Method* Class::lookUpUncached(Selector selector) const
{
    if (m_cache.generation != *m_runtimeGeneration)
        flushCache();
    // The cache may remember that nothing answers; only a true miss fills it.
    if (const CacheEntry* entry = probe(selector))
        return entry->method;
    return cacheMiss(selector);
}

const Method* Class::cacheMiss(Selector selector) const
{
    const Method* found = nullptr;
    for (const Class* cls = this; cls && !found; cls = cls->m_superclass)
        found = cls->ownMethod(selector);

    // Keep the table at most half full, so probes stay short and always end.
    if ((m_cache.count + 1) * 2 > m_cache.entries.size()) {
        auto old = std::move(m_cache.entries);
        m_cache.entries.assign(old.size() * 2, {});
        m_cache.mask = m_cache.entries.size() - 1;
        m_cache.count = 0;
        for (auto& entry : old) {
            if (entry.selector)
                insertIntoCache(entry.selector, entry.method);
        }
    }
    insertIntoCache(selector.identity(), found);
    return found;
}

void Class::insertIntoCache(const void* selector, const Method* method) const
{
    auto bits = reinterpret_cast<uintptr_t>(selector);
    size_t index = ((bits >> 4) ^ (bits >> 12)) & m_cache.mask;
    while (m_cache.entries[index].selector)
        index = (index + 1) & m_cache.mask;
    m_cache.entries[index] = { selector, method };
    ++m_cache.count;
}

const Method* Class::ownMethod(Selector selector) const
{
    auto it = m_methods.find(selector);
    return it == m_methods.end() ? nullptr : it->second.get();
}

Method* Class::mutableOwnMethod(Selector selector)
{
    auto it = m_methods.find(selector);
    return it == m_methods.end() ? nullptr : it->second.get();
}

void Class::insertMethod(std::unique_ptr<Method> method)
{
    auto selector = method->selector();
    m_methods[selector] = std::move(method);
}

bool Class::isSubclassOf(const Class* other) const
{
    for (const Class* cls = this; cls; cls = cls->m_superclass) {
        if (cls == other)
            return true;
    }
    return false;
}

Object* Class::createInstance()
{
    for (Class* cls = this; cls; cls = cls->m_superclass) {
        if (cls->m_factory) {
            Object* object = cls->m_factory(this);
            return object;
        }
    }
    return nullptr;
}

const Ivar* Class::instanceVariable(std::string_view name) const
{
    for (const Class* cls = this; cls; cls = cls->m_superclass) {
        for (auto& ivar : cls->m_ivars) {
            if (ivar.name == name)
                return &ivar;
        }
    }
    return nullptr;
}

void Class::setMetaclassChain(Class* isa, Class* superclass)
{
    setIsa(isa);
    m_superclass = superclass;
}

// MARK: Runtime

Runtime::Runtime()
{
    m_root = &makeClass("NSObject", nullptr, [](Class* cls) -> Object* { return new NSObject(cls); });
    Class& root = *m_root;

    define(root, SEL("init"), Imp::of([](Object* self, Selector) -> Object* { return self; }));
    define(root, SEL("dealloc"), Imp::of([](Object* self, Selector) { self->finishDeallocation(); }));
    define(root, SEL("class"), Imp::of([](Object* self, Selector) -> Object* { return self->isa(); }));
    define(root, SEL("respondsToSelector:"),
        Imp::of([](Object* self, Selector, Selector query) { return self->isa()->respondsToSelector(query); }));
    define(root, SEL("isKindOfClass:"), Imp::of([](Object* self, Selector, Object* cls) {
        return cls && self->isa()->isSubclassOf(static_cast<Class*>(cls));
    }));
    defineClassMethod(root, SEL("alloc"),
        Imp::of([](Class* self, Selector) -> Ref<Object> { return Ref<Object>::adopt(self->createInstance()); }));
    defineClassMethod(root, SEL("new"), Imp::of([](Class* self, Selector) -> Ref<Object> {
        auto object = send<Ref<Object>>(self, SEL("alloc"));
        return send<Ref<Object>>(object, SEL("init"));
    }));
}

Runtime::~Runtime() = default;

Class& Runtime::makeClass(std::string name, Class* superclass, Class::Factory factory)
{
    // The metaclass of a root class descends from the root class itself, so
    // class objects answer the root's instance methods.
    auto meta = std::make_unique<Class>(*this, name, nullptr, nullptr, nullptr);
    auto cls = std::make_unique<Class>(*this, name, superclass, meta.get(), factory);
    Class* rootMeta = m_root ? m_root->metaclass() : meta.get();
    meta->setMetaclassChain(rootMeta, superclass ? superclass->metaclass() : cls.get());
    Class& result = *cls;
    m_metaclasses.push_back(std::move(meta));
    m_classes.emplace(std::move(name), std::move(cls));
    ++m_generation;
    return result;
}

Class& Runtime::defineClassWithFactory(std::string name, std::string_view superclassName, Class::Factory factory)
{
    Class* superclass = classNamed(superclassName);
    if (!superclass || classNamed(name)) {
        std::fprintf(stderr, "runtime: cannot define class %s with superclass %s\n", name.c_str(),
            std::string(superclassName).c_str());
        std::abort();
    }
    return makeClass(std::move(name), superclass, factory);
}

Class* Runtime::classNamed(std::string_view name) const
{
    auto it = m_classes.find(name);
    return it == m_classes.end() ? nullptr : it->second.get();
}

void Runtime::define(Class& cls, Selector selector, Imp imp)
{
    auto types = imp.encoding();
    cls.insertMethod(std::make_unique<Method>(selector, std::move(imp), std::move(types)));
    ++m_generation;
}

void Runtime::defineClassMethod(Class& cls, Selector selector, Imp imp)
{
    define(*cls.metaclass(), selector, std::move(imp));
}

Imp Runtime::hookMessage(Class& cls, Selector selector, Imp imp)
{
    record(cls, selector, ChangeKind::Replace, {});
    if (Method* own = cls.mutableOwnMethod(selector))
        return own->exchangeImp(std::move(imp));
    Imp inherited;
    if (cls.superclass()) {
        if (const Method* method = cls.superclass()->lookUpMethod(selector))
            inherited = method->imp();
    }
    define(cls, selector, std::move(imp));
    return inherited;
}

bool Runtime::addMethod(Class& cls, Selector selector, Imp imp, std::string_view types)
{
    if (types != imp.encoding()) {
        std::fprintf(stderr, "runtime: type encoding %s given for %s does not match its implementation (%s)\n",
            std::string(types).c_str(), selector.name().c_str(), imp.encoding().c_str());
        std::abort();
    }
    if (cls.ownMethod(selector))
        return false;
    record(cls, selector, ChangeKind::Add, std::string(types));
    cls.insertMethod(std::make_unique<Method>(selector, std::move(imp), std::string(types)));
    ++m_generation;
    return true;
}

void Runtime::record(const Class& cls, Selector selector, ChangeKind kind, std::string types)
{
    m_changes.push_back({ cls.name(), selector, kind, cls.isMetaclass(), std::move(types) });
}

std::vector<Change> Runtime::changesOf(std::string_view className) const
{
    std::vector<Change> result;
    for (auto& change : m_changes) {
        if (change.className == className)
            result.push_back(change);
    }
    return result;
}

// MARK: Free functions

Class* classOf(const Object* object)
{
    return object ? object->isa() : nullptr;
}

std::string_view classNameOf(const Object* object)
{
    return object ? std::string_view(object->isa()->name()) : std::string_view();
}

bool isKindOf(const Object* object, std::string_view className)
{
    if (!object)
        return false;
    for (const Class* cls = object->isa(); cls; cls = cls->superclass()) {
        if (cls->name() == className)
            return true;
    }
    return false;
}

bool respondsToSelector(const Object* object, Selector selector)
{
    return object && object->isa()->respondsToSelector(selector);
}

Ref<Object> alloc(Class* cls)
{
    return send<Ref<Object>>(cls, SEL("alloc"));
}

Ref<Object> newObject(Class* cls)
{
    return send<Ref<Object>>(alloc(cls), SEL("init"));
}

} // namespace runtime
