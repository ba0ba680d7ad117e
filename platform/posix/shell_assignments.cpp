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
  enum class Quote { None, Single, Double };
  Quote quote = Quote::None;
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    const bool hasNext = i + 1 < value.size();
    switch (quote) {
      case Quote::None:
        if (IsBlank(c)) return text;
        if (c == '\'') {
          quote = Quote::Single;
        } else if (c == '"') {
          quote = Quote::Double;
        } else if (c == '\\' && hasNext) {
          text += value[++i];
        } else {
          text += c;
        }
        break;
      case Quote::Single:
        if (c == '\'') {
          quote = Quote::None;
        } else {
          text += c;
        }
        break;
      case Quote::Double:
        if (c == '"') {
          quote = Quote::None;
        } else if (c == '\\' && hasNext && EscapableInDoubleQuotes(value[i + 1])) {
          text += value[++i];
        } else {
          text += c;
        }
        break;
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
