// Puts the window into the language selected in lstLanguage.
#include <functional>
#include <string>

#include "i18n/message_lookup.h"
#include "kalmor_version.h"
#include "testbench/frm_kalmor_checker.h"

namespace kalmor {

void frmKalmorChecker::lstLanguage_Click() {
  const int language = lstLanguage.listIndex();

  struct Step {
    int message;
    std::function<void(const std::string&)> apply;
  };
  const Step steps[] = {
      {1,
       [this](const std::string& t) {
         form.setCaption(t + " " + std::to_string(KALMOR_VERSION_MAJOR) + "." +
                         std::to_string(KALMOR_VERSION_MINOR) + " Build " +
                         std::to_string(KALMOR_VERSION_REVISION));
       }},
      {2, [this](const std::string& t) { rahmen14.setCaption(t); }},
      {3, [this](const std::string& t) { ReadyText = t; }},
      {4, [this](const std::string& t) { lbl1.setCaption(t); }},
      {5, [this](const std::string& t) { rahmen11.setCaption(t); }},
      {8, [this](const std::string& t) { lblTask.setCaption(t); }},
      {10, [this](const std::string& t) { cmdOK.setCaption(t); }},
      {11, [this](const std::string& t) { cmdClose.setCaption(t); }},
      {12, [this](const std::string& t) { RunningText = t; }},
      {14, [this](const std::string& t) { TestVariantText = t; }},
      {15, [this](const std::string& t) { TestPassedText = t; }},
      {16, [this](const std::string& t) { TestFailedText = t; }},
      {17, [this](const std::string& t) { SolutionCreatedText = t; }},
      {18, [this](const std::string& t) { SolutionMissingText = t; }},
      {19,
       [this](const std::string& t) {
         CallingModeText = t;
         lblMode.setCaption(t);
       }},
      {20, [this](const std::string& t) { lblLanguage.setCaption(t); }},
      {21,
       [this](const std::string& t) {
         PressStartText = t;
         // Once a run has reported, or a missing solver is shown, that text stays.
         if (!StartPressed && !SolverMissing) lblStatus.setCaption(t);
       }},
      {22, [this](const std::string& t) { AbortedText = t; }},
      {23, [this](const std::string& t) { Frame3.setCaption(t); }},
      {24, [this](const std::string& t) { Label1.setCaption(t); }},
      {25, [this](const std::string& t) { ErrorNumberText = t; }},
  };

  for (const Step& step : steps) {
    // The table is read afresh for every lookup; a lookup without result
    // leaves the step's targets as they are.
    if (const auto text = LookupMessage(tbLanguage.text(), step.message, language)) {
      step.apply(*text);
    }
  }
}

}  // namespace kalmor
