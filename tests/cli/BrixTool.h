#pragma once

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// The built brix tool, started as a child process.
class BrixTool {
public:
    struct Outcome {
        int code { -1 };
        std::string out;
        std::string err;
    };

    // `environment` entries ("NAME=value") are added to this process's environment.
    explicit BrixTool(std::filesystem::path scratch, std::vector<std::string> environment = {})
        : m_scratch(std::move(scratch))
        , m_environment(std::move(environment))
    {
    }

    // Files the tool writes may grow to `bytes` and no further: as on a full
    // disk, a write past it fails (the signal for it is ignored). Applies to run().
    void limitFileSize(size_t bytes) { m_fileSizeLimit = bytes; }

    // Runs the tool to its end.
    Outcome run(const std::vector<std::string>& arguments) const
    {
        if (m_fileSizeLimit)
            return runThroughPipes(arguments);
        pid_t child = start(arguments);
        int status = 0;
        ::waitpid(child, &status, 0);
        Outcome outcome;
        outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        outcome.out = slurp(m_scratch / "stdout");
        outcome.err = slurp(m_scratch / "stderr");
        return outcome;
    }

    // Starts the tool and answers its process id; the caller waits for it.
    pid_t start(const std::vector<std::string>& arguments) const
    {
        auto out = (m_scratch / "stdout").string();
        auto err = (m_scratch / "stderr").string();
        std::vector<std::string> words { BRIX_TOOL };
        words.insert(words.end(), arguments.begin(), arguments.end());
        pid_t child = ::fork();
        if (child == 0) {
            for (auto& entry : m_environment)
                ::putenv(const_cast<char*>(entry.c_str()));
            int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(outFd, STDOUT_FILENO);
            ::dup2(errFd, STDERR_FILENO);
            std::vector<char*> argv;
            for (auto& word : words)
                argv.push_back(const_cast<char*>(word.c_str()));
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        return child;
    }

    static std::string slurp(const std::filesystem::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        std::stringstream contents;
        contents << file.rdbuf();
        return contents.str();
    }

private:
    // With files limited in size, what the tool prints goes through pipes, which no limit holds back.
    Outcome runThroughPipes(const std::vector<std::string>& arguments) const
    {
        int out[2], err[2];
        if (::pipe(out) != 0 || ::pipe(err) != 0)
            return {};
        std::vector<std::string> words { BRIX_TOOL };
        words.insert(words.end(), arguments.begin(), arguments.end());
        pid_t child = ::fork();
        if (child == 0) {
            for (auto& entry : m_environment)
                ::putenv(const_cast<char*>(entry.c_str()));
            ::dup2(out[1], STDOUT_FILENO);
            ::dup2(err[1], STDERR_FILENO);
            ::close(out[0]);
            ::close(err[0]);
            ::signal(SIGXFSZ, SIG_IGN);
            rlimit limit { *m_fileSizeLimit, *m_fileSizeLimit };
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::vector<char*> argv;
            for (auto& word : words)
                argv.push_back(const_cast<char*>(word.c_str()));
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        Outcome outcome;
        pollfd streams[2] = { { out[0], POLLIN, 0 }, { err[0], POLLIN, 0 } };
        std::string* texts[2] = { &outcome.out, &outcome.err };
        for (int open = 2; open > 0;) {
            if (::poll(streams, 2, -1) < 0)
                break;
            for (int index = 0; index < 2; ++index) {
                if (streams[index].fd < 0 || !streams[index].revents)
                    continue;
                char buffer[4096];
                ssize_t got = ::read(streams[index].fd, buffer, sizeof(buffer));
                if (got > 0) {
                    texts[index]->append(buffer, static_cast<size_t>(got));
                } else {
                    ::close(streams[index].fd);
                    streams[index].fd = -1;
                    --open;
                }
            }
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return outcome;
    }

    std::filesystem::path m_scratch;
    std::vector<std::string> m_environment;
    std::optional<rlim_t> m_fileSizeLimit;
};
