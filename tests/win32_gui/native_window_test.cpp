// The real native windows of the front-end, in this process, on the
// in-memory platform: what only real controls show (sizes, fonts, colours,
// focus, keys), and that user events reach the window. What the window
// decides is checked headless.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/win32_text.h"
#include "tests/support/fake_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/pixel_layout.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/win32_toolkit.h"

namespace kalmor::testing {
namespace {

// The text's extent in the window's font, wrapped at wrapWidth when not 0.
SIZE Extent(HWND window, const std::wstring& text, UINT format, int wrapWidth) {
  const HDC dc = GetDC(window);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
  RECT r{0, 0, wrapWidth, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | format | (wrapWidth > 0 ? DT_WORDBREAK : 0));
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// Two free pixels between them: with one, the glyphs of neighbouring texts
// still touch.
bool Apart(const RECT& a, const RECT& b) {
  return a.right + 2 <= b.left || b.right + 2 <= a.left || a.bottom + 2 <= b.top ||
         b.bottom + 2 <= a.top;
}

BOOL CALLBACK FindToolTips(HWND candidate, LPARAM found) {
  wchar_t name[64] = {};
  GetClassNameW(candidate, name, 64);
  if (std::wstring(name) != TOOLTIPS_CLASSW) return TRUE;
  *reinterpret_cast<HWND*>(found) = candidate;
  return FALSE;
}

// The window opened on all three tasks and both solver builds.
class NativeWindowTest : public ::testing::Test {
 protected:
  NativeWindowTest() {
    for (const char* name : {"test_#3.INP", "test_#4.INP", "test_s#7.INP", "kmwin32.exe",
                             "kmwin64.exe"}) {
      platform.put(name, "line\r\n<Protokoll>\r\n");
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
  std::wstring text(const Control& control) const { return textOf(item(control)); }
  static std::wstring textOf(HWND window) {
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return buffer;
  }
  RECT clientRectOf(const Control& control) const {
    RECT r{};
    GetWindowRect(item(control), &r);
    MapWindowPoints(HWND_DESKTOP, main(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  static LONG style(HWND handle) { return GetWindowLongW(handle, GWL_STYLE); }

  // The text colour the window gives a label's painting.
  COLORREF paintedTextColour(const Label& label) {
    const HDC dc = GetDC(main());
    SendMessageW(main(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(item(label)));
    const COLORREF colour = GetTextColor(dc);
    ReleaseDC(main(), dc);
    return colour;
  }

  // Every shown text fits its window; no two shown windows overlap or touch.
  void expectTextsFitAndKeepApart(const std::string& when) {
    std::vector<std::pair<RECT, std::string>> shown;  // where each is, what it shows
    for (const Control* c : window->controls()) {
      const HWND w = item(*c);
      const RECT r = clientRectOf(*c);
      if (!IsWindowVisible(w) || c->kind() == ControlKind::Frame || r.right <= 0) continue;
      const std::wstring text = textOf(w);
      const std::string name = c->name() + " \"" + WideToUtf8(text) + "\" " + when;
      const LONG width = r.right - r.left;
      if (c->kind() == ControlKind::Label) {
        const bool wraps = !static_cast<const Label*>(c)->autoSize();
        const SIZE e = Extent(w, text, DT_NOPREFIX, wraps ? width : 0);
        EXPECT_TRUE(e.cx <= width && e.cy <= r.bottom - r.top) << name << " is clipped";
      } else if (c->kind() == ControlKind::Button) {
        // The button draws its caption right after its image, so the image
        // carries free columns after the picture; its edges lie beside too.
        ICONINFO icon{};
        GetIconInfo(reinterpret_cast<HICON>(SendMessageW(w, BM_GETIMAGE, IMAGE_ICON, 0)), &icon);
        BITMAP image{};
        GetObjectW(icon.hbmColor, sizeof(image), &image);
        DeleteObject(icon.hbmColor);
        DeleteObject(icon.hbmMask);
        EXPECT_GE(image.bmWidth, px(240) + 2) << name << " touches its picture";
        const int beside = image.bmWidth + 2 * GetSystemMetrics(SM_CXEDGE);
        EXPECT_LE(Extent(w, text, 0, 0).cx + beside, width) << name;
      } else if (c->kind() == ControlKind::ComboBox) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        GetComboBoxInfo(w, &info);
        for (const std::string& entry : static_cast<const ComboBox*>(c)->items()) {
          // Two pixels free on either side, as between neighbours.
          EXPECT_LE(Extent(w, Utf8ToWide(entry), DT_NOPREFIX, 0).cx + 4,
                    info.rcItem.right - info.rcItem.left) << name << " " << entry;
        }
      }
      for (const auto& [other, otherName] : shown) {
        EXPECT_TRUE(Apart(r, other)) << name << " touches " << otherName;
      }
      shown.emplace_back(r, name);
    }
  }

  // Runs the real message loop for a while.
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

TEST_F(NativeWindowTest, FixedWindowCentredWithTitleIconControlsAndTabOrder) {
  EXPECT_EQ(style(main()) & (WS_MINIMIZEBOX | WS_SYSMENU | WS_MAXIMIZEBOX | WS_THICKFRAME),
            WS_MINIMIZEBOX | WS_SYSMENU);
  RECT client{}, outer{};
  GetClientRect(main(), &client);
  EXPECT_TRUE(client.right == px(5160) && client.bottom == px(3765));
  GetWindowRect(main(), &outer);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(main(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  EXPECT_NEAR(outer.left + outer.right, monitor.rcWork.left + monitor.rcWork.right, 1);
  EXPECT_NEAR(outer.top + outer.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 1);
  EXPECT_TRUE(textOf(main()).starts_with(L"Kalmor Funktionstester ")) << textOf(main());
  EXPECT_NE(SendMessageW(main(), WM_GETICON, ICON_SMALL, 0), 0);

  EXPECT_EQ(text(window->cmdOK), L"Starten");
  EXPECT_NE(SendMessageW(item(window->cmdOK), BM_GETIMAGE, IMAGE_ICON, 0), 0);
  EXPECT_EQ(text(window->rahmen14), L"Prüfstatus");
  EXPECT_EQ(style(item(window->rahmen14)) & BS_TYPEMASK, BS_GROUPBOX);
  EXPECT_EQ(GetWindow(item(window->cmdOK), GW_HWNDLAST), item(window->rahmen14)) << "under all";
  EXPECT_EQ(SendMessageW(item(window->lstKalmorBitVersion), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(item(window->lstKalmorBitVersion), CB_GETCURSEL, 0, 0), 1);
  // Out of sight, a window would still be read out: the hidden ones have none
  // (the time inside its hidden frame too), the focus's hidden button has one.
  for (const Control* hidden : {&window->lbl28, &window->lblTestvariante, &window->lblTimer}) {
    EXPECT_EQ(item(*hidden), nullptr) << hidden->name();
  }
  EXPECT_EQ(clientRectOf(window->cmdDummy).left, px(-1200));

  EXPECT_EQ(GetFocus(), item(window->cmdOK));
  HWND at = item(window->cmdOK);
  const Control* const order[] = {&window->cmdClose, &window->cmdDummy, &window->lstTask,
                                  &window->lstKalmorCallingMode, &window->lstKalmorBitVersion,
                                  &window->lstLanguage, &window->cmdOK};
  for (const Control* next : order) {
    at = GetNextDlgTabItem(main(), at, FALSE);
    EXPECT_EQ(at, item(*next)) << next->name();
  }
}

// A user's choice in a list reaches its handler: the end-to-end pass chooses
// the language and hears the texts change.
TEST_F(NativeWindowTest, TheProgramsChangesReachTheControls) {
  window->lblResult.setCaption("a\r\rb\r\nc\nd\r");
  EXPECT_EQ(text(window->lblResult), L"a\r\n\r\nb\r\nc\r\nd\r\n");
  const LONG before = clientRectOf(window->lblStatus).right;
  window->lblStatus.setCaption(window->lblStatus.caption() + " and a good deal more");
  EXPECT_GT(clientRectOf(window->lblStatus).right, before) << "an auto-sized label grows";
  window->frameTime.setVisible(true);
  EXPECT_TRUE(style(item(window->lblTimer)) & WS_VISIBLE);
  EXPECT_EQ(clientRectOf(window->lblTimer).left, px(120) + px(3600) + px(555));  // both frames
  EXPECT_EQ(GetWindow(item(window->lblTimer), GW_HWNDNEXT), item(window->lblResult)) << "stacked in its place";
  window->cmdOK.setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(item(window->cmdOK)));
  const LRESULT information = SendMessageW(item(window->bild0), STM_GETICON, 0, 0);
  window->bild0.setPicture(Picture::Error);
  EXPECT_NE(SendMessageW(item(window->bild0), STM_GETICON, 0, 0), information);
}

TEST_F(NativeWindowTest, LabelsPaintInTheirColoursAndTheTimeCarriesItsToolTip) {
  window->lblStatus.setForeColour(kBlue);
  EXPECT_EQ(paintedTextColour(window->lblStatus), RGB(0, 0, 255));
  window->lblStatus.setForeColour(Colour::buttonFace());
  EXPECT_EQ(paintedTextColour(window->lblStatus), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(paintedTextColour(window->lblOSVersion), GetSysColor(COLOR_BTNTEXT));
  window->frameTime.setVisible(true);  // the time has a window only in sight
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

TEST_F(NativeWindowTest, ClicksAndKeysReachTheButtons) {
  platform.solver.slices = 5;
  const HWND ok = item(window->cmdOK);
  SendMessageW(ok, BM_CLICK, 0, 0);
  ASSERT_EQ(platform.creates.size(), 1u);
  PostMessageW(GetFocus(), WM_SYSCHAR, 's', 1 << 29);  // Alt+S, the access key of "&Start"
  toolkit.doEvents();
  EXPECT_EQ(platform.creates.size(), 2u);
  SetFocus(ok);
  PostMessageW(ok, WM_KEYDOWN, VK_RETURN, 1);
  toolkit.doEvents();
  EXPECT_EQ(platform.creates.size(), 3u);
  PostMessageW(ok, WM_KEYDOWN, VK_ESCAPE, 1);  // no cancel button: nothing
  toolkit.doEvents();
  EXPECT_EQ(platform.creates.size(), 3u);
  // A press during a run, which the run's event pump serves, is the end-to-end Stop.
}

TEST_F(NativeWindowTest, TheTimerTicksOnlyWhileEnabled) {
  window->lblStatus.setForeColour(kBlue);
  window->frameTime.setVisible(true);
  window->RunStartTime = Clock::now();
  window->Timer1.setEnabled(true);
  serveFor(std::chrono::milliseconds(1300));
  // Ticks at 500 ms (hides the status) and 1000 ms (shows it with the time).
  EXPECT_EQ(text(window->lblTimer), L"00:00:01");
  window->Timer1.setEnabled(false);
  const Colour colour = window->lblStatus.foreColour();
  serveFor(std::chrono::milliseconds(1200));
  EXPECT_EQ(window->lblStatus.foreColour(), colour);
  EXPECT_EQ(window->lblTimer.caption(), "00:00:01");
}

TEST_F(NativeWindowTest, TextsFitAndKeepApartInBothLanguagesAndFourResolutionsBeforeAndAfterARun) {
  platform.solver.onExit = [this](const std::string&) {
    platform.put("KM.OUT", "Kalmor stand-in: 6 lines solved\r\n");
  };
  for (const int dpi : {96, 120, 144, 192}) {
    RECT suggested{0, 0, MulDiv(344, dpi, 96) + 16, MulDiv(251, dpi, 96) + 40};
    SendMessageW(main(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    const RECT ok = clientRectOf(window->cmdOK);
    EXPECT_EQ(ok.right - ok.left, TwipsToPixels(1095, dpi)) << "not laid out at " << dpi << " dpi";
    EXPECT_EQ(text(window->cmdDummy), Utf8ToWide(window->lblStatus.caption())) << "its name for screen readers";
    for (const int language : {0, 1}) {
      window->lstLanguage.setListIndex(language);
      const std::string when = " at " + std::to_string(dpi) + " dpi, language " +
                               std::to_string(language);
      expectTextsFitAndKeepApart("before a run" + when);
      SendMessageW(item(window->cmdOK), BM_CLICK, 0, 0);
      expectTextsFitAndKeepApart("after a run" + when);
    }
  }
}

}  // namespace
}  // namespace kalmor::testing
