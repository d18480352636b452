#pragma once

#include "platform/uikit/UIResponder.h"

namespace uikit {

// The running app. The first one a process creates is its shared
// application, the end of every responder chain; the app keeps it alive.
class UIApplication : public UIResponder {
public:
    using UIResponder::UIResponder;

    static void registerClass(device::Process&);
};

} // namespace uikit
