#include "prefs/BRXAppearanceSettings.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/foundation/Version.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace brixprefs {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;

namespace {

    constexpr int64_t darkStyle = 2;

    Ref<Object> tintColor(runtime::Runtime& runtime)
    {
        auto* color = runtime.classNamed("UIColor");
        if (isDarkOnModernSystem(runtime))
            return send<Ref<Object>>(
                color, SEL("colorWithRed:green:blue:alpha:"), 238 / 255.0, 70 / 255.0, 107 / 255.0, 1.0);
        return send<Ref<Object>>(color, SEL("redColor"));
    }

} // namespace

bool isDarkOnModernSystem(runtime::Runtime& runtime)
{
    auto device = send<Ref<Object>>(runtime.classNamed("UIDevice"), SEL("currentDevice"));
    Value version = send<Value>(device, SEL("systemVersion"));
    if (foundation::compareVersions(version.string(), "13.0") < 0)
        return false;
    auto screen = send<Ref<Object>>(runtime.classNamed("UIScreen"), SEL("mainScreen"));
    auto traits = send<Ref<Object>>(screen, SEL("traitCollection"));
    return send<int64_t>(traits, SEL("userInterfaceStyle")) == darkStyle;
}

void BRXAppearanceSettings::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    runtime::ClassBuilder::define<BRXAppearanceSettings>(runtime, "BRXAppearanceSettings", "HBAppearanceSettings")
        .method("tintColor", Imp::of([&runtime](BRXAppearanceSettings*, Selector) { return tintColor(runtime); }))
        .method("tableViewCellSeparatorColor", Imp::of([&runtime](BRXAppearanceSettings*, Selector) {
            return send<Ref<Object>>(runtime.classNamed("UIColor"), SEL("colorWithWhite:alpha:"), 0.0, 0.0);
        }))
        .method("translucentNavigationBar", Imp::of([](BRXAppearanceSettings*, Selector) { return true; }));
}

} // namespace brixprefs
