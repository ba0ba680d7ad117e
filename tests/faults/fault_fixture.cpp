#include "tests/faults/fault_fixture.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

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
  text << " size " << info.st_size << " inode " << info.st_ino << " mtime " << info.st_mtim.tv_sec << "."
       << info.st_mtim.tv_nsec;
  if (S_ISLNK(info.st_mode)) text << " -> " << fs::read_symlink(path).string();
  if (S_ISREG(info.st_mode) && static_cast<std::uintmax_t>(info.st_size) <= kContentLimit) {
    text << " content " << Slurp(path);
  }
  return text.str();
}

bool IsRegular(const std::string* description) {
  return description == nullptr || description->rfind("mode 100", 0) == 0;
}

// A run writes TMP_INPUT.INP as a plain file, deletes KM.OUT, and the solver
// writes KM.OUT and its own logs; any other difference is a fault.
bool AllowedChange(const std::string& name, const std::string* before, const std::string* after) {
  if (name == "standin_calls.log" || name == "standin_child.log") return true;
  if (name == "TMP_INPUT.INP") return IsRegular(before) && after != nullptr && IsRegular(after);
  return name == "KM.OUT" && IsRegular(before) && IsRegular(after);
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

// Runs onExpiry once bound has passed unless disarmed first; if even then
// it stays armed for a further grace, runs onStuck.
class Watchdog {
 public:
  Watchdog(std::chrono::seconds bound, std::function<void()> onExpiry, std::function<void()> onStuck)
      : thread_([this, bound, onExpiry, onStuck] {
          std::unique_lock lock(mutex_);
          if (disarmed_.wait_for(lock, bound, [this] { return done_; })) return;
          fired_ = true;
          onExpiry();
          if (!disarmed_.wait_for(lock, std::chrono::seconds(5), [this] { return done_; })) onStuck();
        }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    disarmed_.notify_all();
    thread_.join();
  }
  bool fired() {
    std::lock_guard lock(mutex_);
    return fired_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable disarmed_;
  bool done_ = false;
  bool fired_ = false;
  std::thread thread_;
};

}  // namespace

Outcome Passed(const std::string& firstLine) {
  return {"Test erfolgreich abgeschlossen!", "Lösungs-Datei erstellt: KM.OUT\r" + firstLine, Colour::buttonText(),
          "&Start"};
}

Outcome Failed() { return {"Test fehlgeschlagen!", "Lösungs-Datei wurde nicht erstellt:\rKM.OUT", kRed, "&Start"}; }

Outcome Aborted() { return {"Test wurde abgebrochen", "", Colour::buttonText(), "&Start"}; }

Outcome SystemError(int number, const std::string& text) {
  return {"Bereit", "Fehlernummer: " + std::to_string(number) + "\r" + text, kRed, "&Start"};
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Spit(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

Snapshot TakeSnapshot(const fs::path& folder) {
  Snapshot snapshot;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    snapshot[fs::relative(entry.path(), folder).string()] = Describe(entry.path());
  }
  return snapshot;
}

void FaultRun::SetUp() {
  // A write that runs away (through a link into the task it reads, say) fails
  // at 2 GiB instead of filling the disk while the watchdog waits.
  const rlimit limit{2UL << 30, 2UL << 30};
  ::setrlimit(RLIMIT_FSIZE, &limit);
  ::signal(SIGXFSZ, SIG_IGN);
}

void FaultRun::TearDown() {
  for (const int pid : census::ProcessesMentioning(base.string())) {
    ADD_FAILURE() << "process " << pid << " of this test is still running";
    ::kill(pid, SIGKILL);
  }
  window.reset();
  platform.reset();  // reaps what the program's end would reap
  for (const int pid : census::ChildrenOf(static_cast<int>(::getpid()))) {
    ADD_FAILURE() << "child " << pid << " in state " << census::ProcessState(pid) << " is left behind";
  }
  for (const fs::path& path : immutable_) SetImmutable(path, false);
}

void FaultRun::press(std::function<bool(int)> stopAt, std::chrono::seconds bound) {
  Watchdog watchdog(
      bound,
      [this] {
        for (const int pid : census::ProcessesMentioning(base.string())) ::kill(pid, SIGKILL);
        for (const int pid : census::ChildrenOf(static_cast<int>(::getpid()))) ::kill(pid, SIGKILL);
      },
      [this, bound] {
        std::fprintf(stderr, "FAILED: the press was still busy %lld s after Start, with no solver left to "
                     "wait for; ending the test program\n", static_cast<long long>(bound.count()) + 5);
        for (const fs::path& path : immutable_) SetImmutable(path, false);
        std::error_code ignored;
        fs::remove_all(base, ignored);
        std::_Exit(1);
      });
  toolkit.onEveryPump([this, stopAt, before = toolkit.pumps()](int pump) {
    if (stopAt && window->RunInProgress && stopAt(pump - before)) toolkit.click(window->cmdOK);
  });
  try {
    toolkit.click(window->cmdOK);
  } catch (...) {
    toolkit.onEveryPump(nullptr);
    throw;
  }
  toolkit.onEveryPump(nullptr);
  EXPECT_FALSE(watchdog.fired()) << "the run was still going " << bound.count()
                                 << " s after Start; its solver was killed";
}

void FaultRun::expectOutcome(const Outcome& expected) const {
  const frmKalmorChecker& f = *window;
  EXPECT_EQ(f.lblStatus.caption(), expected.status);
  EXPECT_EQ(f.lblResult.caption().substr(0, 300), expected.result.substr(0, 300));
  EXPECT_TRUE(f.lblResult.foreColour() == expected.resultColour) << "result colour";
  EXPECT_EQ(f.cmdOK.caption(), expected.button);
}

void FaultRun::expectOnlyRunFilesChanged(const Snapshot& before) const {
  const Snapshot after = TakeSnapshot(folder);
  std::set<std::string> names;
  for (const auto& entry : before) names.insert(entry.first);
  for (const auto& entry : after) names.insert(entry.first);
  for (const std::string& name : names) {
    const auto was = before.find(name);
    const auto is = after.find(name);
    const std::string* b = was == before.end() ? nullptr : &was->second;
    const std::string* a = is == after.end() ? nullptr : &is->second;
    if (b != nullptr && a != nullptr && *b == *a) continue;
    EXPECT_TRUE(AllowedChange(name, b, a)) << name << " changed:\n  before: " << (b ? b->substr(0, 200) : "absent")
                                           << "\n  after:  " << (a ? a->substr(0, 200) : "absent");
  }
}

std::string FaultRun::outputFirstLine() const {
  const std::string text = Slurp(folder / "KM.OUT");
  return text.substr(0, text.find('\r'));
}

bool FaultRun::markImmutable(const fs::path& path) {
  if (!SetImmutable(path, true)) return false;
  immutable_.push_back(path);
  return true;
}

}  // namespace kalmor::faults
