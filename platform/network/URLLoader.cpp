#include "platform/network/URLLoader.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <curl/curl.h>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>

#include "platform/device/Device.h"
#include "platform/device/Process.h"
#include "platform/network/Network.h"

namespace network {

namespace {

    std::string lowercase(std::string text)
    {
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
        return text;
    }

    std::string trimmed(std::string_view text)
    {
        while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
            text.remove_prefix(1);
        while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
            text.remove_suffix(1);
        return std::string(text);
    }

    bool isLoopbackHost(const std::string& host)
    {
        return host == "127.0.0.1" || host == "localhost" || host == "[::1]" || host == "::1";
    }

    // A host written as an address (IPv4 digits and dots, or IPv6 in brackets)
    // rather than a name: there is nothing to look up, only nowhere to connect.
    bool isAddressOrLocalName(const std::string& host)
    {
        if (host == "localhost" || host.starts_with('['))
            return true;
        return !host.empty() && host.find_first_not_of("0123456789.") == std::string::npos;
    }

    bool isFollowedRedirect(int64_t status)
    {
        return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
    }

    LoadError errorFor(int64_t code, std::string description, std::string url)
    {
        return { code, std::move(description), std::move(url) };
    }

    // The platform's words and codes for libcurl's failures.
    LoadError errorForCurl(CURLcode result, const char* detail, const std::string& url)
    {
        std::string reason = detail && *detail ? std::string(" (") + detail + ")" : std::string();
        switch (result) {
        case CURLE_UNSUPPORTED_PROTOCOL:
            return errorFor(unsupportedURL, "unsupported URL" + reason, url);
        case CURLE_URL_MALFORMAT:
            return errorFor(badURL, "bad URL" + reason, url);
        case CURLE_COULDNT_RESOLVE_HOST:
            return errorFor(cannotFindHost, "A server with the specified hostname could not be found." + reason, url);
        case CURLE_COULDNT_CONNECT:
            return errorFor(cannotConnectToHost, "Could not connect to the server." + reason, url);
        case CURLE_OPERATION_TIMEDOUT:
            return errorFor(timedOut, "The request timed out." + reason, url);
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
            return errorFor(serverCertificateUntrusted,
                "The certificate for this server is invalid or not trusted by the device." + reason, url);
        case CURLE_SSL_CONNECT_ERROR:
            return errorFor(secureConnectionFailed,
                "An SSL error has occurred and a secure connection to the server cannot be made." + reason, url);
        case CURLE_GOT_NOTHING:
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
        case CURLE_PARTIAL_FILE:
            return errorFor(networkConnectionLost, "The network connection was lost." + reason, url);
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_BAD_CONTENT_ENCODING:
            return errorFor(badServerResponse, "The server's answer could not be read." + reason, url);
        default:
            return errorFor(unknownError, std::string(curl_easy_strerror(result)) + reason, url);
        }
    }

    void initialiseCurl()
    {
        static std::once_flag once;
        std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    }

    CURLM* multiOf(void* handle)
    {
        return static_cast<CURLM*>(handle);
    }

} // namespace

struct URLLoader::Transfer {
    TransferId id { 0 };
    LoadRequest request;
    Client client;
    CURL* easy { nullptr };
    curl_slist* connectTo { nullptr };
    uint16_t serverPort { 0 }; // the one port on 127.0.0.1 the hop under way may connect to
    char errorBuffer[CURL_ERROR_SIZE] {};
    std::string url; // of the hop under way
    int redirects { 0 };
    double lastActivity { 0 };
    bool inMulti { false };

    // The answer of the hop under way.
    foundation::Value headers = foundation::Value::dictionary();
    std::string location; // where a redirection points, resolved against `url`
    bool headersComplete { false };
    bool followsRedirect { false };
    bool responseDelivered { false };
    // Curl holds the body back until the client has taken what is pending.
    bool paused { false };
    std::optional<LoadResponse> pendingResponse;
    std::vector<uint8_t> pendingData;
    // A failure known before anything went out; reported on the next turn.
    std::optional<LoadError> pendingFailure;

    ~Transfer()
    {
        if (easy)
            curl_easy_cleanup(easy);
        curl_slist_free_all(connectTo);
    }
};

namespace {

    int64_t statusOf(CURL* easy)
    {
        long status = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
        return status;
    }

} // namespace

URLLoader::URLLoader(device::Process& process)
    : m_process(&process)
{
    initialiseCurl();
    m_multi = curl_multi_init();
}

URLLoader::~URLLoader()
{
    for (auto& [id, transfer] : m_transfers) {
        if (transfer->inMulti)
            curl_multi_remove_handle(multiOf(m_multi), transfer->easy);
    }
    m_transfers.clear();
    curl_multi_cleanup(multiOf(m_multi));
}

URLLoader& URLLoader::of(device::Process& process)
{
    return process.service<URLLoader>();
}

URLLoader::TransferId URLLoader::start(LoadRequest request, Client client)
{
    auto transfer = std::make_unique<Transfer>();
    transfer->id = m_nextId++;
    if (!(request.timeoutInterval > 0))
        request.timeoutInterval = 60;
    transfer->request = std::move(request);
    transfer->client = std::move(client);
    transfer->lastActivity = m_process->device().scheduler().now();
    if (auto failure = beginHop(*transfer, transfer->request.url))
        transfer->pendingFailure = std::move(failure);
    TransferId id = transfer->id;
    m_transfers.emplace(id, std::move(transfer));
    schedulePump(0);
    return id;
}

void URLLoader::cancel(TransferId id)
{
    auto found = m_transfers.find(id);
    if (found == m_transfers.end())
        return;
    if (found->second->inMulti)
        curl_multi_remove_handle(multiOf(m_multi), found->second->easy);
    m_transfers.erase(found);
}

// Where a URL may go on the sealed network, and how curl gets there.
std::optional<LoadError> URLLoader::route(Transfer& transfer, const std::string& url)
{
    if (url.empty())
        return errorFor(unsupportedURL, "unsupported URL", url);
    CURLU* parts = curl_url();
    std::optional<LoadError> failure;
    char* scheme = nullptr;
    char* host = nullptr;
    char* port = nullptr;
    if (curl_url_set(parts, CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK
        || curl_url_get(parts, CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK) {
        failure = errorFor(badURL, "bad URL", url);
    } else if (std::string lower = lowercase(scheme); lower != "http" && lower != "https") {
        failure = errorFor(unsupportedURL, "unsupported URL: the device loads only http and https", url);
    } else if (curl_url_get(parts, CURLUPART_HOST, &host, 0) != CURLUE_OK || !*host) {
        failure = errorFor(badURL, "bad URL: it names no host", url);
    } else {
        curl_url_get(parts, CURLUPART_PORT, &port, CURLU_DEFAULT_PORT);
        m_process->device().trace().emit("http.request", { { "url", url } });
        std::string hostName = lowercase(host);
        std::string key = hostName + ":" + (port ? port : "");
        auto& servers = m_process->device().hardware().network.loopbackServers;
        curl_slist_free_all(transfer.connectTo);
        transfer.connectTo = nullptr;
        // The device reaches its own server and nothing else of this machine: the
        // hosts it answers for, and its own address and ports. Whatever
        // connection curl makes is pinned to that server.
        std::optional<uint16_t> serverPort;
        if (auto server = servers.find(key); server != servers.end()) {
            serverPort = server->second;
        } else if (isLoopbackHost(hostName) && port) {
            for (auto& [route, local] : servers) {
                if (std::to_string(local) == port)
                    serverPort = local;
            }
        }
        transfer.serverPort = serverPort.value_or(0);
        if (serverPort) {
            std::string target = key + ":127.0.0.1:" + std::to_string(*serverPort);
            transfer.connectTo = curl_slist_append(nullptr, target.c_str());
        } else if (isAddressOrLocalName(hostName)) {
            failure = errorFor(
                cannotConnectToHost, "Could not connect to the server (" + key + " is not on this network).", url);
        } else {
            failure = errorFor(cannotFindHost,
                "A server with the specified hostname could not be found (" + hostName + " is not on this network).",
                url);
        }
    }
    curl_free(scheme);
    curl_free(host);
    curl_free(port);
    curl_url_cleanup(parts);
    return failure;
}

namespace {

    size_t receiveHeader(char* bytes, size_t size, size_t count, void* context);
    size_t receiveData(char* bytes, size_t size, size_t count, void* context);

    // The last guard of the sealed network: a socket opens only towards the
    // device's own server, whatever curl resolved.
    curl_socket_t openSocket(void* context, curlsocktype purpose, curl_sockaddr* address)
    {
        auto& transfer = *static_cast<URLLoader::Transfer*>(context);
        bool allowed = purpose == CURLSOCKTYPE_IPCXN && address->family == AF_INET
            && address->addrlen >= sizeof(sockaddr_in) && transfer.serverPort != 0;
        if (allowed) {
            auto* inet = reinterpret_cast<const sockaddr_in*>(&address->addr);
            allowed = ntohl(inet->sin_addr.s_addr) == INADDR_LOOPBACK && ntohs(inet->sin_port) == transfer.serverPort;
        }
        if (!allowed)
            return CURL_SOCKET_BAD;
        return ::socket(address->family, address->socktype, address->protocol);
    }

} // namespace

std::optional<LoadError> URLLoader::beginHop(Transfer& transfer, const std::string& url)
{
    transfer.url = url;
    transfer.lastActivity = m_process->device().scheduler().now();
    transfer.location.clear();
    transfer.headers = foundation::Value::dictionary();
    transfer.headersComplete = false;
    transfer.followsRedirect = false;
    if (auto failure = route(transfer, url))
        return failure;

    if (!transfer.easy)
        transfer.easy = curl_easy_init();
    CURL* easy = transfer.easy;
    curl_easy_reset(easy);
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_PRIVATE, &transfer);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_CONNECT_TO, transfer.connectTo);
    curl_easy_setopt(easy, CURLOPT_OPENSOCKETFUNCTION, openSocket);
    curl_easy_setopt(easy, CURLOPT_OPENSOCKETDATA, &transfer);
    // Nothing of this machine's own network set-up reaches the device.
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "*");
    auto trustStore = m_process->device().hostPath(trustStorePath);
    curl_easy_setopt(easy, CURLOPT_CAINFO, trustStore.c_str());
    curl_easy_setopt(easy, CURLOPT_CAPATH, nullptr);
    curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "");
    // What one read decompresses to is what curl may hold while paused: about a thousand times its size.
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, readBufferBytes);
    std::string agent = m_process->bundleIdentifier() + " CFNetwork (simulated device)";
    curl_easy_setopt(easy, CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, transfer.errorBuffer);
    transfer.errorBuffer[0] = 0;
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, receiveHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, receiveData);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
    curl_multi_add_handle(multiOf(m_multi), easy);
    transfer.inMulti = true;
    return std::nullopt;
}

namespace {

    // A Location resolved against the URL that answered it; empty when it does not form a URL.
    std::string resolvedLocation(const std::string& base, const std::string& location)
    {
        CURLU* parts = curl_url();
        std::string result;
        char* text = nullptr;
        if (curl_url_set(parts, CURLUPART_URL, base.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK
            && curl_url_set(parts, CURLUPART_URL, location.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK
            && curl_url_get(parts, CURLUPART_URL, &text, 0) == CURLUE_OK)
            result = text;
        curl_free(text);
        curl_url_cleanup(parts);
        return result;
    }

    // The response is known when its headers have ended: a redirection is
    // followed quietly, anything else goes to the client with its body.
    void headersEnded(URLLoader::Transfer& transfer)
    {
        int64_t status = statusOf(transfer.easy);
        if (status >= 100 && status < 200)
            return; // an interim answer; the real one follows
        transfer.headersComplete = true;
        if (isFollowedRedirect(status) && !transfer.location.empty()) {
            transfer.location = resolvedLocation(transfer.url, transfer.location);
            if (!transfer.location.empty()) {
                transfer.followsRedirect = true;
                return;
            }
        }
        LoadResponse response;
        response.url = transfer.url;
        response.statusCode = status;
        response.headers = transfer.headers;
        curl_off_t length = -1;
        curl_easy_getinfo(transfer.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        response.expectedContentLength = length;
        char* type = nullptr;
        curl_easy_getinfo(transfer.easy, CURLINFO_CONTENT_TYPE, &type);
        if (type)
            response.mimeType = lowercase(trimmed(std::string_view(type).substr(0, std::string_view(type).find(';'))));
        transfer.pendingResponse = std::move(response);
    }

    size_t receiveHeader(char* bytes, size_t size, size_t count, void* context)
    {
        auto& transfer = *static_cast<URLLoader::Transfer*>(context);
        std::string_view line(bytes, size * count);
        if (line.starts_with("HTTP/")) {
            transfer.headers = foundation::Value::dictionary();
            transfer.location.clear();
            transfer.headersComplete = false;
        } else if (trimmed(line).empty()) {
            headersEnded(transfer);
        } else if (size_t colon = line.find(':'); colon != std::string_view::npos) {
            std::string name = trimmed(line.substr(0, colon));
            std::string value = trimmed(line.substr(colon + 1));
            if (lowercase(name) == "location")
                transfer.location = value;
            transfer.headers.set(name, foundation::Value(std::move(value)));
        }
        return size * count;
    }

    size_t receiveData(char* bytes, size_t size, size_t count, void* context)
    {
        auto& transfer = *static_cast<URLLoader::Transfer*>(context);
        if (transfer.followsRedirect)
            return size * count;
        // Decoded bytes wait for the client's next turn; a body that arrives
        // faster, or that decompresses to far more than was sent, waits in curl.
        if (transfer.pendingData.size() >= URLLoader::maxPendingBytes) {
            transfer.paused = true;
            return CURL_WRITEFUNC_PAUSE;
        }
        transfer.pendingData.insert(transfer.pendingData.end(), bytes, bytes + size * count);
        return size * count;
    }

} // namespace

void URLLoader::schedulePump(double delay)
{
    if (m_pumpScheduled)
        return;
    m_pumpScheduled = true;
    m_process->queue(queueLabel).after(delay, [this] {
        m_pumpScheduled = false;
        pump();
    });
}

void URLLoader::pump()
{
    double now = m_process->device().scheduler().now();
    int running = 0;
    curl_multi_perform(multiOf(m_multi), &running);

    // Ids first: a client may cancel other transfers while it is told.
    std::vector<TransferId> ids;
    for (auto& [id, transfer] : m_transfers)
        ids.push_back(id);
    for (TransferId id : ids) {
        auto found = m_transfers.find(id);
        if (found == m_transfers.end())
            continue;
        Transfer& transfer = *found->second;
        if (transfer.pendingFailure) {
            finish(id, transfer.pendingFailure);
            continue;
        }
        if (transfer.pendingResponse || !transfer.pendingData.empty())
            transfer.lastActivity = now;
        deliverProgress(transfer);
    }

    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multiOf(m_multi), &queued)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        Transfer* transfer = nullptr;
        curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &transfer);
        if (transfer && m_transfers.contains(transfer->id))
            completeHop(*transfer, message->data.result);
    }
    expireIdleTransfers();

    if (m_transfers.empty())
        return;
    // Waits for the network in real time, so that virtual time cannot outrun it.
    curl_multi_poll(multiOf(m_multi), nullptr, 0, static_cast<int>(pollInterval * 1000), nullptr);
    schedulePump(pollInterval);
}

void URLLoader::deliverProgress(Transfer& transfer)
{
    TransferId id = transfer.id;
    if (transfer.pendingResponse && !transfer.responseDelivered) {
        transfer.responseDelivered = true;
        auto response = std::move(*transfer.pendingResponse);
        transfer.pendingResponse.reset();
        if (transfer.client.response)
            transfer.client.response(response);
    }
    auto found = m_transfers.find(id);
    if (found == m_transfers.end() || found->second->pendingData.empty())
        return;
    auto data = std::move(found->second->pendingData);
    found->second->pendingData.clear();
    if (found->second->client.data)
        found->second->client.data(std::move(data));
    // The client may have cancelled the transfer on hearing of the data.
    found = m_transfers.find(id);
    if (found != m_transfers.end() && found->second->paused && found->second->inMulti) {
        found->second->paused = false;
        curl_easy_pause(found->second->easy, CURLPAUSE_CONT);
    }
}

void URLLoader::completeHop(Transfer& transfer, int curlResult)
{
    TransferId id = transfer.id;
    curl_multi_remove_handle(multiOf(m_multi), transfer.easy);
    transfer.inMulti = false;
    if (curlResult != CURLE_OK) {
        finish(id, errorForCurl(static_cast<CURLcode>(curlResult), transfer.errorBuffer, transfer.url));
        return;
    }
    if (transfer.followsRedirect) {
        std::string next = transfer.location;
        if (++transfer.redirects > maxRedirects) {
            finish(id, errorFor(httpTooManyRedirects, "too many HTTP redirects", transfer.url));
            return;
        }
        if (auto failure = beginHop(transfer, next))
            finish(id, failure);
        return;
    }
    if (!transfer.headersComplete) {
        finish(id, errorFor(badServerResponse, "The server's answer ended before its headers did.", transfer.url));
        return;
    }
    deliverProgress(transfer);
    finish(id, std::nullopt);
}

void URLLoader::finish(TransferId id, const std::optional<LoadError>& failure)
{
    auto found = m_transfers.find(id);
    if (found == m_transfers.end())
        return;
    auto transfer = std::move(found->second);
    m_transfers.erase(found);
    if (transfer->inMulti)
        curl_multi_remove_handle(multiOf(m_multi), transfer->easy);
    if (transfer->client.finished)
        transfer->client.finished(failure);
}

void URLLoader::expireIdleTransfers()
{
    double now = m_process->device().scheduler().now();
    std::vector<TransferId> expired;
    for (auto& [id, transfer] : m_transfers) {
        if (now - transfer->lastActivity >= transfer->request.timeoutInterval - device::Scheduler::tolerance)
            expired.push_back(id);
    }
    for (TransferId id : expired) {
        auto found = m_transfers.find(id);
        if (found != m_transfers.end())
            finish(id, errorFor(timedOut, "The request timed out.", found->second->url));
    }
}

} // namespace network
