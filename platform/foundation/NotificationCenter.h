#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace foundation {

// The platform's NSNotificationCenter: delivers each posting synchronously,
// before the post returns, to every observer registered for its name (or for
// every name) and its object (or for any object), by sending the observer's
// selector with the NSNotification through the run time.
//
// Observers and the objects they filter on are held weakly: an observer that
// has gone is skipped and forgotten. Every posting delivers to the observers
// registered when it began; one added during the delivery waits for the next
// posting, and one removed during it is not called afterwards.
//
// Messages: +defaultCenter, -addObserver:selector:name:object:,
// -removeObserver:, -removeObserver:name:object:, -postNotification:,
// -postNotificationName:object:, -postNotificationName:object:userInfo:.
// A name is a string Value or nil; anything else names nothing, so a
// registration with it is ignored and a posting with it is dropped.
class NotificationCenter : public runtime::NSObject {
public:
    using NSObject::NSObject;

    // `name` nullopt: every name; `object` nil: any object. Duplicates are kept and each is called.
    void addObserver(runtime::Object* observer, runtime::Selector, std::optional<std::string> name,
        runtime::Object* object = nullptr);
    // Removes every registration of the observer. Works while the observer is
    // deallocating, as its `dealloc` is the usual place to call it.
    void removeObserver(runtime::Object* observer);
    // Removes the observer's registrations made for exactly `name` (any name when
    // nullopt) and for exactly `object` (any object when nil).
    void removeObserver(runtime::Object* observer, const std::optional<std::string>& name, runtime::Object* object);

    // Delivers an NSNotification (or an object answering `name` and `object` as one does).
    void postNotification(runtime::Object* notification);
    // Makes an NSNotification and delivers it.
    void post(std::string name, runtime::Object* object = nullptr, Value userInfo = {});

    // Registrations whose observer is still alive.
    size_t observerCount() const;

    // Defines the run-time class "NSNotificationCenter" and makes its default
    // instance, which lives as long as the run time; does nothing when the class exists.
    static void registerClass(runtime::Runtime&);

private:
    struct Registration {
        runtime::WeakRef<runtime::Object> observer;
        // The observer's address, compared when removing, when the weak reference may read nil already.
        const runtime::Object* observerIdentity;
        runtime::Selector selector;
        std::optional<std::string> name;
        runtime::WeakRef<runtime::Object> object;
        const runtime::Object* objectIdentity;
        bool removed { false };
    };

    static bool matches(const Registration&, const std::string& name, runtime::Object* object);
    bool isStale(const Registration&) const;
    // Drops stale registrations once the list has doubled since the last
    // time, and never while a posting walks the list.
    void prune();

    // In the order they were made. A posting walks the ones there when it
    // began by position: registrations made meanwhile come after them, and
    // removed ones stay in place, marked, until no posting is under way.
    std::vector<std::unique_ptr<Registration>> m_registrations;
    size_t m_sizeAfterPruning { 16 };
    int m_postingDepth { 0 };
    bool m_removedWhilePosting { false };
};

// The default center of a run time (one per process), through its class's
// `defaultCenter`; nil when the run time has no NSNotificationCenter class.
NotificationCenter* defaultCenter(runtime::Runtime&);

} // namespace foundation
