#pragma once

#include <vector>

#include "platform/runtime/Types.h"
#include "platform/uikit/UIView.h"

namespace uikit {

// Manages one view, loaded on first use: `view` sends `loadView` and then
// `viewDidLoad` through the run time, once. A controller owns its view, its
// child controllers and the controller it presents; their pointers back to
// it are cleared by it.
class UIViewController : public UIResponder {
public:
    // How long a presentation or dismissal takes on the device clock when animated.
    static constexpr double transitionDuration = 0.3;

    enum class Transition { Animated, Immediate };

    using UIResponder::UIResponder;

    UIView* viewIfLoaded() const { return m_view.get(); }
    bool isViewLoaded() const { return m_view != nullptr; }
    void setView(UIView*);

    UIViewController* parent() const { return m_parent; }
    const std::vector<runtime::Ref<UIViewController>>& children() const { return m_children; }
    void addChild(UIViewController*);
    void removeFromParent();

    // The controller's title; setting it titles its navigation item too.
    const foundation::Value& title() const { return m_title; }
    void setTitle(const foundation::Value&);
    // What a navigation bar shows while the controller is on top of a
    // navigation stack; made on first use.
    UINavigationItem* navigationItem();
    // The nearest navigation controller among the controller's parents, or nil.
    UINavigationController* navigationController() const;

    UIViewController* presented() const { return m_presented.get(); }
    UIViewController* presenting() const { return m_presenting; }
    // Ends this controller's presentation at once, without a transition: its
    // presenter lets go of it. Its view stays where it is.
    void endPresentation();

    // 0 (follow the surroundings), 1 (light) or 2 (dark).
    int64_t overrideUserInterfaceStyle() const { return m_overrideUserInterfaceStyle; }
    // The style the controller shows when the screen has `screenStyle`: its
    // own override, else its parent's or presenter's style, else the screen's.
    int64_t effectiveUserInterfaceStyle(int64_t screenStyle) const;

    // Sends `traitCollectionDidChange:` to every loaded controller of `controllers`
    // whose style differs from the one recorded with it, which it passes on.
    struct StyleRecord {
        runtime::Ref<UIViewController> controller;
        int64_t style;
    };
    static void announceStyleChanges(device::Process&, const std::vector<StyleRecord>&, int64_t screenStyle);
    // This controller and everything it contains or presents.
    void collectHierarchy(std::vector<runtime::Ref<UIViewController>>&);

    static void registerClass(device::Process&);

private:
    static void defineContainmentMethods(runtime::ClassBuilder&, device::Process&);
    void loadViewIfNeeded(device::Process&);
    bool present(device::Process&, UIViewController*, Transition, runtime::Block<void()> completion);
    void dismissPresented(device::Process&, Transition, runtime::Block<void()> completion);
    void setOverrideUserInterfaceStyle(device::Process&, int64_t);
    runtime::Object* nextResponderObject() const;
    void deallocate(const runtime::Class& definingClass);

    runtime::Ref<UIView> m_view;
    bool m_loadingView { false };
    foundation::Value m_title;
    // A UINavigationItem, held as an object so that subclasses need not see the type.
    runtime::Ref<runtime::Object> m_navigationItem;
    UIViewController* m_parent { nullptr };
    std::vector<runtime::Ref<UIViewController>> m_children;
    runtime::Ref<UIViewController> m_presented;
    UIViewController* m_presenting { nullptr };
    int64_t m_overrideUserInterfaceStyle { 0 };
};

} // namespace uikit
