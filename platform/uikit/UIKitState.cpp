#include "platform/uikit/UIKitState.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIWindow.h"

namespace uikit {

UIKitState::UIKitState(device::Process& process)
    : m_process(&process)
{
}

UIKitState::~UIKitState() = default;

UIKitState& UIKitState::of(device::Process& process)
{
    return process.service<UIKitState>();
}

UIScreen* UIKitState::mainScreen()
{
    if (!m_mainScreen)
        m_mainScreen = instantiate<UIScreen>(m_process->runtime(), "UIScreen");
    return m_mainScreen.get();
}

UIDevice* UIKitState::currentDevice()
{
    if (!m_currentDevice)
        m_currentDevice = instantiate<UIDevice>(m_process->runtime(), "UIDevice");
    return m_currentDevice.get();
}

UIApplication* UIKitState::application() const
{
    return m_application.get();
}

void UIKitState::registerApplication(UIApplication& application)
{
    if (!m_application)
        m_application = &application;
}

std::vector<runtime::Ref<UIWindow>> UIKitState::windows() const
{
    std::vector<runtime::Ref<UIWindow>> result;
    for (auto& window : m_windows) {
        if (auto* live = window.get())
            result.emplace_back(live);
    }
    return result;
}

void UIKitState::registerWindow(UIWindow& window)
{
    std::erase_if(m_windows, [](auto& entry) { return !entry; });
    m_windows.emplace_back(&window);
}

UIWindow* UIKitState::keyWindow() const
{
    return m_keyWindow.get();
}

void UIKitState::setKeyWindow(UIWindow* window)
{
    m_keyWindow = window;
}

} // namespace uikit
