#include "platform/posix/posix_platform.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/create_platform.h"
#include "platform/posix/os_release.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/posix_interrupt.h"
#include "platform/posix/posix_run_lock.h"
#include "platform/wine_host_report.h"

namespace kalmor {

PosixPlatform::PosixPlatform(std::optional<std::string> programFolder, std::filesystem::path root)
    : programFolder_(std::move(programFolder)), root_(std::move(root)), locale_(root_) {}

std::string PosixPlatform::programFolder() {
  return programFolder_ ? *programFolder_ : PosixExecutableFolder();
}

bool PosixPlatform::plainFileExists(const std::string& path) { return PosixPlainFileExists(path); }


bool PosixPlatform::sameFile(const std::string& first, const std::string& second) {
  return PosixSameFile(first, second);
}

bool PosixPlatform::deleteFile(const std::string& path, std::int32_t& error) {
  return PosixDeleteFile(path, error);
}

NameKind PosixPlatform::nameKind(const std::string& path) { return PosixNameKind(path); }

std::unique_ptr<RunLock> PosixPlatform::lockRun(const std::string& inputPath,
                                                LockOutcome& outcome, std::int32_t& error) {
  auto lock = PosixLockRun(inputPath, outcome, error, [this] { processes_.inheritDescriptor(-1); });
  if (lock) processes_.inheritDescriptor(lock->inheritedDescriptor());
  return lock;
}

std::string PosixPlatform::runLockHolders(const std::string& inputPath) {
  return PosixRunLockHolders(inputPath);
}

std::unique_ptr<InputFile> PosixPlatform::openResult(const std::string& path, NameKind& kind,
                                                     std::int32_t& error) {
  return PosixOpenResult(path, kind, error);
}

std::unique_ptr<InputFile> PosixPlatform::openForReading(const std::string& path,
                                                         std::int32_t& error) {
  return PosixOpenForReading(path, error);
}

std::unique_ptr<OutputFile> PosixPlatform::openForWriting(const std::string& path,
                                                          std::int32_t& error) {
  return PosixOpenForWriting(path, error);
}

SolverCheck PosixPlatform::checkSolver(const std::string& path) {
  return wine_.check(ProgramKindOf(path));
}

bool PosixPlatform::createProcess(const std::string& applicationName,
                                  const std::string& commandLine, bool /*inheritHandles*/,
                                  std::uint32_t /*creationFlags*/, const StartupRecord& startup,
                                  ProcessRecord& process, std::int32_t& lastError) {
  wineExitText_.clear();
  const ProgramKind kind = ProgramKindOf(applicationName);
  if (kind == ProgramKind::Linux || wine_.check(kind) != SolverCheck::Runnable) {
    return processes_.create(applicationName, commandLine, startup, process, lastError);
  }
  int ends[2] = {-1, -1};
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
    lastError = errno;
    return false;
  }
  wineReport_ = UniqueFd(ends[0]);
  const UniqueFd writeEnd(ends[1]);
  // Wine's servers, which a prefix's first program starts, are the user's,
  // not the run's: they must neither be adopted and ended with the run nor
  // become zombies here. The solver's Windows leftovers end with its job.
  ::prctl(PR_SET_CHILD_SUBREAPER, 0);
  const bool started = processes_.createLauncher(
      wine_.arguments(programFolder(), applicationName, commandLine), writeEnd.get(), process,
      lastError);
  if (!started) {
    wineReport_.reset();
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
  }
  return started;
}

WaitOutcome PosixPlatform::waitForProcess(const ProcessRecord& process, int milliseconds) {
  return processes_.wait(process, milliseconds);
}

void PosixPlatform::terminateProcess(std::uint32_t processId, std::uint32_t /*exitCode*/) {
  processes_.terminate(processId);
}

void PosixPlatform::closeProcessHandles(ProcessRecord& process) {
  processes_.close(process);
  if (wineReport_) {
    wineReport_.reset();
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
  }
}

ProcessExit PosixPlatform::processExit(const ProcessRecord& process) {
  const ProcessExit launcher = processes_.exitOf(process);
  if (!wineReport_ || launcher.kind == ProcessExit::Kind::Unknown) return launcher;
  // The launcher wrote its report before it ended, so it is all there now.
  std::string output;
  char buffer[512];
  for (ssize_t count = 0; (count = ::read(wineReport_.get(), buffer, sizeof buffer)) > 0;) {
    output.append(buffer, static_cast<std::size_t>(count));
  }
  const auto report = ReadWineHostReport(output);
  if (!report) return launcher;
  wineExitText_ = report->text;
  return ProcessExit{ProcessExit::Kind::Code, report->code};
}

std::string PosixPlatform::processExitText(const ProcessExit& exit) {
  if (exit.kind == ProcessExit::Kind::Code) return wineExitText_;
  if (exit.kind != ProcessExit::Kind::Signal) return {};
  const int signal = static_cast<int>(exit.value);
  const char* abbreviation = ::sigabbrev_np(signal);
  const char* description = ::strsignal(signal);
  std::string text = abbreviation != nullptr ? "SIG" + std::string(abbreviation) : std::string();
  if (description != nullptr) text += (text.empty() ? "" : ", ") + std::string(description);
  return text;
}

void PosixPlatform::endSolverOnInterrupt(int exitCode, const std::string& notice) {
  InstallInterruptHandlers(exitCode, notice);
}

void PosixPlatform::endSolverAndExit(int exitCode) { EndSolverAndExitNow(exitCode); }

std::string PosixPlatform::systemName() { return PosixSystemName(root_); }

std::unique_ptr<Platform> CreateSystemPlatform(std::optional<std::string> programFolder) {
  return std::make_unique<PosixPlatform>(std::move(programFolder));
}

}  // namespace kalmor
