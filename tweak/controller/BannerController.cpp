#include "tweak/controller/BannerController.h"

#include "platform/foundation/Version.h"

#include "tweak/Brix.h"

namespace brix::controller {

using runtime::Selector;
using runtime::send;

namespace {

    struct FlagSelectors {
        Selector getter;
        Selector setter;
    };

    FlagSelectors selectorsOf(Flag flag)
    {
        switch (flag) {
        case Flag::HasDismissed:
            return { SEL("hasDismissed"), SEL("setHasDismissed:") };
        case Flag::AutoDimissTriggered:
            return { SEL("autoDimissTriggered"), SEL("setAutoDimissTriggered:") };
        case Flag::IsDismissing:
            return { SEL("isDismissing"), SEL("setIsDismissing:") };
        case Flag::WasExternallyDismissed:
            return { SEL("wasExternallyDismissed"), SEL("setWasExternallyDismissed:") };
        case Flag::DismissCalled:
            return { SEL("dismissCalled"), SEL("setDismissCalled:") };
        }
        return {};
    }

    runtime::Class* containerClass(Brix& brix)
    {
        return brix.runtime().classNamed("BrixContainer");
    }

} // namespace

bool flag(Object* controller, Flag which)
{
    return runtime::sendIfResponds<bool>(controller, selectorsOf(which).getter);
}

void setFlag(Object* controller, Flag which, bool value)
{
    runtime::sendIfResponds(controller, selectorsOf(which).setter, value);
}

void resetFlags(Object* controller)
{
    for (Flag which : { Flag::HasDismissed, Flag::AutoDimissTriggered, Flag::IsDismissing, Flag::WasExternallyDismissed,
             Flag::DismissCalled })
        setFlag(controller, which, false);
}

Ref<Object> brixView(Object* controller)
{
    return runtime::sendIfResponds<Ref<Object>>(controller, SEL("brixView"));
}

void setBrixView(Object* controller, Object* banner)
{
    runtime::sendIfResponds(controller, SEL("setBrixView:"), banner);
}

Ref<Object> notificationRequest(Object* controller)
{
    return runtime::sendIfResponds<Ref<Object>>(controller, SEL("notificationRequest"));
}

bool holdFlag(Brix& brix)
{
    return send<bool>(containerClass(brix), SEL("DismissNotification"));
}

void setHoldFlag(Brix& brix, bool value)
{
    send(containerClass(brix), SEL("setDismissNotification:"), value);
}

Value command(std::string_view name)
{
    Value dictionary = Value::dictionary();
    dictionary.set("command", Value(name));
    return dictionary;
}

void postCommand(Brix& brix, const Value& command)
{
    auto center = send<Ref<Object>>(brix.runtime().classNamed("NSNotificationCenter"), SEL("defaultCenter"));
    send(center, SEL("postNotificationName:object:userInfo:"), Value(commandNotificationName),
        static_cast<Object*>(nullptr), command);
}

bool systemIsAtLeast(Brix& brix, std::string_view version)
{
    return foundation::compareVersions(brix.systemVersion(), version) >= 0;
}

void performAction(Object* controller, Object* action, const Value& parameters)
{
    if (!action)
        return;
    runtime::sendIfResponds(
        controller, SEL("_askDelegateToExecuteAction:withParameters:animated:"), action, parameters, false);
}

Ref<Object> makeColorSet(Brix& brix, uint64_t mode)
{
    return send<Ref<Object>>(runtime::alloc(brix.runtime().classNamed("BrixColors")), SEL("initWithMode:"), mode);
}

int64_t screenStyle(Brix& brix)
{
    auto screen = send<Ref<Object>>(brix.runtime().classNamed("UIScreen"), SEL("mainScreen"));
    auto traits = send<Ref<Object>>(screen, SEL("traitCollection"));
    return send<int64_t>(traits, SEL("userInterfaceStyle"));
}

Value bodyOf(Brix& brix, Object* contentView)
{
    Value secondary = runtime::sendIfResponds<Value>(contentView, SEL("secondaryText"));
    if (isPresent(secondary))
        return secondary;
    if (!systemIsAtLeast(brix, "12.0"))
        return {};
    return runtime::sendIfResponds<Value>(contentView, SEL("summaryText"));
}

bool isPresent(const Value& text)
{
    return !text.isEmptyText();
}

} // namespace brix::controller
