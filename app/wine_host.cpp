// kalmor-wine-host.exe: the Linux checker's hand inside Wine. Started as
// `<wine loader> kalmor-wine-host.exe FOLDER PROGRAM COMMANDLINE` (each the
// Unix text in hex), it starts PROGRAM as the Windows checker would (its job,
// no error dialogs, and as its debugger, so that a crash ends the run at once),
// with the app folder's Unix paths replaced by their Windows names, waits,
// and prints how the solver ended. Killed, it takes the solver's job along.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/create_platform.h"
#include "platform/win32/win32_text.h"
#include "platform/wine_host_report.h"

namespace {

// The checker reads the one report line from our standard output.
void Report(const std::string& line) {
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
}

// The checker reads why the solver did not start, in the system's words.
int NotStarted(kalmor::Platform* platform, DWORD error) {
  std::optional<std::string> text;
  if (platform != nullptr) {
    text = platform->messageQueries().formatMessage(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, static_cast<std::int32_t>(error),
        0, 1024);
  }
  Report(kalmor::WineHostStartFailure(
      error, text ? text->substr(0, text->find_last_not_of(" \r\n") + 1) : std::string()));
  return 1;
}

// Wine's own name of a Unix path (Z:\...), through the call Wine adds to kernel32.
std::string DosName(const std::string& unixPath) {
  using Convert = WCHAR* (*)(const char*);
  const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void (*)()>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (convert == nullptr) return {};
  WCHAR* name = convert(unixPath.c_str());
  if (name == nullptr) return {};
  std::string text = kalmor::WideToUtf8(name);
  ::HeapFree(::GetProcessHeap(), 0, name);
  return text;
}

std::string WithWindowsNames(std::string text, const std::string& unixFolder,
                             const std::string& dosFolder) {
  const std::string from = unixFolder + "/";
  const std::string to = dosFolder + "\\";
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return NotStarted(nullptr, ERROR_INVALID_PARAMETER);
  const auto folder = kalmor::FromHex(argv[1]);
  const auto program = kalmor::FromHex(argv[2]);
  const auto commandLine = kalmor::FromHex(argv[3]);
  if (!folder || !program || !commandLine) return NotStarted(nullptr, ERROR_INVALID_PARAMETER);
  const std::string dosFolder = DosName(*folder);
  const auto platform = kalmor::CreateSystemPlatform(dosFolder);
  if (dosFolder.empty()) return NotStarted(platform.get(), ERROR_PATH_NOT_FOUND);
  ::SetCurrentDirectoryW(kalmor::Utf8ToWide(dosFolder).c_str());

  kalmor::StartupRecord startup;
  startup.cb = sizeof(STARTUPINFOA);
  startup.dwFlags = kalmor::kStartfUseShowWindow;
  startup.wShowWindow = kalmor::kSwHide;
  auto solver = platform->startSolver(
      platform->toAnsi(WithWindowsNames(*program, *folder, dosFolder)),
      platform->toAnsi(WithWindowsNames(*commandLine, *folder, dosFolder)), true,
      kalmor::kNormalPriorityClass, startup, nullptr);
  if (!solver) return NotStarted(platform.get(), static_cast<DWORD>(solver.error()));
  while ((*solver)->wait(1000) == kalmor::WaitOutcome::Timeout) {
  }
  const kalmor::ProcessExit exit = (*solver)->exit();
  solver->reset();  // ends what the solver left running
  Report(kalmor::WineHostReport(exit.value, exit.text));
  return 0;
}
