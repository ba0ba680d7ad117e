#include "tests/support/win32/process_census.h"

// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

#include <algorithm>
#include <cwchar>
#include <exception>

#include "platform/win32/system_function.h"
#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_text.h"

namespace kalmor::probes {
namespace {

// SystemHandleInformation (16) of NtQuerySystemInformation: every handle of
// the system with the id of the process that holds it.
struct SystemHandleEntry {
  ULONG ownerProcessId;
  BYTE objectType;
  BYTE flags;
  USHORT handle;
  PVOID object;
  ACCESS_MASK access;
};
struct SystemHandleList {
  ULONG count;
  SystemHandleEntry entries[1];
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

std::uint32_t HandlesInSystemList() {
  SystemFunction<QuerySystemInformation> query(L"ntdll.dll", "NtQuerySystemInformation");
  std::vector<char> buffer(1 << 20);
  for (int tries = 0; tries < 8; ++tries) {
    ULONG needed = 0;
    if (query.get()(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) == 0) {
      const auto* list = reinterpret_cast<const SystemHandleList*>(buffer.data());
      const auto* end = list->entries + list->count;
      const DWORD self = ::GetCurrentProcessId();
      return static_cast<std::uint32_t>(std::count_if(
          list->entries, end, [self](const auto& entry) { return entry.ownerProcessId == self; }));
    }
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed));
  }
  return 0;
}

}  // namespace

std::vector<std::uint32_t> ProcessesNamed(const std::string& prefix) {
  const std::wstring wanted = Utf8ToWide(prefix);
  std::vector<std::uint32_t> found;
  UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = snapshot && ::Process32FirstW(snapshot.get(), &entry); more;
       more = ::Process32NextW(snapshot.get(), &entry)) {
    if (::_wcsnicmp(entry.szExeFile, wanted.c_str(), wanted.size()) == 0) {
      found.push_back(entry.th32ProcessID);
    }
  }
  return found;
}

std::uint32_t OpenHandles() {
  DWORD count = 0;
  if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count > 0) return count;
  try {
    return HandlesInSystemList();
  } catch (const std::exception&) {
    return 0;  // ntdll without the function: nothing to count with
  }
}

}  // namespace kalmor::probes
