#include "platform/posix/posix_processes.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/posix/folder_entries.h"
#include "platform/posix/posix_interrupt.h"
#include "platform/windows_command_line.h"

extern char** environ;

namespace kalmor {
namespace {

int PidfdOpen(pid_t pid) { return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)); }

// Everything the child needs, made before it is started. It shares the
// checker's memory until exec (vfork: no page tables copied, however large the
// checker), so it calls async-signal-safe functions only and reports a failure
// by writing error before it ends.
struct ChildSetup {
  const char* program;
  char* const* argv;
  bool hidden;
  int inherited;  // becomes descriptor 3; -1 for none
  int output;     // becomes standard output; -1 for none
  pid_t checker;
  const sigset_t* mask;
  volatile int* error;
};

// The child's end when its set-up or exec fails: the checker reads why.
[[noreturn]] void ExitWithError(const ChildSetup& setup) {
  *setup.error = errno;
  ::_exit(127);
}

[[noreturn]] void RunChild(const ChildSetup& setup) {
  const auto fail = [&setup] { ExitWithError(setup); };
  ResetInterruptHandlers();
  // Its own process group, so that what it starts can be ended with it; and
  // it dies with the checker, even one killed without warning. A checker gone
  // before the request was made is caught by the parent check after it.
  if (::setpgid(0, 0) != 0 || ::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) fail();
  if (::getppid() != setup.checker) ::_exit(127);
  // Out of the way of 0 to 3 before those are set, and no longer close-on-exec.
  const int inherited = setup.inherited >= 0 ? ::fcntl(setup.inherited, F_DUPFD, 10) : -1;
  const int output = setup.output >= 0 ? ::fcntl(setup.output, F_DUPFD, 10) : -1;
  if ((setup.inherited >= 0 && inherited < 0) || (setup.output >= 0 && output < 0)) fail();
  if (setup.hidden) {
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open("/dev/null", O_WRONLY);
    if (in < 0 || out < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(out, 2) < 0) fail();
  }
  if (output >= 0 && ::dup2(output, 1) < 0) fail();
  // Nothing but standard input, output and error, and the inherited one, reaches the solver.
  if (inherited >= 0 && ::dup2(inherited, 3) < 0) fail();
  ::close_range(inherited >= 0 ? 4 : 3, ~0U, 0);
  ::sigprocmask(SIG_SETMASK, setup.mask, nullptr);
  ::execve(setup.program, setup.argv, environ);
  ExitWithError(setup);
}

// The child never returns from here: it execs or ends.
__attribute__((noinline)) pid_t StartChild(const ChildSetup& setup) {
  const pid_t pid = ::vfork();
  if (pid == 0) RunChild(setup);
  return pid;
}

// A process's parent and start time, from /proc/<pid>/stat; false when it is gone.
bool ParentAndStart(const std::string& pid, pid_t& parent, unsigned long long& started) {
  std::ifstream in("/proc/" + pid + "/stat");
  std::string text;
  std::getline(in, text);
  // The name in parentheses may hold blanks and parentheses itself.
  const auto end = text.rfind(')');
  if (end == std::string::npos) return false;
  std::istringstream fields(text.substr(end + 1));
  std::string state, skipped;
  fields >> state >> parent;
  for (int field = 5; field < 22; ++field) fields >> skipped;
  fields >> started;
  return !fields.fail();
}

// Orphans this program adopted: its children it did not start itself, started
// at or after since.
std::vector<pid_t> Adopted(unsigned long long since, const std::set<int>& own) {
  std::vector<pid_t> found;
  const pid_t self = ::getpid();
  for (const std::string& pid : ProcessIds()) {
    pid_t parent = 0;
    unsigned long long started = 0;
    if (!ParentAndStart(pid, parent, started) || parent != self || started < since) continue;
    const int id = std::stoi(pid);
    if (own.count(id) == 0) found.push_back(id);
  }
  return found;
}

// Collects a killed child: it dies at once, so this cannot hang, and it
// leaves no zombie.
void ReapKilled(int pid) {
  while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
}

// A signal's name and description: "SIGSEGV, Segmentation fault".
std::string SignalText(int signal) {
  const char* abbreviation = ::sigabbrev_np(signal);
  const char* description = ::strsignal(signal);
  std::string text = abbreviation != nullptr ? "SIG" + std::string(abbreviation) : std::string();
  if (description != nullptr) text += (text.empty() ? "" : ", ") + std::string(description);
  return text;
}

}  // namespace

PosixProcesses::PosixProcesses() {
  // Whatever a solver starts and orphans comes to the checker, not to init,
  // so that it can be ended with its run.
  ::prctl(PR_SET_CHILD_SUBREAPER, 1);
}

std::vector<std::string> PosixProcesses::Arguments(const std::string& applicationName,
                                                   const std::string& commandLine) {
  // The command line starts with the program as the caller wrote it; only
  // what follows becomes arguments, cut as a Windows program would cut it.
  std::string tail;
  if (commandLine.compare(0, applicationName.size(), applicationName) == 0) {
    tail = commandLine.substr(applicationName.size());
  } else {
    tail = SplitProgramName(commandLine).tail;
  }
  std::vector<std::string> args{applicationName};
  for (std::string& arg : SplitCommandTail(tail)) args.push_back(std::move(arg));
  return args;
}

Result<std::unique_ptr<PosixSolverProcess>> PosixProcesses::start(
    const std::string& applicationName, const std::string& commandLine,
    const SpawnOptions& options) {
  return start(Arguments(applicationName, commandLine), options);
}

Result<std::unique_ptr<PosixSolverProcess>> PosixProcesses::start(
    std::vector<std::string> args, const SpawnOptions& options) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  // An interrupt that arrives while the solver starts waits until it is known.
  InterruptsHeld held;
  volatile int childError = 0;
  const ChildSetup setup{args.front().c_str(), argv.data(), options.hidden, options.inherited,
                         options.output,          ::getpid(),  &held.previousMask(), &childError};
  const pid_t pid = StartChild(setup);
  if (pid < 0 || childError != 0) {
    const int error = pid < 0 ? errno : childError;
    if (pid > 0) ReapKilled(pid);
    return SystemError{error};
  }
  SetInterruptibleSolver(options.alone ? -pid : pid);
  UniqueFd pidfd(PidfdOpen(pid));
  pid_t parent = 0;
  unsigned long long started = 0;
  ParentAndStart(std::to_string(pid), parent, started);
  return std::make_unique<PosixSolverProcess>(*this, pid, std::move(pidfd), started,
                                              options.alone);
}

PosixSolverProcess::PosixSolverProcess(PosixProcesses& owner, int pid, UniqueFd pidfd,
                                       unsigned long long started, bool alone)
    : owner_(owner), pid_(pid), pidfd_(std::move(pidfd)), started_(started), alone_(alone) {
  owner_.live_.insert(pid_);
}

PosixSolverProcess::~PosixSolverProcess() {
  // Its pid may be reused once reaped, so an interrupt must no longer aim at it.
  SetInterruptibleSolver(0);
  // Unreaped, the solver still holds its group's id: what it started and
  // left running there ends now, before the run is judged.
  KillSolverAndGroup(alone_ ? -pid_ : pid_);
  ReapKilled(pid_);
  owner_.live_.erase(pid_);
  owner_.endAdopted(started_);
}

WaitOutcome PosixSolverProcess::wait(int milliseconds) {
  if (pidfd_) {
    pollfd entry{pidfd_.get(), POLLIN, 0};
    const int ready = ::poll(&entry, 1, milliseconds);
    if (ready > 0) return WaitOutcome::Ended;
    if (ready == 0 || errno == EINTR) return WaitOutcome::Timeout;
    return WaitOutcome::Failed;
  }
  // Without pidfd: look, then sleep one slice.
  siginfo_t info{};
  if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
    return WaitOutcome::Failed;
  }
  if (info.si_pid != 0) return WaitOutcome::Ended;
  const timespec slice{0, static_cast<long>(milliseconds) * 1000000L};
  ::nanosleep(&slice, nullptr);
  return WaitOutcome::Timeout;
}

void PosixSolverProcess::terminate() {
  // Unreaped until this object ends: neither its id nor its group's can have
  // been reused.
  KillSolverAndGroup(alone_ ? -pid_ : pid_);
}

ProcessExit PosixSolverProcess::exit() {
  // Looks without collecting: the end of this object reaps.
  siginfo_t info{};
  if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
      info.si_pid == 0) {
    return {};
  }
  ProcessExit exit;
  exit.kind = info.si_code == CLD_EXITED ? ProcessExit::Kind::Code : ProcessExit::Kind::Signal;
  exit.value = static_cast<std::uint32_t>(info.si_status);
  if (exit.kind == ProcessExit::Kind::Signal) exit.text = SignalText(info.si_status);
  return exit;
}

void PosixProcesses::endAdopted(unsigned long long since) const {
  // Each one ended orphans its own children, which come here next time; a
  // process that forks faster than it is killed still ends within the bound.
  for (int round = 0; round < 1000; ++round) {
    // Without a child of any kind, dead or alive, nothing of the solver's is
    // left: one call instead of a look at every process, which would cost a
    // quick run a tenth of its time.
    siginfo_t info{};
    if (::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT | __WALL) != 0 && errno == ECHILD) return;
    const std::vector<pid_t> adopted = Adopted(since, live_);
    if (adopted.empty()) return;
    // Unreaped children of ours: neither their ids nor their groups' can have
    // been reused.
    for (const pid_t pid : adopted) KillSolverAndGroup(pid);
    // The end of what was killed is waited for, however long a large process
    // takes to die: only then has it let go of the folder.
    for (const pid_t pid : adopted) ReapKilled(pid);
  }
}

}  // namespace kalmor
