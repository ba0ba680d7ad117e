#include "platform/win32/win32_platform.h"

#include <utility>

#include "platform/create_platform.h"
#include "platform/win32/win32_program_folder.h"
#include "platform/win32/win32_text.h"
#include "sysinfo/get_win_version.h"

namespace kalmor {

Win32Platform::Win32Platform(std::optional<std::string> programFolder)
    : programFolder_(std::move(programFolder)) {}

std::string Win32Platform::programFolder() {
  return programFolder_ ? *programFolder_ : Win32ExecutableFolder();
}

std::string Win32Platform::toAnsi(const std::string& utf8) { return Utf8ToAnsi(utf8); }
std::string Win32Platform::fromAnsi(const std::string& ansi) { return AnsiToUtf8(ansi); }

std::string Win32Platform::systemName() { return fromAnsi(GetWinVersion(version_)); }

std::unique_ptr<Platform> CreateSystemPlatform(std::optional<std::string> programFolder) {
  return std::make_unique<Win32Platform>(std::move(programFolder));
}

}  // namespace kalmor
