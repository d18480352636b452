#include "tools/brix/studio/StudioServer.h"

#include <fstream>
#include <httplib.h>
#include <random>
#include <sstream>

#include "tools/brix/studio/Studio.h"

namespace tools::studio {

namespace fs = std::filesystem;
using scenario::Json;

namespace {

    // How long a request waits for the device thread.
    constexpr auto answerTimeout = std::chrono::seconds(60);
    // How often a quiet event stream sends a comment, so that a page that went away is noticed.
    constexpr auto keepAlive = std::chrono::seconds(15);

    const std::map<std::string, std::string> pageFiles { { "/", "index.html" }, { "/studio.js", "studio.js" },
        { "/studio.css", "studio.css" } };

    std::string contentType(const std::string& file)
    {
        if (file.ends_with(".js"))
            return "text/javascript; charset=utf-8";
        if (file.ends_with(".css"))
            return "text/css; charset=utf-8";
        return "text/html; charset=utf-8";
    }

    std::string randomToken()
    {
        std::random_device source;
        std::ostringstream text;
        for (int i = 0; i < 8; ++i)
            text << std::hex << std::setw(8) << std::setfill('0') << source();
        return text.str();
    }

    bool sameText(const std::string& a, const std::string& b)
    {
        if (a.size() != b.size())
            return false;
        unsigned char difference = 0;
        for (size_t i = 0; i < a.size(); ++i)
            difference |= static_cast<unsigned char>(a[i] ^ b[i]);
        return difference == 0;
    }

    std::string cookieValue(const std::string& header, const std::string& name)
    {
        std::string key = name + "=";
        size_t at = 0;
        while ((at = header.find(key, at)) != std::string::npos) {
            if (at == 0 || header[at - 1] == ' ' || header[at - 1] == ';') {
                auto end = header.find(';', at);
                return header.substr(
                    at + key.size(), end == std::string::npos ? std::string::npos : end - at - key.size());
            }
            at += key.size();
        }
        return {};
    }

    void answerJson(httplib::Response& response, const Json& answer)
    {
        response.status = answer.contains("error") ? 400 : 200;
        response.set_content(answer.dump(), "application/json");
    }

    void refuse(httplib::Response& response, int status, const std::string& reason)
    {
        response.status = status;
        response.set_content(Json { { "error", reason } }.dump(), "application/json");
    }

} // namespace

struct StudioServer::State {
    Studio* studio;
    fs::path pageFolder;
    httplib::Server server;
    std::thread thread;
    std::string token { randomToken() };
    int port { 0 };

    std::string cookieName() const { return "brix-studio-" + std::to_string(port); }
    bool isLocalAuthority(const std::string& authority) const
    {
        return authority == "127.0.0.1:" + std::to_string(port) || authority == "localhost:" + std::to_string(port);
    }
    bool isLocalOrigin(const std::string& origin) const
    {
        return origin == "http://127.0.0.1:" + std::to_string(port)
            || origin == "http://localhost:" + std::to_string(port);
    }

    httplib::Server::HandlerResponse admit(const httplib::Request& request, httplib::Response& response) const
    {
        if (!isLocalAuthority(request.get_header_value("Host"))) {
            refuse(response, 403, "this server answers only requests for its own local address");
            return httplib::Server::HandlerResponse::Handled;
        }
        if (request.has_header("Origin") && !isLocalOrigin(request.get_header_value("Origin"))) {
            refuse(response, 403, "requests from other origins are refused");
            return httplib::Server::HandlerResponse::Handled;
        }
        std::string given = request.get_param_value("token");
        if (given.empty())
            given = request.get_header_value("X-Brix-Token");
        if (given.empty())
            given = cookieValue(request.get_header_value("Cookie"), cookieName());
        if (!sameText(given, token)) {
            refuse(response, 403, "a valid token is required (open the address the studio printed)");
            return httplib::Server::HandlerResponse::Handled;
        }
        response.set_header("Set-Cookie", cookieName() + "=" + token + "; Path=/; HttpOnly; SameSite=Strict");
        response.set_header("Cache-Control", "no-store");
        return httplib::Server::HandlerResponse::Unhandled;
    }

    void answer(httplib::Response& response, Studio::Work work) const
    {
        auto future = studio->call(std::move(work));
        if (future.wait_for(answerTimeout) != std::future_status::ready) {
            refuse(response, 503, "the device did not answer in time");
            return;
        }
        answerJson(response, future.get());
    }

    static std::optional<Json> parseBody(const httplib::Request& request, httplib::Response& response)
    {
        try {
            return Json::parse(request.body);
        } catch (const Json::exception& error) {
            refuse(response, 400, std::string("the request is not JSON: ") + error.what());
            return std::nullopt;
        }
    }

    void route()
    {
        server.set_payload_max_length(maxBodyBytes);
        // An answer's header and body go out at once, not one delayed acknowledgement (40 ms) apart.
        server.set_tcp_nodelay(true);
        server.set_pre_routing_handler([this](auto& request, auto& response) { return admit(request, response); });
        for (auto& [path, file] : pageFiles) {
            server.Get(path, [this, file = file](const httplib::Request&, httplib::Response& response) {
                std::ifstream in(pageFolder / file, std::ios::binary);
                std::stringstream text;
                text << in.rdbuf();
                if (!in)
                    return refuse(response, 500, "the page is missing: " + (pageFolder / file).string());
                response.set_content(text.str(), contentType(file));
            });
        }
        server.Get("/events", [this](const httplib::Request&, httplib::Response& response) { stream(response); });
        server.Get(
            "/api/state", [this](auto&, auto& response) { answer(response, [](Studio& s) { return s.state(); }); });
        server.Get(
            "/api/trace", [this](auto&, auto& response) { answer(response, [](Studio& s) { return s.trace(); }); });
        server.Get("/api/scenario", [this](auto&, httplib::Response& response) {
            answer(response, [](Studio& s) { return s.savedScenario(); });
            response.set_header("Content-Disposition", "attachment; filename=\"studio-session.json\"");
        });
        server.Post("/api/step", [this](const httplib::Request& request, httplib::Response& response) {
            if (auto step = parseBody(request, response))
                answer(response, [step = *step](Studio& s) { return s.play(step); });
        });
        server.Get("/api/settings",
            [this](auto&, auto& response) { answer(response, [](Studio& s) { return s.settingsPages(); }); });
        server.Post("/api/settings", [this](const httplib::Request& request, httplib::Response& response) {
            if (auto change = parseBody(request, response))
                answer(response, [change = *change](Studio& s) { return s.changeSetting(change); });
        });
        server.Post("/api/device", [this](const httplib::Request& request, httplib::Response& response) {
            if (auto hardware = parseBody(request, response))
                answer(response, [hardware = *hardware](Studio& s) { return s.restart(hardware); });
        });
        server.Post("/api/pointer", [this](const httplib::Request& request, httplib::Response& response) {
            auto body = parseBody(request, response);
            if (!body)
                return;
            if (!body->is_object() || !(*body)["phase"].is_string() || !(*body)["x"].is_number()
                || !(*body)["y"].is_number())
                return refuse(response, 400, "a pointer event is {\"phase\": ..., \"x\": points, \"y\": points}");
            std::optional<double> pageTime;
            if (auto time = body->find("t"); time != body->end() && time->is_number())
                pageTime = time->get<double>();
            answer(response, [event = *body, pageTime](Studio& s) {
                return s.pointer(
                    event["phase"].get<std::string>(), event["x"].get<double>(), event["y"].get<double>(), pageTime);
            });
        });
        server.Post("/api/push", [this](const httplib::Request& request, httplib::Response& response) {
            answer(response, [payload = request.body, app = request.get_param_value("app")](Studio& s) {
                return s.push(payload, app);
            });
        });
        server.Post("/api/frame", [this](auto&, auto& response) {
            answer(response, [](Studio& s) {
                s.wantWholeFrame();
                return Json { { "ok", true } };
            });
        });
    }

    void stream(httplib::Response& response)
    {
        auto subscription = studio->events().subscribe();
        studio->call([](Studio& s) {
            s.wantWholeFrame();
            return Json::object();
        });
        response.set_header("X-Accel-Buffering", "no");
        response.set_chunked_content_provider(
            "text/event-stream",
            [this, subscription](size_t, httplib::DataSink& sink) {
                auto text = studio->events().next(
                    *subscription, std::chrono::duration_cast<std::chrono::milliseconds>(keepAlive));
                if (!text)
                    return false;
                if (text->empty())
                    *text = ": still here\n\n";
                return sink.write(text->data(), text->size());
            },
            [this, subscription](bool) { studio->events().unsubscribe(subscription); });
    }
};

StudioServer::StudioServer(Studio& studio, fs::path pageFolder)
    : m_state(std::make_unique<State>())
{
    m_state->studio = &studio;
    m_state->pageFolder = std::move(pageFolder);
    m_state->route();
}

StudioServer::~StudioServer()
{
    stop();
}

foundation::Result<void> StudioServer::start(uint16_t port)
{
    auto& state = *m_state;
    if (port == 0)
        state.port = state.server.bind_to_any_port("127.0.0.1");
    else
        state.port = state.server.bind_to_port("127.0.0.1", port) ? port : -1;
    if (state.port <= 0)
        return foundation::Error { port
                ? "the port " + std::to_string(port) + " on 127.0.0.1 is taken (--port N picks another)"
                : std::string("cannot bind a port on 127.0.0.1") };
    state.thread = std::thread([&state] { state.server.listen_after_bind(); });
    return {};
}

void StudioServer::stop()
{
    m_state->studio->events().close();
    m_state->server.stop();
    if (m_state->thread.joinable())
        m_state->thread.join();
}

uint16_t StudioServer::port() const
{
    return static_cast<uint16_t>(m_state->port);
}

const std::string& StudioServer::token() const
{
    return m_state->token;
}

std::string StudioServer::url() const
{
    return "http://127.0.0.1:" + std::to_string(m_state->port) + "/?token=" + m_state->token;
}

} // namespace tools::studio
