#include "tweak/HookTable.h"

#include <array>

#include "platform/foundation/Value.h"
#include "platform/foundation/Version.h"
#include "tweak/Brix.h"
#include "tweak/StoredProperties.h"

namespace brix {

namespace {

using Kind = HookEntry::Kind;
using Target = HookEntry::Target;

constexpr std::string_view shortLook = "NCNotificationShortLookViewController";
constexpr std::string_view notificationController = "NCNotificationViewController";
constexpr std::string_view conversationList = "CKConversationListController";
constexpr std::string_view statusBarWindow = "UIStatusBarWindow";
constexpr std::string_view bulletinServer = "BBServer";

HookEntry replace(int number, std::string_view cls, std::string_view selector)
{
    return { number, cls, selector, Kind::Replace, {} };
}

HookEntry add(int number, std::string_view cls, std::string_view selector, std::string_view types)
{
    return { number, cls, selector, Kind::Add, types };
}

HookEntry property(int number, std::string_view cls, std::string_view getter, std::string_view valueType)
{
    return { number, cls, getter, Kind::Property, valueType };
}

std::vector<HookEntry> makeTable()
{
    std::vector<HookEntry> table {
        replace(1, {}, "didMoveToSuperview"),
        replace(2, "NCNotificationContentContainerViewController", "userInteractionEnabled"),
        replace(3, "SBNotificationBannerWindow", "_canBecomeKeyWindow"),
        replace(4, shortLook, "viewDidLoad"),
        replace(5, shortLook, "dealloc"),
        replace(6, shortLook, "traitCollectionDidChange:"),
        add(7, shortLook, "receivedBrixNotification:", "v@:@"),
        add(8, shortLook, "updateProfilePictureWithHeader:withBody:forView:", "v@:@@@"),
        add(9, shortLook, "forceDismissNotificationForView:", "v@:@"),
        add(10, shortLook, "attemptDismissNotificationForView:forced:", "v@:@B"),
        add(11, shortLook, "attemptDelete:", "v@:@"),
        add(12, shortLook, "shouldAutoDismiss", "B@:"),
        add(13, shortLook, "attemptSilence:", "v@:@"),
        add(14, shortLook, "getAlarmActions", "@@:"),
        add(15, shortLook, "isAlarm", "B@:"),
        add(16, shortLook, "getBundleId", "@@:"),
        add(17, shortLook, "canReply", "B@:"),
        add(18, shortLook, "getReplyAction", "@@:"),
        add(19, shortLook, "executeOnAlarmForView:action:", "v@:@Q"),
        add(20, shortLook, "sendReplyForView:withText:", "v@:@@"),
        add(21, shortLook, "sendMessageReplyForView:withText:", "v@:@@"),
        replace(22, shortLook, "_handleTapOnView:"),
        add(23, shortLook, "panGestureHandler:", "v@:@"),
        add(24, shortLook, "markMessagesAsRead", "v@:"),
        add(25, shortLook, "dismissGestureHandler:forView:animated:completion:", "v@:d@B@?"),
        add(26, shortLook, "dismissGestureHandler:forView:animated:duration:completion:", "v@:d@Bd@?"),
        add(27, shortLook, "expandGestureHandler:forView:animated:completion:", "v@:d@B@?"),
        add(28, shortLook, "preDismiss", "v@:"),
        replace(29, shortLook, "dismissViewControllerWithTransition:completion:"),
        replace(30, shortLook, "_presentLongLookForScrollAnimated:completion:"),
        replace(31, shortLook, "_presentLongLookViaClickPresentationInteraction:"),
        property(32, shortLook, "brixView", "@"),
        property(33, shortLook, "hasDismissed", "B"),
        property(34, shortLook, "autoDimissTriggered", "B"),
        property(35, shortLook, "isDismissing", "B"),
        property(36, shortLook, "wasExternallyDismissed", "B"),
        property(37, shortLook, "dismissCalled", "B"),
        replace(38, "SBHomeScreenViewController", "viewDidLoad"),
        replace(39, "SBHomeScreenViewController", "dealloc"),
        add(40, "SBHomeScreenViewController", "receivedBannerTest", "v@:"),
        replace(41, "SBGrabberTongue", "dismissWithStyle:animated:"),
        replace(42, "SpringBoard", "_handlePhysicalButtonEvent:"),
        add(43, notificationController, "isPartOfBanner", "B@:"),
        replace(44, notificationController, "presentLongLookAnimated:trigger:completion:"),
        replace(45, notificationController, "presentViewController:animated:completion:"),
        add(46, notificationController, "attemptUpdateReply:", "v@:@"),
        add(47, notificationController, "attemptDelete", "v@:"),
        property(48, notificationController, "brixIdentifier", "@"),
        replace(49, "SBLockScreenManager",
            "_activateLockScreenAnimated:animationProvider:automatically:inScreenOffMode:dimInAnimation:"
            "dismissNotificationCenter:completion:"),
        replace(50, conversationList, "viewDidLoad"),
        replace(51, conversationList, "dealloc"),
        add(52, conversationList, "markAsRead:", "v@:@"),
        add(53, conversationList, "receivedMessageContacts:", "v@:@"),
        property(54, conversationList, "brixIdentifier", "@"),
        replace(55, statusBarWindow, "initWithFrame:"),
        add(56, statusBarWindow, "brixSharedWindow", "@@:"),
        replace(57, bulletinServer, "initWithQueue:"),
        replace(58, bulletinServer,
            "initWithQueue:dataProviderManager:syncService:dismissalSyncCache:observerListener:"
            "utilitiesListener:conduitListener:systemStateListener:settingsListener:"),
        replace(59, bulletinServer, "dealloc"),
    };
    table[55].target = Target::ClassMethod;
    return table;
}

// What an addition answers until its behaviour is built: nothing, NO or nil.
runtime::Imp placeholderAddition(std::string_view types)
{
    using runtime::Block;
    using runtime::Imp;
    using runtime::Object;
    using runtime::Selector;
    using foundation::Value;
    if (types == "v@:")
        return Imp::of([](Object*, Selector) { });
    if (types == "v@:@")
        return Imp::of([](Object*, Selector, Object*) { });
    if (types == "v@:@B")
        return Imp::of([](Object*, Selector, Object*, bool) { });
    if (types == "v@:@@")
        return Imp::of([](Object*, Selector, Object*, Object*) { });
    if (types == "v@:@@@")
        return Imp::of([](Object*, Selector, Object*, Object*, Object*) { });
    if (types == "v@:@Q")
        return Imp::of([](Object*, Selector, Object*, uint64_t) { });
    if (types == "B@:")
        return Imp::of([](Object*, Selector) { return false; });
    if (types == "@@:")
        return Imp::of([](Object*, Selector) -> Object* { return nullptr; });
    if (types == "v@:d@B@?")
        return Imp::of([](Object*, Selector, double, Object*, bool, Block<void(bool)>) { });
    if (types == "v@:d@Bd@?")
        return Imp::of([](Object*, Selector, double, Object*, bool, double, Block<void(bool)>) { });
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
