#include "tools/standin_solver/adopted_child.h"

#ifdef _WIN32
#include <windows.h>
#include <tlhelp32.h>

#include <vector>
#endif

namespace kalmor::standin {

#ifdef _WIN32
namespace {

DWORD ParentId() {
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  DWORD parent = 0;
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more && parent == 0;
       more = ::Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID == ::GetCurrentProcessId()) parent = entry.th32ParentProcessID;
  }
  ::CloseHandle(snapshot);
  return parent;
}

}  // namespace

bool StartAdoptedChild(const std::string& program, const std::string& commandLine) {
  HANDLE parent = ::OpenProcess(PROCESS_CREATE_PROCESS, FALSE, ParentId());
  if (parent == nullptr) return false;
  SIZE_T size = 0;
  ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<char> storage(size);
  auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
  STARTUPINFOEXA start{};
  start.StartupInfo.cb = sizeof start;
  start.lpAttributeList = attributes;
  PROCESS_INFORMATION child{};
  std::string writable = commandLine;
  const bool started =
      ::InitializeProcThreadAttributeList(attributes, 1, 0, &size) &&
      ::UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_PARENT_PROCESS, &parent,
                                  sizeof parent, nullptr, nullptr) &&
      ::CreateProcessA(program.c_str(), writable.data(), nullptr, nullptr, FALSE,
                       EXTENDED_STARTUPINFO_PRESENT | CREATE_NO_WINDOW, nullptr, nullptr,
                       &start.StartupInfo, &child);
  if (started) {
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    ::DeleteProcThreadAttributeList(attributes);
  }
  ::CloseHandle(parent);
  return started;
}
#else
bool StartAdoptedChild(const std::string&, const std::string&) { return false; }
#endif

}  // namespace kalmor::standin
