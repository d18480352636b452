#include "platform/springboard/SBLockScreenManager.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/springboard/SpringBoardState.h"
#include "platform/uikit/UIViewController.h"

namespace springboard {

using foundation::Value;
using runtime::Block;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Selector;

void SBLockScreenManager::activateLockScreen(device::Process& process, bool animated, Block<void()> completion)
{
    m_uiLocked = true;
    ++m_activationCount;
    double duration = animated ? uikit::UIViewController::transitionDuration : 0;
    process.mainQueue().after(duration, [completion = std::move(completion)] {
        if (completion)
            completion();
    });
}

bool SBLockScreenManager::unlock()
{
    bool wasLocked = m_uiLocked;
    m_uiLocked = false;
    return wasLocked;
}

void SBLockScreenManager::registerClass(device::Process& process)
{
    auto* owner = &process;
    ClassBuilder::define<SBLockScreenManager>(process.runtime(), "SBLockScreenManager", "NSObject")
        .classMethod("sharedInstance",
            Imp::of([owner](Object*, Selector) -> Object* { return SpringBoardState::of(*owner).lockScreenManager(); }))
        .method("isUILocked", Imp::of(&SBLockScreenManager::isUILocked))
        // The usual way in: the lock button, the idle timer, a remote request.
        .method("lockUIFromSource:withOptions:", Imp::of([](SBLockScreenManager* self, Selector, int64_t, Value) {
            runtime::send(self,
                SEL("_activateLockScreenAnimated:animationProvider:automatically:inScreenOffMode:dimInAnimation:"
                    "dismissNotificationCenter:completion:"),
                true, static_cast<Object*>(nullptr), false, false, false, true, Block<void()> {});
        }))
        .method("_activateLockScreenAnimated:animationProvider:automatically:inScreenOffMode:dimInAnimation:"
                "dismissNotificationCenter:completion:",
            Imp::of(
                [owner](SBLockScreenManager* self, Selector, bool animated, Object*, bool, bool, bool, bool,
                    Block<void()> completion) { self->activateLockScreen(*owner, animated, std::move(completion)); }))
        .method("unlockUIFromSource:withOptions:",
            Imp::of([](SBLockScreenManager* self, Selector, int64_t, Value) { return self->unlock(); }));
}

} // namespace springboard
