#include "platform/messages/MessagesApp.h"

#include "platform/messages/CKConversation.h"
#include "platform/messages/CKConversationList.h"
#include "platform/messages/CKConversationListController.h"
#include "platform/messages/ConversationStore.h"
#include "platform/messages/IMChat.h"
#include "platform/messages/IMChatRegistry.h"
#include "platform/messages/IMMessage.h"
#include "platform/messages/MessagesState.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIKit.h"
#include "platform/uikit/UIWindow.h"

namespace messages {

using runtime::Object;
using runtime::Ref;

namespace {

    // The conversations the device keeps, in their order. A damaged store is
    // reported and left alone; the app then starts with no conversations.
    void loadConversations(device::Process& process)
    {
        auto guids = ConversationStore(process.device()).load();
        if (!guids) {
            process.device().trace().emit("messages.storeUnreadable",
                { { "path", ConversationStore::devicePath }, { "reason", guids.error().message } });
            return;
        }
        for (auto& guid : guids.value())
            addConversation(process, guid);
    }

} // namespace

void defineClasses(device::Process& process)
{
    uikit::defineClasses(process);
    if (process.runtime().classNamed("CKConversationListController"))
        return;
    IMMessage::registerClass(process);
    IMChat::registerClass(process);
    IMChatRegistry::registerClass(process);
    CKConversation::registerClass(process);
    CKConversationList::registerClass(process);
    CKConversationListController::registerClass(process);
}

void startUp(device::Process& process)
{
    auto& runtime = process.runtime();
    auto& objects = MessagesState::of(process).startUpObjects();
    auto application = runtime::newObject(runtime.classNamed("UIApplication"));
    process.keep(application);
    objects.application = dynamic_cast<uikit::UIApplication*>(application.get());
    loadConversations(process);

    auto controller = runtime::newObject(runtime.classNamed("CKConversationListController"));
    runtime::send<Ref<Object>>(controller, SEL("view"));
    auto& hardware = process.device().hardware();
    auto window = runtime::send<Ref<Object>>(runtime::alloc(runtime.classNamed("UIWindow")), SEL("initWithFrame:"),
        uikit::makeRect(0, 0, hardware.screenWidth, hardware.screenHeight));
    runtime::send(window, SEL("setRootViewController:"), controller.get());
    runtime::send(window, SEL("makeKeyAndVisible"));
    process.keep(controller);
    process.keep(window);
    objects.conversationListController = dynamic_cast<CKConversationListController*>(controller.get());
    objects.window = dynamic_cast<uikit::UIWindow*>(window.get());
}

device::AppDefinition appDefinition()
{
    return { bundleIdentifier, &defineClasses, &startUp };
}

Ref<CKConversation> addConversation(device::Process& process, const std::string& guid)
{
    auto& state = MessagesState::of(process);
    auto* registry = state.chatRegistry();
    auto* list = state.conversationList();
    if (!registry || !list)
        return nullptr;
    Ref<IMChat> chat = registry->existingChat(guid);
    if (chat) {
        for (auto& conversation : list->conversations()) {
            if (conversation->chat() == chat.get())
                return conversation;
        }
    } else {
        chat = IMChat::make(process.runtime(), guid);
        if (!chat)
            return nullptr;
        registry->addChat(*chat);
    }
    auto object = runtime::send<Ref<Object>>(
        runtime::alloc(process.runtime().classNamed("CKConversation")), SEL("initWithChat:"), chat.get());
    Ref<CKConversation> conversation(dynamic_cast<CKConversation*>(object.get()));
    if (conversation)
        list->appendConversation(*conversation);
    return conversation;
}

} // namespace messages
