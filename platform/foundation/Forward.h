#pragma once

namespace foundation {

class BoxedValue;
class DirectoryEnumerator;
class ErrorObject;
class FileManager;
class MutableArray;
class MutableDictionary;
class Notification;
class NotificationCenter;
class Number;
class UUID;
class Value;
struct Error;
template <typename T> class Result;
enum class PropertyListFormat;

} // namespace foundation
