// The text handling: the language table and its field lookup, the task
// rewrite, the output's first line, Windows command-line splitting and the
// elapsed-time format.
#include <tuple>

#include <gtest/gtest.h>


#include "i18n/get_field.h"
#include "i18n/message_lookup.h"
#include "platform/program_header.h"
#include "platform/windows_command_line.h"
#include "platform/wine_host_report.h"
#include "testbench/first_line.h"
#include "testbench/task_rewrite.h"
#include "tests/support/memory_input.h"

namespace kalmor {
namespace {

TEST(GetField, BoundaryCases) {
  const std::tuple<const char*, std::int16_t, const char*, const char*> cases[] = {
      {"a#b#c", 1, "#", "a"}, {"a#b#c", 2, "#", "b"}, {"a#b#c", 3, "#", "c"}, {"a#b#c", 4, "#", ""},
      {"abc", 1, "#", "abc"}, {"a##c", 2, "#", ""},   {"a#b#", 3, "#", ""},   {"a#b", 0, "#", ""},
      {"a::b::c", 2, "::", "b"}, {"a::b::c", 3, "::", "c"}, {"äö#ü", 2, "#", "ü"},
  };
  for (const auto& [source, index, delimiter, expected] : cases) {
    EXPECT_EQ(GetField(source, index, delimiter), expected) << '"' << source << "\" index " << index;
  }
}

// A PE header: "MZ", at 0x3C the offset of "PE\0\0", then the machine.
std::string PeFile(std::uint32_t offset, const char* machine, std::size_t size = 0x100) {
  std::string bytes = "MZ" + std::string(size - 2, '\0');
  for (int i = 0; i < 4; ++i) bytes[0x3C + i] = static_cast<char>(offset >> (8 * i));
  if (offset <= size - 6) bytes.replace(offset, 6, std::string("PE\0\0", 4) + machine);
  return bytes;
}

TEST(ProgramHeader, ToldByTheBytes) {
  const std::pair<std::string, ProgramKind> cases[] = {
      {"\x7f" "ELF\x02\x01", ProgramKind::Linux},
      {"#!/bin/sh\n", ProgramKind::Linux},
      {PeFile(0x80, "\x4c\x01"), ProgramKind::Windows32},
      {PeFile(0x80, "\x64\x86"), ProgramKind::Windows64},
      {PeFile(0x80, "\x64\xaa"), ProgramKind::Other},           // ARM64
      {PeFile(0xFC, "\x64\x86"), ProgramKind::Other},           // header cut off
      {PeFile(0xFFFFFFFF, "\x64\x86"), ProgramKind::Other},     // offset past the end
      {"MZ" + std::string(0x3E, '\0'), ProgramKind::Other},     // DOS program, no PE
      {"MZ", ProgramKind::Other},
      {"", ProgramKind::Other},
      {"ELF", ProgramKind::Other},
  };
  for (const auto& [bytes, kind] : cases) {
    EXPECT_EQ(ReadProgramKind(bytes), kind) << ToHex(bytes.substr(0, 8));
  }
}

TEST(WineHostReport, ExitCodesAndTextsCrossWhole) {
  const std::string odd = std::string("a \"b\"  \\\0\xff", 11);
  EXPECT_EQ(FromHex(ToHex(odd)), odd);
  EXPECT_EQ(FromHex("4A"), std::nullopt);
  EXPECT_EQ(FromHex("4"), std::nullopt);
  using Exit = std::tuple<std::uint32_t, std::string, bool>;
  const std::pair<std::string, std::optional<Exit>> reports[] = {
      {WineHostReport(0xC0000005u, "STATUS_ACCESS_VIOLATION: x"),
       Exit{0xC0000005u, "STATUS_ACCESS_VIOLATION: x", true}},
      {"wine: noise\nexit 7 \r\n", Exit{7u, "", true}},
      {WineHostStartFailure(2, "not found"), Exit{2u, "not found", false}},
      {"exit 7", std::nullopt},             // cut off
      {"exit 4294967296 \n", std::nullopt},  // wider than an exit code
      {"exit x \n", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [output, expected] : reports) {
    const auto report = ReadWineHostReport(output);
    ASSERT_EQ(report.has_value(), expected.has_value()) << output;
    if (report) {
      EXPECT_EQ(Exit(report->code, report->text, report->started), *expected) << output;
    }
  }
}

TEST(LanguageTable, CrLfPairsGoInOnePassAndMissingOrExtraPartsAreNoText) {
  EXPECT_EQ(RemoveCrLfPairs("a\rb\nc\r\r\n\n"), "a\rb\nc\r\n");
  EXPECT_EQ(LookupMessage("Nur Deutsch#", 1, 1), std::nullopt);
  EXPECT_EQ(LookupMessage("a@b@c#", 1, 1), "b");
  EXPECT_EQ(LookupMessage("@English#", 1, 0), "");
  EXPECT_EQ(LookupMessage("##", 1, 0), std::nullopt);
  EXPECT_EQ(LookupMessage("a@b#", 1, -1), std::nullopt);
  EXPECT_EQ(LookupMessage("a#b#", 3, 0), std::nullopt);
}

const std::string kDirective = "Protokoll C:\\Tools\\Checker\\KM.OUT";

TEST(TaskRewrite, LineEndsAndMarkers) {
  const std::pair<std::string, std::string> cases[] = {
      {"<Protokoll>\r\n", kDirective + "\r\n"},
      {"a<Protokoll>b<Protokoll>c<Pro", "a" + kDirective + "b" + kDirective + "c<Pro\r\n"},
      {"<protokoll>\r\n<PROTOKOLL>", "<protokoll>\r\n<PROTOKOLL>\r\n"},
      {"a\rb\r", "a\r\nb\r\n"},  // a lone CR ends a line
      {"a\nb\r\n", "a\nb\r\n"},  // a lone LF stays inside its line
      {"a\r\r\nb", "a\r\n\r\nb\r\n"},
      {"<Protokoll<Protokoll>>", "<Protokoll" + kDirective + ">\r\n"},
      {"<Proto\r\nkoll>", "<Proto\r\nkoll>\r\n"},  // a marker cannot span lines
      {std::string("a\0b\r\n", 5), std::string("a\0b\r\n", 5)},
  };
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(RewriteTask(in, kDirective), out) << in;
    TaskRewriter byteByByte(kDirective);  // where the chunks of a read end does not matter
    std::string fed;
    for (const char c : in) byteByByte.feed(&c, 1, fed);
    byteByByte.finish(fed);
    EXPECT_EQ(fed, out) << in;
  }
}

TEST(ReadFirstLine, EndsAtACarriageReturnOrTheLimit) {
  const std::pair<std::string, std::string> cases[] = {
      {"first\r\nsecond", "first"}, {"lone\rcr", "lone"}, {"lf\nin\r\n", "lf\nin"},
      {"", ""}, {"no end", "no end"}, {"123456789", "1234567"}, {"1234567\r", "1234567"},
  };
  for (const auto& [text, line] : cases) {
    testing::MemoryInput file(text, 3);
    const Result<std::string> got = ReadFirstLine(file, 7);
    EXPECT_EQ(got ? *got : "(failed)", line) << text;
  }
}

TEST(SplitCommandTail, QuotesBlanksAndBackslashes) {
  using Args = std::vector<std::string>;
  const std::pair<const char*, Args> cases[] = {
      {" \"C:\\My Tools\\TMP_INPUT.INP\"", {"C:\\My Tools\\TMP_INPUT.INP"}},
      {" C:\\My Tools\\TMP_INPUT.INP", {"C:\\My", "Tools\\TMP_INPUT.INP"}},
      {" a\\\\b", {"a\\\\b"}},        // backslashes without a quote are literal
      {" \"a\\\\\" b", {"a\\", "b"}},  // 2n backslashes and a quote: n, and the quote toggles
      {" a\\\"b", {"a\"b"}},          // 2n+1: n and a literal quote
      {" \"a\"\"b\"", {"a\"b"}},       // "" inside quotes is a quote
      {" a\"b c\"d e", {"ab cd", "e"}},
      {" \"\"", {""}},
      {" \"unterminated arg", {"unterminated arg"}},
  };
  for (const auto& [tail, args] : cases) EXPECT_EQ(SplitCommandTail(tail), args) << tail;
  EXPECT_EQ(SplitProgramName("\"C:\\a b\\k.exe\" x").program, "C:\\a b\\k.exe");
  EXPECT_EQ(SplitProgramName("C:\\k\\kmwin32.exe \"x\"").tail, " \"x\"");
}

}  // namespace
}  // namespace kalmor
