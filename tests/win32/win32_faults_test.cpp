// What the checker shows when its folder or its solver is broken in ways only
// Windows has: files held open by others, read-only marks, programs that are
// none, folder names the ANSI code page cannot spell, paths beyond MAX_PATH.
// Every case must end with a clear outcome, change no file but the run's own,
// and leave no solver running.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/win32/file_marks.h"
#include "tests/support/win32/held_file.h"
#include "tests/win32/checker_window.h"

namespace kalmor {
namespace {

namespace fs = std::filesystem;
using probes::HeldFile;
using probes::Sharing;
using testing::CheckerWindow;

// Every case ends in an error before any solver starts: its number (the one
// Windows or Wine gives) and the system's text for it, with the solver's file
// name for "%1" where namesSolver is set. arrange answers whether the fault
// holds: a read-only mark stops no one under Wine as root, and the run is then
// expected to pass.
using Arrange = std::function<bool(CheckerWindow&, std::unique_ptr<HeldFile>&)>;
struct FaultCase {
  const char* name;
  Arrange arrange;
  std::vector<int> errors;
  bool namesSolver = false;
};

void OldFile(CheckerWindow& t, const std::string& name) { t.put(name, "old " + name + "\r\n"); }

Arrange Holding(const char* name, Sharing sharing) {
  return [=](CheckerWindow& t, std::unique_ptr<HeldFile>& held) {
    OldFile(t, name);
    held = std::make_unique<HeldFile>(t.file(name), sharing);
    return true;
  };
}

// Both solver builds replaced by a folder (nullopt) or by a file of these bytes.
Arrange SolverIs(std::optional<std::string> bytes) {
  return [=](CheckerWindow& t, std::unique_ptr<HeldFile>&) {
    for (const char* build : {"kmwin32.exe", "kmwin64.exe"}) {
      fs::remove(t.folder / build);
      if (bytes) {
        t.put(build, *bytes);
      } else {
        fs::create_directory(t.folder / build);
      }
    }
    return true;
  };
}

// TMP_INPUT.INP as a second name of a file beside the checker's folder.
Arrange InputLinkedOut(bool hard) {
  return [=](CheckerWindow& t, std::unique_ptr<HeldFile>&) {
    const fs::path outside = t.scratch.path() / "outside.INP";
    const fs::path input = t.folder / "TMP_INPUT.INP";
    std::ofstream(outside, std::ios::binary) << "keep";
    const bool made = hard ? ::CreateHardLinkW(input.c_str(), outside.c_str(), nullptr)
                           : ::CreateSymbolicLinkW(input.c_str(), outside.c_str(), 0);
    EXPECT_TRUE(made) << "link not made, error " << ::GetLastError();
    // Wine 8 answers CreateSymbolicLinkW as done and makes nothing: the input
    // is then a file of its own, and the run passes.
    const DWORD attributes = ::GetFileAttributesW(input.c_str());
    return hard ||
           (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT));
  };
}

// The checker's folder moved below the scratch folder, by a UTF-8 name.
Arrange InFolder(std::string utf8Name) {
  return [=](CheckerWindow& t, std::unique_ptr<HeldFile>&) {
    t.useFolder(t.scratch.path() / testing::FromUtf8(utf8Name));
    return true;
  };
}

// Nested so deep that the full path of TMP_INPUT.INP is beyond MAX_PATH (260).
std::string DeepName() {
  std::string name = std::string(40, 'd');
  while (name.size() < 300) name += "\\" + std::string(40, 'd');
  return name;
}

const FaultCase kCases[] = {
    {"OldResultHeldWithoutDeleteSharing", Holding("KM.OUT", Sharing::NoDelete), {32}},
    {"InputHeldWithoutSharing", Holding("TMP_INPUT.INP", Sharing::None), {32}},
    {"InputMarkedReadOnly",
     [](CheckerWindow& t, std::unique_ptr<HeldFile>&) {
       OldFile(t, "TMP_INPUT.INP");
       EXPECT_TRUE(probes::MarkFile(t.file("TMP_INPUT.INP"), probes::FileMark::ReadOnly));
       return !std::ofstream(t.folder / "TMP_INPUT.INP", std::ios::app).is_open();
     },
     {5}},
    // Written through, a second name would overwrite a file outside the folder.
    {"InputIsAHardLinkOutOfTheFolder", InputLinkedOut(true), {1142}},
    {"InputIsASymbolicLinkOutOfTheFolder", InputLinkedOut(false), {681}},
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

class Win32Faults : public CheckerWindow, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(Win32Faults, EndsClearlyAndChangesOnlyTheRunsFiles) {
  const FaultCase& c = GetParam();
  std::unique_ptr<HeldFile> held;
  const bool inForce = c.arrange(*this, held);
  if (held) {
    ASSERT_TRUE(held->held()) << "the probe could not hold the file open";
  }
  auto& f = load("");
  const testing::Snapshot before = testing::TakeSnapshot(folder);
  press();

  const std::string& result = f.lblResult.caption();
  if (inForce) {
    const std::string number = result.substr(0, result.find('\r'));
    const std::string text = result.substr(result.find('\r') + 1);
    expectOutcome({"Ready", number + "\r" + text, kRed, "&Start"});
    bool known = false;
    for (const int error : c.errors) known |= number == "Error number: " + std::to_string(error);
    EXPECT_TRUE(known) << number;
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.find("Unbekannter Fehler"), std::string::npos) << text;
    EXPECT_EQ(text.find("%1"), std::string::npos) << text;
    if (c.namesSolver) {
      EXPECT_NE(text.find(f.SolverExe), std::string::npos) << text;
    }
  } else {
    expectOutcome({"Test finished successfully!",
                   "Solution file created: KM.OUT\r" + firstLineOf("KM.OUT"),
                   Colour::buttonText(), "&Start"});
  }
  EXPECT_EQ(testing::TakeSnapshot(folder).count("standin_calls.log") == 1, !inForce)
      << "whether the solver started";
  held.reset();
  expectOnlyRunFilesChanged(before);
  expectNoSolverLeft();
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32Faults, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FaultCase>& run) {
                           return std::string(run.param.name);
                         });

using Win32SameFile = CheckerWindow;

// Copied into itself, the task would be emptied before it is read.
TEST_F(Win32SameFile, TaskThatIsTheInputUnderAnotherNameIsRefused) {
  auto& f = load("");
  const std::string task = "Stipulation #3\r\n<Protokoll>\r\n";
  put("TMP_INPUT.INP", task);
  fs::remove(folder / "test_#3.INP");
  ASSERT_TRUE(::CreateHardLinkW((folder / "test_#3.INP").c_str(),
                                (folder / "TMP_INPUT.INP").c_str(), nullptr));
  const testing::Snapshot before = testing::TakeSnapshot(folder);
  press();
  expectOutcome({"Ready", "The task and TMP_INPUT.INP are the same file; the test does not start.",
                 kRed, "&Start"});
  EXPECT_EQ(f.uProc.processId, 0u);
  EXPECT_EQ(testing::TakeSnapshot(folder), before);
}

}  // namespace
}  // namespace kalmor
