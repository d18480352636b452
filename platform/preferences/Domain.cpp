#include "platform/preferences/Domain.h"

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

std::optional<std::string> Domain::set(const std::string& key, const foundation::Value& value)
{
    auto values = read();
    if (value.isNil())
        values.remove(key);
    else
        values.set(key, value);
    return write(values, { key });
}

std::optional<std::string> Domain::removeAll()
{
    auto values = read();
    std::vector<std::string> keys;
    for (auto& [key, value] : values.entries())
        keys.push_back(key);
    return write(foundation::Value::dictionary(), keys);
}

std::optional<std::string> Domain::write(const foundation::Value& values, const std::vector<std::string>& changedKeys)
{
    auto path = hostPath();
    if (path.empty())
        return "the domain name " + m_identifier + " is not a valid file name";
    if (!values.isPropertyList())
        return std::string("only property-list values can be stored");
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (auto failure = foundation::writePropertyList(path, values, foundation::PropertyListFormat::Binary))
        return failure;
    m_device.trace().emit("preferences.changed", { { "domain", m_identifier }, { "keys", changedKeys } });
    m_device.distributedCenter().post(changeNotificationName());
    return std::nullopt;
}

} // namespace preferences
