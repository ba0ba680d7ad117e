#include "cli/check_program.h"

#include "cli/check_options.h"
#include "cli/check_session.h"
#include "cli/run_report.h"
#include "i18n/report_texts.h"
#include "kalmor_version.h"

namespace kalmor {

int RunKalmorCheck(const std::vector<std::string>& args, const PlatformFactory& makePlatform,
                   const ConsoleWriter& write) {
  CheckOptions options;
  std::string error;
  if (!ParseCheckOptions(args, options, error)) {
    write("kalmor-check: " + error + "\n" + "Try 'kalmor-check --help'.\n", true);
    return 2;
  }
  if (options.help) {
    write(CheckUsage(), false);
    return 0;
  }
  if (options.version) {
    write("kalmor-check " KALMOR_VERSION_STRING "\n", false);
    return 0;
  }

  const std::unique_ptr<Platform> platform = makePlatform(options.folder);
  CheckSession session(*platform);
  if (!session.prepare(options, error)) {
    write("kalmor-check: " + error + " (" + platform->programFolder() + ")\n", true);
    return 2;
  }
  const int language = session.language();
  platform->endSolverOnInterrupt(
      1, std::string("\n") + ReportTextFor(ReportText::AbortedByUser, language) + "\n");

  const auto runs = session.runAll([&](const RunResult& run) {
    if (!options.json) write(RunLine(run, language) + "\n", false);
  });
  const int status = ExitStatus(runs);
  if (options.json) {
    write(JsonReport(runs, platform->programFolder(), language, status), false);
  } else {
    write(SummaryLine(runs, language) + "\n", false);
  }
  return status;
}

}  // namespace kalmor
