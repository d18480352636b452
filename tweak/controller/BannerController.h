#pragma once

#include <cstdint>
#include <string_view>

#include "platform/foundation/Value.h"
#include "platform/runtime/Send.h"

namespace brix {

class Brix;

// What the behaviours grafted onto the system's notification controllers
// share: the banner controller's stored state, the hold flag, the command
// channel and the few system facts they compare. Every call goes through the
// run time and is nil-safe.
namespace controller {

    using foundation::Value;
    using runtime::Object;
    using runtime::Ref;

    // The name of the in-process broadcast between banner controllers.
    inline constexpr std::string_view commandNotificationName = "BrixNotification";

    // The transition with which Brix's own dismissal reaches the system.
    inline constexpr int64_t brixTransition = 30;

    // The five dismissal flags a banner controller stores.
    enum class Flag { HasDismissed, AutoDimissTriggered, IsDismissing, WasExternallyDismissed, DismissCalled };

    bool flag(Object* controller, Flag);
    void setFlag(Object* controller, Flag, bool);
    // Sets all five flags to NO, in the order they are declared.
    void resetFlags(Object* controller);

    Ref<Object> brixView(Object* controller);
    void setBrixView(Object* controller, Object* banner);
    Ref<Object> notificationRequest(Object* controller);

    // BrixContainer's class-wide DismissNotification: NO while the user holds a
    // banner open. Reads NO in a process without the banner class.
    bool holdFlag(Brix&);
    void setHoldFlag(Brix&, bool);

    // A command dictionary holding only "command".
    Value command(std::string_view name);
    // Posts "BrixNotification" on the process's default notification center,
    // with no object and the command dictionary as user info.
    void postCommand(Brix&, const Value& command);

    // Whether the controller's banner takes the texts of an "updateReply"
    // command: an answerable banner whose original header equals the command's.
    bool bannerTakesUpdate(Object* controller, const Value& command);

    // Whether the system version orders at or after `version`, compared numerically.
    bool systemIsAtLeast(Brix&, std::string_view version);

    // Asks the controller's delegate to perform one of the request's actions,
    // never animated. A nil action performs nothing.
    void performAction(Object* controller, Object* action, const Value& parameters = Value::dictionary());

    // A new BrixColors of a colour mode; nil without the class.
    Ref<Object> makeColorSet(Brix&, uint64_t mode);
    // The style of the main screen: 1 light, 2 dark.
    int64_t screenStyle(Brix&);

    // The notification's body as a content view shows it: its message when there
    // is one; otherwise, from 12.0 on, its summary line (which may be nil or empty).
    Value bodyOf(Brix&, Object* contentView);
    // Whether a text is neither nil nor empty.
    bool isPresent(const Value& text);

} // namespace controller
} // namespace brix
