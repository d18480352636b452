#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace tools {

// A new, empty folder under the system's temporary folder, removed with
// everything in it when the object goes, or when the tool is interrupted
// (SIGINT, SIGTERM, SIGHUP). Throws TemporaryFolder::Unavailable, saying why,
// when no folder can be made (an unusable TMPDIR).
class TemporaryFolder {
public:
    struct Unavailable : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    explicit TemporaryFolder(const std::string& prefix);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace tools
