// An in-memory platform for window tests: files, scripted solver processes and
// fixed system answers, with a record of every process call.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "testbench/file_names.h"
#include "tests/support/memory_input.h"
#include "tests/support/scripted_system_type.h"

namespace kalmor::testing {

struct FakeFile {
  std::string bytes;
  bool hidden = false, folder = false;
  bool link = false, special = false;  // a symbolic link; a FIFO or device
  std::int32_t deleteError = 0, readError = 0;  // non-zero: deleting or reading fails with it
};

// One scripted solver run.
struct FakeSolver {
  int slices = 0;  // wait slices before it ends by itself
  // Runs when it ends by itself, with the command line it was given.
  std::function<void(const std::string& commandLine)> onExit;
};

struct CreateCall {
  std::string applicationName, commandLine;
  bool inheritHandles = false;
  std::uint32_t creationFlags = 0;
  StartupRecord startup;
};

// Appends to a file in memory; a full disk fails every write.
struct MemoryOutput : OutputFile {
  MemoryOutput(FakeFile& f, const std::int32_t& diskFull) : file(f), failure(diskFull) {}
  Result<Done> write(const char* data, std::size_t size) override {
    if (failure != 0) return SystemError{failure};
    file.bytes.append(data, size);
    return kDone;
  }
  Result<Done> close() override { return kDone; }
  FakeFile& file;
  const std::int32_t& failure;
};

class FakePlatform : public Platform, public LocaleQueries, public MessageQueries {
 public:
  static constexpr const char* kFolder = "C:\\Kalmor";

  // --- test set-up, by name in the program folder
  FakeFile& put(const std::string& name, std::string bytes = "x") {
    return files_[path(name)] = {std::move(bytes)};
  }
  FakeFile& file(const std::string& name) { return files_.at(path(name)); }
  bool has(const std::string& name) const { return files_.count(path(name)) != 0; }
  std::string path(const std::string& name) const { return JoinPath(folder, '\\', name); }

  std::string folder = kFolder;
  std::optional<std::string> osName = "Windows 7 Ultimate Edition, 64-Bit";
  ScriptedSystemType systemTypes{{"x64-based PC"}};  // an x64 machine unless told otherwise
  std::string countryCode = "49";
  std::map<std::int32_t, std::string> messages{
      {2, "The system cannot find the file specified. "},
      {193, "%1 is not a valid Win32 application. "}};
  std::int32_t writeError = 0;     // non-zero: creating files fails with it
  std::int32_t diskFullError = 0;  // non-zero: writing into a created file fails with it
  std::int32_t createError = 0;    // non-zero: process creation fails with it
  std::int32_t lockError = 0;      // non-zero: taking the run lock fails with it
  std::set<std::string> locked;    // paths whose run lock is held, by this platform or another
  std::string lockHolders;         // who holds a busy lock, as the system names them
  bool lockLost = false;           // a held run lock says it was lost
  FakeSolver solver;               // how the next created process behaves
  bool waitFails = false;          // waits answer as a failed wait does
  ProcessExit solverExit;          // how an ended solver ended
  SolverCheck solverCheck = SolverCheck::Runnable;

  // --- what happened
  std::vector<CreateCall> creates;
  std::vector<std::uint32_t> terminated;
  int openProcesses = 0;

  // --- Platform
  Result<std::string> programFolder() override { return folder; }
  SolverCheck checkSolver(const std::string& /*path*/) override { return solverCheck; }
  char pathSeparator() const override { return '\\'; }
  bool plainFileExists(const std::string& p) override {
    const auto it = files_.find(p);
    return it != files_.end() && !it->second.hidden && !it->second.folder && !it->second.link &&
           !it->second.special;
  }
  NameKind nameKind(const std::string& p, const RunLock* /*held*/) override {
    const auto it = files_.find(p);
    if (it == files_.end()) return NameKind::Absent;
    const FakeFile& f = it->second;
    return f.folder ? NameKind::Folder : f.link ? NameKind::Link : f.special ? NameKind::Other : NameKind::File;
  }
  // As on the real systems, taking the lock creates the input file, and a link there is refused.
  Result<LockAnswer> lockRun(const std::string& p) override {
    struct Held : RunLock {
      Held(FakePlatform& f, std::string p) : platform(f), path(std::move(p)) {}
      ~Held() override { platform.locked.erase(path); }
      bool stillHeld() override { return !platform.lockLost; }
      FakePlatform& platform;
      std::string path;
    };
    if (lockError != 0) return SystemError{lockError};
    const auto it = files_.find(p);
    if (it != files_.end() && it->second.link) return LockAnswer{LockOutcome::Link, nullptr};
    if (!locked.insert(p).second) return LockAnswer{LockOutcome::Busy, nullptr};
    files_.try_emplace(p);
    return LockAnswer{LockOutcome::Taken, std::make_unique<Held>(*this, p)};
  }
  std::string runLockHolders(const std::string& /*inputPath*/) override { return lockHolders; }
  bool sameFile(const std::string& /*first*/, const std::string& /*second*/) override { return false; }
  Result<Done> deleteFile(const std::string& p) override {
    const auto it = files_.find(p);
    if (it == files_.end()) return kDone;
    if (it->second.deleteError != 0) return SystemError{it->second.deleteError};
    files_.erase(it);
    return kDone;
  }
  Result<std::unique_ptr<InputFile>> openForReading(const std::string& p) override {
    const auto it = files_.find(p);
    const std::int32_t error = it == files_.end() ? 2 : it->second.readError;
    if (error != 0) return SystemError{error};
    return std::unique_ptr<InputFile>(std::make_unique<MemoryInput>(it->second.bytes));
  }
  Result<std::unique_ptr<OutputFile>> openForWriting(const std::string& p) override {
    if (writeError != 0) return SystemError{writeError};
    files_[p].bytes.clear();
    return std::unique_ptr<OutputFile>(std::make_unique<MemoryOutput>(files_[p], diskFullError));
  }
  std::string toAnsi(const std::string& utf8) override { return utf8; }
  std::string fromAnsi(const std::string& ansi) override { return ansi; }
  Result<std::unique_ptr<SolverProcess>> startSolver(const std::string& applicationName,
                                                     const std::string& commandLine,
                                                     bool inheritHandles, std::uint32_t creationFlags,
                                                     const StartupRecord& startup,
                                                     const RunLock* /*runLock*/) override {
    creates.push_back({applicationName, commandLine, inheritHandles, creationFlags, startup});
    const std::int32_t error = createError != 0 ? createError : plainFileExists(applicationName) ? 0 : 2;
    if (error != 0) return SystemError{error};
    return std::unique_ptr<SolverProcess>(std::make_unique<Process>(*this, commandLine));
  }
  Result<std::string> systemName() override {
    if (osName) return *osName;
    return SystemError{2};
  }
  SystemTypeQueries& systemTypeQueries() override { return systemTypes; }
  LocaleQueries& localeQueries() override { return *this; }
  MessageQueries& messageQueries() override { return *this; }

 private:
  std::uint32_t getSystemDefaultLCID() override { return 0x0407; }
  std::optional<std::string> getLocaleInfo(std::uint32_t /*lcid*/, std::int32_t /*type*/) override {
    return countryCode;
  }
  std::optional<std::string> formatMessage(std::uint32_t /*flags*/, std::int32_t error,
                                           std::uint32_t /*language*/, std::uint32_t size) override {
    const auto it = messages.find(error);
    if (it == messages.end() || it->second.size() > size) return std::nullopt;
    return it->second;
  }

  // A scripted solver: it ends after its slices, or when terminated.
  struct Process : SolverProcess {
    Process(FakePlatform& f, std::string line)
        : platform(f), id(1000 + f.started_++), solver(f.solver), commandLine(std::move(line)) {
      ++platform.openProcesses;
    }
    ~Process() override { --platform.openProcesses; }
    WaitOutcome wait(int /*milliseconds*/) override {
      if (platform.waitFails) return WaitOutcome::Failed;
      if (ended) return WaitOutcome::Ended;
      if (solver.slices-- > 0) return WaitOutcome::Timeout;
      ended = true;
      if (solver.onExit) solver.onExit(commandLine);
      return WaitOutcome::Ended;
    }
    ProcessExit exit() override { return platform.solverExit; }
    std::uint32_t processId() const override { return id; }
    void terminate() override {
      platform.terminated.push_back(id);
      ended = true;
    }
    FakePlatform& platform;
    std::uint32_t id;
    FakeSolver solver;
    std::string commandLine;
    bool ended = false;
  };

  std::map<std::string, FakeFile> files_;  // by full path
  std::uint32_t started_ = 0;
};

}  // namespace kalmor::testing
