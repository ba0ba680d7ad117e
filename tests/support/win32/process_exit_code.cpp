#include "tests/support/win32/process_exit_code.h"

#include <windows.h>

namespace kalmor::probes {

std::optional<std::uint32_t> ProcessExitCode(const ProcessRecord& process) {
  DWORD code = 0;
  if (!::GetExitCodeProcess(reinterpret_cast<HANDLE>(process.process), &code)) return std::nullopt;
  if (code == STILL_ACTIVE) return std::nullopt;
  return code;
}

}  // namespace kalmor::probes
