#include <csignal>
#include <fstream>
#include <httplib.h>
#include <iostream>
#include <pthread.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "tools/brix/Commands.h"
#include "tools/brix/DeviceRoot.h"
#include "tools/brix/Installation.h"
#include "tools/brix/studio/Studio.h"
#include "tools/brix/studio/StudioServer.h"

namespace tools {

namespace fs = std::filesystem;
using scenario::Json;

namespace {

    struct StudioOptions {
        uint16_t port { 8765 };
        std::string session { (installation().studioFolder / "session.json").string() };
        double scale { 0 };
        bool open { false };
    };

    // Where a running studio leaves its address and token for `brix push`
    // (readable by this user only).
    fs::path studioFile()
    {
        return defaultDeviceRoot().parent_path() / "studio.json";
    }

    void writeStudioFile(const studio::StudioServer& server)
    {
        auto path = studioFile();
        std::error_code error;
        fs::create_directories(path.parent_path(), error);
        auto mask = umask(077);
        std::ofstream out(path, std::ios::trunc);
        umask(mask);
        out << Json { { "port", server.port() }, { "token", server.token() }, { "pid", getpid() } }.dump() << "\n";
    }

    void runStudio(const StudioOptions& options)
    {
        // Ctrl-C and SIGTERM end the session from a thread of their own.
        sigset_t signals;
        sigemptyset(&signals);
        sigaddset(&signals, SIGINT);
        sigaddset(&signals, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &signals, nullptr);

        std::cerr << "brix studio: starting the device ...\n";
        studio::Studio session({ options.session, options.scale, 85, 60, &std::cerr });
        if (auto started = session.start(); !started) {
            std::cerr << "brix studio: " << started.error().message << "\n";
            throw CLI::RuntimeError(2);
        }
        studio::StudioServer server(session, installation().studioFolder / "page");
        if (auto bound = server.start(options.port); !bound) {
            std::cerr << "brix studio: " << bound.error().message << "\n";
            throw CLI::RuntimeError(1);
        }
        writeStudioFile(server);
        std::cout << "Brix Studio on " << server.url() << "   (Ctrl-C ends it)" << std::endl;
        if (options.open) {
            std::string command = "xdg-open '" + server.url() + "' >/dev/null 2>&1 &";
            if (std::system(command.c_str()) != 0)
                std::cerr << "brix studio: no browser could be started; open the address above\n";
        }
        std::thread waiter([&session, signals] {
            int received = 0;
            sigwait(&signals, &received);
            session.stop();
        });
        session.run();
        server.stop();
        std::error_code error;
        fs::remove(studioFile(), error);
        // The waiter is still in sigwait when the session ended otherwise.
        pthread_kill(waiter.native_handle(), SIGTERM);
        waiter.join();
    }

    struct PushOptions {
        std::string payload;
        std::string app;
    };

    void push(const PushOptions& options)
    {
        std::ifstream file(options.payload, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        if (!file)
            failUsage("cannot read the payload " + options.payload);
        if (text.str().size() > studio::StudioServer::maxBodyBytes)
            failUsage(options.payload + " is larger than a payload may be");
        std::ifstream found(studioFile());
        Json where;
        try {
            found >> where;
        } catch (const Json::exception&) {
            std::cerr << "brix push: no studio is running (start one with: scripts/brix studio)\n";
            throw CLI::RuntimeError(1);
        }
        httplib::Client client("127.0.0.1", where.value("port", 0));
        httplib::Headers headers { { "X-Brix-Token", where.value("token", "") } };
        std::string path = "/api/push";
        if (!options.app.empty())
            path += "?app=" + httplib::detail::encode_query_param(options.app);
        auto result = client.Post(path, headers, text.str(), "application/json");
        if (!result) {
            std::cerr << "brix push: the studio does not answer (is it still running?)\n";
            throw CLI::RuntimeError(1);
        }
        Json answer = Json::parse(result->body, nullptr, false);
        if (result->status != 200) {
            std::cerr << "brix push: " << options.payload << ": "
                      << (answer.is_object() ? answer.value("error", result->body) : result->body) << "\n";
            throw CLI::RuntimeError(2);
        }
        std::cout << "sent as " << answer.value("id", "?") << "\n";
    }

} // namespace

void addStudioCommand(CLI::App& app)
{
    auto options = std::make_shared<StudioOptions>();
    auto* command = app.add_subcommand("studio", "Use the simulated phone live in a browser");
    command->add_option("--port", options->port, "the port on 127.0.0.1 (0: any free one)")->capture_default_str();
    command->add_option("--session", options->session, "a scenario whose device set-up the session starts from");
    command->add_option("--scale", options->scale, "pixels per point of the frames (default: the screen's own)")
        ->check(CLI::Range(0.5, 4.0));
    command->add_flag("--open", options->open, "open the page in the system's browser");
    command->footer("Examples:\n"
                    "  brix studio                 # prints the page's address; Ctrl-C ends it\n"
                    "  brix studio --port 8090 --session tests/scenarios/tap-opens-app.json");
    command->callback([options] { runStudio(*options); });

    auto pushOptions = std::make_shared<PushOptions>();
    auto* pushCommand = app.add_subcommand("push", "Send a notification payload (.apns) to the running studio");
    pushCommand->add_option("payload", pushOptions->payload, "the payload file (JSON)")->required();
    pushCommand->add_option(
        "--app", pushOptions->app, "the app's bundle id (else the payload's Simulator Target Bundle)");
    pushCommand->footer("Exit status: 0 when shown, 2 for a bad payload, 1 when no studio answers.\n"
                        "Examples:\n"
                        "  brix push payload.apns --app net.whatsapp.WhatsApp");
    pushCommand->callback([pushOptions] { push(*pushOptions); });
}

} // namespace tools
