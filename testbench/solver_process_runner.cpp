// Starts the solver hidden, waits for it in short slices while the window
// stays live, and stops it on request.
#include <string>

#include "i18n/get_field.h"
#include "testbench/frm_kalmor_checker.h"

namespace kalmor {
namespace {

constexpr int kWaitSliceMs = 10;
// Size of STARTUPINFOA in a 32-bit process; the record's size field only
// tells the system which layout it gets.
constexpr std::uint32_t kStartupRecordSize = sizeof(void*) == 4 ? 68 : 104;

}  // namespace

void frmKalmorChecker::WriteCallText() {
  const int mode = lstKalmorCallingMode.listIndex();
  if (mode < 0 || mode > 3) return;
  // Modes 2 and 4 stand for the declaration that passes its null pointers ByVal.
  const std::string none = (mode == 1 || mode == 3) ? "ByVal 0&" : "0&";
  lblTestvariante.setCaption("CreateProcess(" + none + ", " + commandLineForMode(mode) + ", " +
                             none + ", " + none + ", 1&, NORMAL_PRIORITY_CLASS, " + none + ", " +
                             none + ", uStart, uProc)");
}

const std::string& frmKalmorChecker::commandLineForMode(int mode) const {
  // Modes 3 and 4 leave the input path bare, so blanks split it.
  return (mode == 2 || mode == 3) ? CmdLinePlain : CmdLineQuoted;
}

void frmKalmorChecker::TerminateSolver() {
  if (Solver) Solver->terminate();
  RunInProgress = false;
  SolverKilled = true;
}

bool frmKalmorChecker::ShellWait(const std::string& cmdProg, const std::string& cmdTask,
                                 bool bShowApp, const RunLock& runLock) {
  CmdLineQuoted = cmdProg + " \"" + cmdTask + "\"";
  CmdLinePlain = cmdProg + " " + cmdTask;

  uStart = StartupRecord{};
  uStart.cb = kStartupRecordSize;
  uStart.dwFlags = kStartfUseShowWindow;
  uStart.wShowWindow = bShowApp ? kSwShowNormal : kSwHide;

  lblTimer.setCaption("00:00:00");
  Timer1.setEnabled(true);
  RunStartTime = toolkit_.now();

  const std::string& commandLine = commandLineForMode(lstKalmorCallingMode.listIndex());

  SolverExit = ProcessExit{};
  // The program is named explicitly, so blanks in its folder cannot make the
  // system start another file; the solver still gets the mode's command line.
  auto started = platform_.startSolver(platform_.toAnsi(cmdProg), platform_.toAnsi(commandLine),
                                       true, kNormalPriorityClass, uStart, &runLock);
  SolverRunning = static_cast<bool>(started);
  WriteCallText();

  if (!SolverRunning) {
    Timer1.setEnabled(false);
    failToStart(started.error(), SolverExe);
    RunInProgress = false;
    return false;
  }

  Solver = std::move(*started);
  // However the wait ends, the solver and all it started end with it.
  struct EndOnReturn {
    std::unique_ptr<SolverProcess>& solver;
    ~EndOnReturn() { solver.reset(); }
  } const endSolver{Solver};

  lblTimer.setCaption("00:00:00");
  Timer1.setEnabled(true);
  RunStartTime = toolkit_.now();

  lblStatus.setForeColour(kBlue);
  lblStatus.setCaption(RunningText);
  toolkit_.refresh(lblStatus);

  for (;;) {
    if (Solver->wait(kWaitSliceMs) != WaitOutcome::Timeout) {
      SolverExit = Solver->exit();
      break;
    }
    toolkit_.doEvents();
    if (AbortRequested) {
      TerminateSolver();
      endPress(RunOutcome::Aborted, AbortedText);
      break;
    }
  }

  Timer1.setEnabled(false);
  lblStatus.setBold(false);
  if (!AbortRequested) lblStatus.setCaption(GetField(lbl28.caption(), 11, "#"));
  lblStatus.setForeColour(kBlack);
  toolkit_.refresh(lblStatus);

  Solver.reset();
  SolverRunning = false;
  cmdOK.setCaption("&Start");
  lblResult.setForeColour(Colour::buttonText());
  RunInProgress = false;
  AbortRequested = false;
  return true;
}

}  // namespace kalmor
