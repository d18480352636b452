#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"

namespace network {

struct LoadRequest {
    std::string url;
    // Seconds without any answer from the server after which the load fails.
    double timeoutInterval { 60 };
};

struct LoadResponse {
    std::string url; // after redirections
    int64_t statusCode { 0 };
    foundation::Value headers; // a dictionary: the last value of each header name
    int64_t expectedContentLength { -1 }; // -1 when the server did not say
    std::string mimeType;
};

struct LoadError {
    int64_t code { 0 }; // a URLErrorCode
    std::string description;
    std::string url;
};

// The URL loading of one process (a per-process service): HTTP and HTTPS
// over libcurl's multi interface, pumped by the device's scheduler on a queue
// of the process, so no thread of its own is needed.
//
// While transfers are under way the loader takes a turn every `pollInterval`
// seconds of device time. Each turn moves every transfer on and then waits,
// at most `pollInterval` seconds of real time, for the network to have
// something; virtual time therefore never runs ahead of a server that is
// slow to answer, and a server on this machine answers within a few turns.
//
// The device's network is sealed (see device::NetworkSettings): a host that
// is neither the loopback address nor listed fails as not found, without any
// name lookup. Only http and https are spoken; redirections (301, 302, 303,
// 307, 308 with a Location) are followed up to `maxRedirects` times, each one
// going through the same checks. HTTPS trusts the device's trust store
// (`trustStorePath`) and nothing else. Every request sent out, redirections
// included, is traced as `http.request` with its `url`.
class URLLoader {
public:
    static constexpr double pollInterval = 0.01;
    static constexpr int maxRedirects = 16;
    // Decoded body bytes a transfer holds for its client between turns, and
    // the size of one read from the network.
    static constexpr size_t maxPendingBytes = 64 * 1024;
    static constexpr long readBufferBytes = 1024;
    static constexpr const char* queueLabel = "com.apple.CFNetwork.loader";

    using TransferId = uint64_t;

    // What a transfer tells its client, on the loader's turns and never
    // during `start`: the response once (before any data), the body in
    // pieces, then its end: nothing for success, an error otherwise. A
    // failure may come without a response.
    struct Client {
        std::function<void(const LoadResponse&)> response;
        std::function<void(std::vector<uint8_t>)> data;
        std::function<void(const std::optional<LoadError>&)> finished;
    };

    explicit URLLoader(device::Process&);
    ~URLLoader();
    URLLoader(const URLLoader&) = delete;
    URLLoader& operator=(const URLLoader&) = delete;

    static URLLoader& of(device::Process&);

    TransferId start(LoadRequest, Client);
    // Stops a transfer at once; its client hears nothing more.
    void cancel(TransferId);
    // Transfers started and not yet finished or cancelled.
    size_t activeCount() const { return m_transfers.size(); }

    // One transfer's state; defined with the loader's code.
    struct Transfer;

private:
    std::optional<LoadError> route(Transfer&, const std::string& url);
    std::optional<LoadError> beginHop(Transfer&, const std::string& url);
    void schedulePump(double delay);
    void pump();
    void deliverProgress(Transfer&);
    void completeHop(Transfer&, int curlResult);
    void finish(TransferId, const std::optional<LoadError>&);
    void expireIdleTransfers();

    device::Process* m_process;
    void* m_multi { nullptr }; // the CURLM handle
    std::map<TransferId, std::unique_ptr<Transfer>> m_transfers;
    TransferId m_nextId { 1 };
    bool m_pumpScheduled { false };
};

} // namespace network
