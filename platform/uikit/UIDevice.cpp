#include "platform/uikit/UIDevice.h"

#include "platform/device/Device.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIKitState.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Selector;

std::string UIDevice::systemVersion() const
{
    return m_process ? m_process->device().hardware().systemVersion : std::string();
}

int64_t UIDevice::feedbackSupportLevel() const
{
    return m_process ? m_process->device().hardware().feedbackSupportLevel : 0;
}

Value UIDevice::valueForKey(const Value& key) const
{
    const std::string& name = key.string();
    if (name == "systemName")
        return Value("iOS");
    if (name == "systemVersion")
        return Value(systemVersion());
    if (name == "model")
        return Value("iPhone");
    if (name == "_feedbackSupportLevel")
        return Value(feedbackSupportLevel());
    return {};
}

void UIDevice::registerClass(device::Process& process)
{
    auto* owner = &process;
    runtime::ClassBuilder::define<UIDevice>(process.runtime(), "UIDevice", "NSObject")
        .method("init", Imp::of([owner](UIDevice* self, Selector) -> Object* {
            self->m_process = owner;
            return self;
        }))
        .method("systemName", Imp::of([](UIDevice*, Selector) { return Value("iOS"); }))
        .method("systemVersion", Imp::of([](UIDevice* self, Selector) { return Value(self->systemVersion()); }))
        .method("model", Imp::of([](UIDevice*, Selector) { return Value("iPhone"); }))
        .method("_feedbackSupportLevel", Imp::of(&UIDevice::feedbackSupportLevel))
        .method("valueForKey:", Imp::of([](UIDevice* self, Selector, Value key) { return self->valueForKey(key); }))
        .classMethod("currentDevice",
            Imp::of([owner](Object*, Selector) -> Object* { return UIKitState::of(*owner).currentDevice(); }));
}

} // namespace uikit
