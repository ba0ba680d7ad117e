#include "tools/standin_solver/solver_script.h"

#include <charconv>

namespace kalmor::standin {
namespace {

constexpr std::string_view kDirectivePrefix = "%standin";
constexpr std::string_view kProtocolKeyword = "Protokoll";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && !IsBlank(text[pos])) ++pos;
    if (pos > start) words.push_back(text.substr(start, pos - start));
  }
  return words;
}

std::optional<int> ParseInt(std::string_view word) {
  int value = 0;
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

// The path after "Protokoll" and at least one blank; nullopt when the line is
// not a protocol line at all.
std::optional<std::string_view> ProtocolArgument(std::string_view line) {
  const std::string_view body = TrimBlanks(line);
  if (!body.starts_with(kProtocolKeyword)) return std::nullopt;
  const std::string_view rest = body.substr(kProtocolKeyword.size());
  if (!rest.empty() && !IsBlank(rest.front())) return std::nullopt;  // "Protokollieren"
  return TrimBlanks(rest);
}

class DirectiveReader {
 public:
  DirectiveReader(SolverScript& script, int lineNumber) : script_(script), lineNumber_(lineNumber) {}

  void read(std::string_view line) {
    const std::string_view rest = line.substr(kDirectivePrefix.size());
    if (!rest.empty() && !IsBlank(rest.front())) return fail("unknown directive");
    const std::vector<std::string_view> words = SplitWords(rest);
    if (words.empty()) return fail("directive without a name");
    const std::string_view name = words[0];
    const std::vector<std::string_view> args(words.begin() + 1, words.end());
    if (name == "sleep") {
      if (auto ms = milliseconds(args)) script_.sleep = *ms;
    } else if (name == "child" || name == "latechild" || name == "daemon" ||
               name == "adoptedchild") {
      if (auto ms = milliseconds(args)) script_.childSleep = *ms;
      script_.childWritesOutput = name == "latechild" || name == "daemon";
      script_.childDetaches = name == "daemon";
      script_.childAdopted = name == "adoptedchild";
    } else if (name == "exit") {
      if (auto code = number(args)) script_.exitCode = *code;
    } else if (name == "nowrite") {
      if (noArguments(args)) script_.output = OutputMode::Suppressed;
    } else if (name == "empty") {
      if (noArguments(args)) script_.output = OutputMode::Empty;
    } else if (name == "crash") {
      if (noArguments(args)) script_.crash = true;
    } else {
      fail("unknown directive '" + std::string(name) + "'");
    }
  }

 private:
  std::optional<int> number(const std::vector<std::string_view>& args) {
    if (args.size() != 1) {
      fail("expects one number");
      return std::nullopt;
    }
    const std::optional<int> value = ParseInt(args[0]);
    if (!value) {
      // Built by append: GCC 12 warns falsely (-Wrestrict) on "'" + std::string at -O3.
      std::string message = "'";
      message.append(args[0]).append("' is not a number");
      fail(message);
    }
    return value;
  }

  std::optional<std::chrono::milliseconds> milliseconds(const std::vector<std::string_view>& args) {
    const std::optional<int> value = number(args);
    if (!value) return std::nullopt;
    if (*value < 0) {
      fail("a time cannot be negative");
      return std::nullopt;
    }
    return std::chrono::milliseconds(*value);
  }

  bool noArguments(const std::vector<std::string_view>& args) {
    if (!args.empty()) fail("takes no argument");
    return args.empty();
  }

  void fail(const std::string& what) {
    script_.errors.push_back("line " + std::to_string(lineNumber_) + ": " + what);
  }

  SolverScript& script_;
  int lineNumber_;
};

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c != '\r' && c != '\n') {
      ++pos;
      continue;
    }
    lines.push_back(text.substr(start, pos - start));
    pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
    start = pos;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

SolverScript ParseSolverScript(std::string_view text) {
  SolverScript script;
  int lineNumber = 0;
  for (const std::string_view line : SplitLines(text)) {
    ++lineNumber;
    if (line.starts_with(kDirectivePrefix)) {
      DirectiveReader(script, lineNumber).read(line);
    } else if (const auto path = ProtocolArgument(line)) {
      if (path->empty()) {
        script.errors.push_back("line " + std::to_string(lineNumber) + ": protocol line names no file");
      } else {
        script.protocolPath = std::string(*path);
      }
    } else if (!TrimBlanks(line).empty()) {
      if (script.taskLines == 0) script.firstTaskLine = std::string(TrimBlanks(line));
      ++script.taskLines;
    }
  }
  return script;
}

}  // namespace kalmor::standin
