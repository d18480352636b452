#pragma once

#include "platform/preferences/PSListController.h"

namespace preferences {

// The page a list link opens: one row per choice of the link's specifier,
// the current choice checked. Choosing a row hands its value to the link's
// target and moves the check mark.
class PSListItemsController : public PSListController {
public:
    using PSListController::PSListController;

    // A user's choice of the row with that title; answers false when there is none.
    bool chooseTitled(const std::string& title);

    static void registerClass(device::Process&);

private:
    void buildItems();
    void choose(PSSpecifier& item);
};

} // namespace preferences
