#include "tweak/HookTable.h"

#include <array>

#include "platform/foundation/Value.h"
#include "platform/foundation/Version.h"

#include "tweak/Brix.h"
#include "tweak/StoredProperties.h"
#include "tweak/controller/ControllerHooks.h"

namespace brix {

namespace {

    using Kind = HookEntry::Kind;
    using Target = HookEntry::Target;

    constexpr std::string_view shortLook = "NCNotificationShortLookViewController";
    constexpr std::string_view notificationController = "NCNotificationViewController";
    constexpr std::string_view conversationList = "CKConversationListController";
    constexpr std::string_view statusBarWindow = "UIStatusBarWindow";
    constexpr std::string_view bulletinServer = "BBServer";
    constexpr std::string_view homeScreen = "SBHomeScreenViewController";

    using Replacement = std::function<runtime::Imp(Brix&, Previous)>;
    using Addition = std::function<runtime::Imp(Brix&)>;

    HookEntry replace(int number, std::string_view cls, std::string_view selector, Replacement replacement = {})
    {
        return { number, cls, selector, Kind::Replace, {}, Target::Instance, std::move(replacement) };
    }

    HookEntry add(
        int number, std::string_view cls, std::string_view selector, std::string_view types, Addition addition = {})
    {
        return { number, cls, selector, Kind::Add, types, Target::Instance, {}, std::move(addition) };
    }

    HookEntry property(int number, std::string_view cls, std::string_view getter, std::string_view valueType)
    {
        return { number, cls, getter, Kind::Property, valueType };
    }

    std::vector<HookEntry> makeTable()
    {
        std::vector<HookEntry> table {
            replace(1, {}, "didMoveToSuperview", controller::replaceDidMoveToSuperview),
            replace(2, "NCNotificationContentContainerViewController", "userInteractionEnabled",
                controller::replaceContentUserInteractionEnabled),
            replace(3, "SBNotificationBannerWindow", "_canBecomeKeyWindow", controller::replaceCanBecomeKeyWindow),
            replace(4, shortLook, "viewDidLoad", controller::replaceViewDidLoad),
            replace(5, shortLook, "dealloc", controller::replaceDealloc),
            replace(6, shortLook, "traitCollectionDidChange:", controller::replaceTraitCollectionDidChange),
            add(7, shortLook, "receivedBrixNotification:", "v@:@", controller::addReceivedBrixNotification),
            add(8, shortLook, "updateProfilePictureWithHeader:withBody:forView:", "v@:@@@",
                controller::addUpdateProfilePicture),
            add(9, shortLook, "forceDismissNotificationForView:", "v@:@", controller::addForceDismissNotification),
            add(10, shortLook, "attemptDismissNotificationForView:forced:", "v@:@B",
                controller::addAttemptDismissNotification),
            add(11, shortLook, "attemptDelete:", "v@:@", controller::addAttemptDeleteForView),
            add(12, shortLook, "shouldAutoDismiss", "B@:", controller::addShouldAutoDismiss),
            add(13, shortLook, "attemptSilence:", "v@:@", controller::addAttemptSilence),
            add(14, shortLook, "getAlarmActions", "@@:", controller::addGetAlarmActions),
            add(15, shortLook, "isAlarm", "B@:", controller::addIsAlarm),
            add(16, shortLook, "getBundleId", "@@:", controller::addGetBundleId),
            add(17, shortLook, "canReply", "B@:", controller::addCanReply),
            add(18, shortLook, "getReplyAction", "@@:", controller::addGetReplyAction),
            add(19, shortLook, "executeOnAlarmForView:action:", "v@:@Q", controller::addExecuteOnAlarm),
            add(20, shortLook, "sendReplyForView:withText:", "v@:@@", controller::addSendReply),
            add(21, shortLook, "sendMessageReplyForView:withText:", "v@:@@", controller::addSendMessageReply),
            replace(22, shortLook, "_handleTapOnView:", controller::replaceHandleTapOnView),
            add(23, shortLook, "panGestureHandler:", "v@:@", controller::addPanGestureHandler),
            add(24, shortLook, "markMessagesAsRead", "v@:", controller::addMarkMessagesAsRead),
            add(25, shortLook, "dismissGestureHandler:forView:animated:completion:", "v@:d@B@?",
                controller::addDismissGestureHandler),
            add(26, shortLook, "dismissGestureHandler:forView:animated:duration:completion:", "v@:d@Bd@?",
                controller::addDismissGestureHandlerWithDuration),
            add(27, shortLook, "expandGestureHandler:forView:animated:completion:", "v@:d@B@?",
                controller::addExpandGestureHandler),
            add(28, shortLook, "preDismiss", "v@:", controller::addPreDismiss),
            replace(29, shortLook, "dismissViewControllerWithTransition:completion:",
                controller::replaceDismissViewControllerWithTransition),
            replace(30, shortLook,
                "_presentLongLookForScrollAnimated:completion:", controller::replacePresentLongLookForScroll),
            replace(31, shortLook,
                "_presentLongLookViaClickPresentationInteraction:", controller::replacePresentLongLookViaClick),
            property(32, shortLook, "brixView", "@"),
            property(33, shortLook, "hasDismissed", "B"),
            property(34, shortLook, "autoDimissTriggered", "B"),
            property(35, shortLook, "isDismissing", "B"),
            property(36, shortLook, "wasExternallyDismissed", "B"),
            property(37, shortLook, "dismissCalled", "B"),
            replace(38, homeScreen, "viewDidLoad", controller::replaceHomeScreenViewDidLoad),
            replace(39, homeScreen, "dealloc", controller::replaceHomeScreenDealloc),
            add(40, homeScreen, "receivedBannerTest", "v@:", controller::addReceivedBannerTest),
            replace(41, "SBGrabberTongue", "dismissWithStyle:animated:", controller::replaceGrabberDismiss),
            replace(42, "SpringBoard", "_handlePhysicalButtonEvent:", controller::replaceHandlePhysicalButtonEvent),
            add(43, notificationController, "isPartOfBanner", "B@:", controller::addIsPartOfBanner),
            replace(44, notificationController,
                "presentLongLookAnimated:trigger:completion:", controller::replacePresentLongLook),
            replace(45, notificationController,
                "presentViewController:animated:completion:", controller::replacePresentViewController),
            add(46, notificationController, "attemptUpdateReply:", "v@:@", controller::addAttemptUpdateReply),
            add(47, notificationController, "attemptDelete", "v@:", controller::addAttemptDeleteWithoutDismissal),
            property(48, notificationController, "brixIdentifier", "@"),
            replace(49, "SBLockScreenManager",
                "_activateLockScreenAnimated:animationProvider:automatically:inScreenOffMode:dimInAnimation:"
                "dismissNotificationCenter:completion:",
                controller::replaceActivateLockScreen),
            replace(50, conversationList, "viewDidLoad", controller::replaceConversationListViewDidLoad),
            replace(51, conversationList, "dealloc", controller::replaceConversationListDealloc),
            add(52, conversationList, "markAsRead:", "v@:@", controller::addMarkAsRead),
            add(53, conversationList, "receivedMessageContacts:", "v@:@", controller::addReceivedMessageContacts),
            property(54, conversationList, "brixIdentifier", "@"),
            replace(55, statusBarWindow, "initWithFrame:", controller::replaceStatusBarWindowInitWithFrame),
            add(56, statusBarWindow, "brixSharedWindow", "@@:", controller::addBrixSharedWindow),
            replace(57, bulletinServer, "initWithQueue:", controller::replaceBulletinServerInitWithQueue),
            replace(58, bulletinServer,
                "initWithQueue:dataProviderManager:syncService:dismissalSyncCache:observerListener:"
                "utilitiesListener:conduitListener:systemStateListener:settingsListener:",
                controller::replaceBulletinServerInitWithServices),
            replace(59, bulletinServer, "dealloc", controller::replaceBulletinServerDealloc),
        };
        table[55].target = Target::ClassMethod;
        return table;
    }

    // What an addition answers until its behaviour is built: nothing, NO or nil.
    runtime::Imp placeholderAddition(std::string_view types)
    {
        using foundation::Value;
        using runtime::Block;
        using runtime::Imp;
        using runtime::Object;
        using runtime::Selector;
        if (types == "v@:")
            return Imp::of([](Object*, Selector) {});
        if (types == "v@:@")
            return Imp::of([](Object*, Selector, Object*) {});
        if (types == "v@:@B")
            return Imp::of([](Object*, Selector, Object*, bool) {});
        if (types == "v@:@@")
            return Imp::of([](Object*, Selector, Object*, Object*) {});
        if (types == "v@:@@@")
            return Imp::of([](Object*, Selector, Object*, Object*, Object*) {});
        if (types == "v@:@Q")
            return Imp::of([](Object*, Selector, Object*, uint64_t) {});
        if (types == "B@:")
            return Imp::of([](Object*, Selector) { return false; });
        if (types == "@@:")
            return Imp::of([](Object*, Selector) -> Object* { return nullptr; });
        if (types == "v@:d@B@?")
            return Imp::of([](Object*, Selector, double, Object*, bool, Block<void(bool)>) {});
        if (types == "v@:d@Bd@?")
            return Imp::of([](Object*, Selector, double, Object*, bool, double, Block<void(bool)>) {});
        return {};
    }

    void installReplacement(Brix& brix, runtime::Class& cls, const HookEntry& entry)
    {
        auto selector = runtime::Selector::named(entry.selector);
        if (!entry.replacement) {
            // Keeps the system's behaviour: the new implementation is the previous one.
            const runtime::Method* current = cls.lookUpMethod(selector);
            brix.runtime().hookMessage(cls, selector, current ? current->imp() : runtime::Imp {});
            return;
        }
        auto previous = std::make_shared<runtime::Imp>();
        *previous = brix.runtime().hookMessage(cls, selector, entry.replacement(brix, previous));
    }

    void installAddition(Brix& brix, runtime::Class& cls, const HookEntry& entry)
    {
        auto imp = entry.addition ? entry.addition(brix) : placeholderAddition(entry.types);
        brix.runtime().addMethod(cls, runtime::Selector::named(entry.selector), std::move(imp), entry.types);
    }

    void installEntry(Brix& brix, runtime::Class& cls, const HookEntry& entry)
    {
        runtime::Class& target = entry.target == Target::ClassMethod ? *cls.metaclass() : cls;
        switch (entry.kind) {
        case Kind::Replace:
            installReplacement(brix, target, entry);
            break;
        case Kind::Add:
            installAddition(brix, target, entry);
            break;
        case Kind::Property:
            addStoredProperty(brix, target, entry);
            break;
        }
    }

} // namespace

std::span<const HookEntry> hookTable()
{
    static const std::vector<HookEntry> table = makeTable();
    return table;
}

std::string_view hostViewClassName(std::string_view systemVersion)
{
    return foundation::compareVersions(systemVersion, "12.0") < 0 ? "_NCNotificationViewControllerView"
                                                                  : "NCNotificationViewControllerView";
}

void installHooks(Brix& brix)
{
    auto systemVersion = brix.systemVersion();
    for (const HookEntry& entry : hookTable()) {
        auto name = entry.className.empty() ? hostViewClassName(systemVersion) : entry.className;
        if (runtime::Class* cls = brix.runtime().classNamed(name))
            installEntry(brix, *cls, entry);
    }
}

} // namespace brix
