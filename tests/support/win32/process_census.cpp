#include "tests/support/win32/process_census.h"

// clang-format off
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
// clang-format on

#include <algorithm>
#include <cwchar>
#include <exception>
#include <functional>

#include "platform/win32/system_function.h"
#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_text.h"

namespace kalmor::probes {
namespace {

std::vector<std::uint32_t> ProcessesWhere(const std::function<bool(const PROCESSENTRY32W&)>& keep) {
  std::vector<std::uint32_t> found;
  UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
       more = ::Process32NextW(snapshot.get(), &entry)) {
    if (keep(entry)) found.push_back(entry.th32ProcessID);
  }
  return found;
}

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
    const LONG status = query.get()(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) {
      const auto* list = reinterpret_cast<const SystemHandleList*>(buffer.data());
      const DWORD self = ::GetCurrentProcessId();
      std::uint32_t count = 0;
      for (ULONG i = 0; i < list->count; ++i) count += list->entries[i].ownerProcessId == self;
      return count;
    }
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed));
  }
  return 0;
}

}  // namespace

std::vector<std::uint32_t> ProcessesNamed(const std::string& prefix) {
  const std::wstring wanted = Utf8ToWide(prefix);
  return ProcessesWhere([&wanted](const PROCESSENTRY32W& entry) {
    return ::_wcsnicmp(entry.szExeFile, wanted.c_str(), wanted.size()) == 0;
  });
}

std::vector<std::uint32_t> ChildrenOfThisProcess() {
  const DWORD self = ::GetCurrentProcessId();
  return ProcessesWhere([self](const PROCESSENTRY32W& entry) {
    return entry.th32ParentProcessID == self && entry.th32ProcessID != self;
  });
}

HandleCount OpenHandles() {
  DWORD count = 0;
  if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count > 0) {
    return {count, "GetProcessHandleCount"};
  }
  try {
    const std::uint32_t listed = HandlesInSystemList();
    if (listed > 0) return {listed, "system handle list"};
  } catch (const std::exception&) {
    // ntdll without the function: nothing to count with
  }
  return {};
}

MemoryUse ThisProcessMemory() {
  MemoryUse use;
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) {
    use.workingSet = counters.WorkingSetSize;
  }
  MEMORY_BASIC_INFORMATION region{};
  for (const char* at = nullptr; ::VirtualQuery(at, &region, sizeof region) == sizeof region;
       at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) use.privateBytes += region.RegionSize;
  }
  return use;
}

}  // namespace kalmor::probes
