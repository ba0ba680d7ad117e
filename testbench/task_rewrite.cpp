#include "testbench/task_rewrite.h"

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
  for (std::size_t i = 0; i < size; ++i) {
    const char c = data[i];
    if (afterCr_) {
      afterCr_ = false;
      if (c == '\n') continue;  // the LF of a CR LF pair
    }
    if (c == '\r') {
      flushHeld(out);
      out += "\r\n";
      lineOpen_ = false;
      afterCr_ = true;
      continue;
    }
    lineOpen_ = true;
    held_ += c;
    if (held_.size() >= kMarkerLength &&
        held_.compare(held_.size() - kMarkerLength, kMarkerLength, kProtocolMarker) == 0) {
      out.append(held_, 0, held_.size() - kMarkerLength);
      out += directive_;
      held_.clear();
    } else if (held_.size() >= kMarkerLength) {
      // Only the last kMarkerLength - 1 bytes can still start a marker.
      const std::size_t keep = kMarkerLength - 1;
      out.append(held_, 0, held_.size() - keep);
      held_.erase(0, held_.size() - keep);
    }
  }
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
