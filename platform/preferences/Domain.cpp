#include "platform/preferences/Domain.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/device/Device.h"
#include "platform/device/Json.h"
#include "platform/foundation/PropertyList.h"

namespace preferences {

Domain::Domain(device::Device& device, std::string identifier)
    : m_device(device)
    , m_identifier(std::move(identifier))
{
}

std::filesystem::path Domain::hostPath() const
{
    if (m_identifier.empty() || m_identifier.find('/') != std::string::npos)
        return {};
    return m_device.hostPath("/var/mobile/Library/Preferences/" + m_identifier + ".plist");
}

foundation::Value Domain::read() const
{
    auto path = hostPath();
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error))
        return foundation::Value::dictionary();
    auto values = foundation::readPropertyList(path);
    if (!values || !values->isDictionary())
        return foundation::Value::dictionary();
    return *values;
}

namespace {

    // An advisory lock on a file beside the domain, held while the domain is read,
    // changed and written, so that two writers cannot lose each other's changes.
    class DomainLock {
    public:
        explicit DomainLock(const std::filesystem::path& domain)
        {
            auto path = domain;
            path += ".lock";
            m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
            if (m_fd < 0) {
                m_failure
                    = "cannot lock " + domain.string() + ": cannot open " + path.string() + ": " + std::strerror(errno);
                return;
            }
            while (::flock(m_fd, LOCK_EX) != 0) {
                if (errno != EINTR) {
                    m_failure = "cannot lock " + domain.string() + ": " + std::strerror(errno);
                    return;
                }
            }
        }
        ~DomainLock()
        {
            if (m_fd >= 0)
                ::close(m_fd);
        }
        DomainLock(const DomainLock&) = delete;
        DomainLock& operator=(const DomainLock&) = delete;

        const std::optional<std::string>& failure() const { return m_failure; }

    private:
        int m_fd { -1 };
        std::optional<std::string> m_failure;
    };

} // namespace

foundation::Result<foundation::Value> Domain::readForChange() const
{
    auto path = hostPath();
    std::error_code error;
    if (path.empty())
        return foundation::Error { "the domain name " + m_identifier + " is not a valid file name" };
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error)))
        return foundation::Value::dictionary();
    if (!std::filesystem::is_regular_file(path, error))
        return foundation::Error { "cannot change " + path.string() + ": it is not a regular file" };
    // What is stored but cannot be read is kept: a change written over it would lose it.
    auto values = foundation::loadPropertyList(path);
    if (!values)
        return foundation::Error { "cannot change " + path.string() + ", which cannot be read ("
            + values.error().message + "); nothing was written" };
    if (!values.value().isDictionary())
        return foundation::Error { "cannot change " + path.string()
            + ", which holds no dictionary of preferences; nothing was written" };
    return values;
}

foundation::Result<void> Domain::set(const std::string& key, const foundation::Value& value)
{
    auto path = hostPath();
    if (path.empty())
        return foundation::Error { "the domain name " + m_identifier + " is not a valid file name" };
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    DomainLock lock(path);
    if (lock.failure())
        return foundation::Error { *lock.failure() };
    auto values = readForChange();
    if (!values)
        return values.error();
    if (value.isNil())
        values.value().remove(key);
    else
        values.value().set(key, value);
    return write(values.value(), { key });
}

foundation::Result<void> Domain::removeAll()
{
    return removeAllLocked(nullptr);
}

foundation::Result<void> Domain::removeAll(std::filesystem::path& movedAside)
{
    movedAside.clear();
    return removeAllLocked(&movedAside);
}

namespace {

    std::string utcStamp()
    {
        std::time_t now = std::time(nullptr);
        std::tm parts {};
        gmtime_r(&now, &parts);
        char text[32];
        std::strftime(text, sizeof(text), "%Y%m%dT%H%M%SZ", &parts);
        return text;
    }

} // namespace

foundation::Result<void> Domain::removeAllLocked(std::filesystem::path* movedAside)
{
    auto path = hostPath();
    if (path.empty())
        return foundation::Error { "the domain name " + m_identifier + " is not a valid file name" };
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    DomainLock lock(path);
    if (lock.failure())
        return foundation::Error { *lock.failure() };
    auto values = readForChange();
    if (!values && movedAside && std::filesystem::is_regular_file(std::filesystem::symlink_status(path, error))) {
        // Kept whole under a name that says why, never written over.
        auto aside = path;
        aside += ".unreadable-" + utcStamp();
        for (int count = 2; std::filesystem::exists(std::filesystem::symlink_status(aside, error)); ++count) {
            aside = path;
            aside += ".unreadable-" + utcStamp() + "-" + std::to_string(count);
        }
        if (::rename(path.c_str(), aside.c_str()) != 0) {
            return foundation::Error { "cannot move the unreadable " + path.string() + " aside to " + aside.string()
                + ": " + std::strerror(errno) };
        }
        *movedAside = aside;
        values = foundation::Value::dictionary();
    }
    if (!values)
        return values.error();
    std::vector<std::string> keys;
    for (auto& [key, value] : values.value().entries())
        keys.push_back(key);
    return write(foundation::Value::dictionary(), keys);
}

namespace {

    // The atomic writer's temporary files for this domain (.<file>.tmp-*). With
    // the lock held no writer is half-way, so any there was left by one that was
    // killed mid-write.
    void removeStaleTemporaryFiles(const std::filesystem::path& domain)
    {
        std::string prefix = "." + domain.filename().string() + ".tmp-";
        std::error_code error;
        for (std::filesystem::directory_iterator entries(domain.parent_path(), error), end; !error && entries != end;
             entries.increment(error)) {
            auto name = entries->path().filename().string();
            std::error_code ignored;
            if (name.starts_with(prefix) && entries->is_regular_file(ignored))
                std::filesystem::remove(entries->path(), ignored);
        }
    }

} // namespace

foundation::Result<void> Domain::write(const foundation::Value& values, const std::vector<std::string>& changedKeys)
{
    auto path = hostPath();
    if (path.empty())
        return foundation::Error { "the domain name " + m_identifier + " is not a valid file name" };
    if (!values.isPropertyList())
        return foundation::Error { "only property-list values can be stored" };
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    removeStaleTemporaryFiles(path);
    if (auto written = foundation::writePropertyList(path, values, foundation::PropertyListFormat::Binary); !written)
        return written;
    m_device.trace().emit("preferences.changed", { { "domain", m_identifier }, { "keys", changedKeys } });
    m_device.distributedCenter().post(changeNotificationName());
    return {};
}

} // namespace preferences
