#include "tools/standin_solver/protocol_text.h"

namespace kalmor::standin {

std::string ProtocolText(const SolverScript& script, std::string_view inputPath) {
  if (script.output == OutputMode::Empty) return {};
  std::string text;
  const auto line = [&text](std::string_view content) {
    text += content;
    text += "\r\n";
  };
  line("Kalmor stand-in: " + std::to_string(script.taskLines) + " lines solved");
  if (!script.firstTaskLine.empty()) line("Task: " + script.firstTaskLine);
  line("Input: " + std::string(inputPath));
  line("No solution searched: this program only stands in for the solver.");
  return text;
}

}  // namespace kalmor::standin
