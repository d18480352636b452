#include "platform/messages/ConversationStore.h"

#include "platform/device/Device.h"
#include "platform/foundation/PropertyList.h"

namespace messages {

namespace fs = std::filesystem;
using foundation::Error;
using foundation::Result;
using foundation::Value;

ConversationStore::ConversationStore(const device::Device& device)
    : m_device(&device)
{
}

Result<std::vector<std::string>> ConversationStore::load() const
{
    auto path = m_device->hostPath(devicePath);
    std::error_code error;
    if (!fs::exists(path, error))
        return std::vector<std::string> {};
    auto loaded = foundation::loadPropertyList(path);
    if (!loaded)
        return Error { std::string(devicePath) + ": " + loaded.error().message };
    const Value& list = loaded.value();
    if (!list.isArray())
        return Error { std::string(devicePath) + " must hold an array of conversations" };
    std::vector<std::string> guids;
    for (size_t index = 0; index < list.count(); ++index) {
        const Value& guid = list[index]["guid"];
        if (!guid.isString() || guid.string().empty())
            return Error { std::string(devicePath) + ": conversation " + std::to_string(index)
                + " has no \"guid\" string" };
        guids.push_back(guid.string());
    }
    return guids;
}

foundation::Result<void> ConversationStore::save(const std::vector<std::string>& guids) const
{
    Value list = Value::array();
    for (auto& guid : guids) {
        if (guid.empty())
            return foundation::Error { "a conversation needs a chat guid" };
        list.append(Value(Value::Dictionary { { "guid", Value(guid) } }));
    }
    auto path = m_device->hostPath(devicePath);
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error)
        return foundation::Error { "cannot create the folder of " + std::string(devicePath) + ": " + error.message() };
    return foundation::writePropertyList(path, list, foundation::PropertyListFormat::Xml);
}

} // namespace messages
