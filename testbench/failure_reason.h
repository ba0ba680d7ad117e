// Why a solver run that ended by itself left no KM.OUT, in one sentence.
#pragma once

#include <string>

#include "platform/platform.h"

namespace kalmor {

// The system's name for the exit (its text), where there is one, follows the number.
std::string SolverFailureReason(const ProcessExit& exit, int language);

}  // namespace kalmor
