#pragma once

#include "platform/device/Forward.h"
#include "platform/messages/Forward.h"
#include "platform/runtime/Ref.h"
#include "platform/uikit/Forward.h"

namespace messages {

// What the Messages app keeps for its process (a per-process service): the
// shared conversation list and chat registry, and a directory of the
// objects its start-up made, which the process keeps alive.
class MessagesState {
public:
    struct StartUpObjects {
        runtime::WeakRef<uikit::UIApplication> application;
        runtime::WeakRef<uikit::UIWindow> window;
        runtime::WeakRef<CKConversationListController> conversationListController;
    };

    explicit MessagesState(device::Process&);
    ~MessagesState();

    static MessagesState& of(device::Process&);

    // Created on first use; nil in a process without the class.
    CKConversationList* conversationList();
    IMChatRegistry* chatRegistry();

    StartUpObjects& startUpObjects() { return m_startUpObjects; }

private:
    device::Process* m_process;
    runtime::Ref<CKConversationList> m_conversationList;
    runtime::Ref<IMChatRegistry> m_chatRegistry;
    StartUpObjects m_startUpObjects;
};

} // namespace messages
