#pragma once

namespace messages {

class CKConversation;
class CKConversationList;
class CKConversationListController;
class ConversationStore;
class IMChat;
class IMChatRegistry;
class IMMessage;
class MessagesState;

} // namespace messages
