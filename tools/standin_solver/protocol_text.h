// The stand-in's solution protocol: what it writes into the file named by the
// protocol line. The checker shows the first line, so that line says what
// solved the task.
#pragma once

#include <string>
#include <string_view>

#include "tools/standin_solver/solver_script.h"

namespace kalmor::standin {

// Every line ends with CR LF. Empty for OutputMode::Empty.
std::string ProtocolText(const SolverScript& script, std::string_view inputPath);

}  // namespace kalmor::standin
