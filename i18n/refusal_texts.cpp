#include "i18n/refusal_texts.h"

#include "i18n/text_table.h"

namespace kalmor {
namespace {

constexpr TextRow<Refusal> kRows[] = {
    {Refusal::ProgramFolderUnknown,
     "Der Ordner des Programms ist nicht zu ermitteln; der Test startet nicht.",
     "The program's folder cannot be determined; the test does not start."},
    {Refusal::FolderHasLineBreak,
     "Der Ordnername enthält einen Zeilenumbruch; der Test startet nicht.",
     "The folder name holds a line break; the test does not start."},
    {Refusal::TaskIsTemporaryInput,
     "Die Aufgabe und TMP_INPUT.INP sind dieselbe Datei; der Test startet nicht.",
     "The task and TMP_INPUT.INP are the same file; the test does not start."},
    {Refusal::FolderBusy,
     "In diesem Ordner läuft schon ein Test (oder ein Rest davon). Warten Sie, "
     "bis er endet, oder beenden Sie ihn, dann drücken Sie wieder Start.",
     "Another check is running in this folder (or something left of one). Wait for it "
     "to end or end it, then press Start again."},
    {Refusal::FolderBusyHeldBy,
     "In diesem Ordner läuft schon ein Test (oder ein Rest davon): %1. Warten Sie, "
     "bis er endet, oder beenden Sie ihn, dann drücken Sie wieder Start.",
     "Another check is running in this folder (or something left of one): %1. Wait for "
     "it to end or end it, then press Start again."},
    {Refusal::InputIsLink,
     "TMP_INPUT.INP ist ein Link (symbolisch oder ein zweiter Name einer anderen Datei); "
     "der Test startet nicht.",
     "TMP_INPUT.INP is a link (symbolic, or a second name of another file); the test "
     "does not start."},
    {Refusal::OldOutputNotDeleted,
     "Das alte KM.OUT lässt sich nicht löschen (Fehlernummer %1: %2); "
     "der Test startet nicht.",
     "The old KM.OUT cannot be deleted (error number %1: %2); the test does not start."},
    {Refusal::InputNotAFile,
     "TMP_INPUT.INP ist keine gewöhnliche Datei; der Test startet nicht.",
     "TMP_INPUT.INP is not a regular file; the test does not start."},
    {Refusal::OutputNotAFile,
     "KM.OUT ist keine gewöhnliche Datei; der Test startet nicht.",
     "KM.OUT is not a regular file; the test does not start."},
    {Refusal::TaskMissing,
     "Die gewählte Aufgabendatei fehlt; der Test startet nicht.",
     "The chosen task file is missing; the test does not start."},
    {Refusal::TemporaryInputTooLarge,
     "Die Aufgabe ergäbe ein TMP_INPUT.INP über 64 MiB; der Test startet nicht.",
     "The task would make TMP_INPUT.INP larger than 64 MiB; the test does not start."},
    {Refusal::WineMissing,
     "Diese Kalmor-Version ist ein Windows-Programm und braucht Wine, das hier fehlt oder "
     "nicht startet. Installieren Sie die Debian-Pakete wine und wine64; der Test startet nicht.",
     "This Kalmor build is a Windows program and needs Wine, which is missing here or does not "
     "start. Install Debian's packages wine and wine64; the test does not start."},
    {Refusal::No32BitHere,
     "Dieses System führt keine 32-Bit-Programme aus, also auch kein 32-Bit-Windows-Programm "
     "unter Wine. Wählen Sie die 64-Bit-Version; der Test startet nicht.",
     "This system runs no 32-bit programs, so no 32-bit Windows program under Wine either. "
     "Choose the 64-bit build; the test does not start."},
    {Refusal::NotAProgram,
     "Die gewählte Kalmor-Version ist weder ein Linux- noch ein Windows-Programm; "
     "der Test startet nicht.",
     "The chosen Kalmor build is neither a Linux nor a Windows program; the test does not "
     "start."},
    {Refusal::WineLauncherMissing,
     "kalmor-wine-host.exe, das ein Windows-Kalmor unter Wine startet, fehlt neben der "
     "Prüfung; packen Sie sie vollständig aus. Der Test startet nicht.",
     "kalmor-wine-host.exe, which starts a Windows Kalmor under Wine, is missing beside the "
     "checker; unpack the checker whole. The test does not start."},
};

}  // namespace

const char* RefusalText(Refusal refusal, int language) {
  return LookUpText(kRows, refusal, language);
}

}  // namespace kalmor
