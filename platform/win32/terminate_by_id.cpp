#include "platform/win32/terminate_by_id.h"

#include "platform/win32/win32_handle.h"

namespace kalmor {

bool TerminateById(std::uint32_t processId, std::uint32_t exitCode) {
  const UniqueHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
  return process && ::TerminateProcess(process.get(), exitCode);
}

}  // namespace kalmor
