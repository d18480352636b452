#include <gtest/gtest.h>

#include "platform/runtime/Send.h"

#include "tests/support/BrixDevice.h"
#include "tweak/Brix.h"

using foundation::Value;
using runtime::ChangeKind;

namespace {

constexpr const char* homeScreen = "com.apple.springboard";
constexpr const char* messagesApp = "com.apple.MobileSMS";

struct ExpectedChange {
    std::string className;
    std::string selector;
    ChangeKind kind;
    std::string types;
};

const brix::Brix* brixIn(device::Process& process)
{
    return process.existingService<brix::Brix>();
}

device::Hardware onVersion(const std::string& version)
{
    device::Hardware hardware;
    hardware.systemVersion = version;
    return hardware;
}

// The changes Brix makes to a home-screen process, in order. A property is a
// getter and a setter; a class method is marked with "+".
std::vector<ExpectedChange> homeScreenChanges(const std::string& hostViewClass)
{
    const std::string shortLook = "NCNotificationShortLookViewController";
    const std::string controller = "NCNotificationViewController";
    auto replace = [](std::string cls, std::string selector) {
        return ExpectedChange { cls, selector, ChangeKind::Replace, "" };
    };
    auto add = [](std::string cls, std::string selector, std::string types) {
        return ExpectedChange { cls, selector, ChangeKind::Add, types };
    };
    std::vector<ExpectedChange> changes {
        replace(hostViewClass, "didMoveToSuperview"),
        replace("NCNotificationContentContainerViewController", "userInteractionEnabled"),
        replace("SBNotificationBannerWindow", "_canBecomeKeyWindow"),
        replace(shortLook, "viewDidLoad"),
        replace(shortLook, "dealloc"),
        replace(shortLook, "traitCollectionDidChange:"),
        add(shortLook, "receivedBrixNotification:", "v@:@"),
        add(shortLook, "updateProfilePictureWithHeader:withBody:forView:", "v@:@@@"),
        add(shortLook, "forceDismissNotificationForView:", "v@:@"),
        add(shortLook, "attemptDismissNotificationForView:forced:", "v@:@B"),
        add(shortLook, "attemptDelete:", "v@:@"),
        add(shortLook, "shouldAutoDismiss", "B@:"),
        add(shortLook, "attemptSilence:", "v@:@"),
        add(shortLook, "getAlarmActions", "@@:"),
        add(shortLook, "isAlarm", "B@:"),
        add(shortLook, "getBundleId", "@@:"),
        add(shortLook, "canReply", "B@:"),
        add(shortLook, "getReplyAction", "@@:"),
        add(shortLook, "executeOnAlarmForView:action:", "v@:@Q"),
        add(shortLook, "sendReplyForView:withText:", "v@:@@"),
        add(shortLook, "sendMessageReplyForView:withText:", "v@:@@"),
        replace(shortLook, "_handleTapOnView:"),
        add(shortLook, "panGestureHandler:", "v@:@"),
        add(shortLook, "markMessagesAsRead", "v@:"),
        add(shortLook, "dismissGestureHandler:forView:animated:completion:", "v@:d@B@?"),
        add(shortLook, "dismissGestureHandler:forView:animated:duration:completion:", "v@:d@Bd@?"),
        add(shortLook, "expandGestureHandler:forView:animated:completion:", "v@:d@B@?"),
        add(shortLook, "preDismiss", "v@:"),
        replace(shortLook, "dismissViewControllerWithTransition:completion:"),
        replace(shortLook, "_presentLongLookForScrollAnimated:completion:"),
        replace(shortLook, "_presentLongLookViaClickPresentationInteraction:"),
        add(shortLook, "brixView", "@@:"),
        add(shortLook, "setBrixView:", "v@:@"),
        add(shortLook, "hasDismissed", "B@:"),
        add(shortLook, "setHasDismissed:", "v@:B"),
        add(shortLook, "autoDimissTriggered", "B@:"),
        add(shortLook, "setAutoDimissTriggered:", "v@:B"),
        add(shortLook, "isDismissing", "B@:"),
        add(shortLook, "setIsDismissing:", "v@:B"),
        add(shortLook, "wasExternallyDismissed", "B@:"),
        add(shortLook, "setWasExternallyDismissed:", "v@:B"),
        add(shortLook, "dismissCalled", "B@:"),
        add(shortLook, "setDismissCalled:", "v@:B"),
        replace("SBHomeScreenViewController", "viewDidLoad"),
        replace("SBHomeScreenViewController", "dealloc"),
        add("SBHomeScreenViewController", "receivedBannerTest", "v@:"),
        replace("SBGrabberTongue", "dismissWithStyle:animated:"),
        replace("SpringBoard", "_handlePhysicalButtonEvent:"),
        add(controller, "isPartOfBanner", "B@:"),
        replace(controller, "presentLongLookAnimated:trigger:completion:"),
        replace(controller, "presentViewController:animated:completion:"),
        add(controller, "attemptUpdateReply:", "v@:@"),
        add(controller, "attemptDelete", "v@:"),
        add(controller, "brixIdentifier", "@@:"),
        add(controller, "setBrixIdentifier:", "v@:@"),
        replace("SBLockScreenManager",
            "_activateLockScreenAnimated:animationProvider:automatically:inScreenOffMode:dimInAnimation:"
            "dismissNotificationCenter:completion:"),
        replace("UIStatusBarWindow", "initWithFrame:"),
        add("UIStatusBarWindow", "+brixSharedWindow", "@@:"),
        replace("BBServer", "initWithQueue:"),
        replace("BBServer",
            "initWithQueue:dataProviderManager:syncService:dismissalSyncCache:observerListener:utilitiesListener:"
            "conduitListener:systemStateListener:settingsListener:"),
        replace("BBServer", "dealloc"),
    };
    return changes;
}

void expectChanges(device::Process& process, const std::vector<ExpectedChange>& expected)
{
    auto& changes = process.runtime().changes();
    ASSERT_EQ(changes.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("change " + std::to_string(i + 1));
        std::string selector = (changes[i].classMethod ? "+" : "") + changes[i].selector.name();
        EXPECT_EQ(changes[i].className, expected[i].className);
        EXPECT_EQ(selector, expected[i].selector);
        EXPECT_EQ(changes[i].kind, expected[i].kind);
        EXPECT_EQ(changes[i].types, expected[i].types);
    }
}

} // namespace

TEST(StartUp, freshHomeScreenInstallsTheWholeTableInOrder)
{
    BrixDevice device;
    auto& process = device.launch(homeScreen);
    expectChanges(process, homeScreenChanges("NCNotificationViewControllerView"));
}

TEST(StartUp, freshDeviceBindsEveryDefault)
{
    BrixDevice device;
    auto* brix = brixIn(device.launch(homeScreen));
    ASSERT_NE(brix, nullptr);
    brix::Settings defaults;
    for (auto& key : brix::settingKeys) {
        SCOPED_TRACE(std::string(key.key));
        if (key.type == brix::SettingKey::Type::Boolean)
            EXPECT_EQ(brix->settings().*key.boolean, key.defaultValue != 0);
        else
            EXPECT_EQ(brix->settings().*key.integer, key.defaultValue);
    }
    // The table's defaults are those of the settings values themselves.
    EXPECT_TRUE(brix->settings().enabled);
    EXPECT_EQ(brix->settings().timeToDismiss, 5);
    EXPECT_EQ(brix->settings().messagesAutoReadMode, 2);
    EXPECT_EQ(brix->settings().appIconPfp, 1);
    EXPECT_EQ(brix->settings().textFontSize, 13);
}

TEST(StartUp, storedValuesReplaceDefaultsAndWrongTypesDoNot)
{
    BrixDevice device;
    device.storePreference("timeToDismiss", 2);
    device.storePreference("24_h_clock", false);
    device.storePreference("maxLineCount", "four");
    auto* brix = brixIn(device.launch(homeScreen));
    ASSERT_NE(brix, nullptr);
    EXPECT_EQ(brix->settings().timeToDismiss, 2);
    EXPECT_FALSE(brix->settings().militaryClock);
    EXPECT_EQ(brix->settings().maxLineCount, 2);
}

TEST(StartUp, disabledBrixChangesNoClassButKeepsItsSettings)
{
    BrixDevice device;
    device.storePreference("enabled", false);
    device.storePreference("appSize", 50);
    auto& process = device.launch(homeScreen);
    EXPECT_TRUE(process.runtime().changes().empty());
    auto* brix = brixIn(process);
    ASSERT_NE(brix, nullptr);
    EXPECT_EQ(brix->settings().appSize, 50);
}

TEST(StartUp, hostViewClassFollowsTheSystemVersion)
{
    for (auto [version, hostView] : std::vector<std::pair<std::string, std::string>> {
             { "11.4", "_NCNotificationViewControllerView" },
             { "11.9.9", "_NCNotificationViewControllerView" },
             { "12.0", "NCNotificationViewControllerView" },
             { "12.5", "NCNotificationViewControllerView" },
             { "13.3", "NCNotificationViewControllerView" },
         }) {
        SCOPED_TRACE(version);
        BrixDevice device(onVersion(version));
        auto& changes = device.launch(homeScreen).runtime().changes();
        ASSERT_FALSE(changes.empty());
        EXPECT_EQ(changes.front().className, hostView);
        EXPECT_EQ(changes.front().selector.name(), "didMoveToSuperview");
    }
}

TEST(StartUp, messagesProcessGetsOnlyTheEntriesOfItsClasses)
{
    BrixDevice device;
    auto& process = device.launch(messagesApp);
    std::vector<ExpectedChange> expected;
    for (auto& change : homeScreenChanges("NCNotificationViewControllerView")) {
        auto name = change.className;
        if (process.runtime().classNamed(name))
            expected.push_back(change);
    }
    const std::string list = "CKConversationListController";
    std::vector<ExpectedChange> conversationList {
        { list, "viewDidLoad", ChangeKind::Replace, "" },
        { list, "dealloc", ChangeKind::Replace, "" },
        { list, "markAsRead:", ChangeKind::Add, "v@:@" },
        { list, "receivedMessageContacts:", ChangeKind::Add, "v@:@" },
        { list, "brixIdentifier", ChangeKind::Add, "@@:" },
        { list, "setBrixIdentifier:", ChangeKind::Add, "v@:@" },
    };
    // The conversation list's entries come before the status-bar window's.
    auto statusBar = std::find_if(
        expected.begin(), expected.end(), [](auto& change) { return change.className == "UIStatusBarWindow"; });
    expected.insert(statusBar, conversationList.begin(), conversationList.end());
    EXPECT_EQ(process.runtime().classNamed("NCNotificationShortLookViewController"), nullptr);
    ASSERT_NE(process.runtime().classNamed("UIStatusBarWindow"), nullptr) << "UIKit's own classes are everywhere";
    EXPECT_EQ(expected.size(), 8u);
    expectChanges(process, expected);
}

TEST(StartUp, eachProcessHasItsOwnBrix)
{
    BrixDevice device;
    auto& home = device.launch(homeScreen);
    auto& messages = device.launch(messagesApp);
    ASSERT_NE(brixIn(home), nullptr);
    ASSERT_NE(brixIn(messages), nullptr);
    EXPECT_NE(brixIn(home), brixIn(messages));
}

TEST(StartUp, deviceWithoutBrixIsUnchanged)
{
    BrixDevice device({}, BrixDevice::Plugin::Absent);
    auto& process = device.launch(homeScreen);
    EXPECT_TRUE(process.runtime().changes().empty());
    EXPECT_EQ(brixIn(process), nullptr);
}
