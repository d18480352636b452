#pragma once

namespace foundation {

class BoxedValue;
class FileManager;
class Notification;
class NotificationCenter;
class Number;
class Value;
struct Error;
template <typename T> class Result;
enum class PropertyListFormat;

} // namespace foundation
