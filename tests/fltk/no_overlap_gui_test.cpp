// No two texts of the window overlap or touch, and each fits its widget: in
// both languages, before and after a run, at the resolution of the X server
// the test is started on (ctest starts it at 96, 120 and 144 dpi).
// Before FLTK, whose X11 headers define names that googletest uses.
#include "tests/fltk/gui_fixture.h"

#include <FL/Fl.H>
#include <FL/Fl_Image.H>
#include <FL/Fl_Widget.H>
#include <FL/fl_draw.H>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace kalmor::testing {
namespace {

// Width and height of the text as drawn, wrapped at wrapWidth when not 0.
std::pair<int, int> Extent(const Fl_Widget& w, const std::string& text, bool shortcuts, int wrapWidth) {
  const char saved = fl_draw_shortcut;
  fl_draw_shortcut = shortcuts ? 1 : 0;
  fl_font(w.labelfont(), w.labelsize());
  int width = wrapWidth;
  int height = 0;
  fl_measure(text.c_str(), width, height, 0);
  fl_draw_shortcut = saved;
  return {width, height};
}

// Two free pixels between them: with one, the glyphs of neighbouring texts
// still touch.
bool Apart(const Fl_Widget& a, const Fl_Widget& b) {
  return a.x() + a.w() + 2 <= b.x() || b.x() + b.w() + 2 <= a.x() || a.y() + a.h() + 2 <= b.y() ||
         b.y() + b.h() + 2 <= a.y();
}

class NoOverlap : public GuiTest {
 protected:
  // Every shown text fits its widget; no two shown widgets overlap or touch.
  void check(const std::string& when) {
    const std::string where = " " + when + " at " + std::to_string(probe().dpi()) + " dpi";
    std::vector<std::pair<const Fl_Widget*, std::string>> shown;  // each widget, and what it shows
    for (const Control* c : checker_->window().controls()) {
      const ControlKind kind = c->kind();
      if (kind != ControlKind::Label && kind != ControlKind::Button && kind != ControlKind::ComboBox &&
          kind != ControlKind::Image) {
        continue;
      }
      const Fl_Widget& w = probe().widget(*c);
      if (!w.visible_r() || w.x() + w.w() <= 0) continue;  // hidden, or moved out of sight
      const std::string text = probe().text(*c);
      const std::string name = c->name() + " \"" + text + "\"";
      if (kind == ControlKind::Label) {
        const bool wraps = !static_cast<const Label*>(c)->autoSize();
        const auto [width, height] = Extent(w, text, false, wraps ? w.w() : 0);
        EXPECT_TRUE(width <= w.w() && height <= w.h()) << name << " is clipped" << where;
      } else if (kind == ControlKind::Button) {
        const int picture = w.image() != nullptr ? w.image()->w() : 0;
        EXPECT_LE(Extent(w, text, true, 0).first + picture + Fl::box_dw(w.box()), w.w()) << name << where;
      }
      shown.emplace_back(&w, name);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
      for (std::size_t j = i + 1; j < shown.size(); ++j) {
        EXPECT_TRUE(Apart(*shown[i].first, *shown[j].first))
            << shown[i].second << " touches " << shown[j].second << where;
      }
    }
  }
};

TEST_F(NoOverlap, TextsKeepApartInBothLanguagesBeforeAndAfterARun) {
  task("Stipulation #3\r\n<Protokoll>\r\n");
  auto& w = open();
  if (const char* dpi = std::getenv("KALMOR_EXPECTED_DPI")) {
    ASSERT_NEAR(probe().dpi(), std::atof(dpi), 1.0);  // the server rounds to whole millimetres
  }
  for (const int language : {0, 1}) {
    probe().pick(w.lstLanguage, language);
    const std::string name = language == 0 ? "German" : "English";
    check(name + ", before a run");
    probe().click(w.cmdOK);  // returns when the run is over
    check(name + ", after a run");
    probe().pick(w.lstKalmorBitVersion, 1 - w.lstKalmorBitVersion.listIndex());
    check(name + ", another build picked after a run");
  }
}

}  // namespace
}  // namespace kalmor::testing
