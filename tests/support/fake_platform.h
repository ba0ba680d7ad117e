// An in-memory platform for window tests: files, scripted solver processes and
// fixed system answers, with a record of every process call.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/scripted_system_type.h"

namespace kalmor::testing {

struct FakeFile {
  std::string bytes;
  bool hidden = false;
  bool folder = false;
  std::int32_t deleteError = 0;  // non-zero: deleting fails with it
  std::int32_t readError = 0;    // non-zero: opening for reading fails with it
};

// One scripted solver run.
struct FakeSolver {
  int slices = 0;  // wait slices before it ends by itself
  // Runs when it ends by itself, with the command line it was given.
  std::function<void(const std::string& commandLine)> onExit;
};

struct CreateCall {
  std::string applicationName;
  std::string commandLine;
  bool inheritHandles = false;
  std::uint32_t creationFlags = 0;
  StartupRecord startup;
};

class FakePlatform : public Platform, public LocaleQueries, public MessageQueries {
 public:
  static constexpr const char* kFolder = "C:\\Kalmor";
  FakePlatform();

  // --- test set-up
  void put(const std::string& name, std::string bytes = "x");  // in the program folder
  FakeFile& file(const std::string& name);
  bool has(const std::string& name) const;
  std::string path(const std::string& name) const;

  std::string folder = kFolder;
  std::optional<std::string> osName = "Windows 7 Ultimate Edition, 64-Bit";
  ScriptedSystemType systemTypes;  // an x64 machine unless told otherwise
  std::string countryCode = "49";
  std::map<std::int32_t, std::string> messages{
      {2, "The system cannot find the file specified. "},
      {193, "%1 is not a valid Win32 application. "}};
  std::int32_t writeError = 0;  // non-zero: creating files fails with it
  std::int32_t diskFullError = 0;  // non-zero: writing into a created file fails with it
  std::int32_t createError = 0;  // non-zero: process creation fails with it
  FakeSolver solver;             // how the next created process behaves
  bool waitFails = false;        // waits answer as a failed wait does
  ProcessExit solverExit;        // how an ended solver ended

  // --- what happened
  std::vector<CreateCall> creates;
  std::vector<std::uint32_t> terminated;
  int openProcesses = 0;

  // --- Platform
  std::string programFolder() override { return folder; }
  char pathSeparator() const override { return '\\'; }
  bool plainFileExists(const std::string& path) override;
  bool linkExists(const std::string& /*path*/) override { return false; }
  bool sameFile(const std::string& first, const std::string& second) override {
    return first == second && files_.count(first) != 0;
  }
  bool deleteFile(const std::string& path, std::int32_t& error) override;
  std::unique_ptr<InputFile> openForReading(const std::string& path, std::int32_t& error) override;
  std::unique_ptr<OutputFile> openForWriting(const std::string& path, std::int32_t& error) override;
  std::string toAnsi(const std::string& utf8) override { return utf8; }
  std::string fromAnsi(const std::string& ansi) override { return ansi; }
  bool createProcess(const std::string& applicationName, const std::string& commandLine,
                     bool inheritHandles, std::uint32_t creationFlags,
                     const StartupRecord& startup, ProcessRecord& process,
                     std::int32_t& lastError) override;
  WaitOutcome waitForProcess(const ProcessRecord& process, int milliseconds) override;
  void terminateProcess(std::uint32_t processId, std::uint32_t exitCode) override;
  void closeProcessHandles(ProcessRecord& process) override;
  ProcessExit processExit(const ProcessRecord& /*process*/) override { return solverExit; }
  std::string systemName() override;
  SystemTypeQueries& systemTypeQueries() override { return systemTypes; }
  LocaleQueries& localeQueries() override { return *this; }
  MessageQueries& messageQueries() override { return *this; }

 private:
  // LocaleQueries
  std::uint32_t getSystemDefaultLCID() override { return 0x0407; }
  int getLocaleInfo(std::uint32_t lcid, std::int32_t type, char* buffer, int size) override;
  // MessageQueries
  std::uint32_t formatMessage(std::uint32_t flags, std::int32_t error, std::uint32_t languageId,
                              char* buffer, std::uint32_t size) override;

  std::map<std::string, FakeFile> files_;  // by full path
  struct Running {
    std::uint32_t id = 0;
    FakeSolver solver;
    std::string commandLine;
    bool ended = false;
  };
  std::vector<Running> processes_;
};

}  // namespace kalmor::testing
