#include <gtest/gtest.h>

#include <string>

#include "testbench/task_rewrite.h"

namespace kalmor {
namespace {

const std::string kDirective = "Protokoll C:\\Tools\\Checker\\KM.OUT";

TEST(TaskRewrite, LineEndsAndMarkers) {
  struct Case {
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"", ""},
      {"<Protokoll>\r\n", kDirective + "\r\n"},
      {"a<Protokoll>b<Protokoll>c", "a" + kDirective + "b" + kDirective + "c\r\n"},
      {"<protokoll>\r\n<PROTOKOLL>", "<protokoll>\r\n<PROTOKOLL>\r\n"},
      {"last line", "last line\r\n"},
      {"a\rb\r", "a\r\nb\r\n"},                  // a lone CR ends a line
      {"a\nb\r\n", "a\nb\r\n"},                  // a lone LF stays inside its line
      {"\r\n\r\n", "\r\n\r\n"},                  // empty lines stay
      {"\n", "\n\r\n"},
      {"a\r\r\nb", "a\r\n\r\nb\r\n"},
      {"<Protokoll<Protokoll>>", "<Protokoll" + kDirective + ">\r\n"},
      {"<Proto\r\nkoll>", "<Proto\r\nkoll>\r\n"},  // a marker cannot span lines
      {std::string("a\0b\r\n", 5), std::string("a\0b\r\n", 5)},
      {"\xC4\xD6\xDC <Protokoll>", "\xC4\xD6\xDC " + kDirective + "\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(RewriteTask(c.in, kDirective), c.out) << c.in;
}

TEST(TaskRewrite, ChunkBoundariesDoNotMatter) {
  const std::string in = "x<Protokoll>\r\nmid\r\n\r<Protokoll><Protokoll>\nend\r";
  const std::string expected = RewriteTask(in, kDirective);
  for (std::size_t chunk = 1; chunk <= in.size(); ++chunk) {
    TaskRewriter rewriter(kDirective);
    std::string out;
    for (std::size_t at = 0; at < in.size(); at += chunk) {
      rewriter.feed(in.data() + at, std::min(chunk, in.size() - at), out);
    }
    rewriter.finish(out);
    EXPECT_EQ(out, expected) << "chunk " << chunk;
  }
}

}  // namespace
}  // namespace kalmor
