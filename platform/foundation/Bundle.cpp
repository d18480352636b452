#include "platform/foundation/Bundle.h"

#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "platform/foundation/StringsTable.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Console.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    // A relative name that stays inside the folder it is resolved against.
    bool staysInside(std::string_view relative)
    {
        if (!relative.empty() && relative.front() == '/')
            return false;
        size_t start = 0;
        while (start <= relative.size()) {
            size_t end = relative.find('/', start);
            if (end == std::string_view::npos)
                end = relative.size();
            if (relative.substr(start, end - start) == "..")
                return false;
            start = end + 1;
        }
        return true;
    }

    std::string joined(std::string base, std::string_view component)
    {
        if (component.empty())
            return base;
        if (base.empty() || base.back() != '/')
            base += '/';
        base += component;
        return base;
    }

    std::optional<std::vector<uint8_t>> readFile(const std::filesystem::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        if (!file)
            return std::nullopt;
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    using BundleCache = std::map<std::string, runtime::WeakRef<Bundle>, std::less<>>;

} // namespace

bool Bundle::open(std::shared_ptr<const SystemEnvironment> environment, std::string devicePath)
{
    while (devicePath.size() > 1 && devicePath.back() == '/')
        devicePath.pop_back();
    auto host = environment->hostPath(devicePath);
    std::error_code error;
    if (host.empty() || !std::filesystem::is_directory(host, error))
        return false;
    m_environment = std::move(environment);
    m_path = std::move(devicePath);
    return true;
}

bool Bundle::exists(const std::string& devicePath) const
{
    auto host = m_environment->hostPath(devicePath);
    std::error_code error;
    return !host.empty() && std::filesystem::exists(host, error);
}

std::vector<std::string> Bundle::localizationFolders() const
{
    std::vector<std::string> folders;
    auto add = [&](std::string folder) {
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    };
    std::string locale = m_environment->localeIdentifier();
    std::string language = locale.substr(0, locale.find_first_of("_-"));
    if (language != locale) {
        std::string dashed = locale;
        std::replace(dashed.begin(), dashed.end(), '_', '-');
        add(dashed + ".lproj");
        add(locale + ".lproj");
    }
    if (!language.empty())
        add(language + ".lproj");
    add("en.lproj");
    add("Base.lproj");
    add("");
    return folders;
}

std::optional<std::string> Bundle::pathForResource(
    std::string_view name, std::string_view type, std::string_view directory) const
{
    if (name.empty() || !m_environment || !staysInside(name) || !staysInside(directory))
        return std::nullopt;
    std::string file(name);
    if (!type.empty()) {
        if (type.front() != '.')
            file += '.';
        file += type;
    }
    // Resources that are not localised come first, as the platform looks them up.
    std::vector<std::string> folders { "" };
    for (auto& folder : localizationFolders()) {
        if (!folder.empty())
            folders.push_back(folder);
    }
    for (auto& folder : folders) {
        std::string candidate = joined(joined(joined(m_path, folder), directory), file);
        if (exists(candidate))
            return candidate;
    }
    return std::nullopt;
}

Value Bundle::loadTable(const std::string& name) const
{
    for (auto& folder : localizationFolders()) {
        std::string devicePath = joined(joined(m_path, folder), name + ".strings");
        auto host = m_environment->hostPath(devicePath);
        std::error_code error;
        if (host.empty() || !std::filesystem::is_regular_file(host, error))
            continue;
        auto bytes = readFile(host);
        if (!bytes) {
            runtime::console("foundation: cannot read the strings table " + devicePath);
            return Value::dictionary();
        }
        auto table = parseStringsTable(*bytes);
        if (!table) {
            runtime::console("foundation: the strings table " + devicePath + " is malformed: " + table.error().message);
            return Value::dictionary();
        }
        return std::move(table).value();
    }
    return Value::dictionary();
}

const Value& Bundle::table(const std::string& name)
{
    auto it = m_tables.find(name);
    if (it == m_tables.end())
        it = m_tables.emplace(name, loadTable(name)).first;
    return it->second;
}

Value Bundle::localizedString(const Value& key, const Value& value, const Value& tableName)
{
    if (!key.isString())
        return value.isString() ? value : Value("");
    if (m_environment) {
        std::string name = tableName.isString() && !tableName.string().empty() ? tableName.string() : "Localizable";
        const Value& found = table(name)[key.string()];
        if (found.isString())
            return found;
    }
    return value.isString() && !value.string().empty() ? value : key;
}

void Bundle::registerClass(runtime::Runtime& runtime, std::shared_ptr<const SystemEnvironment> environment)
{
    if (runtime.classNamed("NSBundle"))
        return;
    auto cache = std::make_shared<BundleCache>();
    ClassBuilder::define<Bundle>(runtime, "NSBundle", "NSObject")
        .method("initWithPath:", Imp::of([environment](Bundle* self, Selector, const Value& path) -> Object* {
            if (!path.isString() || !self->open(environment, path.string()))
                return nullptr;
            return self;
        }))
        .method("bundlePath", Imp::of([](Bundle* self, Selector) { return Value(self->bundlePath()); }))
        .method("pathForResource:ofType:",
            Imp::of([](Bundle* self, Selector, const Value& name, const Value& type) -> Value {
                auto path = self->pathForResource(name.string(), type.string());
                return path ? Value(*path) : Value();
            }))
        .method("pathForResource:ofType:inDirectory:",
            Imp::of([](Bundle* self, Selector, const Value& name, const Value& type, const Value& directory) -> Value {
                auto path = self->pathForResource(name.string(), type.string(), directory.string());
                return path ? Value(*path) : Value();
            }))
        .method("localizedStringForKey:value:table:", Imp::of(&Bundle::localizedString))
        .classMethod(
            "bundleWithPath:", Imp::of([cache](runtime::Class* self, Selector, const Value& path) -> Ref<Object> {
                std::string key = path.string();
                if (auto it = cache->find(key); it != cache->end()) {
                    if (Bundle* existing = it->second.get())
                        return Ref<Object>(existing);
                }
                auto bundle = runtime::send<Ref<Object>>(runtime::alloc(self), SEL("initWithPath:"), path);
                if (auto* opened = dynamic_cast<Bundle*>(bundle.get())) {
                    std::erase_if(*cache, [](auto& entry) { return !entry.second; });
                    (*cache)[key] = opened;
                }
                return bundle;
            }));
}

} // namespace foundation
