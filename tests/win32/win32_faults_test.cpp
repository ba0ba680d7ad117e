// What the checker shows when its folder or its solver is broken in ways only
// Windows has: files held open by others, programs that are none, folder names
// the ANSI code page cannot spell, paths beyond MAX_PATH, second names of a
// file. Every case must end with a clear error, change no file but the run's
// own, and leave no solver running.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "tests/support/eventually.h"
#include "tests/support/win32/folder_tree.h"
#include "tests/support/win32/process_census.h"
#include "tests/win32/scratch_folder.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor {
namespace {

namespace fs = std::filesystem;
using testing::FromUtf8;
using Snapshot = std::map<std::string, std::string>;

// A checker window on the Windows platform in a scratch folder, with the
// stand-in as both solver builds.
class Win32Checker : public ::testing::Test {
 public:
  Win32Checker() { useFolder(scratch.path()); }
  void useFolder(const fs::path& dir) {
    fs::create_directories(dir);
    folder = dir;
    for (const char* build : {"kmwin32.exe", "kmwin64.exe"}) {
      fs::copy_file(KALMOR_STANDIN_SOLVER, folder / build, fs::copy_options::overwrite_existing);
    }
  }
  std::string file(const std::string& name) const { return testing::Utf8(folder) + "\\" + name; }
  void put(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder / FromUtf8(name), std::ios::binary) << bytes;
  }
  Snapshot snapshot() const { return probes::DescribeTree(testing::Utf8(folder)); }

  // Loads a fresh window in English, then presses Start; a run still going
  // after 30 s is stopped and fails the test.
  frmKalmorChecker& loadAndPress() {
    put("test_#3.INP", "<Protokoll>\r\nweiss Ka1 Dd1\r\n");
    platform = std::make_unique<Win32Platform>(testing::Utf8(folder));
    window = std::make_unique<frmKalmorChecker>(*platform, toolkit);
    toolkit.attach(*window);
    window->Form_Load();
    toolkit.choose(window->lstLanguage, 1);
    before = snapshot();
    if (arrangeAfterLoad) arrangeAfterLoad();
    const auto started = std::chrono::steady_clock::now();
    bool hung = false;
    toolkit.onEveryPump([&](int) {
      hung = hung || std::chrono::steady_clock::now() - started > std::chrono::seconds(30);
      if (hung && window->RunInProgress) toolkit.click(window->cmdOK);
    });
    toolkit.click(window->cmdOK);
    toolkit.onEveryPump(nullptr);
    EXPECT_FALSE(hung) << "the run was still waiting after 30 s";
    EXPECT_EQ(window->lblStatus.caption(), "Ready");
    EXPECT_TRUE(window->lblResult.foreColour() == kRed);
    EXPECT_EQ(window->cmdOK.caption(), "&Start");
    EXPECT_TRUE(testing::Eventually(std::chrono::seconds(5),
                                    [] { return probes::ProcessesNamed("kmwin").empty(); }))
        << "a solver still runs";
    return *window;
  }

  // Only KM.OUT and TMP_INPUT.INP may differ from the snapshot, as files.
  void expectOnlyRunFilesChanged() {
    Snapshot after = snapshot();
    for (const char* name : {"KM.OUT", "TMP_INPUT.INP"}) {
      for (Snapshot* state : {&before, &after}) {
        const auto entry = state->find(name);
        if (entry != state->end() && entry->second.rfind("file", 0) == 0) state->erase(entry);
      }
    }
    EXPECT_EQ(after, before);
  }

  testing::ScratchFolder scratch;
  fs::path folder;
  HeadlessToolkit toolkit;
  std::unique_ptr<Win32Platform> platform;
  std::unique_ptr<frmKalmorChecker> window;
  Snapshot before;
  std::function<void()> arrangeAfterLoad;
  UniqueHandle held;
};

// Every case ends in an error before any solver starts: its number (the one
// Windows or Wine gives) and the system's text for it, naming the solver's
// file for "%1" where namesSolver is set.
struct FaultCase {
  const char* name;
  std::function<void(Win32Checker&)> arrange;
  std::vector<int> errors;
  bool namesSolver = false;
};

// Opens name for reading as another program might, sharing as given.
std::function<void(Win32Checker&)> Holding(const char* name, DWORD sharing) {
  return [=](Win32Checker& t) {
    t.put(name, "old");
    t.held = UniqueHandle(::CreateFileW(FromUtf8(t.file(name)).c_str(), GENERIC_READ, sharing,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(t.held) << "could not hold " << name;
  };
}

// Both solver builds replaced by a folder (nullopt) or by a file of these bytes.
std::function<void(Win32Checker&)> SolverIs(std::optional<std::string> bytes) {
  return [=](Win32Checker& t) {
    for (const char* build : {"kmwin32.exe", "kmwin64.exe"}) {
      fs::remove(t.folder / build);
      if (bytes) t.put(build, *bytes);
      else fs::create_directory(t.folder / build);
    }
  };
}

std::function<void(Win32Checker&)> InFolder(const std::string& utf8Name) {
  return [=](Win32Checker& t) { t.useFolder(t.scratch.path() / FromUtf8(utf8Name)); };
}

// Nested so deep that the full path of TMP_INPUT.INP is beyond MAX_PATH (260).
std::string DeepName() {
  std::string name = std::string(40, 'd');
  while (name.size() < 300) name += "\\" + std::string(40, 'd');
  return name;
}

// Written through, a second name would overwrite a file outside the folder.
void InputIsAHardLinkOut(Win32Checker& t) {
  const fs::path outside = t.scratch.path() / "outside.INP";
  std::ofstream(outside, std::ios::binary) << "keep";
  ASSERT_TRUE(::CreateHardLinkW((t.folder / "TMP_INPUT.INP").c_str(), outside.c_str(), nullptr));
}

const FaultCase kCases[] = {
    {"OldResultHeldWithoutDeleteSharing", Holding("KM.OUT", FILE_SHARE_READ | FILE_SHARE_WRITE), {32}},
    {"InputHeldWithoutSharing", Holding("TMP_INPUT.INP", 0), {32}},
    {"InputIsAHardLinkOutOfTheFolder", InputIsAHardLinkOut, {1142}},
    // Windows: access denied; Wine 8: invalid handle.
    {"SolverIsAFolder", SolverIs(std::nullopt), {5, 6}},
    {"SolverIsATextFile", SolverIs("weiss Ka1\r\n"), {193}, true},
    {"SolverStartsLikeAProgramButIsNone", SolverIs("MZ, but no program"), {193}, true},
    {"SolverIsEmpty", SolverIs(""), {193}, true},
    // toAnsi leaves '?' for what the code page lacks: no valid program name.
    {"GreekFolderUnderAWesternCodePage", InFolder("\xCE\x9B\xCF\x8D\xCF\x84\xCE\xB7\xCF\x82"), {123}},
    {"CjkFolderUnderAWesternCodePage", InFolder("\xE8\xA7\xA3\xE9\xA1\x8C"), {123}},
    // Windows cannot write the input there (path not found, or name too long);
    // Wine writes it, then cannot find the program to start.
    {"FolderBeyondMaxPath", InFolder(DeepName()), {2, 3, 206}},
};

class Win32Faults : public Win32Checker, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(Win32Faults, EndsInTheSystemsErrorAndChangesOnlyTheRunsFiles) {
  const FaultCase& c = GetParam();
  c.arrange(*this);
  if (HasFatalFailure()) return;
  const std::string result = loadAndPress().lblResult.caption();
  const std::string number = result.substr(0, result.find('\r'));
  const std::string text = result.substr(result.find('\r') + 1);
  bool known = false;
  for (const int error : c.errors) known |= number == "Error number: " + std::to_string(error);
  EXPECT_TRUE(known) << result;
  EXPECT_FALSE(text.empty() || text == result) << result;
  EXPECT_EQ(text.find("Unbekannter Fehler"), std::string::npos) << text;
  EXPECT_EQ(text.find("%1"), std::string::npos) << text;
  if (c.namesSolver) {
    EXPECT_NE(text.find(window->SolverExe), std::string::npos) << text;
  }
  EXPECT_EQ(snapshot().count("standin_calls.log"), 0u) << "the solver started";
  held.reset();
  expectOnlyRunFilesChanged();
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32Faults, ::testing::ValuesIn(kCases),
                         [](const auto& run) { return std::string(run.param.name); });

using Win32SameFile = Win32Checker;

// Copied into itself, the task would be emptied before it is read.
TEST_F(Win32SameFile, TaskThatIsTheInputUnderAnotherNameIsRefused) {
  arrangeAfterLoad = [this] {
    put("TMP_INPUT.INP", "Stipulation #3\r\n<Protokoll>\r\n");
    fs::remove(folder / "test_#3.INP");
    ASSERT_TRUE(::CreateHardLinkW((folder / "test_#3.INP").c_str(),
                                  (folder / "TMP_INPUT.INP").c_str(), nullptr));
    before = snapshot();
  };
  EXPECT_EQ(loadAndPress().lblResult.caption(),
            "The task and TMP_INPUT.INP are the same file; the test does not start.");
  EXPECT_EQ(window->uProc.processId, 0u);
  EXPECT_EQ(snapshot(), before);
}

}  // namespace
}  // namespace kalmor
