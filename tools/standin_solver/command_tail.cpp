#include "tools/standin_solver/command_tail.h"

namespace kalmor::standin {
namespace {

std::string JoinFrom(const std::vector<std::string>& args, std::size_t first) {
  std::string joined;
  for (std::size_t i = first; i < args.size(); ++i) {
    if (i > first) joined += ' ';
    joined += args[i];
  }
  return joined;
}

std::string Unquoted(std::string text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

}  // namespace

std::string InputPathFromArguments(const std::vector<std::string>& args,
                                   const std::function<bool(const std::string&)>& fileExists) {
  for (std::size_t first = 0; first < args.size(); ++first) {
    std::string candidate = Unquoted(JoinFrom(args, first));
    if (fileExists(candidate)) return candidate;
  }
  return Unquoted(JoinFrom(args, 0));
}

std::string CallsLogLine(const std::vector<std::string>& argv) {
  std::string line = std::to_string(argv.size());
  for (const std::string& arg : argv) line += " [" + arg + "]";
  return line;
}

std::string_view FolderPrefix(std::string_view path) {
  const std::size_t last = path.find_last_of("/\\");
  return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

}  // namespace kalmor::standin
