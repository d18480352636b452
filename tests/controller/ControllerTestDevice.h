#pragma once

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/device/Device.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/Send.h"
#include "platform/springboard/BannerPresenter.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UITapGestureRecognizer.h"

#include "tests/support/BrixDevice.h"

namespace controllertest {

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;
using springboard::NCNotificationAction;
using springboard::NCNotificationRequest;
using Controller = Ref<springboard::NCNotificationShortLookViewController>;

// Every "BrixNotification" posted in the process, in order: a run-time object
// registered with the default center, as a banner controller is.
class CommandRecorder : public runtime::NSObject {
public:
    using NSObject::NSObject;

    std::vector<Value> commands;
    // Called with each command as it arrives, before it is recorded.
    std::function<void(const Value&)> onCommand;

    std::vector<std::string> words() const
    {
        std::vector<std::string> result;
        for (auto& command : commands)
            result.push_back(command["command"].string());
        return result;
    }

    static Ref<CommandRecorder> install(device::Process& process)
    {
        auto& runtime = process.runtime();
        if (!runtime.classNamed("TestCommandRecorder")) {
            auto& cls = runtime.defineClass<CommandRecorder>("TestCommandRecorder", "NSObject");
            runtime.define(cls, SEL("received:"), runtime::Imp::of([](CommandRecorder* self, Selector, Object* note) {
                Value userInfo = send<Value>(note, SEL("userInfo"));
                if (self->onCommand)
                    self->onCommand(userInfo);
                self->commands.push_back(userInfo);
            }));
        }
        Ref<CommandRecorder> recorder(
            dynamic_cast<CommandRecorder*>(runtime::newObject(runtime.classNamed("TestCommandRecorder")).get()));
        auto center = send<Ref<Object>>(runtime.classNamed("NSNotificationCenter"), SEL("defaultCenter"));
        send(center, SEL("addObserver:selector:name:object:"), recorder.get(), SEL("received:"),
            Value("BrixNotification"), static_cast<Object*>(nullptr));
        return recorder;
    }
};

// A device with Brix installed and the home screen running, and the ways the
// system and the user act on its banners.
class ControllerTestDevice {
public:
    // Longer than any banner's life in these tests; the bound of every advance.
    static constexpr size_t maxTasks = 20000;

    explicit ControllerTestDevice(std::map<std::string, Value> preferences = {}, device::Hardware hardware = {})
        : m_brix(hardware)
    {
        for (auto& [key, value] : preferences)
            m_brix.storePreference(key, value);
        m_home = &m_brix.launch("com.apple.springboard");
        recorder = CommandRecorder::install(*m_home);
    }
    // The recorder belongs to the home screen's run time and goes before the device.
    ~ControllerTestDevice() { recorder = nullptr; }

    device::Device& device() { return m_brix.device(); }
    device::Process& home() { return *m_home; }
    runtime::Runtime& runtime() { return m_home->runtime(); }
    double now() { return device().scheduler().now(); }

    // Lets time pass, running what falls due; fails the test on a runaway loop.
    void advance(double seconds) { ASSERT_TRUE(device().scheduler().advance(seconds, maxTasks)); }
    // Runs the work due now (the next turns of the main queue).
    void runDue() { ASSERT_TRUE(device().scheduler().runDue(maxTasks)); }

    Ref<NCNotificationAction> action(const char* identifier)
    {
        return NCNotificationAction::make(runtime(), Value(identifier));
    }

    NCNotificationRequest::Contents message(
        std::string id, Value title, Value body, std::string app = "com.example.chat")
    {
        NCNotificationRequest::Contents contents;
        contents.notificationIdentifier = id;
        contents.sectionIdentifier = app;
        contents.title = std::move(title);
        contents.message = std::move(body);
        contents.defaultAction = action("open");
        return contents;
    }

    Ref<NCNotificationRequest> request(NCNotificationRequest::Contents contents)
    {
        return NCNotificationRequest::make(home(), std::move(contents));
    }

    // The system presents the notification as a banner.
    Controller notify(NCNotificationRequest::Contents contents)
    {
        auto made = request(std::move(contents));
        return springboard::BannerPresenter::of(home()).presentBanner(*made);
    }
    Controller notify(std::string id, Value title = "Alice", Value body = "Hi there")
    {
        return notify(message(std::move(id), std::move(title), std::move(body)));
    }
    // The system shows the notification in its list, not as a banner.
    Controller showInList(NCNotificationRequest::Contents contents)
    {
        auto made = request(std::move(contents));
        return springboard::BannerPresenter::of(home()).showInList(*made);
    }

    bool holdFlag() { return send<bool>(runtime().classNamed("BrixContainer"), SEL("DismissNotification")); }
    void setHoldFlag(bool value) { send(runtime().classNamed("BrixContainer"), SEL("setDismissNotification:"), value); }

    void post(const Value& command)
    {
        auto center = send<Ref<Object>>(runtime().classNamed("NSNotificationCenter"), SEL("defaultCenter"));
        send(center, SEL("postNotificationName:object:userInfo:"), Value("BrixNotification"),
            static_cast<Object*>(nullptr), command);
    }
    void post(const char* word)
    {
        Value command = Value::dictionary();
        command.set("command", Value(word));
        post(command);
    }

    // Trace events of a type, and of a type for one notification.
    std::vector<device::Trace::Event> events(const std::string& type) { return device().trace().eventsOfType(type); }
    std::vector<device::Trace::Event> eventsFor(const std::string& type, const std::string& id)
    {
        std::vector<device::Trace::Event> result;
        for (auto& event : events(type)) {
            if (event.value("id", "") == id)
                result.push_back(event);
        }
        return result;
    }

    Ref<CommandRecorder> recorder;

private:
    BrixDevice m_brix;
    device::Process* m_home { nullptr };
};

inline Ref<Object> bannerOf(Object* controller)
{
    return send<Ref<Object>>(controller, SEL("brixView"));
}

inline bool flag(Object* controller, const char* name)
{
    return send<bool>(controller, Selector::named(name));
}

inline Value ivar(Object* object, const char* name)
{
    auto* value = runtime::ivarPointer<Value>(object, name);
    return value ? *value : Value();
}

template <typename T> T* recognizerOf(Object* view)
{
    auto* list = runtime::ivarPointer<Value>(view, "_gestureRecognizers");
    if (!list)
        return nullptr;
    for (auto& item : list->items()) {
        if (auto* recognizer = dynamic_cast<T*>(item.object()))
            return recognizer;
    }
    return nullptr;
}

// A tap on the banner, as the user makes it.
inline void tap(Object* banner)
{
    if (auto* recognizer = recognizerOf<uikit::UITapGestureRecognizer>(banner))
        recognizer->recognizeTap();
}

// A one-finger drag on the banner through the given total translations,
// ending as `end` says (Ended, Cancelled, or Changed for a finger still down).
inline void drag(Object* banner, std::vector<double> translations,
    uikit::UIGestureRecognizer::State end = uikit::UIGestureRecognizer::State::Ended)
{
    using State = uikit::UIGestureRecognizer::State;
    auto* pan = recognizerOf<uikit::UIPanGestureRecognizer>(banner);
    if (!pan)
        return;
    for (size_t i = 0; i < translations.size(); ++i) {
        pan->setTranslation({ 0, translations[i] });
        bool last = i + 1 == translations.size();
        State state = i == 0 ? State::Began : State::Changed;
        if (last && end != State::Changed && translations.size() > 1)
            state = end;
        pan->setState(state);
        if (last && translations.size() == 1 && end != State::Changed)
            pan->setState(end);
    }
}

} // namespace controllertest
