#include "tools/standin_solver/text_files.h"

#include <fstream>
#include <iterator>

namespace kalmor::standin {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return content;
}

bool FileExists(const std::string& path) { return std::ifstream(path, std::ios::binary).is_open(); }

bool WriteWholeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  out.close();
  return !out.fail();
}

bool AppendLine(const std::string& path, const std::string& line) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  out << line << '\n';
  out.close();
  return !out.fail();
}

}  // namespace kalmor::standin
