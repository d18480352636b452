#pragma once

#include "platform/preferences/HBListController.h"

namespace preferences {

// The first page of a settings bundle: a list page with an appearance,
// which the Settings app opens from the bundle's entry.
class HBRootListController : public HBListController {
public:
    using HBListController::HBListController;

    static void registerClass(device::Process&);
};

} // namespace preferences
