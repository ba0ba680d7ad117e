// The Start/Stop button: one press runs a whole test; a press during a run
// only asks the running test to stop.
#include <array>
#include <string>

#include "i18n/fill_placeholders.h"
#include "i18n/refusal_texts.h"
#include "sysinfo/get_api_error.h"
#include "testbench/failure_reason.h"
#include "testbench/file_names.h"
#include "testbench/first_line.h"
#include "testbench/frm_kalmor_checker.h"
#include "testbench/task_rewrite.h"

namespace kalmor {

std::string frmKalmorChecker::inAppFolder(const std::string& fileName) const {
  return JoinPath(AppFolder, platform_.pathSeparator(), fileName);
}

std::string frmKalmorChecker::inProgramFolder(const std::string& fileName) const {
  return JoinPath(platform_.programFolder(), platform_.pathSeparator(), fileName);
}

void frmKalmorChecker::showInRed(const std::string& why) {
  lblStatus.setCaption(ReadyText);
  lblStatus.setForeColour(kBlack);
  toolkit_.refresh(lblStatus);
  bild0.setPicture(cmdOK.picture());
  bild0.setVisible(true);
  lblResult.setForeColour(kRed);
  lblResult.setCaption(why);
}

std::string frmKalmorChecker::showSystemError(std::int32_t error, const std::string& fileName) {
  const std::string text =
      FillPlaceholders(platform_.fromAnsi(GetAPIError(platform_.messageQueries(), error)), {fileName});
  showInRed(ErrorNumberText + " " + std::to_string(error) + "\r" + text);
  return text;
}

void frmKalmorChecker::refuseRun(const std::string& why) {
  showInRed(why);
  cmdOK.setCaption("&Start");
}

std::string frmKalmorChecker::whyNotRun() {
  const int language = lstLanguage.listIndex();
  // A folder that cannot be named would put the run's files elsewhere (the
  // current folder, the root); a line break in its name would split the
  // protocol line, and the solver would write where the second half points.
  if (AppFolder.empty()) return RefusalText(Refusal::ProgramFolderUnknown, language);
  if (AppFolder.find_first_of("\r\n") != std::string::npos) {
    return RefusalText(Refusal::FolderHasLineBreak, language);
  }
  return {};
}

bool frmKalmorChecker::writeTemporaryInput(std::int32_t& error, std::string& failedFile) {
  failedFile = kTemporaryInputFile;
  auto output = platform_.openForWriting(inAppFolder(kTemporaryInputFile), error);
  if (!output) return false;

  failedFile = TaskFile;
  auto input = platform_.openForReading(inAppFolder(TaskFile), error);
  if (!input) {
    std::int32_t ignored = 0;
    output->close(ignored);
    return false;
  }

  TaskRewriter rewriter(
      platform_.toAnsi("Protokoll " + inAppFolder(kSolverOutputFile)));
  std::array<char, 64 * 1024> buffer{};
  std::string rewritten;
  for (;;) {
    failedFile = TaskFile;
    error = 0;
    const std::size_t count = input->read(buffer.data(), buffer.size(), error);
    if (error != 0) break;
    rewritten.clear();
    if (count == 0) {
      rewriter.finish(rewritten);
    } else {
      rewriter.feed(buffer.data(), count, rewritten);
    }
    failedFile = kTemporaryInputFile;
    if (!rewritten.empty() && !output->write(rewritten.data(), rewritten.size(), error)) break;
    if (count == 0) {
      input.reset();
      return output->close(error);
    }
  }
  std::int32_t ignored = 0;
  output->close(ignored);
  return false;
}

bool frmKalmorChecker::readSolverFirstLine(std::string& line, std::int32_t& error) {
  auto file = platform_.openForReading(inAppFolder(kSolverOutputFile), error);
  if (!file) return false;
  const auto first = ReadFirstLine(*file, error);
  if (!first) return false;
  line = platform_.fromAnsi(*first);
  return true;
}

void frmKalmorChecker::judgeRun() {
  if (platform_.plainFileExists(inAppFolder(kSolverOutputFile))) {
    bild0.setPicture(form.icon());
    bild0.setVisible(true);
    std::string firstLine;
    std::int32_t error = 0;
    if (!readSolverFirstLine(firstLine, error)) {
      SolverFirstLine.clear();
      showSystemError(error, kSolverOutputFile);
      cmdOK.setCaption("&Start");
      return;
    }
    SolverFirstLine = "\r" + firstLine;
    lblStatus.setCaption(TestPassedText);
    lblResult.setCaption(SolutionCreatedText + " " + kSolverOutputFile + SolverFirstLine);
    lblResult.setForeColour(Colour::buttonText());
    cmdOK.setCaption("&Start");
  } else {
    SolverFirstLine.clear();
    bild0.setPicture(cmdOK.picture());
    bild0.setVisible(true);
    lblStatus.setCaption(TestFailedText);
    lblResult.setCaption(SolutionMissingText + "\r" + kSolverOutputFile);
    lblResult.setForeColour(kRed);
    FailureReason = SolverFailureReason(SolverExit, SolverExitText, lstLanguage.listIndex());
    lblResult.setToolTip(FailureReason);
    cmdOK.setCaption("&Start");
  }
}

void frmKalmorChecker::cmdOK_Click() {
  StartPressed = true;
  frameTime.setVisible(true);
  StartFailed = false;
  toolkit_.setFocus(cmdDummy);
  if (!RunInProgress) {
    FailureReason.clear();
    lblResult.setToolTip("");
  }
  bild0.setVisible(false);
  AppFolder = platform_.programFolder();

  if (RunInProgress) {
    AbortRequested = true;
    return;
  }

  if (const std::string why = whyNotRun(); !why.empty()) {
    refuseRun(why);
    return;
  }

  // An old result that survives would make a failing solver pass, so a run
  // does not start unless it is gone. An old link of that name, dangling or
  // not, would lead the solver's output out of the folder: it goes too.
  const std::string oldOutput = inAppFolder(kSolverOutputFile);
  if (platform_.plainFileExists(oldOutput) || platform_.linkExists(oldOutput)) {
    std::int32_t error = 0;
    if (!platform_.deleteFile(oldOutput, error)) {
      showSystemError(error, kSolverOutputFile);
      cmdOK.setCaption("&Start");
      return;
    }
  }

  if (TaskFile.empty() || !platform_.plainFileExists(inAppFolder(TaskFile))) return;

  // A task that is the input under another name would be copied into itself
  // while it is read: emptied, or grown without end.
  if (platform_.sameFile(inAppFolder(TaskFile), inAppFolder(kTemporaryInputFile))) {
    refuseRun(RefusalText(Refusal::TaskIsTemporaryInput, lstLanguage.listIndex()));
    return;
  }

  cmdOK.setCaption("&Stop");
  lblResult.setCaption(TestVariantText + "\r" + "Kalmor " + lstKalmorBitVersion.text() + ", " +
                       CallingModeText + " " +
                       std::to_string(lstKalmorCallingMode.listIndex() + 1));
  lblResult.setForeColour(Colour::buttonText());
  RunInProgress = true;

  std::int32_t error = 0;
  std::string failedFile;
  if (!writeTemporaryInput(error, failedFile)) {
    showSystemError(error, failedFile);
    RunInProgress = false;
    cmdOK.setCaption("&Start");
    return;
  }

  bild0.setPicture(cmdDummy.picture());
  bild0.setVisible(true);

  ShellWait(inAppFolder(SolverExe), inAppFolder(kTemporaryInputFile), false);

  if (!AbortRequested && !SolverKilled && !StartFailed) judgeRun();

  SolverKilled = false;
  cmdOK.setCaption("&Start");
}

}  // namespace kalmor
