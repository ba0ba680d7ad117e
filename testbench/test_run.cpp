// The Start/Stop button: one press runs a whole test; a press during a run
// only asks the running test to stop.
#include <string>

#include "i18n/fill_placeholders.h"
#include "i18n/refusal_texts.h"
#include "i18n/report_texts.h"
#include "sysinfo/get_api_error.h"
#include "testbench/failure_reason.h"
#include "testbench/file_names.h"
#include "testbench/first_line.h"
#include "testbench/frm_kalmor_checker.h"

namespace kalmor {

std::string frmKalmorChecker::inAppFolder(const std::string& fileName) const {
  return JoinPath(AppFolder, platform_.pathSeparator(), fileName);
}

std::string frmKalmorChecker::inProgramFolder(const std::string& fileName) const {
  const Result<std::string> folder = platform_.programFolder();
  return JoinPath(folder ? *folder : "", platform_.pathSeparator(), fileName);
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

std::string frmKalmorChecker::systemErrorText(std::int32_t error, const std::string& fileName) {
  return FillPlaceholders(platform_.fromAnsi(GetAPIError(platform_.messageQueries(), error)), {fileName});
}

std::string frmKalmorChecker::errorLine(std::int32_t error, const std::string& text) const {
  return ErrorNumberText + " " + std::to_string(error) + "\r" + text;
}

void frmKalmorChecker::endPress(RunOutcome outcome, std::string detail, const std::string& redLine) {
  if (outcome == RunOutcome::CouldNotStart) {
    // The red line says why; a solver the status line named missing comes first.
    detail = redLine;
    if (SolverMissing) {
      const std::string missing = ReportTextFor(ReportText::SolverMissing, lstLanguage.listIndex());
      detail = FillPlaceholders(missing, {SolverExe}) + " " + detail;
    }
  }
  LastPress = PressResult{outcome, std::move(detail),
                          outcome == RunOutcome::Failed ? SolverExit : ProcessExit{}};
  if (Closing) return;  // a window that is going is not painted again
  if (!redLine.empty()) {
    showInRed(redLine);
    // No solver ran: the time of an earlier run would read as this one's.
    if (outcome == RunOutcome::Refused) lblTimer.setCaption("00:00:00");
  } else if (outcome == RunOutcome::Passed) {
    bild0.setPicture(form.icon());
    bild0.setVisible(true);
    lblStatus.setCaption(TestPassedText);
    lblResult.setCaption(SolutionCreatedText + " " + kSolverOutputFile + "\r" + LastPress.detail);
    lblResult.setForeColour(Colour::buttonText());
  } else if (outcome == RunOutcome::Failed) {
    bild0.setPicture(cmdOK.picture());
    bild0.setVisible(true);
    lblStatus.setCaption(TestFailedText);
    lblResult.setCaption(SolutionMissingText + "\r" + kSolverOutputFile);
    lblResult.setForeColour(kRed);
    lblResult.setToolTip(LastPress.detail);
  } else if (outcome == RunOutcome::Aborted) {
    bild0.setPicture(cmdClose.picture());
    bild0.setVisible(true);
    lblStatus.setCaption(AbortedText);
    lblResult.setCaption("");
  } else {
    return;  // a press that ran nothing and says nothing
  }
  cmdOK.setCaption("&Start");
}

void frmKalmorChecker::refuseRun(const std::string& why) {
  endPress(RunOutcome::Refused, why, why);
}

void frmKalmorChecker::failToStart(std::int32_t error, const std::string& fileName) {
  endPress(RunOutcome::CouldNotStart, {}, errorLine(error, systemErrorText(error, fileName)));
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
  // Written to, a named pipe that another process holds open blocks the
  // checker for ever; the solver blocks on a KM.OUT that is one.
  const auto special = [this](const char* name) {
    const NameKind kind = platform_.nameKind(inAppFolder(name), nullptr);
    return kind == NameKind::Folder || kind == NameKind::Other;
  };
  if (special(kTemporaryInputFile)) return RefusalText(Refusal::InputNotAFile, language);
  if (special(kSolverOutputFile)) return RefusalText(Refusal::OutputNotAFile, language);
  // A task that is the input under another name would be copied into itself
  // while it is read: emptied, or grown without end.
  if (!TaskFile.empty() &&
      platform_.sameFile(inAppFolder(TaskFile), inAppFolder(kTemporaryInputFile))) {
    return RefusalText(Refusal::TaskIsTemporaryInput, language);
  }
  return {};
}

std::string frmKalmorChecker::whyTheSolverCannotRun() {
  const int language = lstLanguage.listIndex();
  switch (platform_.checkSolver(inAppFolder(SolverExe))) {
    case SolverCheck::Runnable:
      return {};
    case SolverCheck::WineMissing:
      return RefusalText(Refusal::WineMissing, language);
    case SolverCheck::No32BitHere:
      return RefusalText(Refusal::No32BitHere, language);
    case SolverCheck::NotAProgram:
      return RefusalText(Refusal::NotAProgram, language);
    case SolverCheck::LauncherMissing:
      return RefusalText(Refusal::WineLauncherMissing, language);
  }
  return {};
}

void frmKalmorChecker::judgeRun(RunLock& runLock) {
  // Judged is what was opened: a name checked first and opened later could
  // meanwhile lead to a pipe that never ends or to another file. And a run
  // that lost the folder may find another check's output.
  // A plain file that cannot be opened is judged as one whose reading failed.
  Result<FoundOutput> output = FoundOutput{};
  std::string whyNot;
  if (!runLock.stillHeld()) {
    whyNot = ReportTextFor(ReportText::FolderLost, lstLanguage.listIndex());
  } else {
    output = platform_.openResult(inAppFolder(kSolverOutputFile));
  }
  const NameKind kind = output ? output->kind : NameKind::File;
  if (kind != NameKind::File && kind != NameKind::Absent) {
    whyNot = ReportTextFor(ReportText::OutputNotAFile, lstLanguage.listIndex());
  }
  if (whyNot.empty() && kind == NameKind::File) {
    const Result<std::string> firstLine =
        output ? ReadFirstLine(*output->file) : SystemError{output.error()};
    if (!firstLine) {
      const std::string text = systemErrorText(firstLine.error(), kSolverOutputFile);
      endPress(RunOutcome::Failed, text, errorLine(firstLine.error(), text));
      return;
    }
    endPress(RunOutcome::Passed, platform_.fromAnsi(*firstLine));
    return;
  }
  endPress(RunOutcome::Failed,
           whyNot.empty() ? SolverFailureReason(SolverExit, lstLanguage.listIndex()) : whyNot);
}

void frmKalmorChecker::cmdOK_Click() {
  StartPressed = true;
  frameTime.setVisible(true);
  toolkit_.setFocus(cmdDummy);
  if (!RunInProgress) {
    LastPress = PressResult{};
    lblResult.setToolTip("");
  }
  bild0.setVisible(false);
  const Result<std::string> folder = platform_.programFolder();
  AppFolder = folder ? *folder : "";

  if (RunInProgress) {
    AbortRequested = true;
    return;
  }
  // However the press ends, its outcome reaches a screen reader, while the
  // focus stays on the hidden button.
  struct AnnounceOnReturn {
    frmKalmorChecker& window;
    ~AnnounceOnReturn() {
      window.toolkit_.announce(window.lblStatus);
      window.toolkit_.announce(window.lblResult);
    }
  } const announce{*this};

  if (TaskFile.empty() || !platform_.plainFileExists(inAppFolder(TaskFile))) {
    // Nothing is touched: the window says nothing, and no file appears
    // (the run lock would make TMP_INPUT.INP). Whoever drives it learns why.
    endPress(RunOutcome::Refused, RefusalText(Refusal::TaskMissing, lstLanguage.listIndex()));
    return;
  }

  if (const std::string why = whyNotRun(); !why.empty()) {
    refuseRun(why);
    return;
  }
  // As a missing solver or one that is no program on Windows: this build
  // cannot start here, and the next one may.
  if (const std::string why = whyTheSolverCannotRun(); !why.empty()) {
    endPress(RunOutcome::CouldNotStart, {}, why);
    return;
  }

  // One run per folder: a second checker here would judge this run's output,
  // or delete it. Held until this run is judged, on every path.
  Result<LockAnswer> locking = platform_.lockRun(inAppFolder(kTemporaryInputFile));
  if (!locking) {
    failToStart(locking.error(), kTemporaryInputFile);
    return;
  }
  const std::unique_ptr<RunLock> runLock = std::move(locking->lock);
  if (locking->outcome == LockOutcome::Busy) {
    const std::string holders = platform_.runLockHolders(inAppFolder(kTemporaryInputFile));
    refuseRun(holders.empty() ? RefusalText(Refusal::FolderBusy, lstLanguage.listIndex())
                              : FillPlaceholders(RefusalText(Refusal::FolderBusyHeldBy,
                                                             lstLanguage.listIndex()),
                                                 {holders}));
    return;
  }
  if (locking->outcome == LockOutcome::Link) {
    refuseRun(RefusalText(Refusal::InputIsLink, lstLanguage.listIndex()));
    return;
  }

  // An old result that survives would make a failing solver pass, so a run
  // does not start unless it is gone, whatever its attributes. An old link of
  // that name, dangling or not, would lead the solver's output out of the
  // folder: it goes as a link.
  const std::string oldOutput = inAppFolder(kSolverOutputFile);
  const Result<Done> deleted = platform_.nameKind(oldOutput, runLock.get()) == NameKind::Absent
                                   ? kDone
                                   : platform_.deleteFile(oldOutput);
  if (!deleted) {
    std::string text = systemErrorText(deleted.error(), kSolverOutputFile);
    text.erase(text.find_last_not_of(" \r\n") + 1);
    endPress(RunOutcome::CouldNotStart, {},
             FillPlaceholders(RefusalText(Refusal::OldOutputNotDeleted, lstLanguage.listIndex()),
                              {std::to_string(deleted.error()), text}));
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
  const InputCopy copy = writeTemporaryInput(error, failedFile);
  if (copy != InputCopy::Written) {
    RunInProgress = false;
    AbortRequested = false;
    if (copy == InputCopy::Failed) failToStart(error, failedFile);
    if (copy == InputCopy::Stopped) endPress(RunOutcome::Aborted, AbortedText);
    if (copy == InputCopy::TooLarge) {
      endPress(RunOutcome::CouldNotStart, {},
               RefusalText(Refusal::TemporaryInputTooLarge, lstLanguage.listIndex()));
    }
    return;
  }

  bild0.setPicture(cmdDummy.picture());
  bild0.setVisible(true);

  const bool started =
      ShellWait(inAppFolder(SolverExe), inAppFolder(kTemporaryInputFile), false, *runLock);
  if (started && !SolverKilled && SolverExit.kind == ProcessExit::Kind::NotStarted) {
    // Wine's launcher could not start it: a start that failed, as on Windows.
    const std::string text = FillPlaceholders(SolverExit.text, {SolverExe});
    endPress(RunOutcome::CouldNotStart, {}, errorLine(static_cast<std::int32_t>(SolverExit.value), text));
  } else if (started && !SolverKilled) {
    judgeRun(*runLock);
  }
  SolverKilled = false;
}

}  // namespace kalmor
