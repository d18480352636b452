#include "platform/foundation/FileManager.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

#include "platform/foundation/DirectoryEnumerator.h"
#include "platform/foundation/ErrorObject.h"
#include "platform/foundation/PropertyList.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace foundation {

namespace fs = std::filesystem;
using runtime::Class;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    bool isDirectoryEntry(const fs::path& folder, const dirent& entry)
    {
        if (entry.d_type == DT_DIR)
            return true;
        if (entry.d_type != DT_UNKNOWN)
            return false;
        struct stat status { };
        return lstat((folder / entry.d_name).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
    }

    Ref<ErrorObject> readError(runtime::Runtime& runtime, const std::string& path, int error)
    {
        Value userInfo = Value::dictionary();
        userInfo.set("NSFilePath", Value(path));
        if (error == ENOENT || error == ENOTDIR)
            return ErrorObject::make(runtime, cocoaErrorDomain, fileReadNoSuchFileError,
                "The folder “" + path + "” doesn’t exist.", userInfo);
        if (error == EACCES || error == EPERM)
            return ErrorObject::make(runtime, cocoaErrorDomain, fileReadNoPermissionError,
                "You don’t have permission to view the folder “" + path + "”.", userInfo);
        return ErrorObject::make(runtime, cocoaErrorDomain, fileReadUnknownError,
            "The folder “" + path + "” could not be read: " + std::strerror(error) + ".", userInfo);
    }

    // The host path of a device path given as a value; empty for anything else.
    fs::path hostPathOf(const SystemEnvironment& environment, const Value& path)
    {
        return path.isString() ? environment.hostPath(path.string()) : fs::path();
    }

    // Property-list files read as dictionaries.
    void defineDictionaryFileReading(runtime::Runtime& runtime, std::shared_ptr<const SystemEnvironment> environment)
    {
        Class* dictionaryClass = runtime.classNamed("NSDictionary");
        if (!dictionaryClass)
            return;
        ClassBuilder(runtime, *dictionaryClass)
            .classMethod(
                "dictionaryWithContentsOfFile:", Imp::of([environment](Class*, Selector, const Value& path) -> Value {
                    auto host = hostPathOf(*environment, path);
                    auto value = host.empty() ? std::nullopt : readPropertyList(host);
                    return value && value->isDictionary() ? *value : Value();
                }));
    }

} // namespace

FileManager::Listing FileManager::list(const fs::path& hostFolder)
{
    Listing listing;
    DIR* folder = hostFolder.empty() ? nullptr : opendir(hostFolder.c_str());
    if (!folder) {
        listing.error = hostFolder.empty() ? ENOENT : errno;
        return listing;
    }
    while (dirent* entry = readdir(folder)) {
        std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        listing.entries.push_back({ std::string(name), isDirectoryEntry(hostFolder, *entry) });
    }
    closedir(folder);
    std::sort(
        listing.entries.begin(), listing.entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return listing;
}

void FileManager::registerClass(runtime::Runtime& runtime, std::shared_ptr<const SystemEnvironment> environment)
{
    if (runtime.classNamed("NSFileManager"))
        return;
    DirectoryEnumerator::registerClass(runtime);
    auto builder = ClassBuilder::define<FileManager>(runtime, "NSFileManager", "NSObject");
    auto* owner = &runtime;
    builder
        .method("contentsOfDirectoryAtPath:error:",
            Imp::of([owner, environment](FileManager*, Selector, const Value& path, Value* error) -> Value {
                auto listing = list(hostPathOf(*environment, path));
                if (listing.error) {
                    ErrorObject::report(error, readError(*owner, path.string(), listing.error).get());
                    return {};
                }
                Value names = Value::array();
                for (auto& entry : listing.entries)
                    names.append(Value(std::move(entry.name)));
                return names;
            }))
        .method("enumeratorAtPath:",
            Imp::of([owner, environment](FileManager*, Selector, const Value& path) -> Ref<Object> {
                auto enumerator = runtime::newObject(owner->classNamed("NSDirectoryEnumerator"));
                auto* typed = dynamic_cast<DirectoryEnumerator*>(enumerator.get());
                if (!typed || !typed->open(hostPathOf(*environment, path)))
                    return nullptr;
                return enumerator;
            }))
        .method("fileExistsAtPath:", Imp::of([environment](FileManager*, Selector, const Value& path) {
            auto host = hostPathOf(*environment, path);
            std::error_code ignored;
            return !host.empty() && fs::exists(host, ignored);
        }))
        .method("fileSystemRepresentationWithPath:",
            Imp::of([environment](FileManager*, Selector, const Value& path) -> Value {
                auto host = hostPathOf(*environment, path);
                return host.empty() ? Value() : Value(host.string());
            }));
    Ref<Object> manager = runtime::newObject(&builder.cls());
    builder.classMethod("defaultManager", Imp::of([manager](Class*, Selector) { return manager; }));
    defineDictionaryFileReading(runtime, std::move(environment));
}

} // namespace foundation
