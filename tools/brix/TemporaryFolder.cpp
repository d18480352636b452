#include "tools/brix/TemporaryFolder.h"

#include <random>

namespace tools {

namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder(const std::string& prefix)
{
    std::random_device random;
    auto base = fs::temp_directory_path();
    while (true) {
        auto candidate = base / (prefix + std::to_string(random()));
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            m_path = candidate;
            return;
        }
        if (error && !fs::exists(candidate))
            throw fs::filesystem_error("cannot create a temporary folder", candidate, error);
    }
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code error;
    fs::remove_all(m_path, error);
}

} // namespace tools
