#include "platform/foundation/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace foundation {

namespace {

    std::string describeErrno(int error)
    {
        return std::strerror(error);
    }

    std::filesystem::path folderOf(const std::filesystem::path& path)
    {
        auto folder = path.parent_path();
        return folder.empty() ? std::filesystem::path(".") : folder;
    }

    // Creates a fresh file beside the target; its name starts with a dot so that
    // folder listings and readers looking for the target ignore it.
    int createTemporaryFile(const std::filesystem::path& path, std::filesystem::path& temporary)
    {
        std::random_device entropy;
        for (int attempt = 0; attempt < 100; ++attempt) {
            char suffix[32];
            std::snprintf(suffix, sizeof(suffix), ".tmp-%08x", entropy());
            temporary = folderOf(path) / ("." + path.filename().string() + suffix);
            int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0 || errno != EEXIST)
                return fd;
        }
        errno = EEXIST;
        return -1;
    }

    bool writeAll(int fd, std::span<const uint8_t> bytes)
    {
        while (!bytes.empty()) {
            ssize_t written = ::write(fd, bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            bytes = bytes.subspan(static_cast<size_t>(written));
        }
        return true;
    }

    // Makes the rename itself durable. Some file systems cannot sync a folder;
    // the file is in place by then, so that is not a failure.
    void syncFolder(const std::filesystem::path& folder)
    {
        int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return;
        ::fsync(fd);
        ::close(fd);
    }

    // Writes, flushes and closes; answers the errno of the first step that failed, or 0.
    int fillAndClose(int fd, const std::filesystem::path& target, std::span<const uint8_t> bytes)
    {
        struct stat existing;
        if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
            ::fchmod(fd, existing.st_mode & 07777);
        int error = 0;
        if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
            error = errno;
        if (::close(fd) != 0 && !error)
            error = errno;
        return error;
    }

} // namespace

Result<void> writeFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes)
{
    auto failure = [&](const std::string& what, int error) {
        return Error { "cannot write " + path.string() + ": " + what + ": " + describeErrno(error) };
    };
    if (path.filename().empty())
        return Error { "cannot write " + path.string() + ": the path names no file" };
    // Renaming over a device node, a FIFO or a socket would replace it with a plain
    // file; only a regular file (or a link, which is replaced) or a new path will do.
    struct stat existing;
    if (::lstat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) && !S_ISLNK(existing.st_mode))
        return Error { "cannot write " + path.string() + ": it is not a regular file" };

    std::filesystem::path temporary;
    int fd = createTemporaryFile(path, temporary);
    if (fd < 0)
        return failure("cannot create a temporary file in " + folderOf(path).string(), errno);

    if (int error = fillAndClose(fd, path, bytes)) {
        ::unlink(temporary.c_str());
        return failure("cannot write the temporary file " + temporary.string(), error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        int error = errno;
        ::unlink(temporary.c_str());
        return failure("cannot move the new contents into place", error);
    }
    syncFolder(folderOf(path));
    return {};
}

} // namespace foundation
