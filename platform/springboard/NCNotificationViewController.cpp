#include "platform/springboard/NCNotificationViewController.h"

#include "platform/device/Device.h"
#include "platform/device/Json.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookView.h"
#include "platform/springboard/NCNotificationViewControllerView.h"

namespace springboard {

using foundation::Value;
using runtime::Block;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

NCNotificationRequest* NCNotificationViewController::notificationRequest() const
{
    return m_request.get();
}

Value NCNotificationViewController::notificationIdentifier() const
{
    return m_request ? m_request->notificationIdentifier() : Value();
}

void NCNotificationViewController::traceEvent(
    device::Process& process, const std::string& type, device::Trace::Event fields) const
{
    device::Trace::Event event = { { "id", device::toJson(notificationIdentifier()) } };
    if (fields.is_object()) {
        for (auto& [key, value] : fields.items())
            event[key] = std::move(value);
    }
    process.device().trace().emit(type, std::move(event));
}

void NCNotificationViewController::setNotificationRequest(NCNotificationRequest* request)
{
    m_request = request;
    auto* host = dynamic_cast<NCNotificationViewControllerView*>(viewIfLoaded());
    auto* content = dynamic_cast<NCNotificationShortLookView*>(host ? host->contentView() : nullptr);
    if (content && request && request->content())
        content->showContent(*request->content());
}

void NCNotificationViewController::loadHostView(device::Process& process)
{
    auto& runtime = process.runtime();
    auto& hardware = process.device().hardware();
    auto* hostClass = runtime.classNamed(NCNotificationViewControllerView::classNameFor(hardware.systemVersion));
    auto frame = uikit::makeRect(0, 0, hardware.screenWidth, shortLookHeight);
    auto host = runtime::send<Ref<Object>>(runtime::alloc(hostClass), SEL("initWithFrame:"), frame);
    frame.origin = {};
    auto content = runtime::send<Ref<Object>>(
        runtime::alloc(runtime.classNamed("NCNotificationShortLookView")), SEL("initWithFrame:"), frame);
    if (auto* shortLook = dynamic_cast<NCNotificationShortLookView*>(content.get()); shortLook && m_request) {
        if (auto* requestContent = m_request->content())
            shortLook->showContent(*requestContent);
    }
    runtime::send(host, SEL("setContentView:"), content.get());
    runtime::send(this, SEL("setView:"), host.get());
}

void NCNotificationViewController::executeAction(
    device::Process& process, Object* action, const Value& parameters, bool animated)
{
    auto* notificationAction = dynamic_cast<NCNotificationAction*>(action);
    if (!notificationAction)
        return;
    Ref<Object> protect(action);
    Value given = parameters.isNil() ? Value::dictionary() : parameters;
    traceEvent(process, "action.executed",
        { { "action", device::toJson(notificationAction->identifier()) }, { "parameters", device::toJson(given) } });
    runtime::sendIfResponds(delegate(), SEL("notificationViewController:executeAction:withParameters:completion:"),
        static_cast<Object*>(this), action, given, Block<void(bool)> {});
}

void NCNotificationViewController::presentLongLook(
    device::Process& process, bool animated, int64_t trigger, Block<void(bool)> completion)
{
    // A long look that shows already is not shown twice; the second request reports that it did not finish.
    bool presented = !m_presentingLongLook;
    if (presented) {
        m_presentingLongLook = true;
        m_longLookTrigger = trigger;
        traceEvent(process, "system.longLook", { { "trigger", trigger } });
    }
    double duration = animated && presented ? transitionDuration : 0;
    process.mainQueue().after(duration, [presented, completion = std::move(completion)] {
        if (completion)
            completion(presented);
    });
}

void NCNotificationViewController::presentInPlace(device::Process& process, const runtime::Class& definingClass,
    Object* controller, bool animated, Block<void()> completion)
{
    Ref<NCNotificationViewController> protect(this);
    runtime::sendSuper(definingClass, this, SEL("presentViewController:animated:completion:"), controller, animated,
        std::move(completion));
    if (!controller || presented() != controller)
        return;
    auto* notification = dynamic_cast<NCNotificationViewController*>(controller);
    auto* view = viewIfLoaded();
    if (notification && view && view->superview())
        runtime::send(notification->viewIfLoaded(), SEL("setFrame:"), view->frame());
    Value presentedName
        = notification ? notification->notificationIdentifier() : Value(runtime::classNameOf(controller));
    traceEvent(process, "system.presented", { { "presented", device::toJson(presentedName) } });
}

void NCNotificationViewController::registerClass(device::Process& process)
{
    auto* owner = &process;
    auto builder = ClassBuilder::define<NCNotificationViewController>(
        process.runtime(), "NCNotificationViewController", "UIViewController");
    runtime::Class* cls = &builder.cls();
    builder
        .method("initWithNotificationRequest:",
            Imp::of([](NCNotificationViewController* self, Selector, NCNotificationRequest* request) -> Object* {
                self->m_request = request;
                return self;
            }))
        .method("notificationRequest", Imp::of([](NCNotificationViewController* self, Selector) -> Object* {
            return self->notificationRequest();
        }))
        .method("setNotificationRequest:",
            Imp::of([](NCNotificationViewController* self, Selector, NCNotificationRequest* request) {
                self->setNotificationRequest(request);
            }))
        .property("delegate", "setDelegate:", &NCNotificationViewController::m_delegate)
        .method(
            "loadView", Imp::of([owner](NCNotificationViewController* self, Selector) { self->loadHostView(*owner); }))
        .method("_askDelegateToExecuteAction:withParameters:animated:",
            Imp::of([owner](NCNotificationViewController* self, Selector, Object* action, Value parameters,
                        bool animated) { self->executeAction(*owner, action, parameters, animated); }))
        .method("presentLongLookAnimated:trigger:completion:",
            Imp::of([owner](NCNotificationViewController* self, Selector, bool animated, int64_t trigger,
                        Block<void(bool)> completion) {
                self->presentLongLook(*owner, animated, trigger, std::move(completion));
            }))
        .method("presentViewController:animated:completion:",
            Imp::of([owner, cls](NCNotificationViewController* self, Selector, Object* controller, bool animated,
                        Block<void()> completion) {
                self->presentInPlace(*owner, *cls, controller, animated, std::move(completion));
            }));
}

} // namespace springboard
