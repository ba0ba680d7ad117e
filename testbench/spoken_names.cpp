// Names for screen readers where the window shows no text.
#include <cctype>
#include <string>

#include "i18n/spoken_texts.h"
#include "testbench/frm_kalmor_checker.h"

namespace kalmor {
namespace {

// The letter after the access-key marker ("&Stop" gives 'S'); 0 without one.
char AccessKey(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') {
      return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    }
    ++i;  // "&&" is a plain "&"
  }
  return 0;
}

}  // namespace

std::string frmKalmorChecker::SpokenName(const Control& control) const {
  const int language = lstLanguage.listIndex();
  if (&control == &bild0) {
    switch (bild0.picture()) {
      case Picture::Information:
        return SpokenText(Spoken::InformationPicture, language);
      case Picture::Warning:
        return SpokenText(Spoken::WarningPicture, language);
      case Picture::Error:
        return SpokenText(Spoken::ErrorPicture, language);
      case Picture::Key:
        return SpokenText(Spoken::SuccessPicture, language);
      case Picture::None:
        break;
    }
    return {};
  }
  if (&control != &cmdDummy) return {};
  if (!RunInProgress) {
    // Why a run failed shows only as the result line's tool tip, which the
    // mouse alone reaches; the focus rests here after the run.
    const std::string& why = lblResult.toolTip();
    return why.empty() ? lblStatus.caption() : lblStatus.caption() + " " + why;
  }
  // A language chosen during a run leaves Stop without its access key.
  const char key = AccessKey(cmdOK.caption());
  if (key == 0) return lblStatus.caption();
  return lblStatus.caption() + " " + SpokenText(Spoken::StopKey, language) + key;
}

}  // namespace kalmor
