#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "platform/foundation/Result.h"

namespace foundation {

// Replaces the file at `path` with `bytes` so that a reader sees either the
// old contents or the new ones, never a mixture, even across a crash: the
// bytes go to a temporary file in the same folder, are flushed to the disk
// and renamed over the target. A file being replaced keeps its permissions;
// a symbolic link at `path` is replaced, not followed. Anything else at
// `path` (a folder, a device node, a FIFO, a socket) is refused.
// On failure the old file is untouched, no temporary file is left behind and
// the answer says what went wrong.
Result<void> writeFileAtomically(const std::filesystem::path&, std::span<const uint8_t> bytes);

} // namespace foundation
