// The folder of the running executable, as UTF-8, without a trailing
// separator.
#pragma once

#include <string>

#include "platform/result.h"

namespace kalmor {

Result<std::string> Win32ExecutableFolder();

}  // namespace kalmor
