#pragma once

#include "platform/device/Forward.h"
#include "platform/network/OperationQueue.h"

namespace network {

// The platform's NSURLSession. The shared session of a process runs the
// completions of its tasks on its own serial queue, not the main queue.
//
// Messages: +sharedSession (one per process), -delegateQueue,
// -dataTaskWithRequest:completionHandler: and
// -dataTaskWithURL:completionHandler: (a suspended NSURLSessionDataTask; see
// there), with completions of the form (data, response, error).
class URLSession : public runtime::NSObject {
public:
    static constexpr const char* sharedQueueLabel = "com.apple.NSURLSession-delegate";

    using NSObject::NSObject;

    OperationQueue* delegateQueue() const { return m_delegateQueue.get(); }

    static void registerClass(device::Process&);

private:
    device::Process* m_process { nullptr };
    runtime::Ref<OperationQueue> m_delegateQueue;
    uint64_t m_nextTaskIdentifier { 1 };
};

} // namespace network
