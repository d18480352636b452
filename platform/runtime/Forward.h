#pragma once

namespace runtime {

class Class;
class ClassBuilder;
class Imp;
class Method;
class Object;
class Runtime;
class Selector;
template <typename T> class Ref;
template <typename T> class WeakRef;

} // namespace runtime
