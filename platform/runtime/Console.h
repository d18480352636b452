#pragma once

#include <functional>
#include <string_view>

namespace runtime {

// The platform's console: where a class says what its caller did wrong when
// the message it was sent has no way to answer with an error (a nil added to
// an array, a pattern that does not compile, a constraint that contradicts
// the others). Each line names the part of the platform that wrote it
// ("foundation: ..."). Lines go to standard error unless the host program
// directs them elsewhere; nothing else in the platform writes to standard
// error or standard output.
void console(std::string_view line);

// Where console lines go from now on; an empty sink restores standard error.
// The sink may be called from any thread, one line at a time.
using ConsoleSink = std::function<void(std::string_view line)>;
void setConsoleSink(ConsoleSink);

} // namespace runtime
