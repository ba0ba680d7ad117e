// The Platform of a Windows system. Its members are defined by concern:
// files in win32_platform_files.cpp, the run lock in win32_run_lock.cpp, the
// solver process in win32_platform_processes.cpp, the rest in win32_platform.cpp.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/win32/solver_job.h"
#include "platform/win32/win32_locale_queries.h"
#include "platform/win32/win32_message_queries.h"
#include "platform/win32/win32_run_lock.h"
#include "platform/win32/win32_system_type_queries.h"
#include "platform/win32/win32_version_queries.h"
#include "platform/win32/wine_crash_catcher.h"

namespace kalmor {

class Win32Platform : public Platform {
 public:
  // programFolder replaces the executable's folder where given.
  explicit Win32Platform(std::optional<std::string> programFolder = std::nullopt);

  Result<std::string> programFolder() override;
  char pathSeparator() const override { return '\\'; }

  // Files, through the wide-character API so that folder names outside the
  // ANSI code page work. Paths are UTF-8.
  bool plainFileExists(const std::string& path) override;
  // The same volume serial number and file index.
  bool sameFile(const std::string& first, const std::string& second) override;
  // A link goes as a link, also a Unix link under Wine (own_name.h), and so
  // does every name of another case that Wine would find in its place. A
  // folder stays, also one a link leads to.
  Result<Done> deleteFile(const std::string& path) override;
  // Under Wine a Unix link is a Link too, dangling or not (that one only
  // where held covers the folder). A link to a folder is a Folder: under Wine
  // no call reaches the link itself.
  NameKind nameKind(const std::string& path, const RunLock* held) override;
  Result<std::unique_ptr<InputFile>> openForReading(const std::string& path) override;
  // A link or a second name at path is replaced by a new file rather than
  // refused; a file of this name alone is emptied in place.
  Result<std::unique_ptr<OutputFile>> openForWriting(const std::string& path) override;
  std::string toAnsi(const std::string& utf8) override;
  std::string fromAnsi(const std::string& ansi) override;

  // Creates the input when it is absent, as openForWriting would.
  Result<LockAnswer> lockRun(const std::string& inputPath) override;

  // CreateProcessA. Both strings are in the ANSI code page already. The
  // application name is passed explicitly, so blanks in its folder cannot make
  // the system start another file; the command line goes as a writable copy.
  // Environment and current folder are inherited; the standard handles are
  // the null device. The solver runs in a job that ends it, and all it
  // starts, when the checker ends. runLock is not handed on: a byte-range
  // lock belongs to its handle, which stays the checker's.
  Result<std::unique_ptr<SolverProcess>> startSolver(const std::string& applicationName,
                                                     const std::string& commandLine,
                                                     bool inheritHandles,
                                                     std::uint32_t creationFlags,
                                                     const StartupRecord& startup,
                                                     const RunLock* runLock) override;
  // A console control handler; nothing happens in a program without a console.
  void endSolverOnInterrupt(int exitCode, const std::string& notice) override;
  [[noreturn]] void endSolverAndExit(int exitCode) override;

  // A failed or missing version call fails it with the system's last error.
  Result<std::string> systemName() override;
  SystemTypeQueries& systemTypeQueries() override { return systemType_; }
  LocaleQueries& localeQueries() override { return locale_; }
  MessageQueries& messageQueries() override { return messages_; }

 private:
  std::optional<std::string> programFolder_;
  SolverJob job_;  // the solvers' job, for the checker's lifetime
  WineCrashCatcher crashCatcher_;  // under Wine, the solvers' debuggers
  Win32VersionQueries version_;
  Win32SystemTypeQueries systemType_;
  Win32LocaleQueries locale_;
  Win32MessageQueries messages_;
};

}  // namespace kalmor
