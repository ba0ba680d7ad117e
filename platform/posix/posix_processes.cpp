#include "platform/posix/posix_processes.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "platform/posix/posix_interrupt.h"
#include "platform/windows_command_line.h"

extern char** environ;

namespace kalmor {
namespace {

int PidfdOpen(pid_t pid) { return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)); }

bool Hidden(const StartupRecord& startup) {
  return (startup.dwFlags & kStartfUseShowWindow) != 0 && startup.wShowWindow == kSwHide;
}

class SpawnAttributes {
 public:
  SpawnAttributes() { ::posix_spawnattr_init(&attributes_); }
  ~SpawnAttributes() { ::posix_spawnattr_destroy(&attributes_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  posix_spawnattr_t* get() { return &attributes_; }

 private:
  posix_spawnattr_t attributes_{};
};

class FileActions {
 public:
  FileActions() { ::posix_spawn_file_actions_init(&actions_); }
  ~FileActions() { ::posix_spawn_file_actions_destroy(&actions_); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_{};
};

}  // namespace

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
  if (child.pidfd >= 0) ::close(child.pidfd);
  child.pidfd = -1;
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
  reapFinished();
  std::vector<std::string> args = Arguments(applicationName, commandLine);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  FileActions actions;
  if (Hidden(startup)) {
    for (int fd = 0; fd <= 2; ++fd) {
      ::posix_spawn_file_actions_addopen(actions.get(), fd, "/dev/null",
                                         fd == 0 ? O_RDONLY : O_WRONLY, 0);
    }
  }
  // Nothing but standard input, output and error reaches the solver.
  ::posix_spawn_file_actions_addclosefrom_np(actions.get(), 3);

  // The solver leads a process group of its own, so that what it starts can
  // be ended with it.
  SpawnAttributes attributes;
  ::posix_spawnattr_setpgroup(attributes.get(), 0);
  // An interrupt that arrives while the solver starts waits until it is known.
  InterruptsHeld held;
  ::posix_spawnattr_setsigmask(attributes.get(), &held.previousMask());
  ::posix_spawnattr_setflags(attributes.get(), POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);

  pid_t pid = 0;
  const int rc = ::posix_spawn(&pid, applicationName.c_str(), actions.get(), attributes.get(),
                               argv.data(), environ);
  if (rc != 0) {
    lastError = rc;
    return false;
  }
  SetInterruptibleSolver(pid);
  Child child;
  child.pidfd = PidfdOpen(pid);
  children_[pid] = child;
  process = ProcessRecord{};
  process.process = child.pidfd >= 0 ? child.pidfd : pid;
  process.processId = static_cast<std::uint32_t>(pid);
  return true;
}

WaitOutcome PosixProcesses::wait(const ProcessRecord& process, int milliseconds) {
  const auto it = children_.find(static_cast<int>(process.processId));
  if (it == children_.end()) return WaitOutcome::Failed;
  if (it->second.pidfd >= 0) {
    pollfd entry{it->second.pidfd, POLLIN, 0};
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
  ::kill(-it->first, SIGKILL);
  ::kill(it->first, SIGKILL);
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
  if (it != children_.end() && Reap(it->first, it->second)) children_.erase(it);
  process = ProcessRecord{};
}

void PosixProcesses::reapFinished() {
  for (auto it = children_.begin(); it != children_.end();) {
    it = Reap(it->first, it->second) ? children_.erase(it) : std::next(it);
  }
}

}  // namespace kalmor
