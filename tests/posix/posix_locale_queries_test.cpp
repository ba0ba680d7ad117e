#include "platform/posix/posix_locale_queries.h"

#include <gtest/gtest.h>

#include <string>

#include "i18n/system_locale.h"
#include "platform/posix/country_calling_codes.h"
#include "tests/posix/temp_root.h"

namespace kalmor {
namespace {

using posix_sysinfo_test::TempRoot;

TEST(LocaleTerritory, TerritoryOfALocaleName) {
  struct Row {
    const char* locale;
    std::optional<std::string> expected;
  };
  const Row rows[] = {
      {"de_DE.UTF-8", "DE"}, {"de_AT@euro", "AT"},  {"en_US", "US"},      {"sr_RS@latin", "RS"},
      {"de_de.utf8", "DE"},  {"en_GB.ISO-8859-15", "GB"}, {"C", std::nullopt}, {"C.UTF-8", std::nullopt},
      {"POSIX", std::nullopt}, {"de_.UTF-8", std::nullopt}, {"", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.locale);
    EXPECT_EQ(LocaleTerritory(row.locale), row.expected);
  }
}

TEST(CallingCodeForCountry, CommonCountries) {
  struct Row {
    const char* country;
    std::optional<std::string_view> expected;
  };
  const Row rows[] = {
      {"DE", "49"}, {"US", "1"},   {"CA", "1"},   {"FR", "33"},  {"AT", "43"}, {"CH", "41"},
      {"GB", "44"}, {"IT", "39"},  {"ES", "34"},  {"NL", "31"},  {"PL", "48"}, {"RU", "7"},
      {"BR", "55"}, {"MX", "52"},  {"AR", "54"},  {"JP", "81"},  {"CN", "86"}, {"IN", "91"},
      {"KR", "82"}, {"AU", "61"},  {"FI", "358"}, {"AD", "376"}, {"ZW", "263"},
      {"ZZ", std::nullopt}, {"de", std::nullopt}, {"", std::nullopt}, {"DEU", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.country);
    EXPECT_EQ(CallingCodeForCountry(row.country), row.expected);
  }
}

TEST(PosixLocaleQueries, CountryCodeOfTheSystemLocaleFiles) {
  struct Row {
    const char* defaultLocale;  // nullptr: no file
    const char* localeConf;
    const char* expected;
  };
  const Row rows[] = {
      {"LANG=de_DE.UTF-8\n", nullptr, "49"},
      {"# set by the installer\nLANG=\"de_AT.UTF-8\"\n", nullptr, "43"},
      {nullptr, "LANG=fr_FR.UTF-8\n", "33"},
      {"LANG=en_US.UTF-8\n", "LANG=de_DE.UTF-8\n", "1"},
      {"LANGUAGE=de_DE:de\n", "LANG='de_CH.UTF-8'\n", "41"},
      {"LANG=C.UTF-8\n", nullptr, ""},
      {"LANG=xx_ZZ.UTF-8\n", nullptr, ""},
      {nullptr, nullptr, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.defaultLocale ? row.defaultLocale : "-") + " / " +
                 (row.localeConf ? row.localeConf : "-"));
    TempRoot root;
    if (row.defaultLocale != nullptr) root.write("etc/default/locale", row.defaultLocale);
    if (row.localeConf != nullptr) root.write("etc/locale.conf", row.localeConf);
    PosixLocaleQueries queries(root.path());
    EXPECT_EQ(GetSystemLocaleInfo(queries, kLocaleICountry), row.expected);
  }
}

TEST(PosixLocaleQueries, AnswersLikeGetLocaleInfoA) {
  TempRoot root;
  root.write("etc/default/locale", "LANG=de_DE.UTF-8\n");
  PosixLocaleQueries queries(root.path());
  const std::uint32_t lcid = queries.getSystemDefaultLCID();
  EXPECT_EQ(queries.getSystemDefaultLCID(), lcid);
  EXPECT_EQ(queries.getLocaleInfo(lcid, kLocaleICountry, nullptr, 0), 3);
  char buffer[5] = {'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(queries.getLocaleInfo(lcid, kLocaleICountry, buffer, 2), 0);
  EXPECT_EQ(std::string(buffer, 5), "xxxxx");
  EXPECT_EQ(queries.getLocaleInfo(lcid, kLocaleICountry, buffer, 5), 3);
  EXPECT_EQ(std::string(buffer, 5), std::string("49\0xx", 5));
  EXPECT_EQ(queries.getLocaleInfo(lcid, 2, nullptr, 0), 0);  // only the country code is known
  EXPECT_EQ(StartLanguageIndex(GetSystemLocaleInfo(queries, kLocaleICountry)), 0);
}

}  // namespace
}  // namespace kalmor
