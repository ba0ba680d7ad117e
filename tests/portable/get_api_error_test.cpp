#include "sysinfo/get_api_error.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

namespace kalmor {
namespace {

// Writes a recorded text like FormatMessageA: the text, a NUL, and the count.
class FakeMessageQueries : public MessageQueries {
 public:
  explicit FakeMessageQueries(std::string text) : text_(std::move(text)) {}

  std::uint32_t flags = 0;
  std::int32_t error = 0;
  std::uint32_t languageId = 0;
  std::string bufferOnEntry;

  std::uint32_t formatMessage(std::uint32_t flagsIn, std::int32_t errorIn, std::uint32_t languageIdIn,
                              char* buffer, std::uint32_t size) override {
    flags = flagsIn;
    error = errorIn;
    languageId = languageIdIn;
    bufferOnEntry.assign(buffer, size);
    if (text_.empty() || text_.size() >= size) return 0;
    std::memcpy(buffer, text_.c_str(), text_.size() + 1);
    return static_cast<std::uint32_t>(text_.size());
  }

 private:
  std::string text_;
};

TEST(GetAPIError, AsksForTheSystemTextInTheUsersLanguage) {
  FakeMessageQueries queries("Zugriff verweigert");
  GetAPIError(queries, 5);
  EXPECT_EQ(queries.flags, 0x12FFu);
  EXPECT_EQ(queries.error, 5);
  EXPECT_EQ(queries.languageId, 0x0400u);
  EXPECT_EQ(queries.bufferOnEntry, std::string(1024, ' '));
}

TEST(GetAPIError, SystemTextIsTakenUntouched) {
  const char* texts[] = {
      "Das System kann die angegebene Datei nicht finden. ",
      "%1 ist keine zul\xE4ssige Win32-Anwendung. ",
      "Line one.\r\nLine two.",
      "x",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    FakeMessageQueries queries(text);
    EXPECT_EQ(GetAPIError(queries, 2), text);
  }
  const std::string longest(1023, 'm');
  FakeMessageQueries queries(longest);
  EXPECT_EQ(GetAPIError(queries, 2), longest);
}

TEST(GetAPIError, WithoutTextTheNumberInUpperCaseHex) {
  const std::pair<std::int32_t, const char*> hexDigits[] = {
      {1234, "4D2"},      {0, "0"},         {255, "FF"},         {0x7FFFFFFF, "7FFFFFFF"},
      {-1, "FFFFFFFF"},   {-2147024891, "80070005"}, {INT32_MIN, "80000000"},
  };
  for (const auto& [error, digits] : hexDigits) {
    FakeMessageQueries queries("");
    EXPECT_EQ(GetAPIError(queries, error), std::string("Unbekannter Fehler: &H") + digits);
  }
  FakeMessageQueries tooLong(std::string(1024, 'm'));
  EXPECT_EQ(GetAPIError(tooLong, 1234), "Unbekannter Fehler: &H4D2");
}

}  // namespace
}  // namespace kalmor
