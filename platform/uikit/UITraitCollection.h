#pragma once

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"

namespace uikit {

// The traits of an environment; here the interface style: 0 unspecified,
// 1 light, 2 dark.
class UITraitCollection : public runtime::NSObject {
public:
    enum Style : int64_t { Unspecified = 0, Light = 1, Dark = 2 };

    using NSObject::NSObject;

    int64_t userInterfaceStyle() const { return m_userInterfaceStyle; }

    // A new collection of the process's class "UITraitCollection".
    static runtime::Ref<UITraitCollection> make(runtime::Runtime&, int64_t userInterfaceStyle);

    static void registerClass(device::Process&);

private:
    int64_t m_userInterfaceStyle { Unspecified };
};

} // namespace uikit
