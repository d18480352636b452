#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/device/Forward.h"
#include "platform/runtime/Ref.h"
#include "platform/springboard/Forward.h"
#include "platform/uikit/Forward.h"
#include "platform/uikit/Geometry.h"

namespace springboard {

// How the home screen shows notifications (a per-process service).
//
// A banner is a short-look controller made for the request, its view loaded
// and moved into the banner window below the status bar. While a banner is
// presented, the system presents the newer one from the current banner
// controller (`presentViewController:animated:completion:`); the newer
// banner enters the window only when that presentation goes through. The
// system holds every presented banner controller until its dismissal has
// run, and asks a banner to go (`dismissViewControllerWithTransition:` with
// the transition Expired) once it has been presented for `bannerTimeout`
// seconds.
//
// A notification shown in the list is a short-look controller whose view
// lies in the home screen's notification list, outside the banner window.
//
// Every controller made here has the system's banner destination as its
// delegate, which opens the notification's app for its default action.
//
// Bulletins published for the banner destination become banners too: their
// request is named by the namer when one is set (a tool that names every
// notification it sees), else by the bulletin's identifier.
class BannerPresenter {
public:
    using NotificationNamer = std::function<std::string()>;

    static constexpr double bannerTimeout = 7;
    // Where a banner's view starts below the top of the screen: under the
    // sensor housing on a device with a home indicator, under the status bar
    // on one without.
    static constexpr double bannerTop = 70;
    static constexpr double bannerTopWithoutHomeIndicator = 28;
    // A banner slides into place from this far above it, for this long.
    static constexpr double slideInDistance = 220;
    static constexpr double slideInDuration = 0.4;

    explicit BannerPresenter(device::Process&);
    ~BannerPresenter();
    BannerPresenter(const BannerPresenter&) = delete;
    BannerPresenter& operator=(const BannerPresenter&) = delete;

    static BannerPresenter& of(device::Process&);

    // Presents the request as a banner, from the current banner when there is
    // one. Answers the new controller, or nil when none could be made or its
    // presentation did not go through.
    runtime::Ref<NCNotificationShortLookViewController> presentBanner(NCNotificationRequest&);
    // Asks `presenter` to present a new controller for the request, as the
    // system does for a newer banner. Answers the controller when the
    // presentation went through.
    runtime::Ref<NCNotificationShortLookViewController> presentOver(
        NCNotificationViewController& presenter, NCNotificationRequest&);
    // Presents a published bulletin as a banner (see above).
    runtime::Ref<NCNotificationShortLookViewController> presentBulletin(BBBulletin&);
    void setNotificationNamer(NotificationNamer namer) { m_namer = std::move(namer); }

    // Shows the request in the notification list; answers its controller.
    runtime::Ref<NCNotificationShortLookViewController> showInList(NCNotificationRequest&);

    // The newest presented banner whose view is on screen, or nil.
    NCNotificationShortLookViewController* currentBanner() const;
    // The banner controllers the system holds, oldest first.
    const std::vector<runtime::Ref<NCNotificationShortLookViewController>>& presentedBanners() const
    {
        return m_presented;
    }
    // The newest live controller made for the notification with that
    // identifier (banner, list or presented), or nil.
    NCNotificationViewController* controllerForNotification(std::string_view identifier) const;

    // The frame of a banner's view in the banner window.
    uikit::Rect bannerFrame() const;

    // Told by a controller when the system's dismissal of it has run: the
    // system lets go of it.
    void dismissalDidFinish(NCNotificationViewController&);

private:
    runtime::Ref<NCNotificationShortLookViewController> makeController(NCNotificationRequest&);
    runtime::Object* destination();
    bool showInBannerWindow(NCNotificationShortLookViewController&);
    void didPresent(const runtime::Ref<NCNotificationShortLookViewController>&);
    void scheduleTimeout(NCNotificationShortLookViewController&);
    uikit::UIView* listView();

    device::Process* m_process;
    NotificationNamer m_namer;
    runtime::Ref<SBNotificationBannerDestination> m_destination;
    std::vector<runtime::Ref<NCNotificationShortLookViewController>> m_presented;
    // The same controllers, for the timeouts to look up.
    std::unordered_set<const runtime::Object*> m_presentedSet;
    std::vector<runtime::Ref<NCNotificationShortLookViewController>> m_listed;
    std::vector<runtime::WeakRef<NCNotificationViewController>> m_made;
    size_t m_madeAfterPruning { 16 };
    runtime::Ref<uikit::UIView> m_listView;
};

} // namespace springboard
