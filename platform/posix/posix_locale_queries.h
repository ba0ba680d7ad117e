// The system default locale's country code, from the locale that the system
// sets for every user (not the caller's environment).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "i18n/locale_queries.h"

namespace kalmor {

// "de_DE.UTF-8" -> "DE"; nullopt for a locale without a territory ("C", "POSIX").
std::optional<std::string> LocaleTerritory(std::string_view localeName);

// LANG from <root>/etc/default/locale, else from <root>/etc/locale.conf.
std::optional<std::string> SystemDefaultLang(const std::filesystem::path& root);

// Answers like GetLocaleInfoA, for the country code (type 5) only. Every
// identifier names the system default locale; no locale or a country without
// a known code is a failure, which the start-language rule reads as English.
class PosixLocaleQueries : public LocaleQueries {
 public:
  explicit PosixLocaleQueries(std::filesystem::path root = "/");

  std::uint32_t getSystemDefaultLCID() override;
  std::optional<std::string> getLocaleInfo(std::uint32_t lcid, std::int32_t type) override;

 private:
  std::filesystem::path root_;
};

}  // namespace kalmor
