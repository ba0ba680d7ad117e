#include "sysinfo/is_64bit_system.h"

#include <exception>

#include "sysinfo/contains_ignoring_case.h"

namespace kalmor {

bool Is64BitSystem(SystemTypeQueries& queries) {
  bool answer = false;
  try {
    if (queries.bindAndQuery()) {
      // Every object overwrites the answer: the last one decides. The property
      // is read once for each test, as a failure in either ends the walk.
      while (queries.nextObject() == SystemTypeQueries::Next::Object) {
        const auto first = queries.systemType();
        if (!first) break;
        const bool is64Bit = ContainsIgnoringCase(*first, "64-bit");
        const auto second = queries.systemType();
        if (!second) break;
        answer = is64Bit || ContainsIgnoringCase(*second, "x64");
      }
    }
  } catch (const std::exception&) {
    // Any failure keeps the answer set last.
  }
  queries.release();
  return answer;
}

}  // namespace kalmor
