// No two texts of the window overlap or touch, and each fits its widget: in
// both languages, before and after a run, at the resolution of the X server
// the test is started on (ctest starts it at 96, 120 and 144 dpi).
// Before FLTK, whose X11 headers define names that googletest uses.
#include "tests/fltk/gui_fixture.h"

#include <FL/Fl.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Image.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace kalmor::testing {
namespace {

Fl_Widget* WidgetAt(Fl_Group& group, const PixelRect& r) {
  for (int i = 0; i < group.children(); ++i) {
    Fl_Widget* w = group.child(i);
    if (PixelRect{w->x(), w->y(), w->w(), w->h()} == r) return w;
    if (Fl_Group* inner = w->as_group()) {
      if (Fl_Widget* found = WidgetAt(*inner, r)) return found;
    }
  }
  return nullptr;
}

// Width and height of the text as drawn, wrapped at wrapWidth when not 0.
PixelRect Extent(const std::string& text, Fl_Font font, int size, bool shortcuts, int wrapWidth) {
  const char saved = fl_draw_shortcut;
  fl_draw_shortcut = shortcuts ? 1 : 0;
  fl_font(font, size);
  PixelRect r{0, 0, wrapWidth, 0};
  fl_measure(text.c_str(), r.w, r.h, 0);
  fl_draw_shortcut = saved;
  return r;
}

// Two free pixels between them: with one, the glyphs of neighbouring texts
// still touch.
bool Apart(const PixelRect& a, const PixelRect& b) {
  return a.x + a.w + 2 <= b.x || b.x + b.w + 2 <= a.x || a.y + a.h + 2 <= b.y ||
         b.y + b.h + 2 <= a.y;
}

class NoOverlap : public GuiTest {
 protected:
  // Every shown text fits its widget; no two shown widgets overlap or touch.
  void check(const std::string& when) {
    const std::string where = " " + when + " at " + std::to_string(probe().dpi()) + " dpi";
    std::vector<std::pair<PixelRect, std::string>> shown;  // where each is, what it shows
    for (const Control* c : checker_->window().controls()) {
      const ControlKind kind = c->kind();
      if (kind != ControlKind::Label && kind != ControlKind::Button &&
          kind != ControlKind::ComboBox && kind != ControlKind::Image) {
        continue;
      }
      const PixelRect r = probe().area(*c);
      if (!probe().shown(*c) || r.x + r.w <= 0) continue;  // hidden, or moved out of sight
      Fl_Widget* w = WidgetAt(*Fl::first_window(), r);
      ASSERT_NE(w, nullptr) << c->name();
      const std::string name = c->name() + " \"" + probe().text(*c) + "\"";
      if (kind == ControlKind::Label) {
        const bool wraps = !static_cast<const Label*>(c)->autoSize();
        const PixelRect e = Extent(probe().text(*c), w->labelfont(), w->labelsize(), false,
                                   wraps ? r.w : 0);
        EXPECT_TRUE(e.w <= r.w && e.h <= r.h) << name << " is clipped" << where;
      } else if (kind == ControlKind::Button) {
        const int picture = w->image() != nullptr ? w->image()->w() : 0;
        const PixelRect e = Extent(probe().text(*c), w->labelfont(), w->labelsize(), true, 0);
        EXPECT_LE(e.w + picture + Fl::box_dw(w->box()), r.w) << name << where;
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
    probe().pick(w.lstKalmorBitVersion, 1 - probe().selected(w.lstKalmorBitVersion));
    check(name + ", another build picked after a run");
  }
}

}  // namespace
}  // namespace kalmor::testing
