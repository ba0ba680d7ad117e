// The solver build and task lists: what the next run uses.
#include <string>

#include "i18n/fill_placeholders.h"
#include "i18n/report_texts.h"
#include "testbench/file_names.h"
#include "testbench/frm_kalmor_checker.h"

namespace kalmor {

void frmKalmorChecker::lstKalmorBitVersion_Click() {
  const int index = lstKalmorBitVersion.listIndex();
  if (index == 0) SolverExe = kSolver32File;
  if (index == 1) SolverExe = kSolver64File;

  SolverMissing = !platform_.plainFileExists(inProgramFolder(SolverExe));
  if (SolverMissing) {
    lblStatus.setCaption(
        FillPlaceholders(ReportTextFor(ReportText::SolverMissing, lstLanguage.listIndex()), {SolverExe}));
    bild0.setPicture(cmdClose.picture());
  } else {
    lblStatus.setCaption(PressStartText);
    lblResult.setCaption("");
    bild0.setPicture(cmdDummy.picture());
  }
}

void frmKalmorChecker::lstTask_Click() {
  const std::string item = lstTask.text();
  if (item == "#3") TaskFile = kTask3File;
  if (item == "#4") TaskFile = kTask4File;
  if (item == "s#7") TaskFile = kTaskS7File;
}

}  // namespace kalmor
