#include "tests/support/win32/held_file.h"

#include <windows.h>

#include "platform/win32/win32_text.h"

namespace kalmor::probes {

HeldFile::HeldFile(const std::string& path, Sharing sharing)
    : handle_(reinterpret_cast<std::intptr_t>(::CreateFileW(
          Utf8ToWide(path).c_str(), GENERIC_READ,
          sharing == Sharing::NoDelete ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0, nullptr,
          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))) {}

HeldFile::~HeldFile() {
  if (held()) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool HeldFile::held() const {
  return reinterpret_cast<HANDLE>(handle_) != INVALID_HANDLE_VALUE;
}

}  // namespace kalmor::probes
