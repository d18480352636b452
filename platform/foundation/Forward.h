#pragma once

namespace foundation {

class FileManager;
class NotificationCenter;
class Value;

} // namespace foundation
