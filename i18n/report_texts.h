// Texts beyond the window's message table: why a run failed, the missing
// solver's status line, and the words of the console report. German and
// English, like the table.
#pragma once

namespace kalmor {

enum class ReportText {
  // Why a run failed; %1 the exit code or signal number, %2 the system's name for it.
  ExitedWithoutOutput,
  ExitedZeroWithoutOutput,
  ExitedNamedWithoutOutput,
  SignalWithoutOutput,
  SignalNamedWithoutOutput,
  EndedWithoutOutput,
  OutputNotAFile,  // KM.OUT was a link, a folder or a pipe after the run
  FolderLost,      // the run lost its lock on the folder before the verdict
  // The window's status line; %1 the solver's file name.
  SolverMissing,
  // The console report.
  Mode,
  Passed,
  Failed,
  Aborted,
  Error,
  Summary,  // %1 runs, %2 passed, %3 failed, %4 aborted, %5 errors, %6 refused
  AbortedByUser,
  Refused,
};

// language 0 German, anything else English.
const char* ReportTextFor(ReportText text, int language);

}  // namespace kalmor
