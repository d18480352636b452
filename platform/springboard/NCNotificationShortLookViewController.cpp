#include "platform/springboard/NCNotificationShortLookViewController.h"

#include "platform/device/Device.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/springboard/BannerPresenter.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationViewControllerView.h"
#include "platform/uikit/UIPanGestureRecognizer.h"

namespace springboard {

using foundation::Value;
using runtime::Block;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    Ref<Object> makeRecognizer(device::Process& process, std::string_view className, Object* target, Selector action)
    {
        auto* cls = process.runtime().classNamed(className);
        return runtime::send<Ref<Object>>(runtime::alloc(cls), SEL("initWithTarget:action:"), target, action);
    }

} // namespace

void NCNotificationShortLookViewController::installSystemGestures(device::Process& process)
{
    auto* host = viewIfLoaded();
    auto tap = makeRecognizer(process, "UITapGestureRecognizer", this, SEL("_handleTapOnView:"));
    runtime::send(host, SEL("addGestureRecognizer:"), tap.get());
    if (auto* hostView = dynamic_cast<NCNotificationViewControllerView*>(host); hostView && hostView->contentView()) {
        auto pan = makeRecognizer(process, "UIPanGestureRecognizer", this, SEL("_handleLongLookPan:"));
        runtime::send(hostView->contentView(), SEL("addGestureRecognizer:"), pan.get());
    }
}

void NCNotificationShortLookViewController::openNotification()
{
    auto* request = notificationRequest();
    if (!request || !request->defaultAction())
        return;
    runtime::send(this, SEL("_askDelegateToExecuteAction:withParameters:animated:"),
        static_cast<Object*>(request->defaultAction()), Value::dictionary(), true);
}

void NCNotificationShortLookViewController::handleLongLookPan(Object* recognizer)
{
    auto* pan = dynamic_cast<uikit::UIPanGestureRecognizer*>(recognizer);
    if (!pan || pan->state() != uikit::UIGestureRecognizer::State::Ended)
        return;
    if (pan->translation().y >= longLookPullDistance)
        runtime::send(this, SEL("_presentLongLookForScrollAnimated:completion:"), true, Block<void(bool)> {});
}

void NCNotificationShortLookViewController::dismissWithTransition(
    device::Process& process, int64_t transition, Block<void(bool)> completion)
{
    if (m_dismissal == Dismissal::Running) {
        m_waitingCompletions.push_back(std::move(completion));
        return;
    }
    if (m_dismissal == Dismissal::Finished) {
        process.mainQueue().async([completion = std::move(completion)] {
            if (completion)
                completion(true);
        });
        return;
    }
    m_dismissal = Dismissal::Running;
    // The system holds the controller until its transition has run.
    Ref<NCNotificationShortLookViewController> controller(this);
    auto* owner = &process;
    process.mainQueue().after(transitionDuration, [controller, owner, transition, completion = std::move(completion)] {
        controller->finishDismissal(*owner, transition, completion);
    });
}

void NCNotificationShortLookViewController::finishDismissal(
    device::Process& process, int64_t transition, Block<void(bool)> completion)
{
    m_dismissal = Dismissal::Finished;
    if (auto* view = viewIfLoaded())
        runtime::send(view, SEL("removeFromSuperview"));
    endPresentation();
    traceEvent(process, "system.dismissed", { { "transition", transition }, { "finished", true } });
    auto waiting = std::move(m_waitingCompletions);
    m_waitingCompletions.clear();
    if (completion)
        completion(true);
    for (auto& other : waiting) {
        if (other)
            other(true);
    }
    BannerPresenter::of(process).dismissalDidFinish(*this);
}

void NCNotificationShortLookViewController::registerClass(device::Process& process)
{
    auto builder = ClassBuilder::define<NCNotificationShortLookViewController>(
        process.runtime(), "NCNotificationShortLookViewController", "NCNotificationViewController");
    runtime::Class* cls = &builder.cls();
    auto* owner = &process;
    builder
        .method("viewDidLoad", Imp::of([cls, owner](NCNotificationShortLookViewController* self, Selector selector) {
            runtime::sendSuper(*cls, self, selector);
            self->installSystemGestures(*owner);
        }))
        .method("_handleTapOnView:",
            Imp::of([](NCNotificationShortLookViewController* self, Selector, Object*) { self->openNotification(); }))
        .method("_handleLongLookPan:", Imp::of(&NCNotificationShortLookViewController::handleLongLookPan))
        .method("dismissViewControllerWithTransition:completion:",
            Imp::of([owner](NCNotificationShortLookViewController* self, Selector, int64_t transition,
                        Block<void(bool)> completion) {
                self->dismissWithTransition(*owner, transition, std::move(completion));
            }))
        .method("_presentLongLookForScrollAnimated:completion:",
            Imp::of(
                [](NCNotificationShortLookViewController* self, Selector, bool animated, Block<void(bool)> completion) {
                    runtime::send(self, SEL("presentLongLookAnimated:trigger:completion:"), animated,
                        static_cast<int64_t>(Scroll), std::move(completion));
                }))
        .method("_presentLongLookViaClickPresentationInteraction:",
            Imp::of([](NCNotificationShortLookViewController* self, Selector, Object*) {
                runtime::send(self, SEL("presentLongLookAnimated:trigger:completion:"), true,
                    static_cast<int64_t>(Click), Block<void(bool)> {});
            }));
}

} // namespace springboard
