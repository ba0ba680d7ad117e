#include "platform/platform.h"

#include <cstdlib>

namespace kalmor {

void Platform::endSolverAndExit(int exitCode) { std::_Exit(exitCode); }

}  // namespace kalmor
