#include "platform/preferences/HBRootListController.h"

#include "platform/device/Process.h"
#include "platform/uikit/ClassBuilder.h"

namespace preferences {

void HBRootListController::registerClass(device::Process& process)
{
    uikit::ClassBuilder::define<HBRootListController>(process.runtime(), "HBRootListController", "HBListController");
}

} // namespace preferences
