#include "platform/posix/posix_platform.h"

#include <utility>

#include "platform/create_platform.h"
#include "platform/posix/os_release.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/posix_interrupt.h"
#include "platform/posix/posix_run_lock.h"
#include "platform/posix/wine_solver_process.h"

namespace kalmor {

PosixPlatform::PosixPlatform(std::optional<std::string> programFolder, std::filesystem::path root)
    : programFolder_(std::move(programFolder)), root_(std::move(root)), locale_(root_) {}

Result<std::string> PosixPlatform::programFolder() {
  if (programFolder_) return *programFolder_;
  return PosixExecutableFolder();
}

bool PosixPlatform::plainFileExists(const std::string& path) { return PosixPlainFileExists(path); }


bool PosixPlatform::sameFile(const std::string& first, const std::string& second) {
  return PosixSameFile(first, second);
}

Result<Done> PosixPlatform::deleteFile(const std::string& path) { return PosixDeleteFile(path); }

NameKind PosixPlatform::nameKind(const std::string& path, const RunLock* /*held*/) {
  return PosixNameKind(path);
}

Result<LockAnswer> PosixPlatform::lockRun(const std::string& inputPath) {
  return PosixLockRun(inputPath);
}

std::string PosixPlatform::runLockHolders(const std::string& inputPath) {
  return PosixRunLockHolders(inputPath);
}

Result<FoundOutput> PosixPlatform::openResult(const std::string& path) {
  return PosixOpenResult(path);
}

Result<std::unique_ptr<InputFile>> PosixPlatform::openForReading(const std::string& path) {
  return PosixOpenForReading(path);
}

Result<std::unique_ptr<OutputFile>> PosixPlatform::openForWriting(const std::string& path) {
  return PosixOpenForWriting(path);
}

SolverCheck PosixPlatform::checkSolver(const std::string& path) {
  return wine_.check(ProgramKindOf(path));
}

Result<std::unique_ptr<SolverProcess>> PosixPlatform::startSolver(
    const std::string& applicationName, const std::string& commandLine, bool /*inheritHandles*/,
    std::uint32_t /*creationFlags*/, const StartupRecord& startup, const RunLock* runLock) {
  if (const ProgramKind kind = ProgramKindOf(applicationName);
      kind != ProgramKind::Linux && wine_.check(kind) == SolverCheck::Runnable) {
    const Result<std::string> folder = programFolder();
    if (!folder) return SystemError{folder.error()};
    return WineSolverProcess::Start(
        processes_, wine_.arguments(*folder, applicationName, commandLine));
  }
  SpawnOptions options;
  options.hidden = (startup.dwFlags & kStartfUseShowWindow) != 0 && startup.wShowWindow == kSwHide;
  if (const auto* lock = dynamic_cast<const PosixRunLock*>(runLock)) {
    options.inherited = lock->inheritedDescriptor();
  }
  auto started = processes_.start(applicationName, commandLine, options);
  if (!started) return SystemError{started.error()};
  return std::unique_ptr<SolverProcess>(std::move(*started));
}

void PosixPlatform::endSolverOnInterrupt(int exitCode, const std::string& notice) {
  InstallInterruptHandlers(exitCode, notice);
}

void PosixPlatform::endSolverAndExit(int exitCode) { EndSolverAndExitNow(exitCode); }

Result<std::string> PosixPlatform::systemName() { return PosixSystemName(root_); }

std::unique_ptr<Platform> CreateSystemPlatform(std::optional<std::string> programFolder) {
  return std::make_unique<PosixPlatform>(std::move(programFolder));
}

}  // namespace kalmor
