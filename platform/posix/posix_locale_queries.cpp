#include "platform/posix/posix_locale_queries.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "i18n/system_locale.h"
#include "platform/posix/country_calling_codes.h"
#include "platform/posix/shell_assignments.h"

namespace kalmor {
namespace {

constexpr std::uint32_t kLocaleSystemDefault = 0x0800;

}  // namespace

std::optional<std::string> LocaleTerritory(std::string_view localeName) {
  const std::size_t underscore = localeName.find('_');
  if (underscore == std::string_view::npos) return std::nullopt;
  const std::string_view rest = localeName.substr(underscore + 1);
  std::string territory(rest.substr(0, rest.find_first_of(".@")));
  if (territory.empty()) return std::nullopt;
  std::transform(territory.begin(), territory.end(), territory.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return territory;
}

std::optional<std::string> SystemDefaultLang(const std::filesystem::path& root) {
  for (const char* file : {"etc/default/locale", "etc/locale.conf"}) {
    auto lang = ReadShellAssignment(root / file, "LANG");
    if (lang && !lang->empty()) return lang;
  }
  return std::nullopt;
}

PosixLocaleQueries::PosixLocaleQueries(std::filesystem::path root) : root_(std::move(root)) {}

std::uint32_t PosixLocaleQueries::getSystemDefaultLCID() { return kLocaleSystemDefault; }

std::optional<std::string> PosixLocaleQueries::getLocaleInfo(std::uint32_t, std::int32_t type) {
  if (type != kLocaleICountry) return std::nullopt;
  const auto lang = SystemDefaultLang(root_);
  const auto territory = lang ? LocaleTerritory(*lang) : std::nullopt;
  const auto code = territory ? CallingCodeForCountry(*territory) : std::nullopt;
  if (!code) return std::nullopt;
  return std::string(*code);
}

}  // namespace kalmor
