// The real native windows of the front-end, in this process, on the
// in-memory platform: what they show, and what user events do.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "kalmor_version.h"
#include "tests/support/fake_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/native_layout.h"
#include "ui/win32/win32_toolkit.h"

namespace kalmor::testing {
namespace {

const std::wstring kVersion = L" " + std::to_wstring(KALMOR_VERSION_MAJOR) + L"." +
                              std::to_wstring(KALMOR_VERSION_MINOR) + L" Build " +
                              std::to_wstring(KALMOR_VERSION_REVISION);

BOOL CALLBACK FindToolTips(HWND candidate, LPARAM found) {
  wchar_t name[64] = {};
  GetClassNameW(candidate, name, 64);
  if (std::wstring(name) != TOOLTIPS_CLASSW) return TRUE;
  *reinterpret_cast<HWND*>(found) = candidate;
  return FALSE;
}

class NativeWindowTest : public ::testing::Test {
 protected:
  // Opens the window on all three tasks and both solver builds, or on what
  // the test put there itself.
  void open(bool everything = true) {
    for (const char* name : {"test_#3.INP", "test_#4.INP", "test_s#7.INP", "kmwin32.exe",
                             "kmwin64.exe"}) {
      if (everything) platform.put(name, "line\r\n<Protokoll>\r\n");
    }
    window = std::make_unique<frmKalmorChecker>(platform, toolkit);
    toolkit.attach(*window);
    window->Form_Load();
    toolkit.open();
    toolkit.doEvents();
  }

  HWND main() const { return toolkit.mainWindow(); }
  HWND item(const Control& control) const { return GetDlgItem(main(), ControlId(control.name())); }
  int px(int twips) const { return TwipsToPixels(twips, toolkit.natives()->dpi()); }

  static std::wstring text(HWND window) {
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return buffer;
  }
  RECT clientRectOf(HWND child) const {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, main(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  static bool shown(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

  // The text colour the window gives a label's painting.
  COLORREF paintedTextColour(const Label& label) {
    const HDC dc = GetDC(main());
    SendMessageW(main(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(item(label)));
    const COLORREF colour = GetTextColor(dc);
    ReleaseDC(main(), dc);
    return colour;
  }

  // Serves events for a while, as the program's message loop would.
  void serveFor(std::chrono::milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < end) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      toolkit.doEvents();
    }
  }

  FakePlatform platform;
  Win32Toolkit toolkit;
  std::unique_ptr<frmKalmorChecker> window;
};

TEST_F(NativeWindowTest, FixedWindowCentredWithTitleIconAndTheStateStartUpLeft) {
  open();
  const LONG style = GetWindowLongW(main(), GWL_STYLE);
  EXPECT_TRUE((style & WS_MINIMIZEBOX) && (style & WS_SYSMENU));
  EXPECT_FALSE((style & WS_MAXIMIZEBOX) || (style & WS_THICKFRAME));
  RECT client{};
  GetClientRect(main(), &client);
  EXPECT_EQ(client.right, px(5160));
  EXPECT_EQ(client.bottom, px(3765));
  RECT outer{};
  GetWindowRect(main(), &outer);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(main(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  EXPECT_NEAR(outer.left + outer.right, monitor.rcWork.left + monitor.rcWork.right, 1);
  EXPECT_NEAR(outer.top + outer.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 1);
  EXPECT_EQ(text(main()), L"Kalmor Funktionstester" + kVersion);
  EXPECT_NE(SendMessageW(main(), WM_GETICON, ICON_SMALL, 0), 0);

  EXPECT_EQ(text(item(window->cmdOK)), L"Starten");
  EXPECT_NE(SendMessageW(item(window->cmdOK), BM_GETIMAGE, IMAGE_ICON, 0), 0);
  EXPECT_EQ(text(item(window->rahmen14)), L"Prüfstatus");
  const HWND builds = item(window->lstKalmorBitVersion);
  EXPECT_EQ(SendMessageW(builds, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(builds, CB_GETCURSEL, 0, 0), 1);
  EXPECT_NE(SendMessageW(item(window->bild0), STM_GETICON, 0, 0), 0);
  EXPECT_FALSE(shown(item(window->lbl28)));
  EXPECT_FALSE(shown(item(window->lblTimer)));  // inside its hidden frame
  EXPECT_EQ(clientRectOf(item(window->cmdDummy)).left, px(-1200));
  EXPECT_EQ(clientRectOf(item(window->lblTimer)).left, px(120) + px(3600) + px(555));  // offset by both frames

  EXPECT_EQ(GetFocus(), item(window->cmdOK));
  HWND at = item(window->cmdOK);
  for (const Control* next : std::initializer_list<const Control*>{&window->cmdClose, &window->cmdDummy, &window->lstTask,
                              &window->lstKalmorCallingMode, &window->lstKalmorBitVersion, &window->lstLanguage,
                              &window->cmdOK}) {
    at = GetNextDlgTabItem(main(), at, FALSE);
    EXPECT_EQ(at, item(*next)) << next->name();
  }
}

TEST_F(NativeWindowTest, WithoutTasksStartIsGreyedAndCloseHasTheFocus) {
  platform.put("kmwin64.exe");
  open(false);
  EXPECT_FALSE(IsWindowEnabled(item(window->cmdOK)));
  EXPECT_EQ(GetFocus(), item(window->cmdClose));
}

TEST_F(NativeWindowTest, AChoiceRunsItsHandlerAndTheProgramsChangesReachTheControls) {
  open();
  const HWND languages = item(window->lstLanguage);
  SendMessageW(languages, CB_SETCURSEL, 1, 0);
  SendMessageW(main(), WM_COMMAND, MAKEWPARAM(ControlId("lstLanguage"), CBN_SELCHANGE), reinterpret_cast<LPARAM>(languages));
  EXPECT_EQ(text(main()), L"Kalmor function tester" + kVersion);
  EXPECT_EQ(text(item(window->lblStatus)), L"Please press the \"Start\" button");

  window->lblResult.setCaption("Error number: 2\rThe system cannot find the file specified.");
  EXPECT_EQ(text(item(window->lblResult)), L"Error number: 2\r\nThe system cannot find the file specified.");
  const LONG before = clientRectOf(item(window->lblStatus)).right;
  window->lblStatus.setCaption(window->lblStatus.caption() + " and a good deal more");
  EXPECT_GT(clientRectOf(item(window->lblStatus)).right, before) << "an auto-sized label grows with its text";
  window->frameTime.setVisible(true);
  EXPECT_TRUE(shown(item(window->lblTimer)));
  window->cmdOK.setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(item(window->cmdOK)));
  const LRESULT information = SendMessageW(item(window->bild0), STM_GETICON, 0, 0);
  window->bild0.setPicture(Picture::Error);
  EXPECT_NE(SendMessageW(item(window->bild0), STM_GETICON, 0, 0), information);
}

TEST_F(NativeWindowTest, LabelsPaintInTheirColoursAndTheTimeCarriesItsToolTip) {
  open();
  window->lblStatus.setForeColour(kBlue);
  EXPECT_EQ(paintedTextColour(window->lblStatus), RGB(0, 0, 255));
  window->lblStatus.setForeColour(Colour::buttonFace());
  EXPECT_EQ(paintedTextColour(window->lblStatus), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(paintedTextColour(window->lblOSVersion), GetSysColor(COLOR_BTNTEXT));
  HWND tips = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindToolTips, reinterpret_cast<LPARAM>(&tips));
  ASSERT_NE(tips, nullptr);
  wchar_t tip[128] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = main();
  tool.uId = reinterpret_cast<UINT_PTR>(item(window->lblTimer));
  tool.lpszText = tip;
  SendMessageW(tips, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(tip), L"Zeigt die verstrichene Lösezeit an während Kalmor ein Problem löst");
}

TEST_F(NativeWindowTest, ANewResolutionLaysTheControlsOutAgain) {
  open();
  const int after = toolkit.natives()->dpi() * 3 / 2;
  RECT outer{};
  GetWindowRect(main(), &outer);
  RECT suggested{outer.left, outer.top, outer.left + px(5160) * 3 / 2, outer.top + px(3765) * 3 / 2};
  SendMessageW(main(), WM_DPICHANGED, MAKEWPARAM(after, after), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(toolkit.natives()->dpi(), after);
  const RECT ok = clientRectOf(item(window->cmdOK));
  EXPECT_EQ(ok.left, TwipsToPixels(2820, after));
  EXPECT_EQ(ok.right - ok.left, TwipsToPixels(1095, after));
}

TEST_F(NativeWindowTest, ButtonPressesRunAndStopTestsThroughTheEventPump) {
  platform.solver.slices = 5;
  platform.solver.onExit = [this](const std::string&) { platform.put("KM.OUT", "Kalmor 9\r\n"); };
  open();
  SendMessageW(item(window->cmdOK), BM_CLICK, 0, 0);
  ASSERT_EQ(platform.creates.size(), 1u);
  EXPECT_EQ(text(item(window->lblStatus)), L"Test erfolgreich abgeschlossen!");
  EXPECT_EQ(text(item(window->lblResult)), L"Lösungs-Datei erstellt: KM.OUT\r\nKalmor 9");
  EXPECT_EQ(GetFocus(), item(window->cmdDummy));

  PostMessageW(GetFocus(), WM_SYSCHAR, 's', 1 << 29);  // Alt+S, the access key of "&Start"
  toolkit.doEvents();
  EXPECT_EQ(platform.creates.size(), 2u);
  SetFocus(item(window->cmdOK));
  PostMessageW(item(window->cmdOK), WM_KEYDOWN, VK_RETURN, 1);
  toolkit.doEvents();
  EXPECT_EQ(platform.creates.size(), 3u);
  PostMessageW(item(window->cmdOK), WM_KEYDOWN, VK_ESCAPE, 1);  // no cancel button: nothing
  toolkit.doEvents();
  EXPECT_EQ(platform.creates.size(), 3u);

  platform.solver.slices = 100000;
  // The second press waits in the queue until the run's event pump serves it.
  PostMessageW(item(window->cmdOK), BM_CLICK, 0, 0);
  PostMessageW(item(window->cmdOK), BM_CLICK, 0, 0);
  toolkit.doEvents();
  EXPECT_EQ(platform.terminated.size(), 1u);
  EXPECT_EQ(text(item(window->lblStatus)), L"Test wurde abgebrochen");
}

TEST_F(NativeWindowTest, TheTimerTicksOnlyWhileEnabled) {
  open();
  window->lblStatus.setForeColour(kBlue);
  window->RunStartTime = Clock::now();
  window->Timer1.setEnabled(true);
  serveFor(std::chrono::milliseconds(1300));
  // Ticks at 500 ms (hides the text) and 1000 ms (shows it with the time).
  EXPECT_EQ(text(item(window->lblTimer)), L"00:00:01");
  window->Timer1.setEnabled(false);
  const Colour colour = window->lblStatus.foreColour();
  serveFor(std::chrono::milliseconds(1200));
  EXPECT_EQ(window->lblStatus.foreColour(), colour);
  EXPECT_EQ(window->lblTimer.caption(), "00:00:01");
}

}  // namespace
}  // namespace kalmor::testing
