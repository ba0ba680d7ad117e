#include "platform/posix/posix_interrupt.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace kalmor {
namespace {

// Signals whose default ends the program and that can be caught, besides the
// real-time ones: what a user, a terminal, a timer or a broken pipe sends.
constexpr int kInterrupts[] = {SIGINT,  SIGTERM,   SIGHUP,  SIGQUIT, SIGUSR1, SIGUSR2,
                               SIGALRM, SIGPIPE,   SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ,
                               SIGIO,   SIGPWR,    SIGSTKFLT};
// Faults of the program itself: the solver ends, the fault keeps its course
// (its core dump, or a sanitizer's report).
constexpr int kFaults[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGTRAP, SIGSYS};
constexpr int kLastSignal = 64;

std::atomic<pid_t> gSolver{0};
static_assert(std::atomic<pid_t>::is_always_lock_free);
volatile std::sig_atomic_t gExitCode = 1;
// Written before the handlers are installed, only read by them afterwards.
char gNotice[512];
std::size_t gNoticeSize = 0;
struct sigaction gBeforeFault[kLastSignal + 1];

// Calls fn for every interrupt signal, the real-time ones included.
template <typename Fn>
void ForEachInterrupt(Fn fn) {
  for (const int signal : kInterrupts) fn(signal);
  for (int signal = SIGRTMIN; signal <= SIGRTMAX && signal <= kLastSignal; ++signal) fn(signal);
}

extern "C" void OnInterrupt(int /*signal*/) {
  KillSolverAndGroup(gSolver.load());
  if (gNoticeSize > 0) {
    const ssize_t ignored = ::write(STDERR_FILENO, gNotice, gNoticeSize);
    static_cast<void>(ignored);
  }
  ::_exit(gExitCode);
}

extern "C" void OnFault(int signal) {
  KillSolverAndGroup(gSolver.load());
  // What was there before handles it: at once for a signal sent, and again
  // for a fault, which repeats when this handler returns.
  ::sigaction(signal, &gBeforeFault[signal], nullptr);
  ::raise(signal);
}

bool Ours(void (*handler)(int)) { return handler == OnInterrupt || handler == OnFault; }

}  // namespace

void KillSolverAndGroup(int pid) {
  if (pid < 0) ::kill(-pid, SIGKILL);
  if (pid <= 0) return;
  // A solver that leads its own process group takes its children with it;
  // otherwise the first call fails and the second ends the solver alone.
  ::kill(-pid, SIGKILL);
  ::kill(pid, SIGKILL);
}

void SetInterruptibleSolver(int pid) { gSolver.store(static_cast<pid_t>(pid)); }

void InstallInterruptHandlers(int exitCode, const std::string& notice) {
  gExitCode = exitCode;
  gNoticeSize = std::min(notice.size(), sizeof gNotice);
  std::copy_n(notice.data(), gNoticeSize, gNotice);
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigfillset(&action.sa_mask);  // one interrupt at a time
  ForEachInterrupt([&](int signal) { ::sigaction(signal, &action, nullptr); });
  action.sa_handler = OnFault;
  for (const int signal : kFaults) ::sigaction(signal, &action, &gBeforeFault[signal]);
}

void ResetInterruptHandlers() {
  const auto reset = [](int signal) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) == 0 && Ours(current.sa_handler)) {
      current.sa_handler = SIG_DFL;
      ::sigaction(signal, &current, nullptr);
    }
  };
  ForEachInterrupt(reset);
  for (const int signal : kFaults) reset(signal);
}

InterruptsHeld::InterruptsHeld() {
  sigset_t held;
  sigemptyset(&held);
  ForEachInterrupt([&](int signal) { sigaddset(&held, signal); });
  ::pthread_sigmask(SIG_BLOCK, &held, &previous_);
}

InterruptsHeld::~InterruptsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

void EndSolverAndExitNow(int exitCode) {
  KillSolverAndGroup(gSolver.load());
  ::_exit(exitCode);
}

}  // namespace kalmor
