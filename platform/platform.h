// The operating-system services the checker needs, behind one interface.
// platform/posix and platform/win32 implement it; nothing else includes OS headers.
//
// A call that can fail returns a Result: its value, or the system's error
// number. No out-parameters, no exceptions and no sentinel values (an empty
// string, a null pointer) carry a failure across this interface; an answer
// that is not a failure (nothing at a name, none known) is part of the value.
// Strings crossing it are UTF-8; file contents are raw bytes in the system's
// ANSI code page (toAnsi/fromAnsi convert; they cannot fail: toAnsi leaves
// '?' for what the code page lacks).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "i18n/locale_queries.h"
#include "platform/result.h"
#include "sysinfo/message_queries.h"
#include "sysinfo/system_type_queries.h"

namespace kalmor {

// What stands at a name, the name itself looked at: a link is not followed.
enum class NameKind { Absent, File, Link, Folder, Other };  // Other: FIFO, device, socket

class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to size bytes: the count, 0 at the end.
  virtual Result<std::size_t> read(char* buffer, std::size_t size) = 0;
};

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual Result<Done> write(const char* data, std::size_t size) = 0;
  // Flushes and closes; a failure here means the data may not be on disk.
  virtual Result<Done> close() = 0;
};

// What stands at the solver's output name, and the file opened when it is one.
struct FoundOutput {
  NameKind kind = NameKind::Absent;
  std::unique_ptr<InputFile> file;  // set when kind is File
};

// The fields of STARTUPINFOA that process creation is given.
struct StartupRecord {
  std::uint32_t cb = 0;
  std::uint32_t dwFlags = 0;
  std::uint16_t wShowWindow = 0;
};

inline constexpr std::uint32_t kStartfUseShowWindow = 1;
inline constexpr std::uint16_t kSwHide = 0;
inline constexpr std::uint16_t kSwShowNormal = 1;
inline constexpr std::uint32_t kNormalPriorityClass = 0x20;

enum class WaitOutcome { Ended, Timeout, Failed };

// Held for one whole run: taken before the old output is removed, released
// after the run is judged. A second checker, in this process or another,
// cannot take it while it is held, and it falls by itself when its holder dies.
class RunLock {
 public:
  virtual ~RunLock() = default;
  // Asked before the verdict: false when the run may have lost the folder to
  // another checker (its input file was removed or replaced, the lock let go).
  virtual bool stillHeld() { return true; }
};
// Link: the input's name is a symbolic link or a second name of another file.
enum class LockOutcome { Taken, Busy, Link };
struct LockAnswer {
  LockOutcome outcome = LockOutcome::Busy;
  std::unique_ptr<RunLock> lock;  // held when Taken, else empty
};

// How an ended process ended: with an exit code, or (POSIX) by a signal.
// NotStarted: a launcher between the checker and the solver (Wine's) could
// not start it; value is the system's error number.
struct ProcessExit {
  enum class Kind { Unknown, Code, Signal, NotStarted };
  Kind kind = Kind::Unknown;
  std::uint32_t value = 0;
  // The system's name for that ending (a crash or loader status, a signal, a
  // start error); empty where the system names none.
  std::string text;
};

// Whether the chosen solver can run on this system at all.
enum class SolverCheck {
  Runnable,         // as far as can be told before it starts
  WineMissing,      // a Windows program, and no Wine here runs it
  No32BitHere,      // a 32-bit Windows program on a system that runs no 32-bit code
  NotAProgram,      // neither a Linux nor a Windows program
  LauncherMissing,  // the launcher that runs it under Wine is not beside the checker
};

// A started solver, owned for its whole life. Its end ends it and everything
// it started that still runs (POSIX: its process group, and what left the
// group, which the checker adopts as their subreaper and waits for; Windows:
// its job), and releases all it holds: a press that ends by an exception
// leaves nothing behind.
class SolverProcess {
 public:
  virtual ~SolverProcess() = default;
  virtual WaitOutcome wait(int milliseconds) = 0;
  // How it ended; Unknown until a wait has seen it end.
  virtual ProcessExit exit() = 0;
  // Ends it and everything it started, now; the wait that follows sees it end.
  virtual void terminate() = 0;
  // For whoever watches it; nothing is ended by its id.
  virtual std::uint32_t processId() const = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // --- program folder and paths
  // No trailing separator.
  virtual Result<std::string> programFolder() = 0;
  virtual char pathSeparator() const = 0;   // '\\' on Windows, '/' elsewhere

  // --- files
  // Exists as a plain file: not a folder, not hidden, not a system file.
  virtual bool plainFileExists(const std::string& path) = 0;
  // Both names reach one existing file, links followed.
  virtual bool sameFile(const std::string& first, const std::string& second) = 0;
  // Done when the file is gone afterwards (also when it never existed); a
  // link goes as a link, its target untouched.
  virtual Result<Done> deleteFile(const std::string& path) = 0;
  virtual Result<std::unique_ptr<InputFile>> openForReading(const std::string& path) = 0;
  // held: the run lock this checker holds, or nullptr; where it covers the
  // name's folder the probe may touch the name (Windows, a dangling link).
  virtual NameKind nameKind(const std::string& path, const RunLock* held) = 0;
  // The solver's output, for the verdict: what stands at the name is opened
  // once, a link not followed and a pipe not waited for, and only a plain file
  // is read; kind says what was found (Absent also for a hidden file). An
  // error only where a plain file stands and cannot be opened. By default a
  // plain file is File and anything else Absent.
  virtual Result<FoundOutput> openResult(const std::string& path);
  // Creates the file or empties it; refuses anything but a regular file of
  // this one name, and never writes through a link.
  virtual Result<std::unique_ptr<OutputFile>> openForWriting(const std::string& path) = 0;
  virtual std::string toAnsi(const std::string& utf8) = 0;
  virtual std::string fromAnsi(const std::string& ansi) = 0;

  // --- one run per folder
  // Taken, or why not (Busy, Link); a failure gives the system's error number.
  virtual Result<LockAnswer> lockRun(const std::string& inputPath) = 0;
  // After Busy: the programs that hold the folder, as "name (process id)"
  // joined by ", "; empty where the system cannot tell.
  virtual std::string runLockHolders(const std::string& /*inputPath*/) { return {}; }

  // --- processes
  // Asked before a run; the file itself is looked at, not its name.
  virtual SolverCheck checkSolver(const std::string& /*path*/) { return SolverCheck::Runnable; }
  // CreateProcess with an explicit application name: exactly that file runs,
  // and it receives commandLine as its command line. runLock, where given, is
  // inherited by the solver and all it starts (POSIX: as descriptor 3), so
  // that a leftover of the run keeps the folder busy.
  virtual Result<std::unique_ptr<SolverProcess>> startSolver(
      const std::string& applicationName, const std::string& commandLine, bool inheritHandles,
      std::uint32_t creationFlags, const StartupRecord& startup, const RunLock* runLock) = 0;

  // --- interrupts
  // From now on an interrupt (SIGINT, SIGTERM, SIGHUP; Ctrl+C, Ctrl+Break or a
  // console close) kills the running solver, writes notice to standard error
  // and ends the program with exitCode. Without a solver running it only ends.
  virtual void endSolverOnInterrupt(int /*exitCode*/, const std::string& /*notice*/) {}
  // The same, now: for a front-end that has lost its display.
  [[noreturn]] virtual void endSolverAndExit(int exitCode);

  // --- system facts
  // The running system's name for the OS line.
  virtual Result<std::string> systemName() = 0;
  virtual SystemTypeQueries& systemTypeQueries() = 0;
  virtual LocaleQueries& localeQueries() = 0;
  virtual MessageQueries& messageQueries() = 0;
};

}  // namespace kalmor
