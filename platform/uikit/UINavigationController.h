#pragma once

#include <vector>

#include "platform/uikit/UIViewController.h"

namespace uikit {

// A stack of controllers of which the top one shows, under a navigation
// bar. The controllers of the stack are its children. Pushing and popping
// send the appearance callbacks: the controller going away hears
// `viewWillDisappear:` and, once the transition has run, `viewDidDisappear:`;
// the one coming in hears `viewWillAppear:` before its view shows and
// `viewDidAppear:` after the transition. The navigation controller's own
// appearance is passed on to its top controller.
//
// A navigation controller may itself lie on the stack of another one with
// its bar hidden, as the Settings app nests them; the outer bar then shows
// the item of the inner stack's top controller, with a back button when
// either stack has a page to go back to.
//
// Messages: initWithRootViewController:, viewControllers, topViewController,
// pushViewController:animated:, popViewControllerAnimated:, navigationBar,
// isNavigationBarHidden, setNavigationBarHidden:, setNavigationBarHidden:animated:.
class UINavigationController : public UIViewController {
public:
    using UIViewController::UIViewController;

    const std::vector<runtime::Ref<UIViewController>>& viewControllers() const { return m_stack; }
    UIViewController* topViewController() const { return m_stack.empty() ? nullptr : m_stack.back().get(); }
    UINavigationBar* navigationBar() const { return m_navigationBar.get(); }
    bool isNavigationBarHidden() const { return m_barHidden; }
    void setNavigationBarHidden(bool);

    void push(UIViewController*, Transition);
    // Answers the controller taken off, or nil when only the root is left.
    runtime::Ref<UIViewController> pop(Transition);

    // The item the bar shows: the top controller's, or the item a nested
    // navigation controller on top shows.
    UINavigationItem* displayedItem() const;
    // Whether there is a page to go back to, in this stack or a nested one on top.
    bool canGoBack() const;
    // Shows the displayed item and places the bar and the top controller's view.
    void layout();

    static void registerClass(device::Process&);

private:
    void setUp(device::Process&);
    void showTop();
    void updateEnclosingBar();
    double barBottom() const;

    device::Process* m_process { nullptr };
    std::vector<runtime::Ref<UIViewController>> m_stack;
    runtime::Ref<UINavigationBar> m_navigationBar;
    bool m_barHidden { false };
};

} // namespace uikit
