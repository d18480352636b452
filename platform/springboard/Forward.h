#pragma once

namespace springboard {

class BBAction;
class BBBulletin;
class BBServer;
class BannerPresenter;
class IconRenderer;
class NCNotificationAction;
class NCNotificationContent;
class NCNotificationContentContainerViewController;
class NCNotificationOptions;
class NCNotificationRequest;
class NCNotificationShortLookView;
class NCNotificationShortLookViewController;
class NCNotificationViewController;
class NCNotificationViewControllerView;
class SBGrabberTongue;
class SBHomeScreenViewController;
class SBLockScreenManager;
class SBNotificationBannerDestination;
class SBNotificationBannerWindow;
class SpringBoard;
class SpringBoardState;
class UNNotification;
class UNNotificationContent;
class UNNotificationRequest;

} // namespace springboard
