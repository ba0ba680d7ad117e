// The texts beyond the window's language table: one row per text, German and
// English side by side, found by its key rather than by its place.
#pragma once

#include <cstddef>

namespace kalmor {

template <typename Key>
struct TextRow {
  Key key;
  const char* german;
  const char* english;
};

// language 0 German, anything else English; a key without a row gives "".
template <typename Key, std::size_t N>
const char* LookUpText(const TextRow<Key> (&rows)[N], Key key, int language) {
  for (const TextRow<Key>& row : rows) {
    if (row.key == key) return language == 0 ? row.german : row.english;
  }
  return "";
}

}  // namespace kalmor
