#include "platform/springboard/BBAction.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

namespace springboard {

using foundation::Value;
using runtime::Block;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void BBAction::runCallblock() const
{
    if (m_callblock)
        m_callblock();
}

void BBAction::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    ClassBuilder::define<BBAction>(runtime, "BBAction", "NSObject")
        .classMethod("actionWithLaunchBundleID:callblock:",
            Imp::of([&runtime](Object*, Selector, Value bundleID, Block<void()> callblock) -> Ref<Object> {
                auto action = runtime::instantiate<BBAction>(runtime, "BBAction");
                if (action) {
                    action->m_launchBundleID = std::move(bundleID);
                    action->m_callblock = std::move(callblock);
                }
                return action;
            }))
        .property("launchBundleID", {}, &BBAction::m_launchBundleID)
        .method(
            "hasLaunchAction", Imp::of([](BBAction* self, Selector) { return !self->m_launchBundleID.isEmptyText(); }));
}

} // namespace springboard
