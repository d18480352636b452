#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/SystemEnvironment.h"
#include "platform/foundation/Value.h"

namespace foundation {

// The platform's NSBundle: a folder of resources on the device, found by
// device path, with localised strings tables in its ".lproj" folders.
//
// Messages: +bundleWithPath: and -initWithPath: (nil when the folder does not
// exist; the same path gives the same bundle while it lives), -bundlePath,
// -pathForResource:ofType:, -pathForResource:ofType:inDirectory: (a device
// path or nil), -localizedStringForKey:value:table:.
class Bundle : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const std::string& bundlePath() const { return m_path; }

    // The device path of the resource `name` (which may name subfolders)
    // with the extension `type` (none when empty), looked for in `directory`
    // of the bundle's root, then of its localisations. Nothing when it does
    // not exist, or when a name or folder would climb out with "..".
    std::optional<std::string> pathForResource(
        std::string_view name, std::string_view type, std::string_view directory = {}) const;

    // The string for `key` in the strings table `table` (nil or empty: the
    // default table, "Localizable"), taken from the first of the bundle's
    // localisations that has the table: the device language's, "en", "Base",
    // then the bundle's root. A missing key answers `value` when it is a
    // non-empty string, else the key; a nil key answers `value`, or "".
    Value localizedString(const Value& key, const Value& value, const Value& table);

    static void registerClass(runtime::Runtime&, std::shared_ptr<const SystemEnvironment>);

private:
    bool open(std::shared_ptr<const SystemEnvironment>, std::string devicePath);
    std::vector<std::string> localizationFolders() const;
    bool exists(const std::string& devicePath) const;
    const Value& table(const std::string& name);
    Value loadTable(const std::string& name) const;

    std::shared_ptr<const SystemEnvironment> m_environment;
    std::string m_path;
    std::map<std::string, Value, std::less<>> m_tables;
};

} // namespace foundation
