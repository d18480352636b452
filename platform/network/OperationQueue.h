#pragma once

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"

namespace network {

// The platform's NSOperationQueue, here always a serial queue of its process:
// the main queue, a session's own queue, or a new one.
//
// Messages: +mainQueue (the process's main queue, one object per process),
// -init (a new serial queue), -addOperationWithBlock: (runs the block on a
// later turn of the queue).
class OperationQueue : public runtime::NSObject {
public:
    using NSObject::NSObject;

    device::DispatchQueue* dispatchQueue() const { return m_queue; }

    // A new queue object over a queue of the process.
    static runtime::Ref<OperationQueue> make(device::Process&, device::DispatchQueue&);
    // The process's main operation queue; nil without the class.
    static OperationQueue* mainQueue(device::Process&);

    static void registerClass(device::Process&);

private:
    device::DispatchQueue* m_queue { nullptr };
};

} // namespace network
