#include "testbench/failure_reason.h"

#include <cstdio>

#include "i18n/fill_placeholders.h"
#include "i18n/report_texts.h"

namespace kalmor {
namespace {

// Windows status codes read as hexadecimal; small codes as they were returned.
std::string ExitCodeText(std::uint32_t code) {
  if (code < 0x10000) return std::to_string(code);
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(code));
  return hex;
}

}  // namespace

std::string SolverFailureReason(const ProcessExit& exit, int language) {
  const std::string& systemText = exit.text;
  const bool named = !systemText.empty();
  ReportText text = ReportText::EndedWithoutOutput;
  std::string number;
  switch (exit.kind) {
    case ProcessExit::Kind::Code:
      number = ExitCodeText(exit.value);
      text = named ? ReportText::ExitedNamedWithoutOutput
                   : (exit.value == 0 ? ReportText::ExitedZeroWithoutOutput
                                      : ReportText::ExitedWithoutOutput);
      break;
    case ProcessExit::Kind::Signal:
      number = std::to_string(exit.value);
      text = named ? ReportText::SignalNamedWithoutOutput : ReportText::SignalWithoutOutput;
      break;
    case ProcessExit::Kind::Unknown:
    case ProcessExit::Kind::NotStarted:  // a start failure, not the solver's ending
      break;
  }
  return FillPlaceholders(ReportTextFor(text, language), {number, systemText});
}

}  // namespace kalmor
