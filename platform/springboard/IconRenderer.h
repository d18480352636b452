#pragma once

#include <string>
#include <string_view>

#include "platform/device/Forward.h"

namespace springboard {

// The home screen's renderer of app icons, UIKit's
// `+[UIImage _applicationIconImageForBundleIdentifier:format:]`. It answers
// the icon of an installed app, read from the icon cache of the device
// (`iconPath`), or nil for an app without an icon there. Every format
// answers the same picture.
class IconRenderer {
public:
    static constexpr const char* cacheFolder = "/var/mobile/Library/Caches/com.apple.IconsCache";

    // The device path of an app's icon: a PNG or JPEG file named after the app.
    static std::string iconPath(std::string_view bundleIdentifier);

    // Adds the renderer to the process's UIImage class.
    static void registerClass(device::Process&);
};

} // namespace springboard
