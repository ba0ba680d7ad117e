#include "platform/win32/win32_platform.h"

#include <utility>

#include "platform/create_platform.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_program_folder.h"
#include "platform/win32/win32_text.h"
#include "sysinfo/get_win_version.h"

namespace kalmor {

Win32Platform::Win32Platform(std::optional<std::string> programFolder)
    : programFolder_(std::move(programFolder)) {}

std::string Win32Platform::programFolder() {
  return programFolder_ ? *programFolder_ : Win32ExecutableFolder();
}

bool Win32Platform::plainFileExists(const std::string& path) { return Win32PlainFileExists(path); }

bool Win32Platform::deleteFile(const std::string& path, std::int32_t& error) {
  return Win32DeleteFile(path, error);
}

std::unique_ptr<InputFile> Win32Platform::openForReading(const std::string& path,
                                                         std::int32_t& error) {
  return Win32OpenForReading(path, error);
}

std::unique_ptr<OutputFile> Win32Platform::openForWriting(const std::string& path,
                                                          std::int32_t& error) {
  return Win32OpenForWriting(path, error);
}

std::string Win32Platform::toAnsi(const std::string& utf8) { return Utf8ToAnsi(utf8); }
std::string Win32Platform::fromAnsi(const std::string& ansi) { return AnsiToUtf8(ansi); }

bool Win32Platform::createProcess(const std::string& applicationName,
                                  const std::string& commandLine, bool inheritHandles,
                                  std::uint32_t creationFlags, const StartupRecord& startup,
                                  ProcessRecord& process, std::int32_t& lastError) {
  return Win32CreateProcess(applicationName, commandLine, inheritHandles, creationFlags, startup,
                            process, lastError);
}

WaitOutcome Win32Platform::waitForProcess(const ProcessRecord& process, int milliseconds) {
  return Win32WaitForProcess(process, milliseconds);
}

void Win32Platform::terminateProcess(std::uint32_t processId, std::uint32_t exitCode) {
  Win32TerminateProcess(processId, exitCode);
}

void Win32Platform::closeProcessHandles(ProcessRecord& process) {
  Win32CloseProcessHandles(process);
}

std::string Win32Platform::systemName() { return fromAnsi(GetWinVersion(version_)); }

std::unique_ptr<Platform> CreateSystemPlatform(std::optional<std::string> programFolder) {
  return std::make_unique<Win32Platform>(std::move(programFolder));
}

}  // namespace kalmor
