// Wine (8) honours neither the error mode a child inherits nor the job limit
// that ends a process on an unhandled exception: in a prefix as users have it,
// a crashed solver starts Wine's debugger, whose dialog holds the run until
// someone finds and closes it. A process that has a debugger starts none, so
// under Wine the checker attaches to the solver as its debugger and ends it
// with the exception's code when nothing in it handles the exception, as
// Windows ends a crashed program without one. Windows itself is spared this:
// a debugged program runs differently (its own checks for a debugger, and
// Windows' debug heap), and the error mode suffices there.
//
// Debug events go to the thread that attached, so attaching and waiting both
// happen on the window's thread; a process that no one serves stops at its
// next event.
#pragma once

#include <windows.h>

#include <cstdint>

namespace kalmor {

bool UnderWine();

// Attaches to a process that was created suspended. False where the system
// refuses (a 32-bit checker cannot debug a 64-bit solver): that one runs as it
// would without, and is waited for all the same.
bool CatchCrashesOf(std::uint32_t processId);

// Waits up to milliseconds for process to end, serving the debug events of
// every process this thread attached to meanwhile: WaitForSingleObject's answer.
DWORD WaitServingCrashes(HANDLE process, DWORD milliseconds);

// Lets go of a process that was ended before all its events were served.
void StopCatchingCrashesOf(std::uint32_t processId);

}  // namespace kalmor
