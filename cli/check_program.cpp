#include "cli/check_program.h"

#include <algorithm>
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
  if (folder.empty()) return folder;
  std::error_code error;
#ifdef _WIN32
  // Windows itself takes ".." by the name, before any link.
  if (given.is_absolute()) return folder;
  fs::path absolute = fs::absolute(given, error).lexically_normal();
#else
  // "link/.." is where the link leads, then up: the folder the system means.
  fs::path absolute = fs::absolute(given, error);
  if (!error) absolute = fs::weakly_canonical(absolute, error);
#endif
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
  // Whoever asked for JSON gets JSON, even for an error in the options.
  const bool json = std::find(args.begin(), args.end(), "--json") != args.end();
  const auto usageError = [&](const std::string& text, const std::string& folder) {
    if (json) {
      write(JsonUsageError(text, folder), false);
    } else {
      write(Printable("kalmor-check: " + text + (folder.empty() ? "" : " (" + folder + ")")) + "\n" +
                "Try 'kalmor-check --help'.\n",
            true);
    }
    return 2;
  };
  if (!ParseCheckOptions(args, options, error)) return usageError(error, "");
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
      return usageError("the current folder cannot be named, so --folder must be absolute", "");
    }
  }
  const std::unique_ptr<Platform> platform = makePlatform(options.folder);
  CheckSession session(*platform);
  // The report names the folder as far as the system can tell: an unknown one stays empty.
  const Result<std::string> programFolder = platform->programFolder();
  const std::string folder = programFolder ? *programFolder : "";
  if (!session.prepare(options, error)) return usageError(error, folder);
  const int language = session.language();
  platform->endSolverOnInterrupt(
      1, std::string("\n") + ReportTextFor(ReportText::AbortedByUser, language) + "\n");

  const auto runs = session.runAll([&](const RunResult& run) {
    if (!options.json) write(RunLine(run, language) + "\n", false);
  });
  const int status = ExitStatus(runs);
  if (options.json) {
    write(JsonReport(runs, folder, language, status), false);
  } else {
    write(SummaryLine(runs, language) + "\n", false);
  }
  return status;
}

}  // namespace kalmor
