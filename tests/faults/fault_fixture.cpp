#include "tests/faults/fault_fixture.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "tests/faults/process_census.h"

namespace kalmor::faults {
namespace {

constexpr std::uintmax_t kContentLimit = 1 << 20;

std::string Describe(const fs::path& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return "gone";
  std::ostringstream text;
  text << "mode " << std::oct << info.st_mode << std::dec;
  if (S_ISDIR(info.st_mode)) return text.str();
  text << " size " << info.st_size << " inode " << info.st_ino << " mtime " << info.st_mtim.tv_sec
       << "." << info.st_mtim.tv_nsec;
  if (S_ISLNK(info.st_mode)) text << " -> " << fs::read_symlink(path).string();
  if (S_ISREG(info.st_mode) && static_cast<std::uintmax_t>(info.st_size) <= kContentLimit) {
    text << " content " << Slurp(path);
  }
  return text.str();
}

bool IsRegular(const std::string& description) {
  return description.rfind("mode 100", 0) == 0;
}

// A run writes TMP_INPUT.INP as a plain file, deletes KM.OUT, and the solver
// writes KM.OUT and its own logs; any other difference is a fault.
bool AllowedChange(const std::string& name, const std::string* before, const std::string* after) {
  if (name == "standin_calls.log" || name == "standin_child.log") return true;
  const bool plainBefore = before == nullptr || IsRegular(*before);
  const bool plainAfter = after == nullptr || IsRegular(*after);
  if (name == "TMP_INPUT.INP") return plainBefore && after != nullptr && plainAfter;
  if (name == "KM.OUT") return plainBefore && plainAfter;
  return false;
}

}  // namespace

Outcome Passed(const std::string& firstLine) {
  return {"Test erfolgreich abgeschlossen!", "Lösungs-Datei erstellt: KM.OUT\r" + firstLine,
          Colour::buttonText(), "&Start"};
}

Outcome Failed() {
  return {"Test fehlgeschlagen!", "Lösungs-Datei wurde nicht erstellt:\rKM.OUT", kRed, "&Start"};
}

Outcome Aborted() { return {"Test wurde abgebrochen", "", Colour::buttonText(), "&Start"}; }

Outcome SystemError(int number, const std::string& text) {
  return {"Bereit", "Fehlernummer: " + std::to_string(number) + "\r" + text, kRed, "&Start"};
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Spit(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

Snapshot TakeSnapshot(const fs::path& folder) {
  Snapshot snapshot;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    snapshot[fs::relative(entry.path(), folder).string()] = Describe(entry.path());
  }
  return snapshot;
}

bool SetImmutable(const fs::path& path, bool on) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (ok) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return ok;
}

void FaultRun::TearDown() {
  expectNothingLeft();
  window.reset();
  platform.reset();
  for (const fs::path& path : immutable_) SetImmutable(path, false);
}

std::chrono::steady_clock::duration FaultRun::press(std::chrono::steady_clock::duration bound) {
  const auto started = std::chrono::steady_clock::now();
  hung_ = false;
  toolkit.onEveryPump([this, started, bound](int) {
    if (!hung_ && std::chrono::steady_clock::now() - started > bound) {
      hung_ = true;
      toolkit.click(window->cmdOK);
    }
  });
  toolkit.click(window->cmdOK);
  toolkit.onEveryPump(nullptr);
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_FALSE(hung_) << "the run was still waiting after the bound and was stopped";
  return took;
}

void FaultRun::afterPumps(int k, std::function<void()> action) {
  toolkit.atPump(toolkit.pumps() + k, std::move(action));
}

void FaultRun::stopWhen(std::function<bool()> ready) {
  toolkit.atNextPump([this, ready] {
    if (ready()) {
      toolkit.click(window->cmdOK);
    } else {
      stopWhen(ready);
    }
  });
}

void FaultRun::expectOutcome(const Outcome& expected) const {
  const frmKalmorChecker& f = *window;
  EXPECT_EQ(f.lblStatus.caption(), expected.status);
  EXPECT_EQ(f.lblResult.caption(), expected.result);
  EXPECT_TRUE(f.lblResult.foreColour() == expected.resultColour) << "result colour";
  EXPECT_EQ(f.cmdOK.caption(), expected.button);
  EXPECT_FALSE(f.RunInProgress);
  EXPECT_FALSE(f.SolverRunning);
}

void FaultRun::expectOnlyRunFilesChanged(const Snapshot& before) const {
  const Snapshot after = TakeSnapshot(folder);
  std::set<std::string> names;
  for (const auto& [name, description] : before) names.insert(name);
  for (const auto& [name, description] : after) names.insert(name);
  for (const std::string& name : names) {
    const auto was = before.find(name);
    const auto is = after.find(name);
    const std::string* b = was == before.end() ? nullptr : &was->second;
    const std::string* a = is == after.end() ? nullptr : &is->second;
    if (b != nullptr && a != nullptr && *b == *a) continue;
    EXPECT_TRUE(AllowedChange(name, b, a))
        << name << " changed:\n  before: " << (b ? b->substr(0, 200) : "absent")
        << "\n  after:  " << (a ? a->substr(0, 200) : "absent");
  }
}

void FaultRun::expectNothingLeft() {
  for (const int pid : census::ProcessesMentioning(base.string())) {
    ADD_FAILURE() << "process " << pid << " of this test is still running";
    ::kill(pid, SIGKILL);
  }
  for (const int pid : census::ChildrenOf(static_cast<int>(::getpid()))) {
    ADD_FAILURE() << "child " << pid << " in state " << census::ProcessState(pid)
                  << " is left behind";
  }
}

bool FaultRun::markImmutable(const fs::path& path) {
  if (!SetImmutable(path, true)) return false;
  immutable_.push_back(path);
  return true;
}

}  // namespace kalmor::faults
