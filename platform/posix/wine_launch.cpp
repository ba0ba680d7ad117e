#include "platform/posix/wine_launch.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "platform/posix/posix_files.h"
#include "platform/posix/unique_fd.h"
#include "platform/wine_host_report.h"

extern char** environ;

namespace kalmor {
namespace {

constexpr const char* kLauncher = "kalmor-wine-host.exe";

std::string OnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string_view rest = path != nullptr ? path : "";
  while (!rest.empty()) {
    const auto colon = rest.find(':');
    const std::string folder(rest.substr(0, colon));
    const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
  }
  return {};
}

// Starts program --version, output discarded; its exit status, or the errno of
// a start the kernel refused (-errno).
int Probe(const std::string& program) {
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("--version"), nullptr};
  pid_t pid = 0;
  const int error = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
  ::posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return -error;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

ProgramKind ProgramKindOf(const std::string& path) {
  const UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!file) return ProgramKind::Linux;
  std::string bytes(kProgramHeaderBytes, '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t count = ::read(file.get(), bytes.data() + got, bytes.size() - got);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return ProgramKind::Linux;
    if (count == 0) break;
    got += static_cast<std::size_t>(count);
  }
  bytes.resize(got);
  return ReadProgramKind(bytes);
}

void WineLaunch::findLoader() {
  searched_ = true;
  // The user's wine first. Debian's picks its 32-bit loader whenever that is
  // installed, which a kernel without 32-bit support cannot start, while its
  // 64-bit loader, started directly, runs 64-bit programs there.
  for (const std::string& candidate :
       {OnPath("wine"), OnPath("wine64"), std::string("/usr/lib/wine/wine64"),
        std::string("/usr/lib64/wine/wine64")}) {
    if (!candidate.empty() && ::access(candidate.c_str(), X_OK) == 0 && Probe(candidate) == 0) {
      loader_ = candidate;
      return;
    }
  }
}

SolverCheck WineLaunch::check(ProgramKind kind) {
  if (kind == ProgramKind::Linux) return SolverCheck::Runnable;
  if (kind == ProgramKind::Other) return SolverCheck::NotAProgram;
  if (!searched_) findLoader();
  if (loader_.empty()) return SolverCheck::WineMissing;
  if (kind == ProgramKind::Windows32) {
    // Wine starts a 32-bit program with its 32-bit loader; where that is
    // installed and the kernel refuses it, no 32-bit program runs here.
    if (runs32Bit_ < 0) {
      runs32Bit_ = 1;
      for (const char* loader : {"/usr/lib/wine/wine", "/usr/lib32/wine/wine",
                                 "/usr/lib/i386-linux-gnu/wine/wine"}) {
        if (::access(loader, X_OK) == 0) {
          runs32Bit_ = Probe(loader) == -ENOEXEC ? 0 : 1;
          break;
        }
      }
    }
    if (runs32Bit_ == 0) return SolverCheck::No32BitHere;
  }
  const Result<std::string> own = PosixExecutableFolder();
  launcher_ = own ? *own + "/" + kLauncher : std::string();
  if (launcher_.empty() || ::access(launcher_.c_str(), R_OK) != 0) return SolverCheck::LauncherMissing;
  return SolverCheck::Runnable;
}

std::vector<std::string> WineLaunch::arguments(const std::string& folder,
                                               const std::string& program,
                                               const std::string& commandLine) const {
  return {loader_, launcher_, ToHex(folder), ToHex(program), ToHex(commandLine)};
}

}  // namespace kalmor
