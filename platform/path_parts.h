// A path split at its last separator into its folder and its name.
#pragma once

#include <string>

namespace kalmor {

template <typename Char>
struct PathParts {
  std::basic_string<Char> folder;  // empty without a separator; the root keeps its own
  std::basic_string<Char> name;
};

template <typename Char>
PathParts<Char> SplitPath(const std::basic_string<Char>& path, const Char* separators) {
  const auto cut = path.find_last_of(separators);
  if (cut == std::basic_string<Char>::npos) return {{}, path};
  return {path.substr(0, cut == 0 ? 1 : cut), path.substr(cut + 1)};
}

}  // namespace kalmor
