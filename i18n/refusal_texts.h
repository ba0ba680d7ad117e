// Why a run was refused when no system error number says it. These few texts
// live apart from the window's language table so that the table keeps its
// 25 messages.
#pragma once

namespace kalmor {

enum class Refusal {
  ProgramFolderUnknown,   // the program's own folder could not be resolved
  FolderHasLineBreak,     // the protocol line of the solver's input cannot name it
  TaskIsTemporaryInput,   // writing the input would overwrite the task while it is read
  FolderBusy,             // another run in this folder, or what is left of one, holds its lock
  FolderBusyHeldBy,       // the same, %1 the programs that hold it
  InputIsLink,            // TMP_INPUT.INP is a symbolic link or a second name of another file
  OldOutputNotDeleted,    // %1 the system's error number, %2 its text
  InputNotAFile,          // TMP_INPUT.INP is a folder, a named pipe or a device
  OutputNotAFile,         // KM.OUT is a folder, a named pipe or a device
  TaskMissing,            // the chosen task file went away (the window stays silent)
  TemporaryInputTooLarge, // the rewritten task would pass kTemporaryInputLimit
  WineMissing,            // the solver is a Windows program and no Wine runs it here
  No32BitHere,            // a 32-bit Windows solver on a system without 32-bit support
  NotAProgram,            // the solver is neither a Linux nor a Windows program
  WineLauncherMissing,    // kalmor-wine-host.exe is not beside the checker
};

// language: the index in the language list, 0 German, 1 English; other
// indexes get the English text.
const char* RefusalText(Refusal refusal, int language);

}  // namespace kalmor
