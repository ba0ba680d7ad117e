#include "i18n/report_texts.h"

#include "i18n/text_table.h"

namespace kalmor {
namespace {

constexpr TextRow<ReportText> kRows[] = {
    {ReportText::ExitedWithoutOutput,
     "Kalmor endete mit Exit-Code %1, ohne KM.OUT zu schreiben.",
     "Kalmor ended with exit code %1 without writing KM.OUT."},
    {ReportText::ExitedZeroWithoutOutput,
     "Kalmor endete mit Exit-Code 0 (kein Fehler), hat aber KM.OUT nicht geschrieben.",
     "Kalmor ended with exit code 0 (no error) but did not write KM.OUT."},
    {ReportText::ExitedNamedWithoutOutput,
     "Kalmor endete mit Exit-Code %1 (%2), ohne KM.OUT zu schreiben.",
     "Kalmor ended with exit code %1 (%2) without writing KM.OUT."},
    {ReportText::SignalWithoutOutput,
     "Kalmor wurde durch Signal %1 beendet, ohne KM.OUT zu schreiben.",
     "Kalmor was ended by signal %1 without writing KM.OUT."},
    {ReportText::SignalNamedWithoutOutput,
     "Kalmor wurde durch Signal %1 (%2) beendet, ohne KM.OUT zu schreiben.",
     "Kalmor was ended by signal %1 (%2) without writing KM.OUT."},
    {ReportText::EndedWithoutOutput,
     "Kalmor endete, ohne KM.OUT zu schreiben.", "Kalmor ended without writing KM.OUT."},
    {ReportText::OutputNotAFile,
     "KM.OUT ist nach dem Lauf keine gewöhnliche Datei (ein Link, ein Ordner oder eine Pipe); "
     "es wird nicht gelesen.",
     "After the run KM.OUT is not a regular file (a link, a folder or a pipe); it is not read."},
    {ReportText::FolderLost,
     "TMP_INPUT.INP oder der Ordner wurde während des Laufs entfernt, ersetzt oder freigegeben; "
     "KM.OUT kann von einem anderen Test stammen und zählt nicht.",
     "TMP_INPUT.INP or the folder was removed, replaced or let go during the run; KM.OUT may come from "
     "another check and does not count."},
    {ReportText::SolverMissing, "%1 fehlt/is missing!", "%1 fehlt/is missing!"},
    {ReportText::Mode, "Modus", "mode"},
    {ReportText::Passed, "bestanden", "passed"},
    {ReportText::Failed, "fehlgeschlagen", "failed"},
    {ReportText::Aborted, "abgebrochen", "aborted"},
    {ReportText::Error, "Fehler", "error"},
    {ReportText::Summary,
     "%1 Läufe: %2 bestanden, %3 fehlgeschlagen, %4 abgebrochen, %6 abgelehnt, %5 Fehler",
     "%1 runs: %2 passed, %3 failed, %4 aborted, %6 refused, %5 errors"},
    {ReportText::AbortedByUser, "Abgebrochen: Kalmor wurde beendet.", "Aborted: Kalmor was ended."},
    {ReportText::Refused, "abgelehnt", "refused"},
};

}  // namespace

const char* ReportTextFor(ReportText text, int language) { return LookUpText(kRows, text, language); }

}  // namespace kalmor
