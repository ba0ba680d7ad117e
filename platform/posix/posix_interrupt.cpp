#include "platform/posix/posix_interrupt.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace kalmor {
namespace {

constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<pid_t> gSolver{0};
static_assert(std::atomic<pid_t>::is_always_lock_free);
volatile std::sig_atomic_t gExitCode = 1;
// Written before the handlers are installed, only read by them afterwards.
char gNotice[512];
std::size_t gNoticeSize = 0;

void KillSolver() {
  const pid_t pid = gSolver.load();
  if (pid <= 0) return;
  // A solver that leads its own process group takes its children with it;
  // otherwise the first call fails and the second ends the solver alone.
  ::kill(-pid, SIGKILL);
  ::kill(pid, SIGKILL);
}

extern "C" void OnInterrupt(int /*signal*/) {
  KillSolver();
  if (gNoticeSize > 0) {
    const ssize_t ignored = ::write(STDERR_FILENO, gNotice, gNoticeSize);
    static_cast<void>(ignored);
  }
  ::_exit(gExitCode);
}

}  // namespace

void SetInterruptibleSolver(int pid) { gSolver.store(static_cast<pid_t>(pid)); }

void InstallInterruptHandlers(int exitCode, const std::string& notice) {
  gExitCode = exitCode;
  gNoticeSize = std::min(notice.size(), sizeof gNotice);
  std::copy_n(notice.data(), gNoticeSize, gNotice);
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigfillset(&action.sa_mask);  // one interrupt at a time
  for (const int signal : kInterrupts) ::sigaction(signal, &action, nullptr);
}

InterruptsHeld::InterruptsHeld() {
  sigset_t held;
  sigemptyset(&held);
  for (const int signal : kInterrupts) sigaddset(&held, signal);
  ::pthread_sigmask(SIG_BLOCK, &held, &previous_);
}

InterruptsHeld::~InterruptsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

void EndSolverAndExitNow(int exitCode) {
  KillSolver();
  ::_exit(exitCode);
}

}  // namespace kalmor
