#include "cli/run_report.h"

#include <algorithm>
#include <cstdio>

#include "i18n/fill_placeholders.h"
#include "i18n/report_texts.h"
#include "kalmor_version.h"

namespace kalmor {
namespace {

ReportText OutcomeText(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::Passed:
      return ReportText::Passed;
    case RunOutcome::Failed:
      return ReportText::Failed;
    case RunOutcome::Aborted:
      return ReportText::Aborted;
    case RunOutcome::Refused:
      return ReportText::Refused;
    case RunOutcome::CouldNotStart:
    case RunOutcome::None:
      break;
  }
  return ReportText::Error;
}

const char* OutcomeName(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::Passed:
      return "passed";
    case RunOutcome::Failed:
      return "failed";
    case RunOutcome::Aborted:
      return "aborted";
    case RunOutcome::Refused:
      return "refused";
    case RunOutcome::CouldNotStart:
    case RunOutcome::None:
      break;
  }
  return "error";
}

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", seconds);
  return text;
}

// Length of the well-formed UTF-8 sequence at text[at], 0 when there is none:
// no overlong form, no surrogate, nothing past U+10FFFF, nothing cut short.
std::size_t Utf8Length(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  const std::size_t length = lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  // The second byte's range is narrower after these leads.
  const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
  const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t i = at + 2; i < at + length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

// A solver's first line may be in any code page; what is not UTF-8 becomes
// U+FFFD, byte by byte.
std::string WellFormed(const std::string& raw) {
  std::string text;
  for (std::size_t at = 0; at < raw.size();) {
    const std::size_t length = Utf8Length(raw, at);
    text += length == 0 ? std::string("\xEF\xBF\xBD") : raw.substr(at, length);
    at += length == 0 ? 1 : length;
  }
  return text;
}

std::string JsonString(const std::string& raw) {
  std::string quoted = "\"";
  for (const char c : WellFormed(raw)) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

long Count(const std::vector<RunResult>& runs, RunOutcome outcome) {
  return std::count_if(runs.begin(), runs.end(),
                       [outcome](const RunResult& run) { return run.outcome == outcome; });
}

}  // namespace

// C0 and C1 controls and DEL written out, so that nothing from KM.OUT or a
// folder name moves the cursor, recolours or retitles the terminal.
std::string Printable(const std::string& raw) {
  const std::string text = WellFormed(raw);
  std::string shown;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const auto c = static_cast<unsigned char>(text[at]);
    const auto next = at + 1 < text.size() ? static_cast<unsigned char>(text[at + 1]) : 0;
    char escape[8];
    if (c < 0x20 || c == 0x7F) {
      std::snprintf(escape, sizeof escape, "\\x%02x", c);
    } else if (c == 0xC2 && next >= 0x80 && next < 0xA0) {
      std::snprintf(escape, sizeof escape, "\\u%04x", next);
      ++at;
    } else {
      shown += static_cast<char>(c);
      continue;
    }
    shown += escape;
  }
  return shown;
}

std::string RunLine(const RunResult& run, int language) {
  return run.task + "  " + run.build + "  " + ReportTextFor(ReportText::Mode, language) + " " +
         std::to_string(run.mode) + "  " + ReportTextFor(OutcomeText(run.outcome), language) +
         "  " + Seconds(run.seconds) + " s  " + Printable(run.detail);
}

std::string SummaryLine(const std::vector<RunResult>& runs, int language) {
  return FillPlaceholders(ReportTextFor(ReportText::Summary, language),
                          {std::to_string(runs.size()),
                           std::to_string(Count(runs, RunOutcome::Passed)),
                           std::to_string(Count(runs, RunOutcome::Failed)),
                           std::to_string(Count(runs, RunOutcome::Aborted)),
                           std::to_string(Count(runs, RunOutcome::CouldNotStart)),
                           std::to_string(Count(runs, RunOutcome::Refused))});
}

std::string JsonReport(const std::vector<RunResult>& runs, const std::string& folder,
                       int language, int exitStatus) {
  // The version first, so that a support report names the checker that made it.
  std::string json = "{\"version\": \"" KALMOR_VERSION_STRING "\", \"folder\": " +
                     JsonString(folder) + ", \"language\": \"" +
                     (language == 0 ? "de" : "en") + "\", \"runs\": [";
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const RunResult& run = runs[i];
    json += std::string(i == 0 ? "" : ",") + "\n  {\"task\": " + JsonString(run.task) +
            ", \"build\": " + JsonString(run.build) + ", \"mode\": " + std::to_string(run.mode) +
            ", \"outcome\": \"" + OutcomeName(run.outcome) +
            "\", \"seconds\": " + Seconds(run.seconds) + ", \"detail\": " + JsonString(run.detail);
    if (run.exit.kind != ProcessExit::Kind::Unknown) {
      json += std::string(", \"") +
              (run.exit.kind == ProcessExit::Kind::Code ? "exitCode" : "signal") +
              "\": " + std::to_string(run.exit.value);
    }
    json += "}";
  }
  json += "\n], \"summary\": " + JsonString(SummaryLine(runs, language)) +
          ", \"passed\": " + std::to_string(Count(runs, RunOutcome::Passed)) +
          ", \"exitStatus\": " + std::to_string(exitStatus) + "}\n";
  return json;
}

std::string JsonUsageError(const std::string& error, const std::string& folder) {
  return "{\"version\": \"" KALMOR_VERSION_STRING "\", \"folder\": " + JsonString(folder) +
         ", \"error\": " + JsonString(error) + ", \"exitStatus\": 2}\n";
}

int ExitStatus(const std::vector<RunResult>& runs) {
  if (runs.empty() || Count(runs, RunOutcome::Refused) > 0 ||
      Count(runs, RunOutcome::CouldNotStart) == static_cast<long>(runs.size())) {
    return 2;
  }
  return Count(runs, RunOutcome::Passed) == static_cast<long>(runs.size()) ? 0 : 1;
}

}  // namespace kalmor
