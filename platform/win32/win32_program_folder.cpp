#include "platform/win32/win32_program_folder.h"

#include <windows.h>

#include "platform/path_parts.h"
#include "platform/win32/win32_text.h"

namespace kalmor {

Result<std::string> Win32ExecutableFolder() {
  // GetModuleFileNameW cuts a long path to the buffer; grow until it fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return SystemError{static_cast<std::int32_t>(::GetLastError())};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return WideToUtf8(SplitPath(path, L"\\/").folder);
}

}  // namespace kalmor
