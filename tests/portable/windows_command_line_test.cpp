#include <gtest/gtest.h>

#include "platform/windows_command_line.h"

namespace kalmor {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandTail, QuotesBlanksAndBackslashes) {
  struct Case {
    const char* tail;
    Args args;
  };
  const Case cases[] = {
      {"", {}},
      {"   \t ", {}},
      {" \"C:\\My Tools\\TMP_INPUT.INP\"", {"C:\\My Tools\\TMP_INPUT.INP"}},
      {" C:\\My Tools\\TMP_INPUT.INP", {"C:\\My", "Tools\\TMP_INPUT.INP"}},
      {" /home/a b/TMP_INPUT.INP", {"/home/a", "b/TMP_INPUT.INP"}},
      {" a\\\\b", {"a\\\\b"}},                    // backslashes without a quote are literal
      {" \"a\\\\\" b", {"a\\", "b"}},              // 2n backslashes + quote: n, quote toggles
      {" a\\\"b", {"a\"b"}},                      // 2n+1: n and a literal quote
      {" \"a\"\"b\"", {"a\"b"}},                   // "" inside quotes is a quote
      {" a\"b c\"d e", {"ab cd", "e"}},
      {" \"\"", {""}},
      {" \"unterminated arg", {"unterminated arg"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandTail(c.tail), c.args) << c.tail;
}

TEST(SplitProgramName, QuotedOrUpToTheFirstBlank) {
  EXPECT_EQ(SplitProgramName("C:\\k\\kmwin32.exe \"x\"").program, "C:\\k\\kmwin32.exe");
  EXPECT_EQ(SplitProgramName("C:\\k\\kmwin32.exe \"x\"").tail, " \"x\"");
  EXPECT_EQ(SplitProgramName("\"C:\\a b\\k.exe\" x").program, "C:\\a b\\k.exe");
  EXPECT_EQ(SplitProgramName("\"C:\\a b\\k.exe\" x").tail, " x");
  EXPECT_EQ(SplitProgramName("prog").tail, "");
}

}  // namespace
}  // namespace kalmor
