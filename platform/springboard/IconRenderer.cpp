#include "platform/springboard/IconRenderer.h"

#include <fstream>
#include <iterator>

#include "platform/device/Device.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIImage.h"

namespace springboard {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    bool isPlainName(std::string_view name)
    {
        return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
    }

    Ref<Object> loadIcon(device::Process& process, Object* imageClass, const std::string& devicePath)
    {
        auto hostPath = process.device().hostPath(devicePath);
        std::error_code error;
        if (hostPath.empty() || !std::filesystem::is_regular_file(hostPath, error))
            return nullptr;
        // UIKit decodes the picture when it can; a bare image of the file's bytes otherwise.
        if (imageClass->isa()->respondsToSelector(SEL("imageWithContentsOfFile:")))
            return runtime::send<Ref<Object>>(imageClass, SEL("imageWithContentsOfFile:"), Value(devicePath));
        std::ifstream file(hostPath, std::ios::binary);
        foundation::Data bytes { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
        return uikit::UIImage::make(process.runtime(), {}, 1, devicePath, std::move(bytes));
    }

} // namespace

std::string IconRenderer::iconPath(std::string_view bundleIdentifier)
{
    return std::string(cacheFolder) + "/" + std::string(bundleIdentifier) + ".png";
}

void IconRenderer::registerClass(device::Process& process)
{
    auto* imageClass = process.runtime().classNamed("UIImage");
    if (!imageClass)
        return;
    auto* owner = &process;
    runtime::ClassBuilder(process.runtime(), *imageClass)
        .classMethod("_applicationIconImageForBundleIdentifier:format:",
            Imp::of([owner](Object* self, Selector, Value bundleIdentifier, int64_t) -> Ref<Object> {
                if (!bundleIdentifier.isString() || !isPlainName(bundleIdentifier.string()))
                    return nullptr;
                return loadIcon(*owner, self, iconPath(bundleIdentifier.string()));
            }));
}

} // namespace springboard
