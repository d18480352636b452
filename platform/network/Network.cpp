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
    URL::registerClass(runtime);
    URLRequest::registerClass(runtime);
    HTTPURLResponse::registerClass(runtime);
    OperationQueue::registerClass(process);
    URLConnection::registerClass(process);
    URLSessionDataTask::registerClass(process);
    URLSession::registerClass(process);
}

} // namespace network
