#include "ui/fltk/display_text.h"

namespace kalmor {

std::string WithLineFeeds(const std::string& caption) {
  std::string text;
  text.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '\r') {
      text += caption[i];
    } else if (i + 1 >= caption.size() || caption[i + 1] != '\n') {
      text += '\n';  // a CR LF pair keeps its LF, which comes next
    }
  }
  return text;
}

}  // namespace kalmor
