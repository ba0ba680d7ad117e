#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_platform.h"

namespace kalmor {
namespace {

// The tests run with a Western ANSI code page (1252), as Wine sets up for
// English and German.
TEST(Win32Text, WesternTextTakesOneAnsiBytePerCharacterBothWays) {
  Win32Platform platform;
  const std::string utf8 = "Pr\xC3\xBC" "fung l\xC3\xA4" "uft...";
  const std::string ansi = platform.toAnsi(utf8);
  EXPECT_EQ(ansi, "Pr\xFC" "fung l\xE4" "uft...");
  EXPECT_EQ(platform.fromAnsi(ansi), utf8);
  EXPECT_EQ(platform.toAnsi(""), "");
  EXPECT_EQ(platform.fromAnsi(""), "");
}

TEST(Win32Text, CharactersBeyondTheAnsiPageBecomeItsDefaultCharacter) {
  Win32Platform platform;
  // Omega is not in code page 1252 (no look-alike "O" either); the euro sign is.
  EXPECT_EQ(platform.toAnsi("\xCE\xA9 und \xE2\x82\xAC"), "? und \x80");
}

}  // namespace
}  // namespace kalmor
