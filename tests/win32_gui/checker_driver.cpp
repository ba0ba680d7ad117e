// Drives the real checker program end to end under one scenario:
//   checker_driver <pass|stop|close|close-button|shutdown> <KalmorChecker.exe> <stand-in solver.exe>
//                  <empty folder>
// The folder receives the checker, the stand-in as both solver builds and a
// task; every check is printed, and the exit code is 1 when one failed.
#include <cstdio>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>

#include "kalmor_version.h"
#include "tests/win32_gui/checker_process.h"
#include "ui/win32/native_layout.h"

#include <shellapi.h>  // after windows.h, which checker_process.h brings

namespace kalmor::driver {
namespace {

// Either language may be the start language; both texts are right.
using Texts = std::initializer_list<const wchar_t*>;
const Texts kPressStart = {L"Bitte betätigen Sie den \"Starten\"-Button",
                           L"Please press the \"Start\" button"};
const Texts kRunning = {L"Prüfung läuft...", L"Solving runs..."};
const Texts kPassed = {L"Test erfolgreich abgeschlossen!", L"Test finished successfully!"};
const Texts kAborted = {L"Test wurde abgebrochen", L"Test has been aborted"};

// The first start of Wine in a fresh prefix takes a while.
constexpr milliseconds kStartLimit(90000);
constexpr milliseconds kRunLimit(30000);
constexpr milliseconds kEndLimit(10000);

bool OneOf(const std::wstring& text, Texts texts) {
  for (const wchar_t* t : texts) {
    if (text == t) return true;
  }
  return false;
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(size > 0 ? size - 1 : 0));
  return out;
}

class Checks {
 public:
  bool expect(bool ok, const std::string& what, const std::wstring& seen = L"") {
    std::printf("%s: %s%s%s\n", ok ? "ok" : "FAILED", what.c_str(), seen.empty() ? "" : " -- saw: ",
                Utf8(seen).c_str());
    std::fflush(stdout);
    (ok ? passed_ : failed_) += 1;
    return ok;
  }
  int finish() const {
    std::printf("%d passed, %d failed\n", passed_, failed_);
    return failed_ == 0 ? 0 : 1;
  }

 private:
  int passed_ = 0;
  int failed_ = 0;
};

// Waits until condition holds; the check shows what seen reads at the end.
bool Eventually(Checks& checks, const std::string& what, const std::function<bool()>& condition,
                milliseconds limit, const std::function<std::wstring()>& seen = {}) {
  const bool ok = WaitUntil(condition, limit);
  return checks.expect(ok, what, seen ? seen() : L"");
}

std::string WindowsPath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The file's first line; its text is ASCII (the stand-in writes it).
std::wstring FirstLine(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string line;
  std::getline(file, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return Wide(line);
}

bool PrepareFolder(const std::string& folder, const std::string& checker,
                   const std::string& standin, const std::string& directives) {
  std::ofstream task(folder + "\\test_#3.INP", std::ios::binary);
  task << "Kalmor task: driver\r\nStipulation #3\r\n" << directives << "<Protokoll>\r\nEnd\r\n";
  task.close();
  return !task.fail() && CopyFileA(checker.c_str(), (folder + "\\KalmorChecker.exe").c_str(), FALSE) &&
         CopyFileA(standin.c_str(), (folder + "\\kmwin32.exe").c_str(), FALSE) &&
         CopyFileA(standin.c_str(), (folder + "\\kmwin64.exe").c_str(), FALSE);
}

bool SystemIs64Bit() {
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
         info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_ARM64;
}

// FILEVERSION of the program's version resource, as "a.b.c.d".
std::string FileVersion(const std::string& program) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
  std::string data(size, '\0');
  if (size == 0 || !GetFileVersionInfoA(program.c_str(), 0, size, data.data())) return "none";
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length)) return "none";
  return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
         std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
         std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
         std::to_string(LOWORD(fixed->dwFileVersionLS));
}

int ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// Presses Start and waits until the solver runs.
bool StartRun(const CheckerProcess& checker, Checks& checks) {
  checker.click("cmdOK");
  return Eventually(
      checks, "Start turns into Stop, the status reads running and one solver runs",
      [&] {
        return checker.text("cmdOK") == L"&Stop" && OneOf(checker.text("lblStatus"), kRunning) &&
               CountSolverProcesses() == 1;
      },
      kRunLimit, [&] { return checker.text("lblStatus"); });
}

enum class Closing { CloseBox, CloseButton, Shutdown };

void CloseAndExpectExit(const CheckerProcess& checker, Checks& checks, Closing how) {
  const char* what = "closing the window ends the checker with exit code 0";
  if (how == Closing::CloseButton) {
    checker.click("cmdClose");
    what = "the Close button ends the checker with exit code 0";
  } else if (how == Closing::Shutdown) {
    checker.querySystemShutdown();
    what = "a system shutdown ends the checker with exit code 0";
  } else {
    checker.requestClose();
  }
  DWORD exitCode = 1;
  checks.expect(checker.waitForExit(kEndLimit, exitCode) && exitCode == 0, what);
}

void Pass(const CheckerProcess& checker, const std::string& folder, Checks& checks) {
  const std::string program = folder + "\\KalmorChecker.exe";
  const std::string fileVersion = FileVersion(program);
  checks.expect(fileVersion == std::to_string(KALMOR_VERSION_MAJOR) + "." +
                                   std::to_string(KALMOR_VERSION_MINOR) + ".0." +
                                   std::to_string(KALMOR_VERSION_REVISION),
                "the program's version resource carries the version", Wide(fileVersion));
  checks.expect(ExtractIconExA(program.c_str(), -1, nullptr, nullptr, 0) >= 1,
                "the program file carries an icon");

  const std::wstring version = L" " + std::to_wstring(KALMOR_VERSION_MAJOR) + L"." +
                               std::to_wstring(KALMOR_VERSION_MINOR) + L" Build " +
                               std::to_wstring(KALMOR_VERSION_REVISION);
  const std::wstring title = checker.title();
  checks.expect(title.starts_with(L"Kalmor ") && title.ends_with(version),
                "the title is the language's name followed by the version", title);

  RECT client{};
  GetClientRect(checker.window(), &client);
  const int dpi = ScreenDpi();
  checks.expect(client.right == TwipsToPixels(5160, dpi) && client.bottom == TwipsToPixels(3765, dpi),
                "the client area is 5160 x 3765 twips at " + std::to_string(dpi) + " dpi",
                std::to_wstring(client.right) + L" x " + std::to_wstring(client.bottom));

  const auto builds = checker.listItems("lstKalmorBitVersion");
  if (SystemIs64Bit()) {
    checks.expect(builds.size() == 2 && builds[1] == L"64-Bit" &&
                      checker.listIndex("lstKalmorBitVersion") == 1,
                  "a 64-bit system offers the 64-Bit build, selected");
  } else {
    checks.expect(builds.size() == 1 && builds[0] == L"32-Bit",
                  "a 32-bit system offers only the 32-Bit build");
  }
  checks.expect(OneOf(checker.text("lblStatus"), kPressStart), "the status asks to press Start",
                checker.text("lblStatus"));

  checker.click("cmdOK");
  Eventually(
      checks, "the run ends with the passed status",
      [&] { return OneOf(checker.text("lblStatus"), kPassed); }, kRunLimit,
      [&] { return checker.text("lblStatus"); });
  const std::wstring result = checker.text("lblResult");
  checks.expect(result.ends_with(L"KM.OUT\r\n" + FirstLine(folder + "\\KM.OUT")),
                "the result names KM.OUT above the output's first line", result);
  checks.expect(Exists(folder + "\\KM.OUT") && Exists(folder + "\\TMP_INPUT.INP"),
                "TMP_INPUT.INP and the solver's KM.OUT are in the folder");
  checks.expect(checker.text("cmdOK") == L"&Start", "the button reads &Start again",
                checker.text("cmdOK"));
  CloseAndExpectExit(checker, checks, Closing::CloseBox);
}

void Stop(const CheckerProcess& checker, const std::string& folder, Checks& checks) {
  if (!StartRun(checker, checks)) return;
  Eventually(
      checks, "the elapsed time shows and counts",
      [&] {
        return IsWindowVisible(checker.item("lblTimer")) &&
               checker.text("lblTimer") >= L"00:00:02";
      },
      kEndLimit, [&] { return checker.text("lblTimer"); });
  checker.click("cmdOK");
  Eventually(
      checks, "Stop ends the run with the aborted status",
      [&] { return OneOf(checker.text("lblStatus"), kAborted); }, kEndLimit,
      [&] { return checker.text("lblStatus"); });
  checks.expect(checker.text("lblResult").empty(), "the result is empty", checker.text("lblResult"));
  Eventually(checks, "no solver process is left", [] { return CountSolverProcesses() == 0; },
             kEndLimit);
  checks.expect(!Exists(folder + "\\KM.OUT"), "the stopped solver wrote no KM.OUT");
  CloseAndExpectExit(checker, checks, Closing::CloseBox);
}

void CloseDuringRun(const CheckerProcess& checker, Checks& checks, Closing how) {
  if (!StartRun(checker, checks)) return;
  CloseAndExpectExit(checker, checks, how);
  Eventually(checks, "no solver process is left after closing",
             [] { return CountSolverProcesses() == 0; }, kEndLimit);
}

int Usage() {
  std::fprintf(stderr,
               "usage: checker_driver <pass|stop|close|close-button|shutdown> <KalmorChecker.exe> "
               "<solver.exe> <empty folder>\n");
  return 2;
}

}  // namespace
}  // namespace kalmor::driver

int main(int argc, char** argv) {
  using namespace kalmor::driver;
  if (argc != 5) return Usage();
  const std::string scenario = argv[1];
  if (scenario != "pass" && scenario != "stop" && scenario != "close" &&
      scenario != "close-button" && scenario != "shutdown") {
    return Usage();
  }
  const std::string folder = WindowsPath(argv[4]);
  Checks checks;
  // The slow solver gives the run time to be stopped or closed.
  const std::string directives = scenario == "pass" ? "" : "%standin sleep 60000\r\n";
  if (!checks.expect(PrepareFolder(folder, WindowsPath(argv[2]), WindowsPath(argv[3]), directives),
                     "the test folder holds the checker, both solver builds and the task")) {
    return checks.finish();
  }
  checks.expect(CountSolverProcesses() == 0, "no solver runs before the test");
  const CheckerProcess checker(folder + "\\KalmorChecker.exe", folder, kStartLimit);
  if (!checks.expect(checker.started(), "the checker's window appears")) return checks.finish();

  if (scenario == "pass") Pass(checker, folder, checks);
  if (scenario == "stop") Stop(checker, folder, checks);
  if (scenario == "close") CloseDuringRun(checker, checks, Closing::CloseBox);
  if (scenario == "close-button") CloseDuringRun(checker, checks, Closing::CloseButton);
  if (scenario == "shutdown") CloseDuringRun(checker, checks, Closing::Shutdown);
  return checks.finish();
}
