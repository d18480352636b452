// The notification's own actions, offered by the banner without opening the
// app: clear, reply with typed text, snooze or stop an alarm. Each is asked
// of the system through the controller and confirmed with a short haptic or
// sound.

#include "platform/uikit/AudioServices.h"
#include "platform/uikit/UINotificationFeedbackGenerator.h"

#include "tweak/Brix.h"
#include "tweak/controller/BannerController.h"
#include "tweak/controller/ControllerHooks.h"

namespace brix::controller {

using runtime::Selector;
using runtime::send;
using runtime::sendIfResponds;
using runtime::WeakRef;

namespace {

    constexpr int64_t fullFeedbackSupport = 2;
    constexpr int64_t basicFeedbackSupport = 1;
    constexpr uikit::SystemSoundID confirmationSound = 1520;
    constexpr uikit::SystemSoundID vibrateSound = 4095;
    constexpr std::string_view typedTextKey = "UIUserNotificationActionResponseTypedTextKey";

    Ref<Object> requestAction(Object* controller, Selector action)
    {
        return sendIfResponds<Ref<Object>>(notificationRequest(controller), action);
    }

    Ref<Object> bannerOrCurrent(Object* controller, Object* banner)
    {
        return banner ? Ref<Object>(banner) : brixView(controller);
    }

    void forceDismiss(Object* controller, Object* banner)
    {
        send(controller, SEL("forceDismissNotificationForView:"), banner);
    }

    void attemptDelete(Brix& brix, Object* controller, Object* banner)
    {
        if (auto clear = requestAction(controller, SEL("clearAction"))) {
            performAction(controller, clear);
            sendFeedback(brix);
        }
        forceDismiss(controller, banner);
    }

    // The callers pass an index into the alarm's actions; one beyond them, or
    // an alarm without actions, performs nothing, and nothing is confirmed.
    void executeOnAlarm(Brix& brix, Object* controller, Object* banner, uint64_t index)
    {
        Value actions = send<Value>(controller, SEL("getAlarmActions"));
        Object* action = index < actions.count() ? actions[static_cast<size_t>(index)].object() : nullptr;
        auto target = bannerOrCurrent(controller, banner);
        if (action) {
            performAction(controller, action);
            sendFeedback(brix);
        }
        forceDismiss(controller, target);
    }

    // A notification without a reply action is answered through Messages, on
    // the next turn, if the controller is still there then.
    void sendReply(Brix& brix, Object* controller, Object* banner, const Value& text)
    {
        auto replyAction = send<Ref<Object>>(controller, SEL("getReplyAction"));
        if (text.isNil())
            return;
        if (replyAction) {
            Value parameters = Value::dictionary();
            parameters.set(typedTextKey, text);
            performAction(controller, replyAction, parameters);
            send(controller, SEL("attemptDelete:"), bannerOrCurrent(controller, banner).get());
            return;
        }
        brix.process().mainQueue().async([weak = WeakRef<Object>(controller), held = Ref<Object>(banner), text] {
            Ref<Object> controller = weak.strong();
            sendIfResponds(controller, SEL("sendMessageReplyForView:withText:"), held.get(), text);
        });
    }

    int64_t feedbackSupportLevel(Brix& brix)
    {
        auto device = send<Ref<Object>>(brix.runtime().classNamed("UIDevice"), SEL("currentDevice"));
        return sendIfResponds<Value>(device, SEL("valueForKey:"), Value("_feedbackSupportLevel")).integer();
    }

} // namespace

void sendFeedback(Brix& brix)
{
    if (!brix.settings().vibrate_on_send)
        return;
    int64_t level = feedbackSupportLevel(brix);
    if (level == fullFeedbackSupport) {
        auto generator = runtime::newObject(brix.runtime().classNamed("UINotificationFeedbackGenerator"));
        send(generator, SEL("prepare"));
        send(generator, SEL("notificationOccurred:"),
            static_cast<int64_t>(uikit::UINotificationFeedbackGenerator::Success));
    } else if (level == basicFeedbackSupport) {
        uikit::AudioServicesPlaySystemSound(brix.process(), confirmationSound);
    } else {
        uikit::AudioServicesPlayAlertSound(brix.process(), vibrateSound);
    }
}

Imp addAttemptDeleteForView(Brix& brix)
{
    return Imp::of([&brix](Object* self, Selector, Object* banner) { attemptDelete(brix, self, banner); });
}

// Silences further alerts of the notification; the banner stays.
Imp addAttemptSilence(Brix& brix)
{
    return Imp::of([&brix](Object* self, Selector, Object*) {
        if (auto silence = requestAction(self, SEL("silenceAction"))) {
            performAction(self, silence);
            sendFeedback(brix);
        }
    });
}

Imp addExecuteOnAlarm(Brix& brix)
{
    return Imp::of(
        [&brix](Object* self, Selector, Object* banner, uint64_t index) { executeOnAlarm(brix, self, banner, index); });
}

Imp addSendReply(Brix& brix)
{
    return Imp::of(
        [&brix](Object* self, Selector, Object* banner, Value text) { sendReply(brix, self, banner, text); });
}

} // namespace brix::controller
