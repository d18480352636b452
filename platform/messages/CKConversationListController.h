#pragma once

#include "platform/messages/Forward.h"
#include "platform/uikit/UIViewController.h"

namespace messages {

// The Messages app's main screen: the list of conversations. When its view
// loads it takes the shared conversation list to show.
class CKConversationListController : public uikit::UIViewController {
public:
    using UIViewController::UIViewController;

    CKConversationList* conversationList() const;

    static void registerClass(device::Process&);

private:
    runtime::Ref<CKConversationList> m_conversationList;
};

} // namespace messages
