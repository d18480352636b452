#include "platform/springboard/SpringBoardState.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/springboard/SBLockScreenManager.h"

namespace springboard {

SpringBoardState::SpringBoardState(device::Process& process)
    : m_process(&process)
{
}

SpringBoardState::~SpringBoardState() = default;

SpringBoardState& SpringBoardState::of(device::Process& process)
{
    return process.service<SpringBoardState>();
}

SBLockScreenManager* SpringBoardState::lockScreenManager()
{
    if (!m_lockScreenManager)
        m_lockScreenManager = runtime::instantiate<SBLockScreenManager>(m_process->runtime(), "SBLockScreenManager");
    return m_lockScreenManager.get();
}

} // namespace springboard
