#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/device/Device.h"

#include "tools/brix/scenario/CertificateAuthority.h"

namespace tools::scenario {

// Answers of the web, keyed by absolute URL, served by real HTTP and HTTPS
// servers on 127.0.0.1, each on a port of its own, on threads of their own.
// The HTTPS server shows a certificate issued for every host of the answers
// by the given authority. A request for a URL without an answer is cut off
// after its headers, so that the client sees a failed transfer rather than
// an answer.
class WebServer {
public:
    struct Answer {
        int status { 200 };
        std::string body;
        // Milliseconds of real time before answering.
        int delayMs { 0 };
        // Never answers (until the server stops).
        bool hang { false };
        // A body that never ends (until the client goes or the server stops).
        bool endless { false };
        // Sent as the Location header when not empty.
        std::string location;
        // Further headers, sent as they are; a Content-Type here replaces the
        // one guessed from the body.
        std::vector<std::pair<std::string, std::string>> headers;
        // Sends the body gzip-compressed, with Content-Encoding: gzip unless
        // `headers` name an encoding of their own.
        bool gzip { false };
    };

    WebServer(std::map<std::string, Answer> answers, const CertificateAuthority&);
    // Stops both servers; requests still waiting are cut off.
    ~WebServer();
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    // Binds and starts both servers, or fails saying what went wrong.
    foundation::Result<void> start();

    uint16_t httpPort() const;
    uint16_t httpsPort() const;

    // The routes a device needs to reach every host of the answers here.
    device::NetworkSettings networkSettings() const;

    // The URLs requested so far (normalised), in order; safe from any thread.
    std::vector<std::string> requests() const;

    // "scheme://host:port/path?query" with the scheme and host in lower case
    // and the port always written; nothing for text that is not an http or
    // https URL.
    static std::optional<std::string> normalizedUrl(std::string_view);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace tools::scenario
