#include "i18n/report_texts.h"

#include <array>
#include <cstddef>

namespace kalmor {
namespace {

struct Pair {
  const char* german;
  const char* english;
};

// In the order of ReportText.
constexpr std::array<Pair, 16> kTexts{{
    {"Kalmor endete mit Exit-Code %1, ohne KM.OUT zu schreiben.",
     "Kalmor ended with exit code %1 without writing KM.OUT."},
    {"Kalmor endete mit Exit-Code 0 (kein Fehler), hat aber KM.OUT nicht geschrieben.",
     "Kalmor ended with exit code 0 (no error) but did not write KM.OUT."},
    {"Kalmor endete mit Exit-Code %1 (%2), ohne KM.OUT zu schreiben.",
     "Kalmor ended with exit code %1 (%2) without writing KM.OUT."},
    {"Kalmor wurde durch Signal %1 beendet, ohne KM.OUT zu schreiben.",
     "Kalmor was ended by signal %1 without writing KM.OUT."},
    {"Kalmor wurde durch Signal %1 (%2) beendet, ohne KM.OUT zu schreiben.",
     "Kalmor was ended by signal %1 (%2) without writing KM.OUT."},
    {"Kalmor endete, ohne KM.OUT zu schreiben.", "Kalmor ended without writing KM.OUT."},
    {"KM.OUT ist nach dem Lauf keine gew\xC3\xB6hnliche Datei (ein Link, ein Ordner oder eine Pipe); "
     "es wird nicht gelesen.",
     "After the run KM.OUT is not a regular file (a link, a folder or a pipe); it is not read."},
    {"TMP_INPUT.INP oder der Ordner wurde w\xC3\xA4hrend des Laufs entfernt, ersetzt oder freigegeben; "
     "KM.OUT kann von einem anderen Test stammen und z\xC3\xA4hlt nicht.",
     "TMP_INPUT.INP or the folder was removed, replaced or let go during the run; KM.OUT may come from "
     "another check and does not count."},
    {"Modus", "mode"},
    {"bestanden", "passed"},
    {"fehlgeschlagen", "failed"},
    {"abgebrochen", "aborted"},
    {"Fehler", "error"},
    {"%1 Läufe: %2 bestanden, %3 fehlgeschlagen, %4 abgebrochen, %6 abgelehnt, %5 Fehler",
     "%1 runs: %2 passed, %3 failed, %4 aborted, %6 refused, %5 errors"},
    {"Abgebrochen: Kalmor wurde beendet.", "Aborted: Kalmor was ended."},
    {"abgelehnt", "refused"},
}};

}  // namespace

const char* ReportTextFor(ReportText text, int language) {
  const Pair& pair = kTexts.at(static_cast<std::size_t>(text));
  return language == 0 ? pair.german : pair.english;
}

}  // namespace kalmor
