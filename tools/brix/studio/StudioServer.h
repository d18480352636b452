#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "platform/foundation/Result.h"

namespace tools::studio {

class Studio;

// The studio's web server: cpp-httplib on 127.0.0.1 only, on threads of its
// own. Every request needs the run's token (the `token` query parameter, the
// X-Brix-Token header, or the cookie the first page load sets), and a Host
// and Origin that are this server's own local address, so that no other web
// page can reach it through DNS rebinding. Request bodies are limited to
// `maxBodyBytes`. Files are served only from the page folder, by a fixed list.
class StudioServer {
public:
    static constexpr size_t maxBodyBytes = 1 << 20;

    StudioServer(Studio&, std::filesystem::path pageFolder);
    ~StudioServer();
    StudioServer(const StudioServer&) = delete;
    StudioServer& operator=(const StudioServer&) = delete;

    // Binds 127.0.0.1:`port` (any free port for 0) and starts serving;
    // fails with the reason when the port is taken or binding fails.
    foundation::Result<void> start(uint16_t port);
    void stop();

    uint16_t port() const;
    const std::string& token() const;
    std::string url() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace tools::studio
