#include "platform/posix/shell_assignments.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>

namespace kalmor {
namespace {

TEST(UnquoteShellValue, QuotesAndEscapes) {
  const std::pair<const char*, const char*> values[] = {
      {"\"Debian GNU/Linux 12 (bookworm)\"", "Debian GNU/Linux 12 (bookworm)"},
      {"'Fedora Linux 40 (Workstation Edition)'", "Fedora Linux 40 (Workstation Edition)"},
      {"Alpine", "Alpine"},
      {R"("Say \"hi\" for \$5 \`now\` \\ \n")", R"(Say "hi" for $5 `now` \ \n)"},
      {R"('single \"keeps\" $all')", R"(single \"keeps\" $all)"},
      {R"(Arch\ Linux)", "Arch Linux"},
      {R"("a"'b'c)", "abc"},
      {"\"Quoted\" # comment", "Quoted"},
      {"plain trailing", "plain"},
      {"\"CRLF\"\r", "CRLF"},
      {"\"unterminated", "unterminated"},
      {"", ""},
  };
  for (const auto& [raw, unquoted] : values) EXPECT_EQ(UnquoteShellValue(raw), unquoted) << raw;
}

TEST(FindShellAssignment, FindsTheLastAssignmentOfExactlyThatKey) {
  std::istringstream lines(
      "# LANG=fr_FR.UTF-8\n"
      "\n"
      "LANGUAGE=en_GB:en\n"
      "LANG=en_US.UTF-8\n"
      "  export LANG=\"de_DE.UTF-8\"\n"
      "XLANG=it_IT\n"
      "exportLANG=es_ES\n");
  EXPECT_EQ(FindShellAssignment(lines, "LANG"), "de_DE.UTF-8");
  std::istringstream without("LANGUAGE=de\nLANG =de_DE\n");
  EXPECT_EQ(FindShellAssignment(without, "LANG"), std::nullopt);
  std::istringstream empty("LANG=\n");
  EXPECT_EQ(FindShellAssignment(empty, "LANG"), "");
}

}  // namespace
}  // namespace kalmor
