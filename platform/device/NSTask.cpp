#include "platform/device/NSTask.h"

#include "platform/device/Device.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace device {

using foundation::Value;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Selector;

foundation::Result<void> NSTask::commandArguments(std::vector<std::string>& result) const
{
    if (m_arguments.isNil())
        return {};
    if (!m_arguments.isArray())
        return foundation::Error { "the arguments are not an array of strings" };
    for (auto& argument : m_arguments.items()) {
        if (!argument.isString())
            return foundation::Error { "an argument is not a string" };
        result.push_back(argument.string());
    }
    return {};
}

void NSTask::refuse(const std::string& reason) const
{
    if (!m_process)
        return;
    m_process->device().trace().emit("command.failed",
        { { "path", m_launchPath.isString() ? Value(m_launchPath).string() : std::string() }, { "reason", reason },
            { "bundleId", m_process->bundleIdentifier() } });
}

foundation::Result<void> NSTask::launch()
{
    foundation::Result<void> ready;
    std::vector<std::string> arguments;
    if (m_launched)
        ready = foundation::Error { "the task was launched already" };
    else if (!m_launchPath.isString() || m_launchPath.string().empty())
        ready = foundation::Error { "the task has no launch path" };
    else
        ready = commandArguments(arguments);
    if (!ready) {
        refuse(ready.error().message);
        return ready;
    }
    if (!m_process)
        return foundation::Error { "the task belongs to no process" };
    // The device traces a missing program itself.
    if (auto launched = m_process->device().launchCommand(m_launchPath.string(), std::move(arguments)); !launched)
        return launched;
    m_launched = true;
    return {};
}

void NSTask::registerClass(Process& process)
{
    auto& runtime = process.runtime();
    if (runtime.classNamed("NSTask"))
        return;
    auto* owner = &process;
    ClassBuilder::define<NSTask>(runtime, "NSTask", "NSObject")
        .method("init", Imp::of([owner](NSTask* self, Selector) -> runtime::Object* {
            self->m_process = owner;
            return self;
        }))
        .property("launchPath", "setLaunchPath:", &NSTask::m_launchPath)
        .property("arguments", "setArguments:", &NSTask::m_arguments)
        .method("launch", Imp::of([](NSTask* self, Selector) { (void)self->launch(); }))
        .method("isRunning", Imp::of([](NSTask* self, Selector) { return self->isRunning(); }));
}

} // namespace device
