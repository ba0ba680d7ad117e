#include "platform/posix/posix_message_queries.h"

#include <locale.h>
#include <string.h>

#include <string_view>

namespace kalmor {
namespace {

constexpr std::uint32_t kFromSystem = 0x1000;

class Locale {
 public:
  Locale(int mask, const char* name) : locale_(newlocale(mask, name, nullptr)) {}
  ~Locale() {
    if (locale_ != nullptr) freelocale(locale_);
  }
  Locale(const Locale&) = delete;
  Locale& operator=(const Locale&) = delete;
  locale_t get() const { return locale_; }

 private:
  locale_t locale_;
};

// The C library names numbers it does not know with a generic text; in the
// C locale that text is recognisable whatever the user's language.
bool HasOwnText(int error) {
  const Locale c(LC_ALL_MASK, "C");
  if (c.get() == nullptr) return false;
  const std::string_view text = strerror_l(error, c.get());
  return !text.empty() && !text.starts_with("Unknown error") && text != "No error information";
}

}  // namespace

std::optional<std::string> SystemErrorText(int error) {
  if (!HasOwnText(error)) return std::nullopt;
  const Locale user(LC_MESSAGES_MASK | LC_CTYPE_MASK, "");
  const Locale c(LC_ALL_MASK, "C");
  const locale_t chosen = user.get() != nullptr ? user.get() : c.get();
  if (chosen == nullptr) return std::nullopt;
  return std::string(strerror_l(error, chosen));
}

std::optional<std::string> PosixMessageQueries::formatMessage(std::uint32_t flags,
                                                              std::int32_t error, std::uint32_t,
                                                              std::uint32_t size) {
  if ((flags & kFromSystem) == 0) return std::nullopt;
  auto text = SystemErrorText(error);
  if (!text || text->size() >= size) return std::nullopt;
  return text;
}

}  // namespace kalmor
