#include "platform/messages/IMMessage.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/NSAttributedString.h"

namespace messages {

using foundation::Value;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using uikit::NSAttributedString;

namespace {

    // An immutable attributed string holding the text given, or nil when `text` holds none.
    Ref<NSAttributedString> attributedText(runtime::Runtime& runtime, const Value& text)
    {
        if (text.isString())
            return NSAttributedString::make(runtime, text.string());
        auto* attributed = dynamic_cast<NSAttributedString*>(text.object());
        if (!attributed)
            return nullptr;
        return NSAttributedString::copyOf(runtime, *attributed);
    }

} // namespace

std::string IMMessage::plainText() const
{
    return m_text ? m_text->string() : std::string();
}

void IMMessage::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    ClassBuilder::define<IMMessage>(runtime, "IMMessage", "NSObject")
        .classMethod("instantMessageWithText:flags:",
            Imp::of([&runtime](Object*, Selector, Value text, uint64_t flags) -> Ref<Object> {
                auto attributed = attributedText(runtime, text);
                if (!attributed)
                    return nullptr;
                auto message = runtime::instantiate<IMMessage>(runtime, "IMMessage");
                if (message) {
                    message->m_text = std::move(attributed);
                    message->m_flags = flags;
                }
                return message;
            }))
        .property("text", {}, &IMMessage::m_text)
        .property("flags", {}, &IMMessage::m_flags);
}

} // namespace messages
