#pragma once

#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <unistd.h>

// A folder of its own under the system's temporary folder, removed with
// everything in it when the test is done.
class TempDirectory {
public:
    TempDirectory()
    {
        static std::atomic<unsigned> counter { 0 };
        std::random_device random;
        auto name = "brix-device-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + "-"
            + std::to_string(random());
        m_path = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(m_path);
    }
    ~TempDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
