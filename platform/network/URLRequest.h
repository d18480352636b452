#pragma once

#include <cstdint>

#include "platform/network/URL.h"

namespace network {

// The platform's NSURLRequest: what to load and how. The device keeps no URL
// cache, so every cache policy loads from the network; the time-out is the
// number of seconds a load may go without an answer from the server.
//
// Messages: +requestWithURL:, -initWithURL: (the default cache policy and a
// 60-second time-out), +requestWithURL:cachePolicy:timeoutInterval:,
// -initWithURL:cachePolicy:timeoutInterval: (a time-out that is not above
// zero means 60), -URL, -cachePolicy, -timeoutInterval, -HTTPMethod ("GET").
class URLRequest : public runtime::NSObject {
public:
    // NSURLRequestUseProtocolCachePolicy, the platform's default.
    static constexpr uint64_t useProtocolCachePolicy = 0;
    static constexpr double defaultTimeoutInterval = 60;

    using NSObject::NSObject;

    URL* url() const { return m_url.get(); }
    uint64_t cachePolicy() const { return m_cachePolicy; }
    double timeoutInterval() const { return m_timeoutInterval; }

    static void registerClass(runtime::Runtime&);

private:
    runtime::Ref<URL> m_url;
    uint64_t m_cachePolicy { useProtocolCachePolicy };
    double m_timeoutInterval { defaultTimeoutInterval };
};

} // namespace network
