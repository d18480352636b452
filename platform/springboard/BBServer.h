#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/device/DispatchQueueObject.h"
#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Types.h"
#include "platform/springboard/Forward.h"

namespace springboard {

// The bulletin board's server: apps' notifications are published through
// it (`publishBulletin:destinations:`) and handed to the parts of the home
// screen that show them. It works on a queue of its own, named by the label
// it was created with; the home screen creates it with `queueLabel`.
// Publishing records the bulletin, traces `bulletin.published` (with the
// label of the queue it ran on, or null) and tells each observer on the
// process's main queue.
//
// The bulletin board exports its work queue as the symbol `serverQueueSymbol`
// of the process's symbol table: the address of a weak object variable that
// each new server sets to its queue (a DispatchQueueObject, which the server
// holds). The variable reads nil before the first server and after the last
// one has gone.
//
// Messages (the queue travels as its label, a string value; nil means `queueLabel`):
//   -initWithQueue:(Value) -> object
//   -initWithQueue:(Value)dataProviderManager:(object)syncService:(object)dismissalSyncCache:(object)
//    observerListener:(object)utilitiesListener:(object)conduitListener:(object)systemStateListener:(object)
//    settingsListener:(object) -> object
//   -publishBulletin:(object)destinations:(uint64) -> void
class BBServer : public runtime::NSObject {
public:
    static constexpr const char* queueLabel = "com.apple.bulletinboard.BBServerQueue";
    static constexpr const char* serverQueueSymbol = "__BBServerQueue";
    // The parts of the home screen a bulletin is published to (a mask).
    enum Destination : uint64_t { LockScreen = 1, NotificationCenter = 2, Banner = 4, Sound = 8 };

    using Observer = std::function<void(BBBulletin&, uint64_t destinations)>;

    using NSObject::NSObject;

    const std::string& workQueueLabel() const { return m_queueLabel; }
    device::DispatchQueueObject* workQueue() const { return m_queue.get(); }
    // Every bulletin published so far, oldest first.
    const std::vector<runtime::Ref<BBBulletin>>& publishedBulletins() const { return m_published; }
    void addObserver(Observer);

    static void registerClass(device::Process&);

private:
    void initialize(device::Process&, const foundation::Value& queue);
    void publish(device::Process&, runtime::Object* bulletin, uint64_t destinations);

    std::string m_queueLabel;
    runtime::Ref<device::DispatchQueueObject> m_queue;
    // The services the server was made with, held for its life.
    std::array<runtime::Ref<runtime::Object>, 8> m_collaborators;
    std::vector<runtime::Ref<BBBulletin>> m_published;
    std::vector<Observer> m_observers;
};

} // namespace springboard
