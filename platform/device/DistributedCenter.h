#pragma once

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
// NSNotification sent to the observer's selector. User info must be a
// property list; observers are held weakly.
class DistributedCenter {
public:
    explicit DistributedCenter(Device&);

    void addObserver(Process&, runtime::Object* observer, runtime::Selector, std::string name);
    // Removes the observer's registrations for `name`, or for every name when it is empty.
    void removeObserver(Process&, runtime::Object* observer, const std::string& name = {});
    // Drops every registration of a process that ends.
    void removeProcess(Process&);

    // Posts and traces `distributed.posted`. Answers false, posting nothing,
    // when the user info is neither nil nor a property-list dictionary.
    bool post(const std::string& name, const foundation::Value& userInfo = {});

private:
    struct Registration {
        Process* process;
        runtime::WeakRef<runtime::Object> observer;
        runtime::Selector selector;
        std::string name;
    };
    Device& m_device;
    std::vector<Registration> m_registrations;
};

} // namespace device
