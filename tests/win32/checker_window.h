// A checker window on the Windows platform, loaded in a scratch folder with
// the stand-in solver as both solver builds, and the checks a whole run
// shares: what the window shows, which files changed, which solvers are left.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "tests/support/win32/folder_tree.h"
#include "tests/support/win32/process_census.h"
#include "platform/win32/win32_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "tests/support/eventually.h"
#include "tests/win32/scratch_folder.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor::testing {

namespace fs = std::filesystem;

inline constexpr int kEnglish = 1;

// What the window shows once a press has been handled.
struct Outcome {
  std::string status;
  std::string result;
  Colour resultColour;
  std::string button;
};

// Every entry below a folder, whatever the length of its path.
using Snapshot = std::map<std::string, std::string>;
inline Snapshot TakeSnapshot(const fs::path& folder) { return probes::DescribeTree(Utf8(folder)); }

class CheckerWindow : public ::testing::Test {
 public:
  CheckerWindow() { useFolder(scratch.path()); }

  // Makes dir the checker's folder, created if need be, with both solver builds.
  void useFolder(const fs::path& dir) {
    fs::create_directories(dir);
    folder = dir;
    for (const char* build : {"kmwin32.exe", "kmwin64.exe"}) {
      fs::copy_file(KALMOR_STANDIN_SOLVER, folder / build, fs::copy_options::overwrite_existing);
    }
  }
  // The UTF-8 path of name in the checker's folder, joined with a backslash.
  std::string file(const std::string& name) const { return Utf8(folder) + "\\" + name; }
  void put(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder / FromUtf8(name), std::ios::binary) << bytes;
  }

  // Writes the task, then loads a fresh window in English on a fresh platform.
  frmKalmorChecker& load(const std::string& directives) {
    put("test_#3.INP", directives + "<Protokoll>\r\nweiss Ka1 Dd1\r\n");
    window.reset();
    platform = std::make_unique<Win32Platform>(Utf8(folder));
    window = std::make_unique<frmKalmorChecker>(*platform, toolkit);
    toolkit.attach(*window);
    window->Form_Load();
    toolkit.choose(window->lstLanguage, kEnglish);
    return *window;
  }

  // Presses Start, and Stop at the pump where stopAt holds; a run still waiting
  // after bound is stopped and reported as hung. Returns how long it took.
  std::chrono::steady_clock::duration press(
      std::function<bool(int)> stopAt = [](int) { return false; },
      std::chrono::steady_clock::duration bound = std::chrono::seconds(30)) {
    const auto started = std::chrono::steady_clock::now();
    bool hung = false;
    toolkit.onEveryPump([&](int pump) {
      if (!window->RunInProgress || hung) return;
      hung = std::chrono::steady_clock::now() - started > bound;
      if (hung || stopAt(pump)) toolkit.click(window->cmdOK);
    });
    toolkit.click(window->cmdOK);
    toolkit.onEveryPump(nullptr);
    EXPECT_FALSE(hung) << "the run was still waiting after the bound and was stopped";
    return std::chrono::steady_clock::now() - started;
  }

  void expectOutcome(const Outcome& expected) const {
    EXPECT_EQ(window->lblStatus.caption(), expected.status);
    EXPECT_EQ(window->lblResult.caption(), expected.result);
    EXPECT_TRUE(window->lblResult.foreColour() == expected.resultColour) << "result colour";
    EXPECT_EQ(window->cmdOK.caption(), expected.button);
    EXPECT_FALSE(window->RunInProgress);
    EXPECT_FALSE(window->SolverRunning);
  }

  // Nothing changed since the snapshot but what a run may change: TMP_INPUT.INP
  // written as a file, KM.OUT deleted or written, the stand-in's own log.
  void expectOnlyRunFilesChanged(const Snapshot& before) const {
    const Snapshot after = TakeSnapshot(folder);
    std::set<std::string> names;
    for (const auto& entry : before) names.insert(entry.first);
    for (const auto& entry : after) names.insert(entry.first);
    for (const std::string& name : names) {
      const auto was = before.find(name);
      const auto is = after.find(name);
      const bool existed = was != before.end();
      const bool exists = is != after.end();
      if (existed && exists && was->second == is->second) continue;
      const auto isFile = [](const std::string& text) { return text.rfind("file", 0) == 0; };
      const bool allowed =
          name == "standin_calls.log" ||
          (name == "TMP_INPUT.INP" && exists && isFile(is->second) &&
           (!existed || isFile(was->second))) ||
          (name == "KM.OUT" && (!existed || isFile(was->second)) && (!exists || isFile(is->second)));
      EXPECT_TRUE(allowed) << name << " changed:\n  before: "
                           << (existed ? was->second.substr(0, 200) : "absent")
                           << "\n  after:  " << (exists ? is->second.substr(0, 200) : "absent");
    }
  }

  // No solver of ours still runs (terminated ones may take a moment to go).
  static void expectNoSolverLeft() {
    EXPECT_TRUE(Eventually(std::chrono::seconds(5),
                           [] { return probes::ProcessesNamed("kmwin").empty(); }))
        << probes::ProcessesNamed("kmwin").size() << " kmwin*.exe process(es) still running";
  }

  std::string firstLineOf(const std::string& name) const {
    std::ifstream in(BeyondMaxPath(folder / FromUtf8(name)), std::ios::binary);
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }

  ScratchFolder scratch;
  fs::path folder;
  HeadlessToolkit toolkit;
  std::unique_ptr<Win32Platform> platform;
  std::unique_ptr<frmKalmorChecker> window;
};

}  // namespace kalmor::testing
