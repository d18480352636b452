#pragma once

#include <optional>

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/network/OperationQueue.h"
#include "platform/network/URLLoader.h"
#include "platform/network/URLRequest.h"

namespace network {

// The platform's NSURLSessionDataTask: one load of a session, made
// suspended. Its completion (data, response, error) runs once on the
// session's delegate queue: the whole body and the response on success; nil,
// nil and an NSError on failure, with the code -999 (cancelled) after -cancel.
//
// Messages: -resume (starts a suspended task), -cancel, -state (0 running,
// 1 suspended, 2 cancelling, 3 completed), -originalRequest, -taskIdentifier.
class URLSessionDataTask : public runtime::NSObject {
public:
    using Completion = runtime::Block<void(foundation::Value, foundation::Value, foundation::Value)>;
    enum State : int64_t { Running = 0, Suspended = 1, Canceling = 2, Completed = 3 };

    using NSObject::NSObject;

    State state() const { return m_state; }
    void resume();
    void cancel();

    // A new suspended task of the run time's class "NSURLSessionDataTask".
    static runtime::Ref<URLSessionDataTask> make(
        device::Process&, URLRequest*, OperationQueue* delegateQueue, Completion, uint64_t identifier);

    static void registerClass(device::Process&);

private:
    void complete(foundation::Value data, foundation::Value response, foundation::Value error);

    device::Process* m_process { nullptr };
    runtime::Ref<URLRequest> m_request;
    runtime::Ref<OperationQueue> m_delegateQueue;
    Completion m_completion;
    uint64_t m_identifier { 0 };
    State m_state { Suspended };
    std::optional<URLLoader::TransferId> m_transfer;
};

} // namespace network
