#pragma once

#include <string>

#include "platform/device/Forward.h"
#include "platform/device/Task.h"
#include "platform/runtime/Runtime.h"

namespace device {

// A serial queue as a run-time object (class "OS_dispatch_queue"), so that
// code can hold a queue strongly or weakly, store it in a variable and hand
// it on, as the platform's dispatch queues are objects. It names a queue of
// its process by label; work given to it runs on that queue.
class DispatchQueueObject : public runtime::NSObject {
public:
    using NSObject::NSObject;

    // A new object for the process's queue with that label; nil in a process
    // without the class.
    static runtime::Ref<DispatchQueueObject> make(Process&, std::string label);

    const std::string& label() const { return m_label; }
    // The queue, or nil once its process has ended.
    DispatchQueue* queue() const;

    static void registerClass(Process&);

private:
    Process* m_process { nullptr };
    std::string m_label;
};

// dispatch_sync: runs `task` on the queue `queue` (a DispatchQueueObject) and
// returns when it has run. Answers false, running nothing, for nil, for an
// object that is not a queue and for a queue whose process has ended.
bool dispatchSync(runtime::Object* queue, Task);
// dispatch_async: as above, on a later turn of the queue.
bool dispatchAsync(runtime::Object* queue, Task);

} // namespace device
