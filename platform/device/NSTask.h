#pragma once

#include <string>
#include <vector>

#include "platform/device/Forward.h"
#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace device {

// Starts a system command (run-time class "NSTask"): a launch path and its
// arguments, launched once through the device (Device::launchCommand), which
// runs the program as a process of its own; the task does not wait for it.
//
// Messages: launchPath, setLaunchPath:(Value), arguments, setArguments:(Value
// array of strings), launch, isRunning (YES from a successful launch on).
// A task launches once; a second launch, a launch without a path, arguments
// that are not strings and a path where no program lives launch nothing, and
// the reason is traced as `command.failed`.
class NSTask : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const foundation::Value& launchPath() const { return m_launchPath; }
    const foundation::Value& arguments() const { return m_arguments; }
    bool isRunning() const { return m_launched; }

    // Fails with the reason when nothing was launched.
    foundation::Result<void> launch();

    static void registerClass(Process&);

private:
    foundation::Result<void> commandArguments(std::vector<std::string>&) const;
    void refuse(const std::string& reason) const;

    Process* m_process { nullptr };
    foundation::Value m_launchPath;
    foundation::Value m_arguments;
    bool m_launched { false };
};

} // namespace device
