// Turns a task file into the solver's input, byte for byte: lines end at
// CR LF or a lone CR (a lone LF stays inside its line), every "<Protokoll>"
// becomes the protocol directive, and every line is written with CR LF.
// Works in chunks, so neither file size nor line length costs memory.
#pragma once

#include <string>

namespace kalmor {

inline constexpr const char* kProtocolMarker = "<Protokoll>";

class TaskRewriter {
 public:
  // directive: what replaces each marker, e.g. "Protokoll C:\Tools\KM.OUT".
  explicit TaskRewriter(std::string directive);

  // Appends the rewritten form of data to out.
  void feed(const char* data, std::size_t size, std::string& out);
  // Ends the last line when the file did not.
  void finish(std::string& out);

 private:
  void flushHeld(std::string& out);

  std::string directive_;
  std::string held_;  // a tail that may still become a marker
  bool lineOpen_ = false;
  bool afterCr_ = false;
};

// The whole rewrite of a small text, for callers that have it in memory.
std::string RewriteTask(const std::string& task, const std::string& directive);

}  // namespace kalmor
