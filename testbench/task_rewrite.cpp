#include "testbench/task_rewrite.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace kalmor {
namespace {
const std::size_t kMarkerLength = std::strlen(kProtocolMarker);
}

TaskRewriter::TaskRewriter(std::string directive) : directive_(std::move(directive)) {}

void TaskRewriter::flushHeld(std::string& out) {
  out += held_;
  held_.clear();
}

void TaskRewriter::feed(const char* data, std::size_t size, std::string& out) {
  if (size == 0) return;
  const bool crBefore = afterCr_;
  const char* at = data;
  const char* const end = data + size;
  if (afterCr_) {
    afterCr_ = false;
    if (*at == '\n') ++at;  // the LF of a CR LF pair
  }
  if (!held_.empty()) {
    // held_ is a proper prefix of the marker; the next bytes finish it or not.
    const std::size_t need = kMarkerLength - held_.size();
    const std::size_t have = std::min(need, static_cast<std::size_t>(end - at));
    if (std::memcmp(at, kProtocolMarker + held_.size(), have) != 0) {
      flushHeld(out);  // no '<' after its first byte: no marker starts inside it
    } else if (have < need) {
      held_.append(at, have);
      return;
    } else {
      out += directive_;
      held_.clear();
      at += need;
    }
  }
  // Bytes go out in spans as they came; only a lone CR, a marker and a
  // marker's start at the end of the data break a span. Each search runs
  // once over the data, so long runs of text cost a memchr.
  const auto find = [end](const char* from, char c) {
    const void* found = std::memchr(from, c, static_cast<std::size_t>(end - from));
    return found != nullptr ? static_cast<const char*>(found) : end;
  };
  const char* span = at;
  const char* cr = find(at, '\r');
  const char* lt = find(at, '<');
  while (at < end) {
    if (cr < at) cr = find(at, '\r');
    if (lt < at) lt = find(at, '<');
    const char* next = std::min(cr, lt);
    if (next == end) break;
    if (next == cr) {
      at = cr + 1;
      if (at < end && *at == '\n') {
        ++at;
        continue;
      }
      out.append(span, at);
      out += '\n';
      span = at;
      afterCr_ = at == end;
      continue;
    }
    const std::size_t rest = static_cast<std::size_t>(end - lt);
    if (std::memcmp(lt, kProtocolMarker, std::min(rest, kMarkerLength)) != 0) {
      at = lt + 1;
    } else if (rest < kMarkerLength) {
      out.append(span, lt);
      held_.assign(lt, rest);
      span = at = end;
    } else {
      out.append(span, lt);
      out += directive_;
      span = at = lt + kMarkerLength;
    }
  }
  out.append(span, end);
  const char last = end[-1];
  lineOpen_ = !held_.empty() ||
              (last != '\r' && !(last == '\n' && (size > 1 ? end[-2] == '\r' : crBefore)));
}

void TaskRewriter::finish(std::string& out) {
  flushHeld(out);
  if (lineOpen_) out += "\r\n";
  lineOpen_ = false;
  afterCr_ = false;
}

std::string RewriteTask(const std::string& task, const std::string& directive) {
  TaskRewriter rewriter(directive);
  std::string out;
  rewriter.feed(task.data(), task.size(), out);
  rewriter.finish(out);
  return out;
}

}  // namespace kalmor
