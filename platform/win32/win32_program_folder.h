// The folder of the running executable, as UTF-8, without a trailing
// separator; empty when the system cannot name it.
#pragma once

#include <string>

namespace kalmor {

std::string Win32ExecutableFolder();

}  // namespace kalmor
