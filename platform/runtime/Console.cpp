#include "platform/runtime/Console.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace runtime {

namespace {

    std::mutex& consoleMutex()
    {
        static std::mutex mutex;
        return mutex;
    }

    ConsoleSink& consoleSink()
    {
        static ConsoleSink sink;
        return sink;
    }

} // namespace

void console(std::string_view line)
{
    std::lock_guard lock(consoleMutex());
    if (auto& sink = consoleSink()) {
        sink(line);
        return;
    }
    std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
}

void setConsoleSink(ConsoleSink sink)
{
    std::lock_guard lock(consoleMutex());
    consoleSink() = std::move(sink);
}

} // namespace runtime
