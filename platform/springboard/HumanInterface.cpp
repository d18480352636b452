#include "platform/springboard/HumanInterface.h"

#include <cmath>

#include "platform/device/Device.h"
#include "platform/device/Process.h"
#include "platform/uikit/Keyboard.h"
#include "platform/uikit/TouchDelivery.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"

namespace springboard {

using uikit::UITouch;

namespace {

    UITouch::Phase touchPhase(HumanInterface::Phase phase)
    {
        switch (phase) {
        case HumanInterface::Phase::Began:
            return UITouch::Began;
        case HumanInterface::Phase::Moved:
            return UITouch::Moved;
        case HumanInterface::Phase::Ended:
            return UITouch::Ended;
        case HumanInterface::Phase::Cancelled:
            break;
        }
        return UITouch::Cancelled;
    }

    // To the microsecond, and whole numbers as integers, as the trace writes times.
    device::Trace::Event coordinate(double value)
    {
        double rounded = std::round(value * 1e6) / 1e6;
        if (rounded == std::floor(rounded) && std::abs(rounded) < 1e15)
            return static_cast<int64_t>(rounded);
        return rounded;
    }

    const char* phaseName(HumanInterface::Phase phase)
    {
        switch (phase) {
        case HumanInterface::Phase::Began:
            return "began";
        case HumanInterface::Phase::Moved:
            return "moved";
        case HumanInterface::Phase::Ended:
            return "ended";
        case HumanInterface::Phase::Cancelled:
            break;
        }
        return "cancelled";
    }

} // namespace

HumanInterface::HumanInterface(device::Process& homeScreen)
    : m_process(&homeScreen)
{
}

HumanInterface& HumanInterface::of(device::Process& homeScreen)
{
    return homeScreen.service<HumanInterface>();
}

bool HumanInterface::isDown(int finger) const
{
    auto* delivery = m_process->existingService<uikit::TouchDelivery>();
    return delivery && delivery->isDown(finger);
}

std::optional<std::string> HumanInterface::touch(uikit::Point point, Phase phase, int finger)
{
    auto& delivery = uikit::TouchDelivery::of(*m_process);
    if (phase != Phase::Began && !delivery.isDown(finger))
        return std::nullopt;
    runtime::Ref<uikit::UIView> hit(delivery.deliver(finger, point, touchPhase(phase)));
    std::string className = hit ? std::string(hit->isa()->name()) : std::string();
    if (phase != Phase::Moved) {
        device::Trace::Event fields
            = { { "phase", phaseName(phase) }, { "point", { coordinate(point.x), coordinate(point.y) } } };
        fields["view"] = hit ? device::Trace::Event(className) : device::Trace::Event(nullptr);
        uikit::UIView* window = hit ? hit->window() : nullptr;
        fields["window"]
            = window ? device::Trace::Event(std::string(window->isa()->name())) : device::Trace::Event(nullptr);
        m_process->device().trace().emit("touch", std::move(fields));
    }
    Input input;
    input.kind = Input::Kind::Touch;
    input.phase = phase;
    input.point = point;
    input.finger = finger;
    report(std::move(input));
    return className;
}

bool HumanInterface::keys(std::string_view text)
{
    if (!uikit::Keyboard::of(*m_process).press(text))
        return false;
    Input input;
    input.kind = Input::Kind::Keys;
    input.keys = std::string(text);
    report(std::move(input));
    return true;
}

void HumanInterface::addListener(Listener listener)
{
    m_listeners.push_back(std::move(listener));
}

void HumanInterface::report(Input input)
{
    input.time = m_process->device().scheduler().now();
    auto listeners = m_listeners;
    for (auto& listener : listeners)
        listener(input);
}

} // namespace springboard
