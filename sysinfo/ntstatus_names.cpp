#include "sysinfo/ntstatus_names.h"

#include <array>
#include <utility>

namespace kalmor {
namespace {

// Crashes, and the loader's failures before the program's first line runs.
constexpr std::array<std::pair<std::uint32_t, const char*>, 20> kNames{{
    {0xC0000005, "STATUS_ACCESS_VIOLATION"},
    {0xC0000006, "STATUS_IN_PAGE_ERROR"},
    {0xC0000008, "STATUS_INVALID_HANDLE"},
    {0xC0000017, "STATUS_NO_MEMORY"},
    {0xC000001D, "STATUS_ILLEGAL_INSTRUCTION"},
    {0xC0000022, "STATUS_ACCESS_DENIED"},
    {0xC0000025, "STATUS_NONCONTINUABLE_EXCEPTION"},
    {0xC000007B, "STATUS_INVALID_IMAGE_FORMAT"},
    {0xC000008C, "STATUS_ARRAY_BOUNDS_EXCEEDED"},
    {0xC000008E, "STATUS_FLOAT_DIVIDE_BY_ZERO"},
    {0xC0000094, "STATUS_INTEGER_DIVIDE_BY_ZERO"},
    {0xC0000096, "STATUS_PRIVILEGED_INSTRUCTION"},
    {0xC00000FD, "STATUS_STACK_OVERFLOW"},
    {0xC0000135, "STATUS_DLL_NOT_FOUND"},
    {0xC0000139, "STATUS_ENTRYPOINT_NOT_FOUND"},
    {0xC000013A, "STATUS_CONTROL_C_EXIT"},
    {0xC0000142, "STATUS_DLL_INIT_FAILED"},
    {0xC0000374, "STATUS_HEAP_CORRUPTION"},
    {0xC0000409, "STATUS_STACK_BUFFER_OVERRUN"},
    {0xC0000420, "STATUS_ASSERTION_FAILURE"},
}};

}  // namespace

const char* NtStatusName(std::uint32_t status) {
  for (const auto& [code, name] : kNames) {
    if (code == status) return name;
  }
  return nullptr;
}

}  // namespace kalmor
