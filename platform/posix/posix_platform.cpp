#include "platform/posix/posix_platform.h"

#include <cstring>
#include <utility>

#include "platform/create_platform.h"
#include "platform/posix/os_release.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/posix_interrupt.h"
#include "platform/posix/posix_run_lock.h"

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

Result<FoundOutput> PosixPlatform::openResult(const std::string& path) {
  return PosixOpenResult(path);
}

Result<std::unique_ptr<InputFile>> PosixPlatform::openForReading(const std::string& path) {
  return PosixOpenForReading(path);
}

Result<std::unique_ptr<OutputFile>> PosixPlatform::openForWriting(const std::string& path) {
  return PosixOpenForWriting(path);
}

bool PosixPlatform::createProcess(const std::string& applicationName,
                                  const std::string& commandLine, bool /*inheritHandles*/,
                                  std::uint32_t /*creationFlags*/, const StartupRecord& startup,
                                  ProcessRecord& process, std::int32_t& lastError) {
  return processes_.create(applicationName, commandLine, startup, process, lastError);
}

WaitOutcome PosixPlatform::waitForProcess(const ProcessRecord& process, int milliseconds) {
  return processes_.wait(process, milliseconds);
}

void PosixPlatform::terminateProcess(std::uint32_t processId, std::uint32_t /*exitCode*/) {
  processes_.terminate(processId);
}

void PosixPlatform::closeProcessHandles(ProcessRecord& process) { processes_.close(process); }

ProcessExit PosixPlatform::processExit(const ProcessRecord& process) {
  return processes_.exitOf(process);
}

std::string PosixPlatform::processExitText(const ProcessExit& exit) {
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

Result<std::string> PosixPlatform::systemName() { return PosixSystemName(root_); }

std::unique_ptr<Platform> CreateSystemPlatform(std::optional<std::string> programFolder) {
  return std::make_unique<PosixPlatform>(std::move(programFolder));
}

}  // namespace kalmor
