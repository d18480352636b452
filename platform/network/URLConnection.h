#pragma once

#include <optional>

#include "platform/device/Forward.h"
#include "platform/network/OperationQueue.h"
#include "platform/network/URLLoader.h"
#include "platform/network/URLRequest.h"

namespace network {

// The platform's NSURLConnection.
//
// +sendAsynchronousRequest:queue:completionHandler: loads the request and
// runs the completion (response, data, error) on the operation queue given:
// on success the response and the whole body (data, possibly empty) and a
// nil error; on failure nil, nil and an NSError of NSURLErrorDomain.
//
// The delegate form: -initWithRequest:delegate:startImmediately:,
// -initWithRequest:delegate: and +connectionWithRequest:delegate: (both
// start at once), -setDelegateQueue: (before starting; the main operation
// queue otherwise), -start, -cancel, -originalRequest. The delegate, held
// until the load ends or is cancelled, receives on the delegate queue
// whichever of these it answers: connection:didReceiveResponse:,
// connection:didReceiveData: (each piece of the body as it arrives),
// then connectionDidFinishLoading: or connection:didFailWithError:. After
// -cancel it receives nothing more.
class URLConnection : public runtime::NSObject {
public:
    using NSObject::NSObject;

    void start();
    void cancel();

    static void registerClass(device::Process&);

private:
    void post(std::function<void()> delivery);
    void deliverResponse(const LoadResponse&);
    void deliverData(std::vector<uint8_t>);
    void deliverEnd(const std::optional<LoadError>&);

    device::Process* m_process { nullptr };
    runtime::Ref<URLRequest> m_request;
    runtime::Ref<runtime::Object> m_delegate;
    runtime::Ref<OperationQueue> m_delegateQueue;
    std::optional<URLLoader::TransferId> m_transfer;
    bool m_started { false };
    bool m_ended { false };
};

// A load request for what an NSURLRequest names.
LoadRequest loadRequestFor(URLRequest*);
// An NSError of NSURLErrorDomain for a failed load.
runtime::Ref<runtime::Object> errorObjectFor(runtime::Runtime&, const LoadError&);

} // namespace network
