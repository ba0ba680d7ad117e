#include "platform/posix/posix_processes.h"

#include <cerrno>
#include <csignal>
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

bool Hidden(const StartupRecord& startup) {
  return (startup.dwFlags & kStartfUseShowWindow) != 0 && startup.wShowWindow == kSwHide;
}

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
  if (setup.inherited >= 0 && inherited < 0) fail();
  if (setup.hidden) {
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open("/dev/null", O_WRONLY);
    if (in < 0 || out < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(out, 2) < 0) fail();
  }
  if (setup.output >= 0 && ::dup2(setup.output, 1) < 0) fail();
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
template <typename OwnChildren>
std::vector<pid_t> Adopted(unsigned long long since, const OwnChildren& own) {
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

}  // namespace

PosixProcesses::PosixProcesses() {
  // Whatever a solver starts and orphans comes to the checker, not to init,
  // so that it can be ended with its run.
  ::prctl(PR_SET_CHILD_SUBREAPER, 1);
}

PosixProcesses::~PosixProcesses() {
  SetInterruptibleSolver(0);
  for (auto& [pid, child] : children_) Reap(pid, child);
}

bool PosixProcesses::Reap(int pid, Child& child) {
  // A killed child dies at once, so waiting for it cannot hang and leaves no
  // zombie; anything else is only collected once it has ended.
  int status = 0;
  pid_t got = 0;
  do {
    got = ::waitpid(pid, &status, child.killed ? 0 : WNOHANG);
  } while (got < 0 && errno == EINTR);
  if (got == 0) return false;
  child.pidfd.reset();
  return true;
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

bool PosixProcesses::create(const std::string& applicationName, const std::string& commandLine,
                            const StartupRecord& startup, ProcessRecord& process,
                            std::int32_t& lastError) {
  return start(Arguments(applicationName, commandLine), Hidden(startup), inherited_, -1, process,
               lastError);
}

bool PosixProcesses::createLauncher(std::vector<std::string> args, int output,
                                    ProcessRecord& process, std::int32_t& lastError) {
  return start(std::move(args), true, -1, output, process, lastError);
}

bool PosixProcesses::start(std::vector<std::string> args, bool hidden, int inherited, int output,
                           ProcessRecord& process, std::int32_t& lastError) {
  reapFinished();
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  // An interrupt that arrives while the solver starts waits until it is known.
  InterruptsHeld held;
  volatile int childError = 0;
  const ChildSetup setup{args.front().c_str(), argv.data(), hidden, inherited, output,
                         ::getpid(), &held.previousMask(), &childError};
  const pid_t pid = StartChild(setup);
  if (pid < 0 || childError != 0) {
    lastError = pid < 0 ? errno : childError;
    int ignored = 0;
    while (pid > 0 && ::waitpid(pid, &ignored, 0) < 0 && errno == EINTR) {
    }
    return false;
  }
  Child& child = children_[pid];
  child.alone = output >= 0;  // only a launcher reports on its output
  SetInterruptibleSolver(Target(pid, child));
  child.pidfd = UniqueFd(PidfdOpen(pid));
  pid_t parent = 0;
  ParentAndStart(std::to_string(pid), parent, child.started);
  process = ProcessRecord{};
  process.process = child.pidfd ? child.pidfd.get() : pid;
  process.processId = static_cast<std::uint32_t>(pid);
  return true;
}

WaitOutcome PosixProcesses::wait(const ProcessRecord& process, int milliseconds) {
  const auto it = children_.find(static_cast<int>(process.processId));
  if (it == children_.end()) return WaitOutcome::Failed;
  if (it->second.pidfd) {
    pollfd entry{it->second.pidfd.get(), POLLIN, 0};
    const int ready = ::poll(&entry, 1, milliseconds);
    if (ready > 0) return WaitOutcome::Ended;
    if (ready == 0 || errno == EINTR) return WaitOutcome::Timeout;
    return WaitOutcome::Failed;
  }
  // Without pidfd: look, then sleep one slice.
  siginfo_t info{};
  if (::waitid(P_PID, process.processId, &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
    return WaitOutcome::Failed;
  }
  if (info.si_pid != 0) return WaitOutcome::Ended;
  const timespec slice{0, static_cast<long>(milliseconds) * 1000000L};
  ::nanosleep(&slice, nullptr);
  return WaitOutcome::Timeout;
}

void PosixProcesses::terminate(std::uint32_t processId) {
  // Only an unreaped child of ours: its id cannot have been reused, nor the
  // id of the group it leads.
  const auto it = children_.find(static_cast<int>(processId));
  if (it == children_.end()) return;
  KillSolverAndGroup(Target(it->first, it->second));
  it->second.killed = true;
}

ProcessExit PosixProcesses::exitOf(const ProcessRecord& process) const {
  if (children_.count(static_cast<int>(process.processId)) == 0) return {};
  // Looks without collecting: close() reaps.
  siginfo_t info{};
  if (::waitid(P_PID, process.processId, &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
      info.si_pid == 0) {
    return {};
  }
  ProcessExit exit;
  exit.kind = info.si_code == CLD_EXITED ? ProcessExit::Kind::Code : ProcessExit::Kind::Signal;
  exit.value = static_cast<std::uint32_t>(info.si_status);
  return exit;
}

void PosixProcesses::close(ProcessRecord& process) {
  // Its pid may be reused once reaped, so an interrupt must no longer aim at it.
  SetInterruptibleSolver(0);
  const auto it = children_.find(static_cast<int>(process.processId));
  if (it != children_.end()) {
    // Unreaped, the solver still holds its group's id: what it started and
    // left running there ends now, before the run is judged.
    KillSolverAndGroup(Target(it->first, it->second));
    it->second.killed = true;
    const unsigned long long started = it->second.started;
    if (Reap(it->first, it->second)) children_.erase(it);
    endAdopted(started);
  }
  process = ProcessRecord{};
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
    const std::vector<pid_t> adopted = Adopted(since, children_);
    if (adopted.empty()) return;
    // Unreaped children of ours: neither their ids nor their groups' can have
    // been reused.
    for (const pid_t pid : adopted) KillSolverAndGroup(pid);
    // The end of what was killed is waited for, however long a large process
    // takes to die: only then has it let go of the folder.
    for (const pid_t pid : adopted) {
      while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }
  }
}

void PosixProcesses::reapFinished() {
  for (auto it = children_.begin(); it != children_.end();) {
    it = Reap(it->first, it->second) ? children_.erase(it) : std::next(it);
  }
}

}  // namespace kalmor
