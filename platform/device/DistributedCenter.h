#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace device {

class Device;
class Process;

// The system-wide notification bus (the platform's distributed notification
// center). A posting reaches every observer of its name in every process,
// the poster's included, asynchronously on the observer's main queue, as an
// NSNotification sent to the observer's selector (or, for a selector that
// takes no argument, the bare message). User info must be a
// property list, in which nulls may stand too; observers are held weakly. Postings carry no object: an
// object of one process means nothing in another.
class DistributedCenter {
public:
    explicit DistributedCenter(Device&);
    DistributedCenter(const DistributedCenter&) = delete;
    DistributedCenter& operator=(const DistributedCenter&) = delete;

    // Registers `observer` of `process` for postings of `name`, or of every
    // name when it is empty. Registering twice delivers twice, as on the platform.
    void addObserver(Process&, runtime::Object* observer, runtime::Selector, std::string name);
    // Removes the observer's registrations for `name`, or for every name when
    // it is empty. Works while the observer deallocates.
    void removeObserver(Process&, runtime::Object* observer, const std::string& name = {});
    // Drops every registration of a process that ends.
    void removeProcess(Process&);

    // Posts and traces `distributed.posted` (with the sender's bundle
    // identifier when given). Answers false, posting nothing and tracing
    // `distributed.refused` with the reason, when the name is empty or the
    // user info is neither nil nor a dictionary of property-list values and nulls.
    bool post(const std::string& name, const foundation::Value& userInfo = {}, const Process* sender = nullptr);

    // Live registrations, for inspection.
    size_t observerCount() const;

private:
    struct Registration {
        uint64_t id;
        Process* process;
        runtime::WeakRef<runtime::Object> observer;
        // Compared when removing: the weak reference reads nil already while
        // the observer deallocates, and dealloc is where observers remove themselves.
        const runtime::Object* observerIdentity;
        runtime::Selector selector;
        std::string name;
    };

    void dropDeadObservers();
    bool isRegistered(uint64_t id) const;
    void deliver(const Registration&, const std::string& name, const foundation::Value& userInfo);

    Device& m_device;
    std::vector<Registration> m_registrations;
    uint64_t m_nextId { 1 };
};

} // namespace device
