// The test banner: the settings page, in another process, asks for one with a
// system-wide notification; the home screen confirms with a short haptic or
// sound and publishes a real notification through the system's bulletin
// server, which the system then shows as a banner that Brix replaces like any
// other. The server is captured when the system makes it; its work queue is
// found by name in the program's symbols.

#include "platform/device/DispatchQueueObject.h"
#include "platform/device/SymbolTable.h"
#include "platform/foundation/Value.h"
#include "platform/uikit/AudioServices.h"

#include "tweak/Brix.h"
#include "tweak/controller/ControllerHooks.h"

namespace brix::controller {

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;
using runtime::sendIfResponds;

namespace {

    constexpr std::string_view bannerTestName = "com.mavrel.brix.receivedbannertest";
    constexpr std::string_view messagesApp = "com.apple.MobileSMS";
    constexpr const char* serverQueueSymbol = "__BBServerQueue";
    // `dlopen` of the program itself, in the platform's global mode.
    constexpr int globalMode = 8;
    // Lock screen, notification centre, banner and sound.
    constexpr uint64_t allDestinations = 15;
    constexpr int64_t basicFeedbackSupport = 1;
    constexpr uikit::SystemSoundID confirmationSound = 1520;
    constexpr uikit::SystemSoundID vibrateSound = 4095;

    // The process-wide state of the test banner: the captured bulletin server
    // and its work queue, found once.
    struct TestBannerState {
        explicit TestBannerState(device::Process&) { }
        Ref<Object> server;
        Ref<Object> serverQueue;
        device::OnceFlag queueLookUp;
    };

    TestBannerState& state(Brix& brix)
    {
        return brix.process().service<TestBannerState>();
    }

    Ref<Object> distributedCenter(Brix& brix)
    {
        return send<Ref<Object>>(brix.runtime().classNamed("NSDistributedNotificationCenter"), SEL("defaultCenter"));
    }

    // Unlike the confirmation of an action, this one ignores `vibrate_on_send`.
    void playConfirmation(Brix& brix)
    {
        auto device = send<Ref<Object>>(brix.runtime().classNamed("UIDevice"), SEL("currentDevice"));
        int64_t level = sendIfResponds<Value>(device, SEL("valueForKey:"), Value("_feedbackSupportLevel")).integer();
        if (level == basicFeedbackSupport)
            uikit::AudioServicesPlaySystemSound(brix.process(), confirmationSound);
        else
            uikit::AudioServicesPlayAlertSound(brix.process(), vibrateSound);
    }

    Value globallyUniqueString(Brix& brix)
    {
        auto info = send<Ref<Object>>(brix.runtime().classNamed("NSProcessInfo"), SEL("processInfo"));
        return send<Value>(info, SEL("globallyUniqueString"));
    }

    Ref<Object> makeBulletin(Brix& brix)
    {
        auto bulletin = runtime::newObject(brix.runtime().classNamed("BBBulletin"));
        if (!bulletin)
            return nullptr;
        Value now = send<Value>(brix.runtime().classNamed("NSDate"), SEL("date"));
        send(bulletin, SEL("setTitle:"), Value("Brix"));
        send(bulletin, SEL("setMessage:"), Value("Test notification"));
        send(bulletin, SEL("setSectionID:"), Value(messagesApp));
        send(bulletin, SEL("setBulletinID:"), globallyUniqueString(brix));
        send(bulletin, SEL("setRecordID:"), globallyUniqueString(brix));
        send(bulletin, SEL("setPublisherBulletinID:"), globallyUniqueString(brix));
        send(bulletin, SEL("setDate:"), now);
        auto action = send<Ref<Object>>(brix.runtime().classNamed("BBAction"),
            SEL("actionWithLaunchBundleID:callblock:"), Value(messagesApp), runtime::Block<void()> {});
        send(bulletin, SEL("setDefaultAction:"), action.get());
        send(bulletin, SEL("setClearable:"), true);
        send(bulletin, SEL("setShowsMessagePreview:"), true);
        send(bulletin, SEL("setPublicationDate:"), now);
        send(bulletin, SEL("setLastInterruptDate:"), now);
        return bulletin;
    }

    // Looked up on first use only; a missing symbol or an empty variable
    // leaves the queue unset for good.
    Object* serverQueue(Brix& brix)
    {
        auto& shared = state(brix);
        shared.queueLookUp.callOnce([&] {
            auto program = device::SymbolTable::open(brix.process(), {}, globalMode);
            if (auto* variable = program.symbol<runtime::WeakRef<Object>>(serverQueueSymbol))
                shared.serverQueue = variable->strong();
            program.close();
        });
        return shared.serverQueue.get();
    }

    // Without a queue the bulletin is not published at all: publishing off
    // the server's queue would race the server's own work.
    void publishTestBulletin(Brix& brix)
    {
        auto bulletin = makeBulletin(brix);
        Ref<Object> server = state(brix).server;
        if (!runtime::respondsToSelector(server.get(), SEL("publishBulletin:destinations:")))
            return;
        Object* queue = serverQueue(brix);
        device::dispatchSync(queue, [server, bulletin] {
            send(server, SEL("publishBulletin:destinations:"), bulletin.get(), allDestinations);
        });
    }

    void capture(Brix& brix, const Value& server)
    {
        state(brix).server = Ref<Object>(server.object());
    }

} // namespace

Imp replaceHomeScreenViewDidLoad(Brix& brix, Previous previous)
{
    return Imp::of([&brix, previous](Object* self, Selector selector) {
        send(distributedCenter(brix), SEL("addObserver:selector:name:object:"), self, SEL("receivedBannerTest"),
            Value(bannerTestName), static_cast<Object*>(nullptr));
        (*previous)(self, selector);
    });
}

Imp replaceHomeScreenDealloc(Brix& brix, Previous previous)
{
    return Imp::of([&brix, previous](Object* self, Selector selector) {
        send(distributedCenter(brix), SEL("removeObserver:name:object:"), self, Value(bannerTestName),
            static_cast<Object*>(nullptr));
        (*previous)(self, selector);
    });
}

Imp addReceivedBannerTest(Brix& brix)
{
    return Imp::of([&brix](Object*, Selector) {
        playConfirmation(brix);
        publishTestBulletin(brix);
    });
}

Imp replaceBulletinServerInitWithQueue(Brix& brix, Previous previous)
{
    return Imp::of([&brix, previous](Object* self, Selector selector, Value queue) {
        Value server = (*previous).operator()<Value>(self, selector, queue);
        capture(brix, server);
        return server;
    });
}

Imp replaceBulletinServerInitWithServices(Brix& brix, Previous previous)
{
    return Imp::of(
        [&brix, previous](Object* self, Selector selector, Value queue, Object* dataProviderManager,
            Object* syncService, Object* dismissalSyncCache, Object* observerListener, Object* utilitiesListener,
            Object* conduitListener, Object* systemStateListener, Object* settingsListener) {
            Value server = (*previous).operator()<Value>(self, selector, queue, dataProviderManager, syncService,
                dismissalSyncCache, observerListener, utilitiesListener, conduitListener, systemStateListener,
                settingsListener);
            capture(brix, server);
            return server;
        });
}

// The state may be gone already when the process ends and its last server goes with it.
Imp replaceBulletinServerDealloc(Brix& brix, Previous previous)
{
    return Imp::of([&brix, previous](Object* self, Selector selector) {
        auto* shared = brix.process().existingService<TestBannerState>();
        if (shared && shared->server.get() == self)
            shared->server = nullptr;
        (*previous)(self, selector);
    });
}

} // namespace brix::controller
