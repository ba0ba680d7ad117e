#include "cli/check_options.h"

#include <charconv>
#include <cmath>
#include <map>

namespace kalmor {
namespace {

// Accepted values and the list item each stands for.
const std::map<std::string, std::string> kTasks{{"3", "#3"}, {"4", "#4"}, {"s7", "s#7"}};
const std::map<std::string, std::string> kBuilds{{"32", "32-Bit"}, {"64", "64-Bit"}};
const std::map<std::string, std::string> kModes{{"1", "1"}, {"2", "2"}, {"3", "3"}, {"4", "4"}};

bool Choice(const std::map<std::string, std::string>& items, const std::string& value,
            std::optional<std::string>& into) {
  if (value == kAllItems) {
    into = kAllItems;
    return true;
  }
  const auto it = items.find(value);
  if (it == items.end()) return false;
  into = it->second;
  return true;
}

bool Seconds(const std::string& value, std::optional<double>& into) {
  double seconds = 0;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seconds);
  if (ec != std::errc() || end != value.data() + value.size() || !std::isfinite(seconds) ||
      seconds <= 0) {
    return false;
  }
  into = seconds;
  return true;
}

}  // namespace

bool ParseCheckOptions(const std::vector<std::string>& args, CheckOptions& options,
                       std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--help" || name == "-h") {
      options.help = true;
      continue;
    }
    if (name == "--json") {
      options.json = true;
      continue;
    }
    if (name == "--version") {
      options.version = true;
      continue;
    }
    if (i + 1 == args.size()) {
      error = name.rfind("--", 0) == 0 ? name + " needs a value" : "unknown argument " + name;
      return false;
    }
    const std::string& value = args[++i];
    bool ok = true;
    if (name == "--folder") {
      options.folder = value;
    } else if (name == "--task") {
      ok = Choice(kTasks, value, options.task);
    } else if (name == "--build") {
      ok = Choice(kBuilds, value, options.build);
    } else if (name == "--mode") {
      ok = Choice(kModes, value, options.mode);
    } else if (name == "--lang" && (value == "de" || value == "en")) {
      options.language = value == "de" ? 0 : 1;
    } else if (name == "--timeout") {
      ok = Seconds(value, options.timeoutSeconds);
    } else {
      ok = false;
    }
    if (!ok) {
      error = "unknown argument " + name + " " + value;
      return false;
    }
  }
  return true;
}

const char* CheckUsage() {
  return R"(Usage: kalmor-check [options]

Runs the Kalmor function test from the command line, exactly as the checker
window runs it: the test task is copied to TMP_INPUT.INP, the solver is started
hidden with the calling mode's command line, and a run passes when the solver
wrote KM.OUT.

Options:
  --folder DIR           the solver's folder (default: the folder of this program)
  --task 3|4|s7|all      test task #3, #4 or s#7 (default: #3, as the window)
  --build 32|64|all      solver build (default: the last one offered, as the window)
  --mode 1|2|3|4|all     calling mode (default: 1)
  --lang de|en           language of the report (default: the system's, as the window)
  --timeout SECONDS      stop a run that takes longer, as Stop does; it counts as aborted
  --json                 print the report as one JSON document
  --help                 print this text
  --version              print the version of kalmor-check

"all" runs every item the window offers on this system, in the window's order.
Each run prints one line: task, build, mode, outcome, seconds, and the first
line of KM.OUT for a pass or the reason for anything else; a summary follows.

A run the checker refuses (its folder not fit for a check, e.g. another check
running there) ends the matrix with its reason.

Exit status: 0 every run passed; 1 a run failed, was aborted or could not start
while another could, or the program was interrupted (Ctrl+C), which also ends
the running solver; 2 a usage error, a refused run, or no run could start (no
task, no solver, an unwritable folder).
)";
}

}  // namespace kalmor
