// Copies the chosen task into TMP_INPUT.INP, its markers rewritten, while the
// window stays live.
#include <algorithm>
#include <memory>
#include <string>

#include "testbench/file_names.h"
#include "testbench/frm_kalmor_checker.h"
#include "testbench/task_rewrite.h"
#include "testbench/temporary_input.h"

namespace kalmor {
namespace {

// A marker grows into a whole path, so a chunk is rewritten in pieces: what
// one piece makes stays small enough to check against the limit in time.
constexpr std::size_t kPiece = std::size_t{16} << 10;

}  // namespace

frmKalmorChecker::InputCopy frmKalmorChecker::writeTemporaryInput(std::int32_t& error,
                                                                  std::string& failedFile) {
  failedFile = kTemporaryInputFile;
  const Result<std::unique_ptr<OutputFile>> opened =
      platform_.openForWriting(inAppFolder(kTemporaryInputFile));
  if (!opened) {
    error = opened.error();
    return InputCopy::Failed;
  }
  OutputFile& output = **opened;

  InputCopy result = InputCopy::Failed;
  failedFile = TaskFile;
  Result<std::unique_ptr<InputFile>> input = platform_.openForReading(inAppFolder(TaskFile));
  if (!input) {
    error = input.error();
  } else {
    TaskRewriter rewriter(platform_.toAnsi("Protokoll " + inAppFolder(kSolverOutputFile)));
    const auto buffer = std::make_unique_for_overwrite<char[]>(kTaskChunk);
    std::string rewritten;
    std::size_t written = 0;
    // Writes what is rewritten so far; false with failedFile and error set.
    const auto flush = [&] {
      failedFile = kTemporaryInputFile;
      if (!rewritten.empty()) {
        const Result<Done> put = output.write(rewritten.data(), rewritten.size());
        if (!put) {
          error = put.error();
          return false;
        }
      }
      written += rewritten.size();
      rewritten.clear();
      return true;
    };
    // Lets the window handle its events; false when it asked the run to stop.
    const auto live = [&] {
      toolkit_.doEvents();
      if (AbortRequested) result = InputCopy::Stopped;
      return !AbortRequested;
    };
    for (bool going = true; going;) {
      failedFile = TaskFile;
      const Result<std::size_t> got = (*input)->read(buffer.get(), kTaskChunk);
      if (!got) {
        error = got.error();
        break;
      }
      const std::size_t count = *got;
      if (count == 0) {
        rewriter.finish(rewritten);
        if (written + rewritten.size() > kTemporaryInputLimit) {
          result = InputCopy::TooLarge;
        } else if (flush()) {
          input->reset();
          const Result<Done> closed = output.close();
          error = closed.error();
          return closed ? InputCopy::Written : InputCopy::Failed;
        }
        break;
      }
      for (std::size_t at = 0; going && at < count; at += kPiece) {
        rewriter.feed(buffer.get() + at, std::min(kPiece, count - at), rewritten);
        if (written + rewritten.size() > kTemporaryInputLimit) {
          result = InputCopy::TooLarge;
          going = false;
        } else if (rewritten.size() >= kTaskChunk) {
          // Markers can make far more than was read: it goes out as it grows.
          going = flush() && (at + kPiece >= count || live());
        }
      }
      // Only a full chunk can have more behind it; a small task runs without a pump.
      going = going && (count < kTaskChunk || live());
    }
  }
  static_cast<void>(output.close());
  return result;
}

}  // namespace kalmor
