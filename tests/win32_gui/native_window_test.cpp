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
  static std::wstring listItem(HWND list, int index) {
    wchar_t buffer[128] = {};
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
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

TEST_F(NativeWindowTest, FixedSingleBorderWindowOfTheLayoutsClientSizeCentredWithItsTitle) {
  open();
  const LONG style = GetWindowLongW(main(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU);

  RECT client{};
  GetClientRect(main(), &client);
  EXPECT_EQ(client.right, px(5160));
  EXPECT_EQ(client.bottom, px(3765));
  if (toolkit.natives()->dpi() == 96) {
    EXPECT_EQ(client.right, 344);
    EXPECT_EQ(client.bottom, 251);
  }

  RECT outer{};
  GetWindowRect(main(), &outer);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(main(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  EXPECT_NEAR(outer.left + outer.right, monitor.rcWork.left + monitor.rcWork.right, 1);
  EXPECT_NEAR(outer.top + outer.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 1);

  EXPECT_EQ(text(main()), L"Kalmor Funktionstester" + kVersion);
  EXPECT_NE(SendMessageW(main(), WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(NativeWindowTest, NativeControlsShowTheStateStartUpLeft) {
  open();
  EXPECT_EQ(text(item(window->cmdOK)), L"Starten");
  EXPECT_TRUE(IsWindowEnabled(item(window->cmdOK)));
  EXPECT_NE(SendMessageW(item(window->cmdOK), BM_GETIMAGE, IMAGE_ICON, 0), 0);
  EXPECT_EQ(text(item(window->rahmen14)), L"Prüfstatus");
  EXPECT_EQ(text(item(window->lblOSVersion)), L"Windows 7 Ultimate Edition, 64-Bit");

  const HWND tasks = item(window->lstTask);
  ASSERT_EQ(SendMessageW(tasks, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(listItem(tasks, 2), L"s#7");
  EXPECT_EQ(SendMessageW(tasks, CB_GETCURSEL, 0, 0), 0);
  const HWND builds = item(window->lstKalmorBitVersion);
  ASSERT_EQ(SendMessageW(builds, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(listItem(builds, 1), L"64-Bit");
  EXPECT_EQ(SendMessageW(builds, CB_GETCURSEL, 0, 0), 1);

  EXPECT_TRUE(shown(item(window->bild0)));
  EXPECT_NE(SendMessageW(item(window->bild0), STM_GETICON, 0, 0), 0);
  // Hidden: the two label stores, and the time inside its hidden frame.
  EXPECT_FALSE(shown(item(window->lbl28)));
  EXPECT_FALSE(shown(item(window->lblTestvariante)));
  EXPECT_FALSE(shown(item(window->lblTimer)));
  EXPECT_TRUE(shown(item(window->cmdDummy)));
  EXPECT_EQ(clientRectOf(item(window->cmdDummy)).left, px(-1200));
  // Children of the main window, offset by the frames around them.
  EXPECT_EQ(clientRectOf(item(window->lblStatus)).left, px(120) + px(540));
  EXPECT_EQ(clientRectOf(item(window->lblStatus)).top, px(1920) + px(300));
  EXPECT_EQ(clientRectOf(item(window->lblTimer)).left, px(120) + px(3600) + px(555));
}

TEST_F(NativeWindowTest, FocusStartsOnStartAndTabFollowsTheFocusOrder) {
  open();
  EXPECT_EQ(GetFocus(), item(window->cmdOK));
  const Control* const expected[] = {&window->cmdClose, &window->cmdDummy, &window->lstTask,
                                     &window->lstKalmorCallingMode, &window->lstKalmorBitVersion,
                                     &window->lstLanguage, &window->cmdOK};
  HWND at = item(window->cmdOK);
  for (const Control* next : expected) {
    at = GetNextDlgTabItem(main(), at, FALSE);
    EXPECT_EQ(at, item(*next)) << next->name();
  }
}

TEST_F(NativeWindowTest, FocusStartsOnCloseWithoutAnyTask) {
  platform.put("kmwin64.exe");
  open(false);
  EXPECT_FALSE(IsWindowEnabled(item(window->cmdOK)));
  EXPECT_EQ(GetFocus(), item(window->cmdClose));
}

TEST_F(NativeWindowTest, UsersChoiceInAListRunsItsHandler) {
  open();
  const HWND languages = item(window->lstLanguage);
  SendMessageW(languages, CB_SETCURSEL, 1, 0);
  SendMessageW(main(), WM_COMMAND, MAKEWPARAM(ControlId("lstLanguage"), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(languages));
  EXPECT_EQ(window->lstLanguage.listIndex(), 1);
  EXPECT_EQ(text(main()), L"Kalmor function tester" + kVersion);
  EXPECT_EQ(text(item(window->rahmen14)), L"Testing status");
  EXPECT_EQ(text(item(window->cmdOK)), L"Start");
  EXPECT_EQ(text(item(window->lblStatus)), L"Please press the \"Start\" button");
}

TEST_F(NativeWindowTest, ProgramsChangesReachTheNativeControls) {
  open();
  window->lblResult.setCaption("Error number: 2\rThe system cannot find the file specified.");
  EXPECT_EQ(text(item(window->lblResult)),
            L"Error number: 2\r\nThe system cannot find the file specified.");
  const RECT result = clientRectOf(item(window->lblResult));
  TEXTMETRICW metrics{};
  const HDC dc = GetDC(item(window->lblResult));
  SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item(window->lblResult), WM_GETFONT, 0, 0)));
  GetTextMetricsW(dc, &metrics);
  ReleaseDC(item(window->lblResult), dc);
  EXPECT_GE(result.bottom - result.top, 2 * metrics.tmHeight);

  // An auto-sized label grows and shrinks with its text.
  const LONG before = clientRectOf(item(window->lblStatus)).right;
  window->lblStatus.setCaption(window->lblStatus.caption() + " and a good deal more");
  EXPECT_GT(clientRectOf(item(window->lblStatus)).right, before);
  window->lblStatus.setCaption("x");
  EXPECT_LT(clientRectOf(item(window->lblStatus)).right, before);

  window->frameTime.setVisible(true);
  EXPECT_TRUE(shown(item(window->lblTimer)));
  EXPECT_TRUE(shown(item(window->lbl1)));
  window->cmdOK.setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(item(window->cmdOK)));
  const LRESULT information = SendMessageW(item(window->bild0), STM_GETICON, 0, 0);
  window->bild0.setPicture(Picture::Error);
  EXPECT_NE(SendMessageW(item(window->bild0), STM_GETICON, 0, 0), information);
  window->form.setCaption("Titel \xC3\xBC");
  EXPECT_EQ(text(main()), L"Titel \u00FC");
}

TEST_F(NativeWindowTest, ElapsedTimeCarriesItsToolTip) {
  open();
  HWND tips = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindToolTips, reinterpret_cast<LPARAM>(&tips));
  ASSERT_NE(tips, nullptr);
  wchar_t shown[128] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = main();
  tool.uId = reinterpret_cast<UINT_PTR>(item(window->lblTimer));
  tool.lpszText = shown;
  SendMessageW(tips, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(shown), L"Zeigt die verstrichene Lösezeit an während Kalmor ein Problem löst");
}

TEST_F(NativeWindowTest, NewResolutionLaysTheControlsOutAgain) {
  open();
  const int before = toolkit.natives()->dpi();
  const int after = before * 3 / 2;
  RECT outer{};
  GetWindowRect(main(), &outer);
  RECT suggested{outer.left, outer.top, outer.left + px(5160) * 3 / 2, outer.top + px(3765) * 3 / 2};
  const auto fontHeight = [this] {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(item(window->cmdOK), WM_GETFONT, 0, 0)),
               sizeof(font), &font);
    return std::abs(font.lfHeight);
  };
  const LONG heightBefore = fontHeight();
  SendMessageW(main(), WM_DPICHANGED, MAKEWPARAM(after, after), reinterpret_cast<LPARAM>(&suggested));

  EXPECT_EQ(toolkit.natives()->dpi(), after);
  const RECT ok = clientRectOf(item(window->cmdOK));
  EXPECT_EQ(ok.left, TwipsToPixels(2820, after));
  EXPECT_EQ(ok.right - ok.left, TwipsToPixels(1095, after));
  EXPECT_EQ(clientRectOf(item(window->lblStatus)).top, TwipsToPixels(1920, after) + TwipsToPixels(300, after));
  EXPECT_GT(fontHeight(), heightBefore);
}

TEST_F(NativeWindowTest, LabelsPaintInTheirColoursAndVanishInTheButtonFace) {
  open();
  window->lblStatus.setForeColour(kBlue);
  EXPECT_EQ(paintedTextColour(window->lblStatus), RGB(0, 0, 255));
  window->lblStatus.setForeColour(Colour::buttonFace());
  EXPECT_EQ(paintedTextColour(window->lblStatus), GetSysColor(COLOR_BTNFACE));
  window->lblResult.setForeColour(kRed);
  EXPECT_EQ(paintedTextColour(window->lblResult), RGB(255, 0, 0));
  EXPECT_EQ(paintedTextColour(window->lblOSVersion), GetSysColor(COLOR_BTNTEXT));
}

TEST_F(NativeWindowTest, StartButtonRunsATestThroughTheEventPump) {
  platform.solver.slices = 5;
  platform.solver.onExit = [this](const std::string&) { platform.put("KM.OUT", "Kalmor 9\r\n"); };
  open();
  SendMessageW(item(window->cmdOK), BM_CLICK, 0, 0);
  ASSERT_EQ(platform.creates.size(), 1u);
  EXPECT_EQ(text(item(window->lblStatus)), L"Test erfolgreich abgeschlossen!");
  EXPECT_EQ(text(item(window->lblResult)), L"Lösungs-Datei erstellt: KM.OUT\r\nKalmor 9");
  EXPECT_EQ(text(item(window->cmdOK)), L"&Start");
  EXPECT_EQ(GetFocus(), item(window->cmdDummy));
}

TEST_F(NativeWindowTest, SecondPressDuringARunStopsIt) {
  platform.solver.slices = 100000;
  open();
  // The second press waits in the queue until the run's event pump serves it.
  PostMessageW(item(window->cmdOK), BM_CLICK, 0, 0);
  PostMessageW(item(window->cmdOK), BM_CLICK, 0, 0);
  toolkit.doEvents();
  ASSERT_EQ(platform.creates.size(), 1u);
  EXPECT_EQ(platform.terminated.size(), 1u);
  EXPECT_EQ(text(item(window->lblStatus)), L"Test wurde abgebrochen");
}

TEST_F(NativeWindowTest, AccessKeyAndEnterPressTheButton) {
  open();
  window->cmdOK.setCaption("&Start");
  PostMessageW(GetFocus(), WM_SYSCHAR, 's', 1 << 29);  // Alt+S
  toolkit.doEvents();
  EXPECT_EQ(platform.creates.size(), 1u);

  SetFocus(item(window->cmdOK));
  PostMessageW(item(window->cmdOK), WM_KEYDOWN, VK_RETURN, 1);
  toolkit.doEvents();
  EXPECT_EQ(platform.creates.size(), 2u);
  // Escape means nothing here: the window has no cancel button.
  PostMessageW(item(window->cmdOK), WM_KEYDOWN, VK_ESCAPE, 1);
  toolkit.doEvents();
  EXPECT_EQ(platform.creates.size(), 2u);
}

TEST_F(NativeWindowTest, TimerTicksOnlyWhileEnabled) {
  open();
  window->lblStatus.setForeColour(kBlue);
  window->RunStartTime = Clock::now();
  window->Timer1.setEnabled(true);
  serveFor(std::chrono::milliseconds(1300));
  // Ticks at 500 ms (hides the text) and 1000 ms (shows it with the time).
  EXPECT_EQ(window->lblTimer.caption(), "00:00:01");
  EXPECT_EQ(text(item(window->lblTimer)), L"00:00:01");
  window->Timer1.setEnabled(false);
  const Colour colour = window->lblStatus.foreColour();
  serveFor(std::chrono::milliseconds(1200));
  EXPECT_EQ(window->lblStatus.foreColour(), colour);
  EXPECT_EQ(window->lblTimer.caption(), "00:00:01");
}

}  // namespace
}  // namespace kalmor::testing
