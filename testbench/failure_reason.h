// Why a solver run that ended by itself left no KM.OUT, in one sentence.
#pragma once

#include <string>

#include "platform/platform.h"

namespace kalmor {

// systemText: the system's name for the exit (Platform::processExitText), may be empty.
std::string SolverFailureReason(const ProcessExit& exit, const std::string& systemText,
                                int language);

}  // namespace kalmor
