#pragma once

#include <filesystem>
#include <string>

namespace tools {

// A new, empty folder under the system's temporary folder, removed with
// everything in it when the object goes. Throws std::filesystem::filesystem_error
// when no folder can be made.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& prefix);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace tools
