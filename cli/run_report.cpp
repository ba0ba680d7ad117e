#include "cli/run_report.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "i18n/fill_placeholders.h"
#include "i18n/report_texts.h"

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
    case RunOutcome::Error:
      break;
  }
  return ReportText::Error;
}

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", seconds);
  return text;
}

// Length of the valid UTF-8 sequence at text[at], 0 when there is none.
std::size_t Utf8Length(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 && lead < 0xF5 ? 4
                             : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (std::size_t i = at + 1; i < at + length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

// A solver's first line may be in any code page; JSON must be UTF-8, so bytes
// that are not become U+FFFD.
std::string JsonString(const std::string& raw) {
  std::string text;
  for (std::size_t at = 0; at < raw.size();) {
    const std::size_t length = Utf8Length(raw, at);
    text += length == 0 ? std::string("\xEF\xBF\xBD") : raw.substr(at, length);
    at += length == 0 ? 1 : length;
  }
  std::string quoted = "\"";
  for (const char c : text) {
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

std::string RunLine(const RunResult& run, int language) {
  return run.task + "  " + run.build + "  " + ReportTextFor(ReportText::Mode, language) + " " +
         std::to_string(run.mode) + "  " + ReportTextFor(OutcomeText(run.outcome), language) +
         "  " + Seconds(run.seconds) + " s  " + run.detail;
}

std::string SummaryLine(const std::vector<RunResult>& runs, int language) {
  return FillPlaceholders(ReportTextFor(ReportText::Summary, language),
                          {std::to_string(runs.size()),
                           std::to_string(Count(runs, RunOutcome::Passed)),
                           std::to_string(Count(runs, RunOutcome::Failed)),
                           std::to_string(Count(runs, RunOutcome::Aborted)),
                           std::to_string(Count(runs, RunOutcome::Error))});
}

std::string JsonReport(const std::vector<RunResult>& runs, const std::string& folder,
                       int language, int exitStatus) {
  static constexpr std::array<const char*, 4> kOutcomes{"passed", "failed", "aborted", "error"};
  std::string json = "{\"folder\": " + JsonString(folder) + ", \"language\": \"" +
                     (language == 0 ? "de" : "en") + "\", \"runs\": [";
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const RunResult& run = runs[i];
    json += std::string(i == 0 ? "" : ",") + "\n  {\"task\": " + JsonString(run.task) +
            ", \"build\": " + JsonString(run.build) + ", \"mode\": " + std::to_string(run.mode) +
            ", \"outcome\": \"" + kOutcomes.at(static_cast<std::size_t>(run.outcome)) +
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

int ExitStatus(const std::vector<RunResult>& runs) {
  if (runs.empty() || Count(runs, RunOutcome::Error) == static_cast<long>(runs.size())) return 2;
  return Count(runs, RunOutcome::Passed) == static_cast<long>(runs.size()) ? 0 : 1;
}

}  // namespace kalmor
