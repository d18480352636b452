#include "tweak/pfp/FolderFinder.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include "platform/runtime/ClassBuilder.h"

#include "tweak/Brix.h"

namespace brix::pfp {

using foundation::Value;
using runtime::Class;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;

namespace {

    std::string lowercased(const std::string& text)
    {
        bool ascii = true;
        std::string result = text;
        for (char& c : result) {
            if (static_cast<unsigned char>(c) >= 0x80) {
                ascii = false;
                break;
            }
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        if (ascii)
            return result;
        result.clear();
        icu::UnicodeString::fromUTF8(text).toLower(icu::Locale::getRoot()).toUTF8String(result);
        return result;
    }

    Value contentsOf(Object* manager, const std::string& path)
    {
        return send<Value>(manager, SEL("contentsOfDirectoryAtPath:error:"), Value(path), static_cast<Value*>(nullptr));
    }

} // namespace

Value FolderFinder::findFolder(runtime::Runtime& runtime, const Value& identifier, std::string_view root)
{
    if (!identifier.isString())
        return {};
    std::string wanted = lowercased(identifier.string());
    auto manager = send<Ref<Object>>(runtime.classNamed("NSFileManager"), SEL("defaultManager"));
    Class* dictionaryClass = runtime.classNamed("NSDictionary");
    Value containers = contentsOf(manager.get(), std::string(root));
    for (auto& name : containers.items()) {
        std::string container = std::string(root) + name.string();
        Value files = contentsOf(manager.get(), container);
        for (auto& file : files.items()) {
            if (file.string().find(metadataFile) == std::string::npos)
                continue;
            Value metadata = send<Value>(
                dictionaryClass, SEL("dictionaryWithContentsOfFile:"), Value(container + "/" + file.string()));
            const Value& recorded = metadata["MCMMetadataIdentifier"];
            if (recorded.isString() && lowercased(recorded.string()) == wanted)
                return Value(container);
        }
    }
    return {};
}

void FolderFinder::registerClass(Brix& brix)
{
    auto& runtime = brix.runtime();
    if (runtime.classNamed("FolderFinder"))
        return;
    auto builder = runtime::ClassBuilder::define<runtime::NSObject>(runtime, "FolderFinder", "NSObject");
    auto* owner = &runtime;
    builder.classMethod(
        "findFolder:folder:", Imp::of([owner](Class*, Selector, const Value& identifier, const Value& root) -> Value {
            return root.isString() ? findFolder(*owner, identifier, root.string()) : Value();
        }));
    for (auto [selector, root] : { std::pair { "findSharedFolder:", sharedRoot },
             std::pair { "findDataFolder:", dataRoot }, std::pair { "findPrivateSharedFolder:", privateSharedRoot } }) {
        builder.classMethod(selector, Imp::of([folder = root](Class* self, Selector, const Value& identifier) {
            return send<Value>(self, SEL("findFolder:folder:"), identifier, Value(folder));
        }));
    }
}

} // namespace brix::pfp
