#include "platform/preferences/HBRootListController.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"

namespace preferences {

void HBRootListController::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<HBRootListController>(process.runtime(), "HBRootListController", "HBListController");
}

} // namespace preferences
