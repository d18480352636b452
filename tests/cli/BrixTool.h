#pragma once

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
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

    // Runs the tool to its end.
    Outcome run(const std::vector<std::string>& arguments) const
    {
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
    std::filesystem::path m_scratch;
    std::vector<std::string> m_environment;
};
