// The checker window: its controls, the state its handlers share, and one
// handler per control event. Front-ends render the controls and forward events.
//
// Where its members are defined:
//   testbench/frm_kalmor_checker.cpp         the controls and their layout, Form_Load
//   testbench/solver_and_task_selection.cpp  lstKalmorBitVersion_Click, lstTask_Click
//   testbench/test_run.cpp                   cmdOK_Click (Start and Stop) and its steps
//   testbench/solver_process_runner.cpp      ShellWait, TerminateSolver, WriteCallText
//   testbench/timer_and_closing.cpp          Timer1_Timer, Form_QueryUnload, cmdClose_Click
//   testbench/apply_language.cpp             lstLanguage_Click (applying a language)
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "testbench/controls.h"
#include "testbench/run_outcome.h"
#include "testbench/toolkit.h"

namespace kalmor {

class frmKalmorChecker {
 public:
  frmKalmorChecker(Platform& platform, Toolkit& toolkit);
  frmKalmorChecker(const frmKalmorChecker&) = delete;
  frmKalmorChecker& operator=(const frmKalmorChecker&) = delete;

  // --- events
  void Form_Load();
  void lstLanguage_Click();
  void lstKalmorBitVersion_Click();
  void lstTask_Click();
  void cmdOK_Click();
  void cmdClose_Click();
  void Timer1_Timer();
  // unloadMode: 0 close box or system menu, 1 by the program, 2 system shutdown.
  void Form_QueryUnload(bool& cancel, int unloadMode);

  // --- methods
  // Runs the solver to its end or a Stop; it inherits runLock.
  bool ShellWait(const std::string& cmdProg, const std::string& cmdTask, bool bShowApp,
                 const RunLock& runLock);
  void TerminateSolver();
  void WriteCallText();
  // What a screen reader says for a control that shows no text of its own:
  // the status picture's meaning, and for the hidden button that holds the
  // focus the status line, with the key that stops a run during one and
  // after a failed run why it failed. Empty for the other controls.
  std::string SpokenName(const Control& control) const;

  // Every control, containers before their contents, in focus order where
  // they take the focus.
  const std::vector<Control*>& controls() const { return controls_; }
  const std::vector<Control*>& focusOrder() const { return focusOrder_; }
  Control* initialFocus();
  void setObserver(ControlObserver* observer);

  Frame& rahmen(int index);
  Label& lbl(int index);
  Image& bild(int index);

  // --- controls
  Form form;
  Frame rahmen11;
  Label lblOSVersion;
  Frame Frame3;
  Label lblLanguage;
  ComboBox lstLanguage;
  Label lblTask;
  ComboBox lstTask;
  Label lblMode;  // labels the build list lstKalmorBitVersion
  ComboBox lstKalmorBitVersion;
  Label Label1;  // labels the calling-mode list
  ComboBox lstKalmorCallingMode;
  Frame rahmen14;
  Image bild0;  // bild(0), the status picture
  Label lblStatus;
  Frame frameTime;
  Label lbl1;  // "Zeit:" before the elapsed time
  Label lblTimer;
  Label lblResult;
  Button cmdOK;  // Start, and Stop during a run
  Button cmdClose;
  Button cmdDummy;  // out of sight: takes the focus, holds the information picture
  Label lblTestvariante;  // hidden; WriteCallText leaves the solver call here
  Label lbl28;  // lbl(28), hidden; its status words give the interim text after a run
  TextBox tbLanguage;  // hidden; holds the language table
  Timer Timer1;

  // --- window-level state
  std::string AppFolder;
  std::string SolverExe;
  std::string TaskFile;
  bool SolverMissing = false;
  bool StartPressed = false;
  bool RunInProgress = false;
  bool AbortRequested = false;
  bool SolverKilled = false;
  bool SolverRunning = false;
  bool Closing = false;  // the window is going: nothing more is shown

  // Texts of the current language.
  std::string ReadyText;
  std::string RunningText;
  std::string TestVariantText;
  std::string TestPassedText;
  std::string TestFailedText;
  std::string SolutionCreatedText;
  std::string SolutionMissingText;
  std::string CallingModeText;
  std::string PressStartText;
  std::string AbortedText;
  std::string ErrorNumberText;

  // Run state of the process runner.
  StartupRecord uStart;
  std::unique_ptr<SolverProcess> Solver;  // while a solver runs
  std::string CmdLineQuoted;
  std::string CmdLinePlain;
  Clock::time_point RunStartTime{};
  ProcessExit SolverExit;  // how the last solver that ended by itself ended
  // How the last press ended (after a failed run its detail is also the
  // result line's tool tip, until the next press).
  PressResult LastPress;

 private:
  // AppFolder is taken at each press; the lists look in the program folder as it is now.
  std::string inAppFolder(const std::string& fileName) const;
  std::string inProgramFolder(const std::string& fileName) const;
  const std::string& commandLineForMode(int mode) const;
  // Where every press ends: sets its result and shows it. redLine, where
  // given, is said in red with the window at rest (a refusal, a system error).
  void endPress(RunOutcome outcome, std::string detail, const std::string& redLine = {});
  // The window at rest after a press that ran no solver, and why in red.
  void showInRed(const std::string& why);
  // The system's text for an error, with "%1" naming the file.
  std::string systemErrorText(std::int32_t error, const std::string& fileName);
  // The red line of a system error: its number, then its text.
  std::string errorLine(std::int32_t error, const std::string& text) const;
  // Ends a press that must not run, with why in red; the window is left idle.
  void refuseRun(const std::string& why);
  // Ends a press whose run a system error stopped before the solver started.
  void failToStart(std::int32_t error, const std::string& fileName);
  // Empty when the run may go on, else why it must not.
  std::string whyNotRun();
  // Empty when the chosen build can be started on this system.
  std::string whyTheSolverCannotRun();
  enum class InputCopy { Written, Failed, Stopped, TooLarge };
  InputCopy writeTemporaryInput(std::int32_t& error, std::string& failedFile);
  void judgeRun(RunLock& runLock);

  Platform& platform_;
  Toolkit& toolkit_;
  std::vector<Control*> controls_;
  std::vector<Control*> focusOrder_;
};

}  // namespace kalmor
