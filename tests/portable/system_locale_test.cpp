#include "i18n/system_locale.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kalmor {
namespace {

// Answers like GetLocaleInfoA for one recorded value; logs each call.
class FakeLocaleQueries : public LocaleQueries {
 public:
  explicit FakeLocaleQueries(std::optional<std::string> country) : country_(std::move(country)) {}

  std::vector<std::string> calls;
  bool secondCallFails = false;

  std::uint32_t getSystemDefaultLCID() override {
    calls.push_back("GetSystemDefaultLCID");
    return 0x0407;
  }
  int getLocaleInfo(std::uint32_t lcid, std::int32_t type, char* buffer, int size) override {
    calls.push_back("GetLocaleInfoA " + std::to_string(lcid) + " " + std::to_string(type) + " " +
                    (buffer == nullptr ? "null" : "buffer") + " " + std::to_string(size));
    if (!country_ || type != kLocaleICountry) return 0;
    const int needed = static_cast<int>(country_->size()) + 1;
    if (size == 0) return needed;
    if (secondCallFails || size < needed) return 0;
    std::memcpy(buffer, country_->c_str(), static_cast<std::size_t>(needed));
    return needed;
  }

 private:
  std::optional<std::string> country_;
};

TEST(GetSystemLocaleInfo, ReturnsTheValueWithoutItsNul) {
  FakeLocaleQueries queries("49");
  const std::string code = GetSystemLocaleInfo(queries, kLocaleICountry);
  EXPECT_EQ(code, "49");
  EXPECT_EQ(code.size(), 2u);
  EXPECT_EQ(queries.calls, (std::vector<std::string>{"GetSystemDefaultLCID", "GetLocaleInfoA 1031 5 null 0",
                                                     "GetLocaleInfoA 1031 5 buffer 3"}));
}

TEST(GetSystemLocaleInfo, AFailedSizeQueryGivesAnEmptyText) {
  FakeLocaleQueries queries(std::nullopt);
  EXPECT_EQ(GetSystemLocaleInfo(queries, kLocaleICountry), "");
  EXPECT_EQ(queries.calls.size(), 2u);
}

TEST(GetSystemLocaleInfo, TheSecondResultIsNotExamined) {
  FakeLocaleQueries queries("358");
  queries.secondCallFails = true;
  EXPECT_EQ(GetSystemLocaleInfo(queries, kLocaleICountry), "   ");
}

TEST(StartLanguageIndex, GermanOnlyForExactly49) {
  struct Row {
    std::string code;
    int expected;
  };
  const Row rows[] = {
      {"49", 0}, {"1", 1}, {"33", 1}, {"43", 1}, {"41", 1}, {"", 1}, {"049", 1}, {"49 ", 1},
      {std::string("49\0", 3), 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("\"" + row.code + "\"");
    EXPECT_EQ(StartLanguageIndex(row.code), row.expected);
  }
}

TEST(StartLanguageIndex, FollowsTheSystemCountry) {
  FakeLocaleQueries germany("49");
  EXPECT_EQ(StartLanguageIndex(GetSystemLocaleInfo(germany, kLocaleICountry)), 0);
  FakeLocaleQueries austria("43");
  EXPECT_EQ(StartLanguageIndex(GetSystemLocaleInfo(austria, kLocaleICountry)), 1);
  FakeLocaleQueries unknown(std::nullopt);
  EXPECT_EQ(StartLanguageIndex(GetSystemLocaleInfo(unknown, kLocaleICountry)), 1);
}

}  // namespace
}  // namespace kalmor
