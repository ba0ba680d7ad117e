// What the checker shows when its folder or its solver is broken in ways only
// Windows has: files held open by others, programs that are none, folder names
// the ANSI code page cannot spell, second names of a file. Every case must end
// with a clear error, change no file but the run's own, and leave no solver
// running.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "tests/support/eventually.h"
#include "tests/support/win32/process_census.h"
#include "tests/support/win32/scratch_folder.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor {
namespace {

namespace fs = std::filesystem;
using testing::FromUtf8;

// A checker window on the Windows platform in a scratch folder, with a task
// and the stand-in as both solver builds.
class Win32Checker : public ::testing::Test {
 public:
  Win32Checker() { useFolder(scratch.path()); }
  void useFolder(const fs::path& dir) {
    fs::create_directories(dir);
    folder = dir;
    for (const char* build : {"kmwin32.exe", "kmwin64.exe"}) {
      fs::copy_file(KALMOR_STANDIN_SOLVER, folder / build, fs::copy_options::overwrite_existing);
    }
    put("test_#3.INP", "<Protokoll>\r\nweiss Ka1 Dd1\r\n");
  }
  fs::path put(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder / FromUtf8(name), std::ios::binary) << bytes;
    return folder / FromUtf8(name);
  }

  // Loads a fresh window in English and presses Start; the result shown. A run
  // still going after 30 s is stopped and fails the test.
  std::string loadAndPress() {
    platform = std::make_unique<Win32Platform>(testing::Utf8(folder));
    window = std::make_unique<frmKalmorChecker>(*platform, toolkit);
    toolkit.attach(*window);
    window->Form_Load();
    toolkit.choose(window->lstLanguage, 1);
    before = testing::Snapshot(folder);
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    bool hung = false;
    toolkit.onEveryPump([&](int) {
      hung = hung || std::chrono::steady_clock::now() > limit;
      if (hung && window->RunInProgress) toolkit.click(window->cmdOK);
    });
    toolkit.click(window->cmdOK);
    toolkit.onEveryPump(nullptr);
    EXPECT_FALSE(hung) << "the run was still waiting after 30 s";
    EXPECT_TRUE(testing::Eventually(std::chrono::seconds(5),
                                    [] { return probes::ProcessesNamed("kmwin").empty(); }))
        << "a solver still runs";
    return window->lblResult.caption();
  }

  testing::ScratchFolder scratch;
  fs::path folder;
  HeadlessToolkit toolkit;
  std::unique_ptr<Win32Platform> platform;
  std::unique_ptr<frmKalmorChecker> window;
  std::map<std::string, std::string> before;
  UniqueHandle held;
};

// Every case ends in an error before any solver starts: one of these numbers
// (Windows' or Wine's) and the system's text for it; an old KM.OUT that stays
// is named in a sentence of its own.
struct FaultCase {
  const char* name;
  std::function<void(Win32Checker&)> arrange;
  std::vector<int> errors;
  bool oldOutput = false;
};
constexpr std::string_view kOldOutputKept = "The old KM.OUT cannot be deleted (error number ";

// Opens name for reading as another program might, sharing as given.
std::function<void(Win32Checker&)> Holding(const char* name, DWORD sharing) {
  return [=](Win32Checker& t) {
    t.held = UniqueHandle(::CreateFileW(t.put(name, "old").c_str(), GENERIC_READ, sharing,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(t.held) << "could not hold " << name;
  };
}

// Both solver builds replaced by a file of these bytes, or by a folder (nullptr).
std::function<void(Win32Checker&)> SolverIs(const char* bytes) {
  return [=](Win32Checker& t) {
    for (const char* build : {"kmwin32.exe", "kmwin64.exe"}) {
      fs::remove(t.folder / build);
      if (bytes != nullptr) t.put(build, bytes);
      else fs::create_directory(t.folder / build);
    }
  };
}

const FaultCase kCases[] = {
    {"OldResultHeldWithoutDeleteSharing", Holding("KM.OUT", FILE_SHARE_READ | FILE_SHARE_WRITE),
     {32}, true},
    {"InputHeldWithoutSharing", Holding("TMP_INPUT.INP", 0), {32}},
    // Windows: access denied; Wine 8: invalid handle.
    {"SolverIsAFolder", SolverIs(nullptr), {5, 6}},
    {"SolverIsATextFile", SolverIs("weiss Ka1\r\n"), {193}},
    // toAnsi leaves '?' for what the code page lacks: no valid program name.
    {"GreekFolderUnderAWesternCodePage",
     [](Win32Checker& t) { t.useFolder(t.scratch.path() / FromUtf8("\xCE\x9B\xCF\x8D\xCF\x84")); },
     {123}},
};

class Win32Faults : public Win32Checker, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(Win32Faults, EndsInTheSystemsErrorAndChangesOnlyTheRunsFiles) {
  const FaultCase& c = GetParam();
  c.arrange(*this);
  if (HasFatalFailure()) return;
  const std::string result = loadAndPress();
  const std::size_t cut = c.oldOutput ? result.find(": ", kOldOutputKept.size()) : result.find('\r');
  const std::string text =
      c.oldOutput ? result.substr(cut + 2, result.rfind(");") - cut - 2) : result.substr(cut + 1);
  EXPECT_TRUE(std::any_of(c.errors.begin(), c.errors.end(), [&](int error) {
    return result.starts_with(c.oldOutput ? std::string(kOldOutputKept) + std::to_string(error) + ":"
                                          : "Error number: " + std::to_string(error) + "\r");
  })) << result;
  EXPECT_FALSE(text.empty() || text == result || text.find("%1") != std::string::npos ||
               text.starts_with("Unbekannter Fehler")) << "not the system's text: " << result;
  held.reset();
  std::map<std::string, std::string> after = testing::Snapshot(folder);
  for (auto* state : {&before, &after}) {
    state->erase("KM.OUT");
    state->erase("TMP_INPUT.INP");
  }
  EXPECT_EQ(after, before) << "the solver ran, or a file not of the run changed";
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32Faults, ::testing::ValuesIn(kCases),
                         [](const auto& run) { return std::string(run.param.name); });

// Names in the folder that lead elsewhere, as a Unix link does (under Wine it
// looks like a plain file, or like nothing when it dangles), or a KM.OUT that
// a plain search does not find. The run passes on what its solver writes, and
// no file outside the folder, nor a file it leads to, changes or appears.
// A link at KM.OUT or TMP_INPUT.INP to a target relative to the folder; with
// no target, the file itself marked hidden and system.
struct LinkCase {
  const char *name, *at, *target;
  bool hardLink = false;
};

const LinkCase kLinkCases[] = {
    {"OldResultLinksOut", "KM.OUT", "../outside/victim"},
    {"OldResultDangles", "KM.OUT", "../outside/nothing"},
    {"OldResultHiddenAndSystem", "KM.OUT", nullptr},
    {"InputLinksOut", "TMP_INPUT.INP", "../outside/victim"},
    {"InputDangles", "TMP_INPUT.INP", "../outside/nothing"},
    {"InputLinksToTheSolver", "TMP_INPUT.INP", "kmwin64.exe"},
    {"InputIsASecondNameOfAFileOutside", "TMP_INPUT.INP", "../outside/victim", true},
};

class Win32Links : public Win32Checker, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(Win32Links, NeverReachBeyondTheNameAndTheRunPassesOnItsOwnOutput) {
  const LinkCase& c = GetParam();
  const fs::path outside = scratch.path() / "outside";
  useFolder(scratch.path() / "folder");
  fs::create_directory(outside);
  std::ofstream(outside / "victim", std::ios::binary) << "outside, kept";
  // Where an older checker made its replacement: a file there must not block the run.
  for (const char* run : {"KM.OUT", "TMP_INPUT.INP"}) {
    put(std::string(run) + "." + std::to_string(::GetCurrentProcessId()) + ".new", "in the way");
  }
  const fs::path at = put(c.at, "old, kept");
  if (c.target == nullptr) {
    ASSERT_TRUE(::SetFileAttributesW(at.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  } else if (fs::remove(at); c.hardLink) {
    ASSERT_TRUE(::CreateHardLinkW(at.c_str(), (outside / "victim").c_str(), nullptr));
  } else {
    testing::MakeLink(at, c.target);
  }
  if (HasFatalFailure()) return;
  EXPECT_TRUE(loadAndPress().starts_with("Solution file created: KM.OUT\rKalmor stand-in"))
      << window->lblResult.caption();
  EXPECT_EQ(testing::Snapshot(outside), (decltype(before){{"victim", "outside, kept"}}));
  EXPECT_EQ(fs::file_size(folder / "kmwin64.exe"), fs::file_size(KALMOR_STANDIN_SOLVER));
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32Links, ::testing::ValuesIn(kLinkCases),
                         [](const auto& run) { return std::string(run.param.name); });

using Win32SameFile = Win32Checker;

// Copied into itself, the task would be emptied before it is read.
TEST_F(Win32SameFile, TaskThatIsTheInputUnderAnotherNameIsRefused) {
  fs::remove(folder / "test_#3.INP");
  ASSERT_TRUE(::CreateHardLinkW((folder / "test_#3.INP").c_str(),
                                put("TMP_INPUT.INP", "Stipulation #3\r\n").c_str(), nullptr));
  EXPECT_EQ(loadAndPress(),
            "The task and TMP_INPUT.INP are the same file; the test does not start.");
  EXPECT_EQ(testing::Snapshot(folder), before);
}

// Wine shows a Unix named pipe as a plain file that opens at once; written to,
// or read while another process holds it open, it can wait for ever.
TEST_F(Win32SameFile, ANamedPipeHeldOpenAtARunFileIsRefused) {
  for (const std::string name : {"TMP_INPUT.INP", "KM.OUT"}) {
    const wchar_t* hold = L"mkfifo \"$0\" && { sleep 20 3<>\"$0\" </dev/null >/dev/null 2>&1 & }";
    if (!testing::UnixShell(folder / name, hold)) GTEST_SKIP() << "no named pipes on Windows";
    EXPECT_EQ(loadAndPress(), name + " is not a regular file; the test does not start.");
    testing::UnixShell(folder / name, L"rm \"$0\"");  // Wine cannot delete it
    before.erase(name);
    EXPECT_EQ(testing::Snapshot(folder), before);
  }
}

}  // namespace
}  // namespace kalmor
