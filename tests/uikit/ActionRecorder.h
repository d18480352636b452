#pragma once

#include <string>
#include <vector>

#include "platform/runtime/Send.h"

// A target that records the actions it receives, in order, with their senders.
class ActionRecorder : public runtime::NSObject {
public:
    using NSObject::NSObject;

    std::vector<std::string> actions;
    std::vector<runtime::Object*> senders;

    // Defines the class "ActionRecorder" answering each action in `withSender`
    // (one argument) and `bare` (none).
    static void defineClass(runtime::Runtime& runtime, const std::vector<std::string>& withSender,
        const std::vector<std::string>& bare = {})
    {
        auto& cls = runtime.defineClass<ActionRecorder>("ActionRecorder", "NSObject");
        for (auto& name : withSender) {
            runtime.define(cls, runtime::Selector::named(name),
                runtime::Imp::of([name](ActionRecorder* self, runtime::Selector, runtime::Object* sender) {
                    self->actions.push_back(name);
                    self->senders.push_back(sender);
                }));
        }
        for (auto& name : bare) {
            runtime.define(
                cls, runtime::Selector::named(name), runtime::Imp::of([name](ActionRecorder* self, runtime::Selector) {
                    self->actions.push_back(name);
                    self->senders.push_back(nullptr);
                }));
        }
    }

    static runtime::Ref<ActionRecorder> make(runtime::Runtime& runtime)
    {
        auto object = runtime::newObject(runtime.classNamed("ActionRecorder"));
        return runtime::Ref<ActionRecorder>(dynamic_cast<ActionRecorder*>(object.get()));
    }
};
