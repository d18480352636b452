#pragma once

#include <memory>

#include "platform/device/Device.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/Geometry.h"
#include "platform/uikit/UIKit.h"

#include "tests/support/TempDirectory.h"

// A device on a temporary root with one process that has UIKit's classes.
class UIKitTestProcess {
public:
    explicit UIKitTestProcess(device::Hardware hardware = {})
        : m_device(std::make_unique<device::Device>(m_root.path(), hardware))
        , m_process(std::make_unique<device::Process>(*m_device, "com.example.uikit-test"))
    {
        uikit::defineClasses(*m_process);
    }

    device::Device& device() { return *m_device; }
    device::Process& process() { return *m_process; }
    runtime::Runtime& runtime() { return m_process->runtime(); }
    runtime::Class& cls(std::string_view name) { return *runtime().classNamed(name); }

    runtime::Ref<runtime::Object> make(std::string_view className)
    {
        return runtime::newObject(runtime().classNamed(className));
    }
    runtime::Ref<runtime::Object> makeView(std::string_view className = "UIView", uikit::Rect frame = {})
    {
        return runtime::send<runtime::Ref<runtime::Object>>(
            runtime::alloc(runtime().classNamed(className)), SEL("initWithFrame:"), frame);
    }

private:
    TempDirectory m_root;
    std::unique_ptr<device::Device> m_device;
    std::unique_ptr<device::Process> m_process;
};
