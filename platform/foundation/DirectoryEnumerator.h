#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/FileManager.h"

namespace foundation {

// The platform's NSDirectoryEnumerator: every entry below a folder, at any
// depth, each named by its path relative to the folder ("a", "a/b.jpg"). A
// folder comes before what it holds, and the entries of each folder come in
// listing order. Links are listed but not followed; a folder inside that
// cannot be read is listed and its contents are passed over.
//
// Messages: -nextObject (the next path, nil at the end), -allObjects (the
// paths not yet returned), -skipDescendants (do not go into the folder that
// -nextObject returned last).
class DirectoryEnumerator : public runtime::NSObject {
public:
    using NSObject::NSObject;

    // Starts at a folder on this machine; false when it is not a readable folder.
    bool open(const std::filesystem::path& hostFolder);

    std::optional<std::string> next();
    void skipDescendants() { m_pendingDescent.reset(); }

    static void registerClass(runtime::Runtime&);

private:
    struct Level {
        std::string prefix; // the level's path relative to the root, with a trailing "/"; empty at the root
        std::vector<FileManager::Entry> entries;
        size_t index { 0 };
    };

    void descend();

    std::filesystem::path m_root;
    std::vector<Level> m_levels;
    // The folder returned last, entered on the next call unless skipped.
    std::optional<std::string> m_pendingDescent;
};

} // namespace foundation
