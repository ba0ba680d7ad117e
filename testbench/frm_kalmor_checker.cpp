// The checker window's controls, their layout, and start-up.
#include "testbench/frm_kalmor_checker.h"

#include <stdexcept>
#include <string>

#include "i18n/message_lookup.h"
#include "i18n/system_locale.h"
#include "resources/language_table.h"
#include "sysinfo/contains_ignoring_case.h"
#include "sysinfo/is_64bit_system.h"
#include "testbench/file_names.h"

namespace kalmor {
namespace {

// Read only for its 11th field, the interim text when a solver has ended.
constexpr const char* kStatusWords =
    "Bereit#Prüfung läuft#Test erfolgreich#Test fehlgeschlagen#Test abgebrochen#"
    "Kalmor fehlt#Aufgabe fehlt#Lösung erstellt#Lösung fehlt#Fehler beim Start#"
    "Prüfung beendet#Zeit abgelaufen#Warte auf Kalmor#Kalmor gestartet#Kalmor beendet#"
    "Eingabe geschrieben#Eingabe fehlt#Ausgabe gelesen#Ausgabe fehlt#Fenster geschlossen#"
    "Unbekannt";

constexpr const char* kTimerToolTip =
    "Zeigt die verstrichene Lösezeit an während Kalmor ein Problem löst";

struct TaskRow {
  const char* item;
  const char* file;
};
constexpr TaskRow kTaskTable[] = {
    {"#3", kTask3File}, {"#4", kTask4File}, {"s#7", kTaskS7File}};

}  // namespace

frmKalmorChecker::frmKalmorChecker(Platform& platform, Toolkit& toolkit)
    : form("frmKalmorChecker", Rect{0, 0, 5160, 3765}, "Kalmor Funktionstester", Picture::Key),
      rahmen11("rahmen(11)", &form, Rect{120, 120, 4935, 675}, "Betriebssystem", true),
      lblOSVersion("lblOSVersion", &rahmen11, Rect{180, 300, 4275, 195}, "???", false),
      Frame3("Frame3", &form, Rect{120, 840, 4935, 1035}, "Testeinstellungen", true),
      lblLanguage("lblLanguage", &Frame3, Rect{180, 300, 645, 195}, "Sprache:", true),
      lstLanguage("lstLanguage", &Frame3, Rect{180, 540, 1155, 315}),
      lblTask("lblTask", &Frame3, Rect{1440, 300, 645, 195}, "Aufgabe:", true),
      lstTask("lstTask", &Frame3, Rect{1440, 540, 735, 315}),
      lblMode("lblMode", &Frame3, Rect{2280, 300, 1515, 195}, "Kalmor-Aufrufmodus:", true),
      lstKalmorBitVersion("lstKalmorBitVersion", &Frame3, Rect{2280, 540, 855, 315}),
      Label1("Label1", &Frame3, Rect{3240, 600, 525, 195}, "Modus:", true),
      lstKalmorCallingMode("lstKalmorCallingMode", &Frame3, Rect{3840, 540, 495, 315}),
      rahmen14("rahmen(14)", &form, Rect{120, 1920, 4935, 1215}, "Prüfstatus", true),
      bild0("bild(0)", &rahmen14, Rect{180, 270, 240, 240}, Picture::Information),
      lblStatus("lblStatus", &rahmen14, Rect{540, 300, 405, 195}, "Bereit", true),
      frameTime("frameTime", &rahmen14, Rect{3600, 300, 1275, 255}, "", false),
      lbl1("lbl(1)", &frameTime, Rect{120, 0, 315, 195}, "Zeit:", true),
      lblTimer("lblTimer", &frameTime, Rect{555, 0, 630, 195}, "00:00:00", true),
      lblResult("lblResult", &rahmen14, Rect{540, 660, 3915, 435}, "XXX", false),
      cmdOK("cmdOK", &form, Rect{2820, 3240, 1095, 375}, "&Starten", Picture::Warning),
      cmdClose("cmdClose", &form, Rect{3960, 3240, 1095, 375}, "Schliessen", Picture::Error),
      cmdDummy("cmdDummy", &form, Rect{0, 2400, 315, 315}, "", Picture::Information),
      lblTestvariante("lblTestvariante", &form, Rect{1800, 3360, 555, 195}, "XXX", false),
      lbl28("lbl(28)", &form, Rect{660, 0, 4035, 195}, kStatusWords, false),
      tbLanguage("tbLanguage", &form, Rect{3000, 2400, 1695, 675}, kLanguageTableDesignText),
      Timer1("Timer1", 500),
      platform_(platform),
      toolkit_(toolkit) {
  frameTime.setVisible(false);
  lblTestvariante.setVisible(false);
  lbl28.setVisible(false);
  tbLanguage.setVisible(false);
  Timer1.setEnabled(false);
  lblTimer.setToolTip(kTimerToolTip);

  lstLanguage.onClick = [this] { lstLanguage_Click(); };
  lstKalmorBitVersion.onClick = [this] { lstKalmorBitVersion_Click(); };
  lstTask.onClick = [this] { lstTask_Click(); };
  cmdOK.onClick = [this] { cmdOK_Click(); };
  cmdClose.onClick = [this] { cmdClose_Click(); };

  controls_ = {&form,      &rahmen11,       &lblOSVersion,         &Frame3,
               &lblLanguage, &lstLanguage,  &lblTask,              &lstTask,
               &lblMode,   &lstKalmorBitVersion, &Label1,          &lstKalmorCallingMode,
               &rahmen14,  &bild0,          &lblStatus,            &frameTime,
               &lbl1,      &lblTimer,       &lblResult,            &cmdOK,
               &cmdClose,  &cmdDummy,       &lblTestvariante,      &lbl28,
               &tbLanguage, &Timer1};
  focusOrder_ = {&cmdOK,   &cmdClose,           &cmdDummy,   &lstTask,
                 &lstKalmorCallingMode, &lstKalmorBitVersion, &lstLanguage};
}

void frmKalmorChecker::setObserver(ControlObserver* observer) {
  for (Control* control : controls_) control->setObserver(observer);
}

Control* frmKalmorChecker::initialFocus() {
  return cmdOK.enabled() ? static_cast<Control*>(&cmdOK) : &cmdClose;
}

Frame& frmKalmorChecker::rahmen(int index) {
  if (index == 11) return rahmen11;
  if (index == 14) return rahmen14;
  throw std::out_of_range("no rahmen(" + std::to_string(index) + ")");
}

Label& frmKalmorChecker::lbl(int index) {
  if (index == 1) return lbl1;
  if (index == 28) return lbl28;
  throw std::out_of_range("no lbl(" + std::to_string(index) + ")");
}

Image& frmKalmorChecker::bild(int index) {
  if (index == 0) return bild0;
  throw std::out_of_range("no bild(" + std::to_string(index) + ")");
}

void frmKalmorChecker::Form_Load() {
  cmdDummy.setLeft(-1200);
  lblResult.setCaption("");
  tbLanguage.setText(RemoveCrLfPairs(tbLanguage.text()));

  lstLanguage.addItem("Deutsch");
  lstLanguage.addItem("English");
  lstLanguage.setListIndex(0);
  lstLanguage_Click();
  lstLanguage.setListIndex(
      StartLanguageIndex(GetSystemLocaleInfo(platform_.localeQueries(), kLocaleICountry)));

  for (const TaskRow& row : kTaskTable) {
    if (!platform_.plainFileExists(inProgramFolder(row.file))) continue;
    lstTask.addItem(row.item);
    if (row.file == std::string(kTask3File)) lstTask.setListIndex(0);
  }

  for (const char* mode : {"1", "2", "3", "4"}) lstKalmorCallingMode.addItem(mode);

  const Result<std::string> name = platform_.systemName();
  const std::string nameText = name ? *name : "not identified";
  const bool is64Bit = Is64BitSystem(platform_.systemTypeQueries());
  const bool carriesWidth =
      ContainsIgnoringCase(nameText, "32-bit") || ContainsIgnoringCase(nameText, "64-bit");
  lblOSVersion.setCaption(carriesWidth ? nameText : nameText + (is64Bit ? ", 64-Bit" : ", 32-Bit"));

  lstKalmorBitVersion.addItem("32-Bit");
  if (is64Bit) {
    lstKalmorBitVersion.addItem("64-Bit");
    lstKalmorBitVersion.setListIndex(1);
  } else {
    lstKalmorBitVersion.setListIndex(0);
  }

  lstKalmorCallingMode.setListIndex(0);
  cmdOK.setEnabled(lstTask.listCount() > 0);
}

}  // namespace kalmor
