// The task rewrite fed in random chunks gives what the whole-buffer rewrite
// gives, and both agree with a plain line-by-line rewrite written here.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "testbench/task_rewrite.h"

namespace {

const std::string kMarker = "<Protokoll>";

// Lines end at CR LF or a lone CR; each is written with CR LF, its markers replaced.
std::string LineByLine(const std::string& task, const std::string& directive) {
  std::string out;
  for (std::size_t from = 0; from < task.size();) {
    const std::size_t end = std::min(task.find('\r', from), task.size());
    std::string line = task.substr(from, end - from);
    for (std::size_t at = 0; (at = line.find(kMarker, at)) != std::string::npos; at += directive.size()) {
      line.replace(at, kMarker.size(), directive);
    }
    out += line + "\r\n";
    from = end + (task.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // The first byte: how many chunk sizes follow, and which directive to use.
  const std::size_t sizes = data[0] % 16;
  if (size < 1 + sizes) return 0;
  const std::string task(reinterpret_cast<const char*>(data) + 1 + sizes, size - 1 - sizes);
  // A directive that holds the marker must not be replaced again.
  const std::string directive =
      (data[0] & 0x10) != 0 ? "Protokoll /x/<Protokoll>\r/KM.OUT" : "Protokoll C:\\Tools\\KM.OUT";

  const std::string whole = kalmor::RewriteTask(task, directive);
  kalmor::TaskRewriter rewriter(directive);
  std::string chunked;
  for (std::size_t at = 0, k = 0, take = 0; at < task.size(); at += take, ++k) {
    take = std::min<std::size_t>(sizes == 0 ? 1 : 1 + data[1 + k % sizes] % 64, task.size() - at);
    rewriter.feed(task.data() + at, take, chunked);
  }
  rewriter.finish(chunked);

  if (chunked != whole) std::abort();
  if (whole != LineByLine(task, directive)) std::abort();
  return 0;
}
