#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/uikit/UIViewController.h"

namespace uikit {

// A question put to the user: a title, a message and the actions to choose
// from, shown over the screen while it is presented. Choosing an action
// dismisses the alert and, once it is gone, runs the action's handler.
//
// Messages: +alertControllerWithTitle:message:preferredStyle:(Value, Value,
// int64), title, message, preferredStyle, addAction:, actions.
class UIAlertController : public UIViewController {
public:
    // UIAlertControllerStyle.
    enum Style : int64_t { ActionSheet = 0, Alert = 1 };
    static constexpr double width = 270;

    using UIViewController::UIViewController;

    const foundation::Value& message() const { return m_message; }
    int64_t preferredStyle() const { return m_preferredStyle; }
    const std::vector<runtime::Ref<UIAlertAction>>& actions() const { return m_actions; }
    // The index of the action with that title, if any.
    std::optional<size_t> actionTitled(const std::string&) const;

    // A user's choice of an action of an alert on screen. Answers false,
    // doing nothing, when the alert is not presented, the index is out of
    // range or the action is disabled.
    bool chooseAction(size_t index);

    static void registerClass(device::Process&);

private:
    void buildView(device::Process&);

    foundation::Value m_message;
    int64_t m_preferredStyle { Alert };
    std::vector<runtime::Ref<UIAlertAction>> m_actions;
    bool m_chosen { false };
};

} // namespace uikit
