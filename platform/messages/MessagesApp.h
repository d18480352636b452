#pragma once

#include <string>

#include "platform/device/Device.h"
#include "platform/messages/Forward.h"

namespace messages {

inline constexpr const char* bundleIdentifier = "com.apple.MobileSMS";

// Defines the Messages app's classes (UIKit's among them) in the process's run time.
void defineClasses(device::Process&);

// The Messages app's start-up: its application object, the conversations of
// the device's ConversationStore (a damaged store is traced as
// `messages.storeUnreadable` with the reason and left alone), and its
// conversation list controller, with the view loaded, in the app's key
// window. Made through the run time, so hooks installed beforehand see them.
void startUp(device::Process&);

device::AppDefinition appDefinition();

// Opens a conversation for the chat with `guid`: the chat joins the chat
// registry and its conversation the end of the shared conversation list.
// A chat that exists already keeps its conversation, which is answered.
runtime::Ref<CKConversation> addConversation(device::Process&, const std::string& guid);

} // namespace messages
