#include "platform/springboard/BBServer.h"

#include "platform/device/Device.h"
#include "platform/device/Json.h"
#include "platform/device/SymbolTable.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/springboard/BBBulletin.h"

namespace springboard {

using foundation::Value;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void BBServer::addObserver(Observer observer)
{
    if (observer)
        m_observers.push_back(std::move(observer));
}

namespace {

    // The bulletin board's exported variable: the work queue of the newest server, held weakly.
    struct BulletinBoardSymbols {
        explicit BulletinBoardSymbols(device::Process&) { }
        runtime::WeakRef<Object> serverQueue;
    };

    Value currentQueueLabel(device::Process& process)
    {
        auto* queue = process.device().scheduler().currentQueue();
        return queue ? Value(queue->label()) : Value();
    }

} // namespace

// The queue travels as its label; a server given none works on the bulletin board's own queue.
void BBServer::initialize(device::Process& process, const Value& queue)
{
    m_queueLabel = queue.isString() && !queue.string().empty() ? queue.string() : queueLabel;
    m_queue = device::DispatchQueueObject::make(process, m_queueLabel);
    process.service<BulletinBoardSymbols>().serverQueue = runtime::WeakRef<Object>(m_queue.get());
}

void BBServer::publish(device::Process& process, Object* object, uint64_t destinations)
{
    Ref<BBBulletin> bulletin(dynamic_cast<BBBulletin*>(object));
    if (!bulletin)
        return;
    m_published.push_back(bulletin);
    process.device().trace().emit("bulletin.published",
        {
            { "bulletinID", device::toJson(bulletin->bulletinID()) },
            { "title", device::toJson(bulletin->title()) },
            { "message", device::toJson(bulletin->message()) },
            { "sectionID", device::toJson(bulletin->sectionID()) },
            { "destinations", destinations },
            { "queue", device::toJson(currentQueueLabel(process)) },
        });
    for (auto& observer : m_observers) {
        process.mainQueue().async([observer, bulletin, destinations] { observer(*bulletin, destinations); });
    }
}

void BBServer::registerClass(device::Process& process)
{
    device::DispatchQueueObject::registerClass(process);
    device::SymbolTable::of(process).define(serverQueueSymbol, &process.service<BulletinBoardSymbols>().serverQueue);
    auto builder = ClassBuilder::define<BBServer>(process.runtime(), "BBServer", "NSObject");
    runtime::Class* cls = &builder.cls();
    auto* owner = &process;
    builder
        .method("init", Imp::of([](BBServer* self, Selector) -> Ref<Object> {
            return runtime::send<Ref<Object>>(self, SEL("initWithQueue:"), Value());
        }))
        .method("initWithQueue:", Imp::of([owner](BBServer* self, Selector, Value queue) -> Object* {
            self->initialize(*owner, queue);
            return self;
        }))
        .method("initWithQueue:dataProviderManager:syncService:dismissalSyncCache:observerListener:utilitiesListener:"
                "conduitListener:systemStateListener:settingsListener:",
            Imp::of([owner](BBServer* self, Selector, Value queue, Object* dataProviderManager, Object* syncService,
                        Object* dismissalSyncCache, Object* observerListener, Object* utilitiesListener,
                        Object* conduitListener, Object* systemStateListener, Object* settingsListener) -> Object* {
                self->initialize(*owner, queue);
                self->m_collaborators = { Ref<Object>(dataProviderManager), Ref<Object>(syncService),
                    Ref<Object>(dismissalSyncCache), Ref<Object>(observerListener), Ref<Object>(utilitiesListener),
                    Ref<Object>(conduitListener), Ref<Object>(systemStateListener), Ref<Object>(settingsListener) };
                return self;
            }))
        .method("publishBulletin:destinations:",
            Imp::of([owner](BBServer* self, Selector, Object* bulletin, uint64_t destinations) {
                self->publish(*owner, bulletin, destinations);
            }))
        .method("dealloc", Imp::of([cls](BBServer* self, Selector selector) {
            // Observers may refer to parts of the home screen that are going too.
            self->m_observers.clear();
            self->m_published.clear();
            self->m_collaborators = {};
            self->m_queue = nullptr;
            runtime::sendSuper(*cls, self, selector);
        }));
}

} // namespace springboard
