#include "tests/support/fake_platform.h"

#include <algorithm>
#include <cstring>

#include "testbench/file_names.h"
#include "tests/support/memory_input.h"

namespace kalmor::testing {
namespace {

class MemoryOutput : public OutputFile {
 public:
  MemoryOutput(FakeFile& file, const std::int32_t& failure) : file_(file), failure_(failure) {}
  bool write(const char* data, std::size_t size, std::int32_t& error) override {
    if (failure_ != 0) return error = failure_, false;
    file_.bytes.append(data, size);
    return true;
  }
  bool close(std::int32_t& /*error*/) override { return true; }

 private:
  FakeFile& file_;
  const std::int32_t& failure_;
};

}  // namespace

FakePlatform::FakePlatform() { systemTypes.objects = {"x64-based PC"}; }

std::string FakePlatform::path(const std::string& name) const {
  return JoinPath(folder, '\\', name);
}

void FakePlatform::put(const std::string& name, std::string bytes) {
  files_[path(name)] = FakeFile{std::move(bytes)};
}

FakeFile& FakePlatform::file(const std::string& name) { return files_.at(path(name)); }

bool FakePlatform::has(const std::string& name) const { return files_.count(path(name)) != 0; }

bool FakePlatform::plainFileExists(const std::string& p) {
  const auto it = files_.find(p);
  return it != files_.end() && !it->second.hidden && !it->second.folder;
}

bool FakePlatform::deleteFile(const std::string& p, std::int32_t& error) {
  const auto it = files_.find(p);
  if (it == files_.end()) return true;
  if (it->second.deleteError != 0) {
    error = it->second.deleteError;
    return false;
  }
  files_.erase(it);
  return true;
}

std::unique_ptr<InputFile> FakePlatform::openForReading(const std::string& p, std::int32_t& error) {
  const auto it = files_.find(p);
  const std::int32_t failure = it == files_.end() ? 2 : it->second.readError;
  if (failure != 0) {
    error = failure;
    return nullptr;
  }
  return std::make_unique<MemoryInput>(it->second.bytes);
}

std::unique_ptr<OutputFile> FakePlatform::openForWriting(const std::string& p,
                                                         std::int32_t& error) {
  if (writeError != 0) {
    error = writeError;
    return nullptr;
  }
  FakeFile& f = files_[p];
  f.bytes.clear();
  return std::make_unique<MemoryOutput>(f, diskFullError);
}

bool FakePlatform::createProcess(const std::string& applicationName,
                                 const std::string& commandLine, bool inheritHandles,
                                 std::uint32_t creationFlags, const StartupRecord& startup,
                                 ProcessRecord& process, std::int32_t& lastError) {
  creates.push_back({applicationName, commandLine, inheritHandles, creationFlags, startup});
  const std::int32_t failure = createError != 0 ? createError : plainFileExists(applicationName) ? 0 : 2;
  if (failure != 0) {
    lastError = failure;
    return false;
  }
  const auto id = static_cast<std::uint32_t>(1000 + processes_.size());
  processes_.push_back({id, solver, commandLine, false});
  process.process = static_cast<std::intptr_t>(id);
  process.thread = static_cast<std::intptr_t>(id + 1);
  process.processId = id;
  process.threadId = id + 1;
  ++openProcesses;
  return true;
}

WaitOutcome FakePlatform::waitForProcess(const ProcessRecord& process, int /*milliseconds*/) {
  if (waitFails) return WaitOutcome::Failed;
  for (Running& r : processes_) {
    if (r.id != process.processId) continue;
    if (r.ended) return WaitOutcome::Ended;
    if (r.solver.slices > 0) {
      --r.solver.slices;
      return WaitOutcome::Timeout;
    }
    r.ended = true;
    if (r.solver.onExit) r.solver.onExit(r.commandLine);
    return WaitOutcome::Ended;
  }
  return WaitOutcome::Failed;
}

void FakePlatform::terminateProcess(std::uint32_t processId, std::uint32_t /*exitCode*/) {
  terminated.push_back(processId);
  for (Running& r : processes_) {
    if (r.id == processId) r.ended = true;
  }
}

void FakePlatform::closeProcessHandles(ProcessRecord& process) {
  if (process.process != 0) --openProcesses;
  process.process = 0;
  process.thread = 0;
}

std::string FakePlatform::systemName() {
  if (!osName) throw std::runtime_error("no name");
  return *osName;
}

int FakePlatform::getLocaleInfo(std::uint32_t /*lcid*/, std::int32_t /*type*/, char* buffer,
                                int size) {
  const int needed = static_cast<int>(countryCode.size()) + 1;
  if (size == 0) return needed;
  if (size < needed) return 0;
  std::memcpy(buffer, countryCode.c_str(), static_cast<std::size_t>(needed));
  return needed;
}

std::uint32_t FakePlatform::formatMessage(std::uint32_t /*flags*/, std::int32_t error,
                                          std::uint32_t /*languageId*/, char* buffer,
                                          std::uint32_t size) {
  const auto it = messages.find(error);
  if (it == messages.end() || it->second.size() > size) return 0;
  std::memcpy(buffer, it->second.data(), it->second.size());
  return static_cast<std::uint32_t>(it->second.size());
}

}  // namespace kalmor::testing
