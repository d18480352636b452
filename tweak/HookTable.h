#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "platform/runtime/Send.h"

namespace brix {

class Brix;

// The implementation a replacement saved: filled in when the hook is made,
// read by the new implementation whenever it runs.
using Previous = std::shared_ptr<runtime::Imp>;

// One change to a system class, in the order they are installed.
struct HookEntry {
    enum class Kind { Replace, Add, Property };
    enum class Target { Instance, ClassMethod };

    int number;
    // Empty for the host view, whose class depends on the system version.
    std::string_view className;
    // For a property, the getter; the setter is derived from it.
    std::string_view selector;
    Kind kind;
    // The type encoding of an addition; a property's value type, "@" or "B".
    std::string_view types;
    Target target { Target::Instance };
    // The new implementation. A replacement without one keeps the system's
    // behaviour; an addition without one answers a zero value.
    std::function<runtime::Imp(Brix&, Previous)> replacement {};
    std::function<runtime::Imp(Brix&)> addition {};
};

std::span<const HookEntry> hookTable();

// The class that entry 1 changes: the host view class of this system version.
std::string_view hostViewClassName(std::string_view systemVersion);

// Installs the table into the process's run time, skipping missing classes.
void installHooks(Brix&);

} // namespace brix
