#pragma once

#include "platform/preferences/HBListController.h"

namespace brixprefs {

// Every page below the first: the row that opens it names its specifier
// file ("BRXSub") and gives it its title (the row's name). A page keeps its
// rows when the Settings app comes back from the background. `resetPrefs:`
// removes every stored setting and restarts the home screen at once.
class BRXSubPrefsListController : public preferences::HBListController {
public:
    using HBListController::HBListController;

    static void registerClass(device::Process&);

private:
    void loadFromSpecifier(runtime::Object* specifier);
    void resetPreferences();
};

} // namespace brixprefs
