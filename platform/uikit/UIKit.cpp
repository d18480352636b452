#include "platform/uikit/UIKit.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/foundation/Classes.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIEvent.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UIPress.h"
#include "platform/uikit/UIPressesEvent.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIStatusBarWindow.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"

namespace uikit {

using runtime::Ref;

namespace {

void collectControllers(UIView* view, std::vector<Ref<UIViewController>>& controllers)
{
    if (UIViewController* controller = view->viewController()) {
        if (std::find(controllers.begin(), controllers.end(), Ref<UIViewController>(controller)) == controllers.end())
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
    UIResponder::registerClass(process);
    UIView::registerClass(process);
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
    UIEvent::registerClass(process);
    UIPressesEvent::registerClass(process);
    UIPress::registerClass(process);
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
