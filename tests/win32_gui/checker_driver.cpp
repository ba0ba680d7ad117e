// Drives the real checker program end to end as a user would: started in a
// folder of its own beside the stand-in as both solver builds, its window found
// by process, its controls by their fixed ids, presses posted to the real
// buttons, texts read back from the real controls. The pieces' details are
// checked elsewhere; this checks that they are wired.
//   checker_driver [--gtest_filter=EndToEnd.Pass*] <KalmorChecker.exe> <stand-in.exe>
//                  <empty folder>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "kalmor_version.h"
#include "tests/support/eventually.h"
#include "tests/support/win32/process_census.h"
#include "tests/support/win32/screen_reader_probe.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/windows_api.h"

namespace kalmor {
namespace {

using std::chrono::milliseconds;
using testing::Eventually;

std::string gChecker, gStandin, gFolder;

// The first start of Wine in a fresh prefix takes a while.
constexpr milliseconds kStartLimit(90000);
constexpr milliseconds kRunLimit(30000);
constexpr milliseconds kEndLimit(10000);
// A checker that does not answer within this is hung; the test then fails.
constexpr UINT kAnswerLimitMs = 5000;

// Either language may be the start language; both texts are right.
using Texts = std::initializer_list<const wchar_t*>;
const Texts kRunning = {L"Prüfung läuft...", L"Solving runs..."};
const Texts kPassed = {L"Test erfolgreich abgeschlossen!", L"Test finished successfully!"};
const Texts kAborted = {L"Test wurde abgebrochen", L"Test has been aborted"};
const Texts kFailed = {L"Test fehlgeschlagen!", L"Test failed!"};

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, kAnswerLimitMs, &copied)) {
    return L"<no answer>";
  }
  return std::wstring(text, copied);
}

std::size_t Solvers() { return probes::ProcessesNamed("kmwin").size(); }

// The FILEVERSION of a program's version resource, high word first; 0 without one.
std::uint64_t FileVersion(const std::string& program) {
  std::string data(GetFileVersionInfoSizeA(program.c_str(), nullptr), '\0');
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (data.empty() || !GetFileVersionInfoA(program.c_str(), 0, data.size(), data.data()) ||
      !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length)) {
    return 0;
  }
  return std::uint64_t{fixed->dwFileVersionMS} << 32 | fixed->dwFileVersionLS;
}

// The sizes of the images in the program's icon; empty without an icon.
std::vector<int> IconSizes(const std::string& program) {
  const HMODULE file = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const HRSRC group = file != nullptr ? FindResourceA(file, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14)) : nullptr;
  const auto* icon = group != nullptr ? static_cast<const BYTE*>(LockResource(LoadResource(file, group))) : nullptr;
  std::vector<int> sizes;  // GRPICONDIR: a count at 4, then 14-byte entries that start with the width, 0 for 256
  for (int i = 0; icon != nullptr && i < (icon[4] | icon[5] << 8); ++i) {
    sizes.push_back(icon[6 + 14 * i] != 0 ? icon[6 + 14 * i] : 256);
  }
  if (file != nullptr) FreeLibrary(file);
  return sizes;
}

// The checker in gFolder with the stand-in as both builds and a task whose
// directives the test gives; a run with a slow solver can be stopped or closed.
class EndToEnd : public ::testing::Test {
 protected:
  void open(const std::string& directives) {
    std::ofstream(gFolder + "\\test_#3.INP", std::ios::binary)
        << "Stipulation #3\r\n" << directives << "<Protokoll>\r\nEnd\r\n";
    ASSERT_TRUE(CopyFileA(gChecker.c_str(), program.c_str(), FALSE));
    for (const char* build : {"\\kmwin32.exe", "\\kmwin64.exe"}) {
      ASSERT_TRUE(CopyFileA(gStandin.c_str(), (gFolder + build).c_str(), FALSE));
    }
    ASSERT_EQ(Solvers(), 0u) << "a solver runs before the test";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::string commandLine = "\"" + program + "\"";
    ASSERT_TRUE(CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, gFolder.c_str(), &startup, &process));
    // One checker runs at a time in the prefix; the window must be this one's.
    ASSERT_TRUE(Eventually(kStartLimit, [&] {
      window = FindWindowW(L"KalmorCheckerWindow", nullptr);
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      return owner == process.dwProcessId && IsWindowVisible(window);
    })) << "the checker's window did not appear";
  }
  ~EndToEnd() override {
    if (process.hProcess == nullptr) return;
    // A check that failed may leave the checker open; it must not outlive the test.
    TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }

  HWND item(const char* controlName) const { return GetDlgItem(window, ControlId(controlName)); }
  std::wstring text(const char* controlName) const { return WindowText(item(controlName)); }
  void click(const char* controlName) const { PostMessageW(item(controlName), BM_CLICK, 0, 0); }
  // What a screen reader hears, in either language chosen as a user does: a
  // name for every control, and none hidden; the status picture's says what
  // it shows, the hidden button's why a run failed.
  void expectAllSpoken(const char* when, Texts picture, const wchar_t* reason = L"") const {
    for (const int language : {0, 1}) {
      SendMessageW(item("lstLanguage"), CB_SETCURSEL, static_cast<WPARAM>(language), 0);
      DWORD_PTR served = 0;  // returns when the checker has served the choice
      SendMessageTimeoutW(window, WM_COMMAND, MAKEWPARAM(ControlId("lstLanguage"), CBN_SELCHANGE),
                          reinterpret_cast<LPARAM>(item("lstLanguage")), SMTO_ABORTIFHUNG, kAnswerLimitMs, &served);
      std::string listing;
      const auto spoken = probes::SpokenChildren(window, listing);
      EXPECT_GT(spoken.size(), 10u) << when << ": the screen reader sees too little";
      for (const auto& [control, name] : spoken) {
        const std::wstring expected = control == item("bild(0)")    ? picture.begin()[language]
                                      : control == item("cmdDummy") ? text("lblStatus")
                                                                    : L"";
        // The result line is empty until a run has something to say.
        EXPECT_TRUE(name.starts_with(expected) && (!name.empty() || control == item("lblResult")) &&
                    (control != item("cmdDummy") || name.find(reason) != std::wstring::npos) &&
                    IsWindowVisible(control))
            << when << ": " << GetDlgCtrlID(control) << " is read as " << ::testing::PrintToString(name);
      }
      std::printf("%s, language %d:\n%s", when, language, listing.c_str());
    }
  }
  // Waits until the status reads one of texts; false, and the status shown, if not.
  bool statusBecomes(Texts texts, milliseconds limit) const {
    const bool reached = Eventually(limit, [&] {
      return std::find(texts.begin(), texts.end(), text("lblStatus")) != texts.end();
    });
    EXPECT_TRUE(reached) << "the status reads " << ::testing::PrintToString(text("lblStatus"));
    return reached;
  }
  void startRun() const {
    click("cmdOK");
    ASSERT_TRUE(statusBecomes(kRunning, kRunLimit));
    EXPECT_TRUE(Eventually(kRunLimit, [] { return Solvers() == 1; }));
  }
  // The checker ends with exit code 0 within the limit, its solver too.
  void expectEnds() const {
    DWORD exitCode = 1;
    const DWORD limit = static_cast<DWORD>(kEndLimit.count());
    EXPECT_EQ(WaitForSingleObject(process.hProcess, limit), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeProcess(process.hProcess, &exitCode) && exitCode == 0) << exitCode;
    EXPECT_TRUE(Eventually(kEndLimit, [] { return Solvers() == 0; })) << Solvers() << " left";
  }

  const std::string program = gFolder + "\\KalmorChecker.exe";
  PROCESS_INFORMATION process{};
  HWND window = nullptr;
};

// A screen reader hears every control in both languages before, during and
// after the run, and the verdict without the focus moving. Windows names a
// list after the static text just before it, which Wine does not: that order
// is checked instead.
TEST_F(EndToEnd, PassShowsTheOutputsFirstLineToEyesAndEarsAndTheCloseBoxEndsTheChecker) {
  ASSERT_NO_FATAL_FAILURE(open("%standin sleep 5000\r\n"));
  probes::HearLiveRegions(process.dwProcessId);
  for (const auto& [label, list] : {std::pair{"lblLanguage", "lstLanguage"}, {"lblTask", "lstTask"},
                                    {"lblMode", "lstKalmorBitVersion"}, {"Label1", "lstKalmorCallingMode"}}) {
    EXPECT_EQ(GetWindow(item(list), GW_HWNDPREV), item(label)) << list;
  }
  expectAllSpoken("before the run", {L"Hinweis", L"Information"});
  // Explorer shows the program's own icon, sharp at each of its sizes, and version.
  EXPECT_EQ(IconSizes(program), (std::vector<int>{16, 20, 24, 32, 48, 256}));
  EXPECT_EQ(FileVersion(program), std::uint64_t{KALMOR_VERSION_MAJOR} << 48 |
                                      std::uint64_t{KALMOR_VERSION_MINOR} << 32 |
                                      KALMOR_VERSION_REVISION);
  ASSERT_NO_FATAL_FAILURE(startRun());
  // The hidden button that holds the focus tells how to stop the run.
  EXPECT_TRUE(WindowText(item("cmdDummy")).ends_with(L": Alt+S")) << WindowText(item("cmdDummy"));
  expectAllSpoken("during the run", {L"Hinweis", L"Information"});
  ASSERT_TRUE(statusBecomes(kPassed, kRunLimit));
  EXPECT_NE(text("lblResult").find(L"KM.OUT\r\nKalmor stand-in"), std::wstring::npos)
      << ::testing::PrintToString(text("lblResult"));
  expectAllSpoken("after the run", {L"Erfolg", L"Success"});
  EXPECT_EQ(probes::HeardLiveRegions(), (std::vector<HWND>{item("lblStatus"), item("lblResult")}));
  PostMessageW(window, WM_CLOSE, 0, 0);
  expectEnds();
}

TEST_F(EndToEnd, StopEndsTheSolverAndTheCloseBoxMidRunEndsTheChecker) {
  ASSERT_NO_FATAL_FAILURE(open("%standin sleep 60000\r\n"));
  ASSERT_NO_FATAL_FAILURE(startRun());
  EXPECT_TRUE(Eventually(kEndLimit, [&] {
    return IsWindowVisible(item("lblTimer")) && text("lblTimer") >= L"00:00:02";
  })) << "the elapsed time reads " << ::testing::PrintToString(text("lblTimer"));
  click("cmdOK");
  statusBecomes(kAborted, kEndLimit);
  EXPECT_TRUE(Eventually(kEndLimit, [] { return Solvers() == 0; })) << Solvers() << " left";
  ASSERT_NO_FATAL_FAILURE(startRun());
  PostMessageW(window, WM_CLOSE, 0, 0);
  expectEnds();
}

TEST_F(EndToEnd, ShutdownMidRunEndsCheckerAndSolver) {
  ASSERT_NO_FATAL_FAILURE(open("%standin sleep 60000\r\n"));
  ASSERT_NO_FATAL_FAILURE(startRun());
  // Windows asks before logging off; the checker ends while answering.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, kAnswerLimitMs, &ignored);
  expectEnds();
}

// Run in a prefix with Wine's debugger on: its dialog would hold the run, the
// status still running, until someone closed it.
TEST_F(EndToEnd, CrashFailsTheRunAtOnce) {
  ASSERT_NO_FATAL_FAILURE(open("%standin nowrite\r\n%standin crash\r\n"));
  click("cmdOK");
  statusBecomes(kFailed, milliseconds(5000));
  EXPECT_TRUE(Eventually(kEndLimit, [] { return Solvers() == 0; })) << Solvers() << " left";
  // The keyboard reaches why, which the eye sees only as the result line's tool tip.
  expectAllSpoken("after the crash", {L"Warnung", L"Warning"}, L"KM.OUT");
  PostMessageW(window, WM_CLOSE, 0, 0);
  expectEnds();
}

std::string WindowsPath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

}  // namespace
}  // namespace kalmor

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // for the screen reader's view
  if (argc != 4) {
    std::fprintf(stderr, "usage: checker_driver <KalmorChecker.exe> <solver.exe> <empty folder>\n");
    return 2;
  }
  kalmor::gChecker = kalmor::WindowsPath(argv[1]);
  kalmor::gStandin = kalmor::WindowsPath(argv[2]);
  kalmor::gFolder = kalmor::WindowsPath(argv[3]);
  return RUN_ALL_TESTS();
}
