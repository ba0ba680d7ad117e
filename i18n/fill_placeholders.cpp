#include "i18n/fill_placeholders.h"

namespace kalmor {

std::string FillPlaceholders(const std::string& text, const std::vector<std::string>& arguments) {
  std::string filled;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t index = i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '1') : 99;
    if (text[i] == '%' && index < arguments.size()) {
      filled += arguments[index];
      ++i;
    } else {
      filled += text[i];
    }
  }
  return filled;
}

}  // namespace kalmor
