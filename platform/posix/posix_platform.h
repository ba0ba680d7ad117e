// The checker's platform on Linux and other POSIX systems.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/posix/posix_locale_queries.h"
#include "platform/posix/posix_message_queries.h"
#include "platform/posix/posix_processes.h"
#include "platform/posix/posix_system_type_queries.h"
#include "platform/posix/wine_launch.h"

namespace kalmor {

class PosixPlatform : public Platform {
 public:
  // programFolder replaces the executable's folder; root is where the system
  // files (os-release, locale) are read from.
  explicit PosixPlatform(std::optional<std::string> programFolder = std::nullopt,
                         std::filesystem::path root = "/");

  Result<std::string> programFolder() override;
  char pathSeparator() const override { return '/'; }

  bool plainFileExists(const std::string& path) override;
  bool sameFile(const std::string& first, const std::string& second) override;
  Result<Done> deleteFile(const std::string& path) override;
  NameKind nameKind(const std::string& path, const RunLock* held) override;
  Result<std::unique_ptr<InputFile>> openForReading(const std::string& path) override;
  Result<FoundOutput> openResult(const std::string& path) override;
  Result<std::unique_ptr<OutputFile>> openForWriting(const std::string& path) override;
  // File contents and names are taken as they are: UTF-8 is the system's code page here.
  std::string toAnsi(const std::string& utf8) override { return utf8; }
  std::string fromAnsi(const std::string& ansi) override { return ansi; }

  // A lock on the folder and one on the input file, which the solver and its
  // children inherit.
  Result<LockAnswer> lockRun(const std::string& inputPath) override;
  std::string runLockHolders(const std::string& inputPath) override;

  // A Linux program runs directly; a Windows one through Wine (wine_launch.h).
  SolverCheck checkSolver(const std::string& path) override;
  // A Linux solver inherits the run lock's input file as descriptor 3; the
  // inheritance flag and creation flags have no meaning here.
  Result<std::unique_ptr<SolverProcess>> startSolver(const std::string& applicationName,
                                                     const std::string& commandLine,
                                                     bool inheritHandles,
                                                     std::uint32_t creationFlags,
                                                     const StartupRecord& startup,
                                                     const RunLock* runLock) override;
  void endSolverOnInterrupt(int exitCode, const std::string& notice) override;
  [[noreturn]] void endSolverAndExit(int exitCode) override;

  Result<std::string> systemName() override;
  SystemTypeQueries& systemTypeQueries() override { return systemTypes_; }
  LocaleQueries& localeQueries() override { return locale_; }
  MessageQueries& messageQueries() override { return messages_; }

 private:
  std::optional<std::string> programFolder_;
  std::filesystem::path root_;
  PosixProcesses processes_;
  WineLaunch wine_;
  PosixSystemTypeQueries systemTypes_;
  PosixLocaleQueries locale_;
  PosixMessageQueries messages_;
};

}  // namespace kalmor
