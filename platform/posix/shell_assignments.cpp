#include "platform/posix/shell_assignments.h"

#include <fstream>

namespace kalmor {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

// Inside double quotes a backslash escapes only these; elsewhere it stays.
bool EscapableInDoubleQuotes(char c) { return c == '$' || c == '`' || c == '"' || c == '\\'; }

}  // namespace

std::string UnquoteShellValue(std::string_view value) {
  char quote = '\0';  // the quote character of an open quoted part
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    const bool hasNext = i + 1 < value.size();
    if (quote != '\0') {
      if (c == quote) {
        quote = '\0';
      } else if (quote == '"' && c == '\\' && hasNext && EscapableInDoubleQuotes(value[i + 1])) {
        text += value[++i];
      } else {
        text += c;
      }
    } else if (IsBlank(c)) {
      break;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '\\' && hasNext) {
      text += value[++i];
    } else {
      text += c;
    }
  }
  return text;
}

std::optional<std::string> FindShellAssignment(std::istream& lines, std::string_view key) {
  std::optional<std::string> value;
  std::string line;
  while (std::getline(lines, line)) {
    std::string_view rest = TrimLeft(line);
    if (rest.starts_with("export") && rest.size() > 6 && IsBlank(rest[6])) rest = TrimLeft(rest.substr(6));
    if (rest.size() > key.size() && rest.starts_with(key) && rest[key.size()] == '=') {
      value = UnquoteShellValue(rest.substr(key.size() + 1));
    }
  }
  return value;
}

std::optional<std::string> ReadShellAssignment(const std::filesystem::path& file, std::string_view key) {
  std::ifstream lines(file);
  if (!lines) return std::nullopt;
  return FindShellAssignment(lines, key);
}

}  // namespace kalmor
