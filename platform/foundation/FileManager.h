#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/SystemEnvironment.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace foundation {

// The platform's NSFileManager over the device's file system: every path is
// a device path, resolved beneath the device's root; a path that is not
// absolute or would leave the root names nothing.
//
// Messages: +defaultManager (one per run time),
// -contentsOfDirectoryAtPath:error: (the names in a folder, not recursively,
// "." and ".." left out, in listing order; nil with an NSError for a folder
// that is missing, not a folder or unreadable), -enumeratorAtPath: (an
// NSDirectoryEnumerator over everything below a folder; nil when the path is
// not a readable folder), -fileExistsAtPath:, and
// -fileSystemRepresentationWithPath: (the path on this machine that a C
// library such as SQLite opens; nil for a path outside the device).
//
// Listing order is the byte order of the names' UTF-8 text, so that every
// listing of the same folder is the same on every machine.
class FileManager : public runtime::NSObject {
public:
    using NSObject::NSObject;

    struct Entry {
        std::string name;
        bool isDirectory { false }; // a link to a folder is not a folder
    };
    struct Listing {
        std::vector<Entry> entries;
        int error { 0 }; // the system's error number when the folder could not be read
    };

    // The entries of a folder on this machine, in listing order.
    static Listing list(const std::filesystem::path& hostFolder);

    // Defines "NSFileManager", "NSDirectoryEnumerator" and NSDictionary's
    // +dictionaryWithContentsOfFile:, which read the device through
    // `environment`. Does nothing when NSFileManager exists.
    static void registerClass(runtime::Runtime&, std::shared_ptr<const SystemEnvironment> environment);
};

} // namespace foundation
