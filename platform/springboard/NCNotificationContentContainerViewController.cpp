#include "platform/springboard/NCNotificationContentContainerViewController.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/springboard/NCNotificationRequest.h"

namespace springboard {

using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Selector;

NCNotificationRequest* NCNotificationContentContainerViewController::notificationRequest() const
{
    return m_request.get();
}

// Asked through the run time, so that whatever answers `userInteractionEnabled` decides.
void NCNotificationContentContainerViewController::applyUserInteraction()
{
    if (auto* view = viewIfLoaded())
        view->setUserInteractionEnabled(runtime::send<bool>(this, SEL("userInteractionEnabled")));
}

void NCNotificationContentContainerViewController::registerClass(device::Process& process)
{
    using Self = NCNotificationContentContainerViewController;
    auto builder = ClassBuilder::define<Self>(
        process.runtime(), "NCNotificationContentContainerViewController", "UIViewController");
    runtime::Class* cls = &builder.cls();
    builder
        .method("initWithNotificationRequest:",
            Imp::of([](Self* self, Selector, NCNotificationRequest* notificationRequest) -> Object* {
                if (!notificationRequest || notificationRequest->sectionIdentifier().isEmptyText())
                    return nullptr;
                self->m_request = notificationRequest;
                return self;
            }))
        .method(
            "notificationRequest", Imp::of([](Self* self, Selector) -> Object* { return self->notificationRequest(); }))
        .method("userInteractionEnabled", Imp::of([](Self* self, Selector) { return self->m_userInteractionEnabled; }))
        .method("setUserInteractionEnabled:", Imp::of([](Self* self, Selector, bool enabled) {
            self->m_userInteractionEnabled = enabled;
            self->applyUserInteraction();
        }))
        .method("viewDidLoad", Imp::of([cls](Self* self, Selector selector) {
            runtime::sendSuper(*cls, self, selector);
            self->applyUserInteraction();
        }));
}

} // namespace springboard
