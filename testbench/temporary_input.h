// Bounds of the copy of a task into TMP_INPUT.INP.
#pragma once

#include <cstddef>

namespace kalmor {

// Real tasks are a few kilobytes. The bound stops a task of "<Protokoll>"
// markers, each of which becomes a whole path, from filling the disk; the
// refusal text names it.
inline constexpr std::size_t kTemporaryInputLimit = std::size_t{64} << 20;
// The task is read in chunks of this size, and the window pumps its events
// between two chunks, so Stop and Close are seen within a few milliseconds.
inline constexpr std::size_t kTaskChunk = std::size_t{256} << 10;

}  // namespace kalmor
