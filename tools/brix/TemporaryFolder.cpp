#include "tools/brix/TemporaryFolder.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <set>
#include <thread>
#include <unistd.h>

namespace tools {

namespace fs = std::filesystem;

namespace {

    // The folders alive now, removed when the tool is interrupted: a signal
    // handler only writes the signal's number to a pipe, and a thread of its own
    // removes the folders, then lets the signal end the process as it would have.
    class LiveFolders {
    public:
        static LiveFolders& shared()
        {
            static auto* folders = new LiveFolders; // outlives every folder, and the exit
            return *folders;
        }

        void add(const fs::path& path)
        {
            std::lock_guard lock(m_mutex);
            watchSignals();
            m_paths.insert(path);
        }
        void remove(const fs::path& path)
        {
            std::lock_guard lock(m_mutex);
            m_paths.erase(path);
        }

    private:
        static constexpr int signals[] = { SIGINT, SIGTERM, SIGHUP };
        static inline int s_pipe[2] { -1, -1 };

        static void noted(int signal)
        {
            unsigned char number = static_cast<unsigned char>(signal);
            int saved = errno;
            [[maybe_unused]] auto written = ::write(s_pipe[1], &number, 1);
            errno = saved;
        }

        void watchSignals()
        {
            if (m_watching || ::pipe(s_pipe) != 0)
                return;
            m_watching = true;
            std::thread([this] {
                unsigned char number = 0;
                while (::read(s_pipe[0], &number, 1) < 0 && errno == EINTR) { }
                {
                    std::lock_guard lock(m_mutex);
                    for (auto& path : m_paths) {
                        std::error_code error;
                        fs::remove_all(path, error);
                    }
                    m_paths.clear();
                }
                std::signal(number, SIG_DFL);
                std::raise(number);
                std::_Exit(128 + number);
            }).detach();
            for (int signal : signals) {
                struct sigaction current { };
                // A signal the caller chose to ignore (nohup) stays ignored.
                if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
                    continue;
                struct sigaction action { };
                action.sa_handler = noted;
                sigemptyset(&action.sa_mask);
                action.sa_flags = SA_RESTART;
                ::sigaction(signal, &action, nullptr);
            }
        }

        std::mutex m_mutex;
        std::set<fs::path> m_paths;
        bool m_watching { false };
    };

    // The system's temporary folder ($TMPDIR, else /tmp), or why it cannot hold a folder of ours.
    fs::path temporaryBase()
    {
        const char* variable = std::getenv("TMPDIR");
        std::string named = variable && *variable ? "TMPDIR (" + std::string(variable) + ")" : "/tmp";
        std::error_code error;
        auto base = fs::temp_directory_path(error);
        if (error)
            throw TemporaryFolder::Unavailable(
                "cannot make a temporary folder: " + named + " is not a usable folder: " + error.message());
        if (::access(base.c_str(), W_OK | X_OK) != 0)
            throw TemporaryFolder::Unavailable(
                "cannot make a temporary folder: " + named + " is not writable: " + std::strerror(errno));
        return base;
    }

} // namespace

TemporaryFolder::TemporaryFolder(const std::string& prefix)
{
    std::random_device random;
    auto base = temporaryBase();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / (prefix + std::to_string(random()));
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            m_path = candidate;
            LiveFolders::shared().add(m_path);
            return;
        }
        if (error && !fs::exists(candidate))
            throw Unavailable("cannot make a temporary folder in " + base.string() + ": " + error.message());
    }
    throw Unavailable("cannot make a temporary folder in " + base.string() + ": every name tried is taken");
}

TemporaryFolder::~TemporaryFolder()
{
    LiveFolders::shared().remove(m_path);
    std::error_code error;
    fs::remove_all(m_path, error);
}

} // namespace tools
