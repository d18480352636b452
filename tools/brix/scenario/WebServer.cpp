#include "tools/brix/scenario/WebServer.h"

#include <chrono>
#include <condition_variable>
#include <curl/curl.h>
#include <httplib.h>
#include <mutex>
#include <set>
#include <thread>
#include <zlib.h>

#include "platform/foundation/Text.h"

namespace tools::scenario {

namespace {

    struct UrlParts {
        std::string scheme;
        std::string host;
        std::string port;
        std::string path;
        std::string query;
    };

    std::optional<UrlParts> partsOf(std::string_view text)
    {
        std::string copy(text);
        CURLU* url = curl_url();
        UrlParts parts;
        bool ok = curl_url_set(url, CURLUPART_URL, copy.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK;
        auto read = [&](CURLUPart which, std::string& into, unsigned flags) {
            char* value = nullptr;
            if (curl_url_get(url, which, &value, flags) == CURLUE_OK && value)
                into = value;
            curl_free(value);
        };
        if (ok) {
            read(CURLUPART_SCHEME, parts.scheme, 0);
            read(CURLUPART_HOST, parts.host, 0);
            read(CURLUPART_PORT, parts.port, CURLU_DEFAULT_PORT);
            read(CURLUPART_PATH, parts.path, 0);
            read(CURLUPART_QUERY, parts.query, 0);
        }
        curl_url_cleanup(url);
        parts.scheme = foundation::text::asciiLowercase(parts.scheme);
        parts.host = foundation::text::asciiLowercase(parts.host);
        if (!ok || (parts.scheme != "http" && parts.scheme != "https") || parts.host.empty())
            return std::nullopt;
        if (parts.path.empty())
            parts.path = "/";
        return parts;
    }

    std::string contentTypeOf(const std::string& body)
    {
        if (body.size() >= 4 && static_cast<unsigned char>(body[0]) == 0x89 && body.substr(1, 3) == "PNG")
            return "image/png";
        if (body.size() >= 3 && static_cast<unsigned char>(body[0]) == 0xFF
            && static_cast<unsigned char>(body[1]) == 0xD8)
            return "image/jpeg";
        return "text/html; charset=utf-8";
    }

    const std::string* headerNamed(const WebServer::Answer& answer, std::string_view name)
    {
        for (auto& [key, value] : answer.headers) {
            if (foundation::text::asciiLowercase(key) == name)
                return &value;
        }
        return nullptr;
    }

    std::string gzipped(const std::string& body)
    {
        z_stream stream {};
        constexpr int gzipWrapper = 16;
        if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, MAX_WBITS + gzipWrapper, 8, Z_DEFAULT_STRATEGY)
            != Z_OK)
            throw std::runtime_error("cannot set up gzip compression");
        std::string compressed(deflateBound(&stream, body.size()), '\0');
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
        stream.avail_in = static_cast<uInt>(body.size());
        stream.next_out = reinterpret_cast<Bytef*>(compressed.data());
        stream.avail_out = static_cast<uInt>(compressed.size());
        int result = deflate(&stream, Z_FINISH);
        compressed.resize(stream.total_out);
        deflateEnd(&stream);
        if (result != Z_STREAM_END)
            throw std::runtime_error("cannot gzip an answer's body");
        return compressed;
    }

} // namespace

struct WebServer::State {
    std::map<std::string, Answer> answers;
    Identity identity;
    httplib::Server http;
    std::unique_ptr<httplib::SSLServer> https;
    std::thread httpThread;
    std::thread httpsThread;
    int httpPort { -1 };
    int httpsPort { -1 };

    mutable std::mutex mutex;
    std::condition_variable stopping;
    bool stopped { false };
    std::vector<std::string> requests;

    // Waits until the time has passed or the server stops; false when it stopped.
    bool waitFor(std::chrono::milliseconds delay)
    {
        std::unique_lock lock(mutex);
        return !stopping.wait_for(lock, delay, [this] { return stopped; });
    }
    void waitForStop()
    {
        std::unique_lock lock(mutex);
        stopping.wait(lock, [this] { return stopped; });
    }
    bool isStopped()
    {
        std::lock_guard lock(mutex);
        return stopped;
    }

    void serve(const std::string& scheme, const httplib::Request& request, httplib::Response& response)
    {
        auto url = normalizedUrl(scheme + "://" + request.get_header_value("Host") + request.target);
        {
            std::lock_guard lock(mutex);
            requests.push_back(url.value_or(request.target));
        }
        auto found = url ? answers.find(*url) : answers.end();
        if (found == answers.end()) {
            cutOff(response);
            return;
        }
        const Answer& answer = found->second;
        if (answer.hang) {
            waitForStop();
            cutOff(response);
            return;
        }
        if (answer.delayMs > 0 && !waitFor(std::chrono::milliseconds(answer.delayMs))) {
            cutOff(response);
            return;
        }
        response.status = answer.status;
        if (!answer.location.empty())
            response.set_header("Location", answer.location);
        for (auto& [name, value] : answer.headers) {
            if (foundation::text::asciiLowercase(name) != "content-type")
                response.set_header(name, value);
        }
        if (answer.endless) {
            response.set_chunked_content_provider("application/octet-stream", [this](size_t, httplib::DataSink& sink) {
                static const std::string piece(64 * 1024, '\0');
                return !isStopped() && sink.write(piece.data(), piece.size());
            });
            return;
        }
        const std::string* type = headerNamed(answer, "content-type");
        std::string contentType = type ? *type : contentTypeOf(answer.body);
        if (!headerNamed(answer, "content-encoding")) {
            response.set_content(answer.body, contentType);
            return;
        }
        // A body sent encoded already goes out as it is, never compressed again.
        response.set_content_provider(
            answer.body.size(), contentType, [&answer](size_t offset, size_t length, httplib::DataSink& sink) {
                return sink.write(answer.body.data() + offset, length);
            });
    }

    static void cutOff(httplib::Response& response)
    {
        response.set_chunked_content_provider("text/plain", [](size_t, httplib::DataSink&) { return false; });
    }
};

WebServer::WebServer(std::map<std::string, Answer> answers, const CertificateAuthority& authority)
    : m_state(std::make_unique<State>())
{
    std::set<std::string> hosts;
    for (auto& [url, answer] : answers) {
        auto key = normalizedUrl(url);
        if (!key)
            continue;
        if (auto parts = partsOf(*key); parts && parts->scheme == "https")
            hosts.insert(parts->host);
        if (answer.gzip) {
            answer.body = gzipped(answer.body);
            if (!headerNamed(answer, "content-encoding"))
                answer.headers.emplace_back("Content-Encoding", "gzip");
        }
        m_state->answers.emplace(*key, answer);
    }
    m_state->identity = authority.issue(std::vector<std::string>(hosts.begin(), hosts.end()));
}

WebServer::~WebServer()
{
    {
        std::lock_guard lock(m_state->mutex);
        m_state->stopped = true;
    }
    m_state->stopping.notify_all();
    m_state->http.stop();
    if (m_state->https)
        m_state->https->stop();
    if (m_state->httpThread.joinable())
        m_state->httpThread.join();
    if (m_state->httpsThread.joinable())
        m_state->httpsThread.join();
}

foundation::Result<void> WebServer::start()
{
    auto* state = m_state.get();
    state->https = std::make_unique<httplib::SSLServer>(state->identity.certificate.get(), state->identity.key.get());
    if (!state->https->is_valid())
        return foundation::Error { "cannot set up the HTTPS server with its certificate" };
    for (httplib::Server* server : { &state->http, static_cast<httplib::Server*>(state->https.get()) }) {
        std::string scheme = server == &state->http ? "http" : "https";
        server->set_keep_alive_timeout(1);
        server->Get(".*", [state, scheme](const httplib::Request& request, httplib::Response& response) {
            state->serve(scheme, request, response);
        });
    }
    state->httpPort = state->http.bind_to_any_port("127.0.0.1");
    state->httpsPort = state->https->bind_to_any_port("127.0.0.1");
    if (state->httpPort < 0 || state->httpsPort < 0)
        return foundation::Error { "cannot open a port on 127.0.0.1 for the web server" };
    state->httpThread = std::thread([state] { state->http.listen_after_bind(); });
    state->httpsThread = std::thread([state] { state->https->listen_after_bind(); });
    // A server asked to stop before it runs would never stop, so start returns only once both run.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!state->http.is_running() || !state->https->is_running()) {
        if (std::chrono::steady_clock::now() > deadline)
            return foundation::Error { "the web server did not start within 10 seconds" };
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return {};
}

uint16_t WebServer::httpPort() const
{
    return static_cast<uint16_t>(m_state->httpPort);
}

uint16_t WebServer::httpsPort() const
{
    return static_cast<uint16_t>(m_state->httpsPort);
}

device::NetworkSettings WebServer::networkSettings() const
{
    device::NetworkSettings settings;
    for (auto& [url, answer] : m_state->answers) {
        auto parts = partsOf(url);
        if (parts)
            settings.loopbackServers[parts->host + ":" + parts->port]
                = parts->scheme == "https" ? httpsPort() : httpPort();
    }
    return settings;
}

std::vector<std::string> WebServer::requests() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->requests;
}

std::optional<std::string> WebServer::normalizedUrl(std::string_view text)
{
    auto parts = partsOf(text);
    if (!parts)
        return std::nullopt;
    return parts->scheme + "://" + parts->host + ":" + parts->port + parts->path
        + (parts->query.empty() ? "" : "?" + parts->query);
}

} // namespace tools::scenario
