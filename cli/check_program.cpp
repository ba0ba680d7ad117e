#include "cli/check_program.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "cli/check_options.h"
#include "cli/check_session.h"
#include "cli/run_report.h"
#include "i18n/report_texts.h"
#include "kalmor_version.h"

namespace kalmor {
namespace {

// The solver writes where the protocol line points, from whatever folder it
// runs in, so a relative folder is made absolute against the current one.
// Nothing when the current folder cannot be named.
std::optional<std::string> AbsoluteFolder(const std::string& folder) {
  namespace fs = std::filesystem;
  const fs::path given(std::u8string(folder.begin(), folder.end()));
  if (folder.empty() || given.is_absolute()) return folder;
  std::error_code error;
  fs::path absolute = fs::absolute(given, error).lexically_normal();
  if (error) return std::nullopt;
  if (!absolute.has_filename() && absolute != absolute.root_path()) {
    absolute = absolute.parent_path();
  }
  const std::u8string text = absolute.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

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

  if (options.folder) {
    options.folder = AbsoluteFolder(*options.folder);
    if (!options.folder) {
      write("kalmor-check: the current folder cannot be named, so --folder must be absolute\n",
            true);
      return 2;
    }
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
