#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <utility>

#include "platform/create_platform.h"
#include "platform/win32/win32_program_folder.h"
#include "platform/win32/win32_text.h"
#include "sysinfo/get_win_version.h"

namespace kalmor {

Win32Platform::Win32Platform(std::optional<std::string> programFolder)
    : programFolder_(std::move(programFolder)) {}

Result<std::string> Win32Platform::programFolder() {
  if (programFolder_) return *programFolder_;
  return Win32ExecutableFolder();
}

std::string Win32Platform::toAnsi(const std::string& utf8) { return Utf8ToAnsi(utf8); }
std::string Win32Platform::fromAnsi(const std::string& ansi) { return AnsiToUtf8(ansi); }

Result<std::string> Win32Platform::systemName() {
  try {
    return fromAnsi(GetWinVersion(version_));
  } catch (const WinVersionError&) {
    // The naming's own failure ends here, at the interface; the failed call left its reason.
    return SystemError{static_cast<std::int32_t>(::GetLastError())};
  }
}

std::unique_ptr<Platform> CreateSystemPlatform(std::optional<std::string> programFolder) {
  return std::make_unique<Win32Platform>(std::move(programFolder));
}

}  // namespace kalmor
