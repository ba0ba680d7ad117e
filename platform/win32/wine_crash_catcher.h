// Wine (8) honours neither the error mode a child inherits nor the job limit
// that ends a process on an unhandled exception: in a prefix as users have it,
// a crashed solver starts Wine's debugger, whose dialog holds the run until
// someone finds and closes it. A process that has a debugger starts none, so
// under Wine the checker attaches to the solver as its debugger and ends it
// with the exception's code when nothing in it handles the exception, as
// Windows ends a crashed program without one. Windows itself is spared this:
// a debugged program runs differently (its own checks for a debugger,
// Windows' debug heap), and the error mode suffices there.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <thread>

namespace kalmor {

bool UnderWine();

// Each solver gets a thread of its own as its debugger, since debug events go
// to the thread that attached, and a debuggee whose events wait stands
// still: the window's thread, busy drawing or in a modal loop, would stop the
// solver with it. The thread ends with the solver's exit, or when released:
// a solver still running then is let go, for its job to end.
class WineCrashCatcher {
 public:
  WineCrashCatcher() = default;
  ~WineCrashCatcher();
  WineCrashCatcher(const WineCrashCatcher&) = delete;
  WineCrashCatcher& operator=(const WineCrashCatcher&) = delete;

  // Attaches to a process that was created suspended. False where the system
  // refuses (a 32-bit checker may not debug a 64-bit solver): that one runs
  // as it would without.
  bool attach(std::uint32_t processId);
  // Lets go of the process once its run is over; of an ended one after its
  // last events.
  void release(std::uint32_t processId);

 private:
  struct Debugger {
    std::uint32_t processId = 0;
    std::atomic<bool> over{false};
    std::thread thread;
  };
  std::list<Debugger> debuggers_;
};

}  // namespace kalmor
