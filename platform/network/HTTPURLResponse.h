#pragma once

#include "platform/network/URLLoader.h"
#include "platform/runtime/Runtime.h"

namespace network {

// The platform's NSHTTPURLResponse: the status and headers of an answer.
//
// Messages: -URL (an NSURL), -statusCode, -allHeaderFields (a dictionary),
// -expectedContentLength (-1 when unknown), -MIMEType (nil when unknown).
class HTTPURLResponse : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const LoadResponse& contents() const { return m_contents; }

    // A new response of the run time's class "NSHTTPURLResponse".
    static runtime::Ref<HTTPURLResponse> make(runtime::Runtime&, LoadResponse);

    static void registerClass(runtime::Runtime&);

private:
    LoadResponse m_contents;
};

} // namespace network
