#include "platform/uikit/UIKit.h"

#include <algorithm>

#include "platform/device/Device.h"
#include "platform/device/Process.h"
#include "platform/foundation/Classes.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/Keyboard.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/NSIndexPath.h"
#include "platform/uikit/NSLayoutAnchor.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/NSMutableAttributedString.h"
#include "platform/uikit/UIAlertAction.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIBlurEffect.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIEvent.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UINotificationFeedbackGenerator.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UIPress.h"
#include "platform/uikit/UIPressesEvent.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UIStackView.h"
#include "platform/uikit/UIStatusBarWindow.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewCell.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UITouch.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIVisualEffectView.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewLayoutMethods.h"

namespace uikit {

using runtime::Ref;

namespace {

    // Foundation's dates, date formatters and bundles read the device the process runs on.
    class DeviceEnvironment final : public foundation::SystemEnvironment {
    public:
        explicit DeviceEnvironment(device::Device& device)
            : m_device(&device)
        {
        }
        double currentTime() const override { return m_device->hardware().startTime + m_device->scheduler().now(); }
        std::filesystem::path hostPath(std::string_view devicePath) const override
        {
            return m_device->hostPath(devicePath);
        }
        std::string localeIdentifier() const override { return m_device->hardware().locale; }
        std::string timeZoneIdentifier() const override { return m_device->hardware().timeZone; }

    private:
        device::Device* m_device;
    };

    void collectControllers(UIView* view, std::vector<Ref<UIViewController>>& controllers)
    {
        if (UIViewController* controller = view->viewController()) {
            if (std::find(controllers.begin(), controllers.end(), Ref<UIViewController>(controller))
                == controllers.end())
                controllers.emplace_back(controller);
        }
        for (auto& subview : view->subviews())
            collectControllers(subview.get(), controllers);
    }

} // namespace

void defineClasses(device::Process& process)
{
    if (process.runtime().classNamed("UIView"))
        return;
    foundation::defineClasses(process.runtime());
    foundation::defineSystemClasses(process.runtime(), std::make_shared<DeviceEnvironment>(process.device()));
    UIResponder::registerClass(process);
    UIView::registerClass(process);
    defineViewLayoutMethods(process);
    NSLayoutAnchor::registerClass(process);
    NSLayoutConstraint::registerClass(process);
    UIControl::registerClass(process);
    UIButton::registerClass(process);
    UITextField::registerClass(process);
    UIStackView::registerClass(process);
    UIBlurEffect::registerClass(process);
    UIVisualEffectView::registerClass(process);
    UIWindow::registerClass(process);
    UIStatusBarWindow::registerClass(process);
    UIViewController::registerClass(process);
    UIGestureRecognizer::registerClass(process);
    UITapGestureRecognizer::registerClass(process);
    UIPanGestureRecognizer::registerClass(process);
    UITraitCollection::registerClass(process);
    UIScreen::registerClass(process);
    UIDevice::registerClass(process);
    UIApplication::registerClass(process);
    UIImage::registerClass(process);
    UIColor::registerClass(process);
    UIFont::registerClass(process);
    CALayer::registerClass(process);
    NSAttributedString::registerClass(process);
    NSMutableAttributedString::registerClass(process);
    UILabel::registerClass(process);
    UIImageView::registerClass(process);
    UIEvent::registerClass(process);
    UITouch::registerClass(process);
    UIPressesEvent::registerClass(process);
    UIPress::registerClass(process);
    UINotificationFeedbackGenerator::registerClass(process);
    // Lists, navigation, alerts and the value controls.
    UIScrollView::registerClass(process);
    NSIndexPath::registerClass(process);
    UITableViewCell::registerClass(process);
    UITableView::registerClass(process);
    UINavigationItem::registerClass(process);
    UIBarButtonItem::registerClass(process);
    UINavigationBar::registerClass(process);
    UINavigationController::registerClass(process);
    UIAlertAction::registerClass(process);
    UIAlertController::registerClass(process);
    UISwitch::registerClass(process);
    UISlider::registerClass(process);
    UISegmentedControl::registerClass(process);
    Keyboard::registerClasses(process);
    // The screen exists from the start, so the style the process started with is known.
    UIKitState::of(process).mainScreen();
}

void screenStyleDidChange(device::Process& process)
{
    UIScreen* screen = UIKitState::of(process).mainScreen();
    if (!screen)
        return;
    int64_t previousStyle = screen->reportedUserInterfaceStyle();
    int64_t style = screen->userInterfaceStyle();
    if (style == previousStyle)
        return;
    screen->setReportedUserInterfaceStyle(style);

    std::vector<Ref<UIViewController>> controllers;
    for (auto& window : UIKitState::of(process).windows())
        collectControllers(window.get(), controllers);
    std::vector<UIViewController::StyleRecord> records;
    for (auto& controller : controllers)
        records.push_back({ controller, controller->effectiveUserInterfaceStyle(previousStyle) });
    UIViewController::announceStyleChanges(process, records, style);
}

} // namespace uikit
