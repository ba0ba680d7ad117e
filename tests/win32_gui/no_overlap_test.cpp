// No two texts of the native window overlap or touch, and each fits its
// window: in both languages, before and after a run, at 96 and 144 dpi.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/win32_text.h"
#include "tests/support/fake_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/win32/control_ids.h"
#include "ui/pixel_layout.h"
#include "ui/win32/win32_toolkit.h"

namespace kalmor::testing {
namespace {

std::wstring TextOf(HWND window) {
  wchar_t buffer[512] = {};
  GetWindowTextW(window, buffer, 512);
  return buffer;
}

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

class NoOverlap : public ::testing::TestWithParam<int> {
 protected:
  HWND item(const Control& control) const {
    return GetDlgItem(toolkit.mainWindow(), ControlId(control.name()));
  }

  // Every shown text fits its window; no two shown windows overlap or touch.
  void check(const std::string& when) {
    const std::string where = " " + when + " at " + std::to_string(GetParam()) + " dpi";
    std::vector<std::pair<RECT, std::string>> shown;  // where each is, what it shows
    for (const Control* c : window->controls()) {
      const HWND w = item(*c);
      if (w == nullptr || !IsWindowVisible(w) || c->kind() == ControlKind::Frame) continue;
      RECT r{};
      GetWindowRect(w, &r);
      MapWindowPoints(HWND_DESKTOP, toolkit.mainWindow(), reinterpret_cast<POINT*>(&r), 2);
      if (r.right <= 0) continue;  // moved out of sight
      const std::wstring text = TextOf(w);
      const std::string name = c->name() + " \"" + WideToUtf8(text) + "\"";
      const LONG width = r.right - r.left;
      if (c->kind() == ControlKind::Label) {
        const bool wraps = !static_cast<const Label*>(c)->autoSize();
        const SIZE e = Extent(w, text, DT_NOPREFIX, wraps ? width : 0);
        EXPECT_TRUE(e.cx <= width && e.cy <= r.bottom - r.top) << name << " is clipped" << where;
      } else if (c->kind() == ControlKind::Button) {
        // The picture and the button's edges beside the text.
        const int beside = MulDiv(16, GetParam(), 96) + 2 * GetSystemMetrics(SM_CXEDGE);
        EXPECT_LE(Extent(w, text, 0, 0).cx + beside, width) << name << where;
      } else if (c->kind() == ControlKind::ComboBox) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(GetComboBoxInfo(w, &info));
        for (const std::string& listItem : static_cast<const ComboBox*>(c)->items()) {
          // Two pixels free on either side, as between neighbours.
          EXPECT_LE(Extent(w, Utf8ToWide(listItem), DT_NOPREFIX, 0).cx + 4,
                    info.rcItem.right - info.rcItem.left) << name << " " << listItem << where;
        }
      }
      shown.emplace_back(r, name);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
      for (std::size_t j = i + 1; j < shown.size(); ++j) {
        EXPECT_TRUE(Apart(shown[i].first, shown[j].first))
            << shown[i].second << " touches " << shown[j].second << where;
      }
    }
  }

  FakePlatform platform;
  Win32Toolkit toolkit;
  std::unique_ptr<frmKalmorChecker> window;
};

TEST_P(NoOverlap, TextsKeepApartInBothLanguagesBeforeAndAfterARun) {
  for (const char* name : {"test_#3.INP", "kmwin32.exe", "kmwin64.exe"}) {
    platform.put(name, "line\r\n<Protokoll>\r\n");
  }
  platform.solver.onExit = [this](const std::string&) {
    platform.put("KM.OUT", "Kalmor stand-in: 6 lines solved\r\n");
  };
  window = std::make_unique<frmKalmorChecker>(platform, toolkit);
  toolkit.attach(*window);
  window->Form_Load();
  toolkit.open();
  toolkit.doEvents();
  const int dpi = GetParam();
  RECT suggested{0, 0, MulDiv(344, dpi, 96) + 16, MulDiv(251, dpi, 96) + 40};
  SendMessageW(toolkit.mainWindow(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
  RECT ok{};
  GetWindowRect(item(window->cmdOK), &ok);
  EXPECT_EQ(ok.right - ok.left, TwipsToPixels(1095, dpi)) << "laid out again at " << dpi << " dpi";
  for (const int language : {0, 1}) {
    window->lstLanguage.setListIndex(language);
    const std::string name = language == 0 ? "German" : "English";
    check(name + ", before a run");
    SendMessageW(item(window->cmdOK), BM_CLICK, 0, 0);
    check(name + ", after a run");
  }
}

INSTANTIATE_TEST_SUITE_P(Dpi, NoOverlap, ::testing::Values(96, 144));

}  // namespace
}  // namespace kalmor::testing
