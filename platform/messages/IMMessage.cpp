#include "platform/messages/IMMessage.h"

#include "platform/device/Process.h"
#include "platform/uikit/ClassBuilder.h"

namespace messages {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using uikit::ClassBuilder;

void IMMessage::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    ClassBuilder::define<IMMessage>(runtime, "IMMessage", "NSObject")
        .classMethod("instantMessageWithText:flags:",
            Imp::of([&runtime](Object*, Selector, Value text, uint64_t flags) -> Ref<Object> {
                auto message = uikit::instantiate<IMMessage>(runtime, "IMMessage");
                if (message) {
                    message->m_text = std::move(text);
                    message->m_flags = flags;
                }
                return message;
            }))
        .property("text", {}, &IMMessage::m_text)
        .property("flags", {}, &IMMessage::m_flags);
}

} // namespace messages
