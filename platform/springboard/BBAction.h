#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Types.h"

namespace springboard {

// What happens when a bulletin is acted on: an app to launch, a block to
// run, or both.
//
// Messages: +actionWithLaunchBundleID:(Value)callblock:(Block<void()>) -> object, -launchBundleID,
//   -hasLaunchAction -> bool
class BBAction : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const foundation::Value& launchBundleID() const { return m_launchBundleID; }
    bool hasCallblock() const { return static_cast<bool>(m_callblock); }
    // Runs the action's block, if it has one.
    void runCallblock() const;

    static void registerClass(device::Process&);

private:
    foundation::Value m_launchBundleID;
    runtime::Block<void()> m_callblock;
};

} // namespace springboard
