// Owns a file descriptor and closes it once.
#pragma once

#include <unistd.h>

#include "platform/unique_resource.h"

namespace kalmor {

struct FdTraits {
  using Value = int;
  static int none() { return -1; }
  static bool owns(int fd) { return fd >= 0; }
  static bool release(int fd) { return ::close(fd) == 0; }
};
using UniqueFd = UniqueResource<FdTraits>;

}  // namespace kalmor
