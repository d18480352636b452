#include "platform/springboard/SBNotificationBannerDestination.h"

#include "platform/device/Device.h"
#include "platform/device/Json.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/springboard/NCNotificationAction.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"

namespace springboard {

using foundation::Value;
using runtime::Block;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    // The app an action opens: the one it names, else the notification's own for its default action.
    Value appToOpen(const NCNotificationRequest& request, const NCNotificationAction& action)
    {
        if (!action.launchBundleID().isEmptyText())
            return action.launchBundleID();
        if (&action == request.defaultAction())
            return request.sectionIdentifier();
        return {};
    }

    bool endsPresentation(const NCNotificationRequest& request, const NCNotificationAction& action)
    {
        return &action == request.defaultAction() || &action == request.clearAction()
            || &action == request.closeAction();
    }

} // namespace

void SBNotificationBannerDestination::executeAction(
    device::Process& process, Object* controllerObject, Object* actionObject, Block<void(bool)> completion)
{
    Ref<NCNotificationViewController> controller(dynamic_cast<NCNotificationViewController*>(controllerObject));
    auto* action = dynamic_cast<NCNotificationAction*>(actionObject);
    auto* request = controller ? controller->notificationRequest() : nullptr;
    if (!request || !action) {
        if (completion)
            completion(false);
        return;
    }
    if (Value app = appToOpen(*request, *action); !app.isEmptyText())
        controller->traceEvent(process, "app.opened", { { "bundleId", device::toJson(app) } });
    if (endsPresentation(*request, *action)) {
        runtime::sendIfResponds(controller.get(), SEL("dismissViewControllerWithTransition:completion:"),
            static_cast<int64_t>(NCNotificationShortLookViewController::ActionPerformed), Block<void(bool)> {});
    }
    if (completion)
        completion(true);
}

void SBNotificationBannerDestination::registerClass(device::Process& process)
{
    auto* owner = &process;
    ClassBuilder::define<SBNotificationBannerDestination>(
        process.runtime(), "SBNotificationBannerDestination", "NSObject")
        .method("notificationViewController:executeAction:withParameters:completion:",
            Imp::of([owner](SBNotificationBannerDestination* self, Selector, Object* controller, Object* action, Value,
                        Block<void(bool)> completion) {
                self->executeAction(*owner, controller, action, std::move(completion));
            }));
}

} // namespace springboard
