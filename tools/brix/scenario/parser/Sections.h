#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/brix/scenario/parser/Fields.h"

// The readers of a scenario's sections, each into the context's scenario.
namespace tools::scenario::parser {

// Device.cpp
void readDevice(Context&, const Json&);
device::Hardware::Style readStyle(const std::string& style, const std::string& name);
std::vector<std::pair<std::string, foundation::Value>> readPreferences(const Json&, const std::string& where);

// Files.cpp
enum class PathKind { Absolute, InsideContainer };
std::vector<FileEntry> readFiles(Context&, const Json&, const std::string& where, PathKind);
void readContainers(Context&, const Json&);
void readConversations(Context&, const Json&);
void readContacts(Context&, const Json&);

// Web.cpp
void readWeb(Context&, const Json&);

// Steps.cpp
void readSteps(Context&, const Json&);

// Notification.cpp
Notification readNotification(Context&, const Json&, const std::string& where);

} // namespace tools::scenario::parser
