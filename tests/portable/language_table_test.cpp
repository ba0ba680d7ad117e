#include <gtest/gtest.h>

#include <string>

#include "i18n/get_field.h"
#include "i18n/message_lookup.h"
#include "resources/language_table.h"

namespace kalmor {
namespace {

std::size_t CodePoints(const std::string& utf8) {
  std::size_t count = 0;
  for (unsigned char c : utf8) count += (c & 0xC0) != 0x80;
  return count;
}

const std::string kStored = kLanguageTableDesignText;
const std::string kClean = RemoveCrLfPairs(kStored);

TEST(LanguageTable, StoredTextHasScatteredLineBreaksThatCleaningRemoves) {
  EXPECT_EQ(CodePoints(kStored), 931u);
  EXPECT_EQ(CodePoints(kClean), 821u);
  std::size_t pairs = 0;
  for (std::size_t at = kStored.find("\r\n"); at != std::string::npos;
       at = kStored.find("\r\n", at + 2)) {
    ++pairs;
  }
  EXPECT_EQ(pairs, 55u);
  EXPECT_EQ(kClean.find_first_of("\r\n"), std::string::npos);
  EXPECT_NE(kStored.find("Betrie\r\nbs"), std::string::npos);
  EXPECT_NE(kStored.find("@T\r\nest res"), std::string::npos);
  // Before cleaning the split messages read wrongly.
  EXPECT_NE(LookupMessage(kStored, 1, 0), "Kalmor Funktionstester");
  EXPECT_NE(LookupMessage(kStored, 2, 1), "Testing status");
}

TEST(LanguageTable, EveryMessageInBothLanguages) {
  const char* expected[25][2] = {
      {"Kalmor Funktionstester", "Kalmor function tester"},
      {"Prüfstatus", "Testing status"},
      {"Bereit", "Ready"},
      {"Zeit:", "Time:"},
      {"Betriebssystem", "Operating system"},
      {"Kalmor-Version", "Kalmor version"},
      {"Kalmor-Aufrufmodus:", "Kalmor calling mode:"},
      {"Aufgabe:", "Task:"},
      {"Testergebnis", "Test result"},
      {"Starten", "Start"},
      {"Schliessen", "Close"},
      {"Prüfung läuft...", "Solving runs..."},
      {"Kalmor läuft...", "Kalmor runs..."},
      {"Testvariante:", "Test variant:"},
      {"Test erfolgreich abgeschlossen!", "Test finished successfully!"},
      {"Test fehlgeschlagen!", "Test failed!"},
      {"Lösungs-Datei erstellt:", "Solution file created:"},
      {"Lösungs-Datei wurde nicht erstellt:", "Solving file was not created:"},
      {"Kalmor-Aufrufmodus:", "Kalmor calling mode:"},
      {"Sprache:", "Language:"},
      {"Bitte betätigen Sie den \"Starten\"-Button", "Please press the \"Start\" button"},
      {"Test wurde abgebrochen", "Test has been aborted"},
      {"Testeinstellungen", "Test settings"},
      {"Modus:", "Mode:"},
      {"Fehlernummer:", "Error number:"},
  };
  for (int n = 1; n <= 25; ++n) {
    for (int language = 0; language <= 1; ++language) {
      EXPECT_EQ(LookupMessage(kClean, n, language), expected[n - 1][language])
          << "message " << n << " language " << language;
    }
    EXPECT_EQ(LookupMessage(kClean, n, -1), std::nullopt);
    EXPECT_EQ(LookupMessage(kClean, n, 2), std::nullopt);
  }
  EXPECT_EQ(GetField(kClean, 26, "#"), "");
  EXPECT_EQ(LookupMessage(kClean, 26, 0), std::nullopt);
}

TEST(LanguageTable, LookupWithoutEnglishPartOrWithExtraParts) {
  EXPECT_EQ(LookupMessage("Nur Deutsch#", 1, 0), "Nur Deutsch");
  EXPECT_EQ(LookupMessage("Nur Deutsch#", 1, 1), std::nullopt);
  EXPECT_EQ(LookupMessage("a@b@c#", 1, 1), "b");
  EXPECT_EQ(LookupMessage("@English#", 1, 0), "");
  EXPECT_EQ(LookupMessage("##", 1, 0), std::nullopt);
}

TEST(RemoveCrLfPairs, RemovesOnlyPairs) {
  EXPECT_EQ(RemoveCrLfPairs("a\r\nb\r\n"), "ab");
  EXPECT_EQ(RemoveCrLfPairs("a\rb\nc"), "a\rb\nc");
  EXPECT_EQ(RemoveCrLfPairs("\r\r\n\n"), "\r\n");  // one pass, as a search-and-replace does
  EXPECT_EQ(RemoveCrLfPairs(""), "");
}

struct FieldCase {
  const char* source;
  int index;
  const char* delimiter;
  const char* expected;
};

TEST(GetField, BoundaryCases) {
  const FieldCase cases[] = {
      {"a#b#c", 1, "#", "a"},     {"a#b#c", 2, "#", "b"},     {"a#b#c", 3, "#", "c"},
      {"a#b#c", 4, "#", ""},      {"abc", 1, "#", "abc"},     {"abc", 2, "#", ""},
      {"a##c", 2, "#", ""},       {"a##c", 3, "#", "c"},      {"a#b#", 3, "#", ""},
      {"a#b#", 4, "#", ""},       {"", 1, "#", ""},           {"", 5, "#", ""},
      {"#", 1, "#", ""},          {"#x", 2, "#", "x"},        {"a#b", 0, "#", ""},
      {"a#b", -3, "#", ""},       {"a::b::c", 2, "::", "b"},  {"a::b::c", 3, "::", "c"},
      {"äö#ü", 2, "#", "ü"},
  };
  for (const FieldCase& c : cases) {
    EXPECT_EQ(GetField(c.source, static_cast<std::int16_t>(c.index), c.delimiter), c.expected)
        << '"' << c.source << "\" index " << c.index;
  }
}

TEST(GetField, TwentyOneStatusWordsEleventhIsRead) {
  std::string words;
  for (int i = 1; i <= 21; ++i) words += (i == 11 ? std::string("Prüfung beendet") : "w" + std::to_string(i)) + (i < 21 ? "#" : "");
  EXPECT_EQ(GetField(words, 11, "#"), "Prüfung beendet");
  EXPECT_EQ(GetField(words, 21, "#"), "w21");
  EXPECT_EQ(GetField(words, 22, "#"), "");
}

}  // namespace
}  // namespace kalmor
