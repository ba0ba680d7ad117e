// What kalmor-check prints: one line per run and a summary in the window's
// language, or the same as one JSON document; and the exit status they make.
#pragma once

#include <string>
#include <vector>

#include "cli/check_session.h"

namespace kalmor {

std::string RunLine(const RunResult& run, int language);
std::string SummaryLine(const std::vector<RunResult>& runs, int language);
std::string JsonReport(const std::vector<RunResult>& runs, const std::string& folder,
                       int language, int exitStatus);
// For --json: a usage error as one JSON document (exit status 2).
std::string JsonUsageError(const std::string& error, const std::string& folder);
// What reaches a terminal: controls written out, what is not UTF-8 replaced.
std::string Printable(const std::string& raw);

// 0 every run passed; 2 a run was refused, or none could run (or there was
// none); 1 otherwise.
int ExitStatus(const std::vector<RunResult>& runs);

}  // namespace kalmor
