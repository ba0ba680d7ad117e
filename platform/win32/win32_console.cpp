#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "platform/console.h"
#include "platform/win32/win32_console.h"
#include "platform/win32/win32_text.h"

namespace kalmor {
namespace {

// One writer at a time; held for good once the last word is out.
SRWLOCK gOutput = SRWLOCK_INIT;

void Write(const std::string& utf8, bool toError) {
  const HANDLE handle = ::GetStdHandle(toError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0;
  DWORD written = 0;
  if (::GetConsoleMode(handle, &mode)) {
    // A console shows UTF-16 correctly whatever its code page.
    const std::wstring wide = Utf8ToWide(utf8);
    ::WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  ::WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

std::vector<std::string> ProgramArguments(int /*argc*/, char** /*argv*/) {
  // argv is in the ANSI code page; folder names outside it need the wide form.
  struct LocalFreeing {
    void operator()(LPWSTR* memory) const { ::LocalFree(memory); }
  };
  int count = 0;
  const std::unique_ptr<LPWSTR, LocalFreeing> wide(
      ::CommandLineToArgvW(::GetCommandLineW(), &count));
  std::vector<std::string> args;
  for (int i = 1; wide && i < count; ++i) args.push_back(WideToUtf8(wide.get()[i]));
  return args;
}

void WriteToConsole(const std::string& utf8, bool toError) {
  ::AcquireSRWLockExclusive(&gOutput);
  Write(utf8, toError);
  ::ReleaseSRWLockExclusive(&gOutput);
}

void WriteLastToConsole(const std::string& utf8, bool toError) {
  ::AcquireSRWLockExclusive(&gOutput);
  if (!utf8.empty()) Write(utf8, toError);
}

}  // namespace kalmor
