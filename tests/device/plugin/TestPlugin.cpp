#include <memory>
#include <stdexcept>

#include "platform/device/PluginLoader.h"
#include "platform/device/Process.h"
#include "platform/runtime/Send.h"

// Marks every process it is loaded into with the class "TestPluginMarker",
// and makes an existing Greeter's `greeting` answer 41 more, so a test can
// see that the plug-in ran after the app's classes and before its start-up.
// It refuses to load into "com.example.refuses".
DEVICE_PLUGIN_ENTRY void device_plugin_load(device::Process& process)
{
    if (process.bundleIdentifier() == "com.example.refuses")
        throw std::runtime_error("not in this process");
    auto& runtime = process.runtime();
    runtime.defineClass<runtime::NSObject>("TestPluginMarker", "NSObject");
    if (auto* greeter = runtime.classNamed("Greeter")) {
        auto previous = std::make_shared<runtime::Imp>();
        *previous = runtime.hookMessage(*greeter, SEL("greeting"),
            runtime::Imp::of([previous](runtime::Object* self, runtime::Selector selector) -> int64_t {
                return (*previous).operator()<int64_t>(self, selector) + 41;
            }));
    }
}
