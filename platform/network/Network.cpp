#include "platform/network/Network.h"

#include "platform/device/Process.h"
#include "platform/network/HTTPURLResponse.h"
#include "platform/network/OperationQueue.h"
#include "platform/network/URL.h"
#include "platform/network/URLConnection.h"
#include "platform/network/URLRequest.h"
#include "platform/network/URLSession.h"
#include "platform/network/URLSessionDataTask.h"

namespace network {

void defineClasses(device::Process& process)
{
    auto& runtime = process.runtime();
    URL::defineClass(runtime);
    URLRequest::defineClass(runtime);
    HTTPURLResponse::defineClass(runtime);
    OperationQueue::defineClass(process);
    URLConnection::defineClass(process);
    URLSessionDataTask::defineClass(process);
    URLSession::defineClass(process);
}

} // namespace network
