#pragma once

#include "platform/platform.h"

namespace kalmor {

// Creates the checker window on the front-end of this system, runs start-up,
// shows it and serves its events until the program ends. Returns the exit code.
int RunChecker(Platform& platform, int argc, char** argv);

}  // namespace kalmor
