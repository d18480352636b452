#pragma once

#include <string_view>

#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace brix {

class Brix;

namespace pfp {

    // Finds another app's container folder by the identifier its metadata
    // file records. The class FolderFinder has only class operations:
    // findSharedFolder:, findDataFolder:, findPrivateSharedFolder: (each with
    // its root below) and findFolder:folder:.
    class FolderFinder {
    public:
        static constexpr std::string_view sharedRoot = "/var/mobile/Containers/Shared/AppGroup/";
        static constexpr std::string_view dataRoot = "/var/mobile/Containers/Data/Application/";
        static constexpr std::string_view privateSharedRoot = "/private/var/mobile/Containers/Shared/AppGroup/";
        static constexpr std::string_view metadataFile = ".com.apple.mobile_container_manager.metadata.plist";

        // The first folder in `root`, in listing order, holding a metadata
        // file whose "MCMMetadataIdentifier" equals `identifier` ignoring
        // letter case, as the root followed by the folder's name; nil when
        // there is none, when the root cannot be listed or the identifier is
        // not a string. Nothing is cached.
        static foundation::Value findFolder(
            runtime::Runtime&, const foundation::Value& identifier, std::string_view root);

        static void registerClass(Brix&);
    };

} // namespace pfp
} // namespace brix
