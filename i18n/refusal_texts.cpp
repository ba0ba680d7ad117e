#include "i18n/refusal_texts.h"

namespace kalmor {

std::string RefusalText(Refusal refusal, int language) {
  const bool german = language == 0;
  switch (refusal) {
    case Refusal::ProgramFolderUnknown:
      return german ? "Der Ordner des Programms ist nicht zu ermitteln; der Test startet nicht."
                    : "The program's folder cannot be determined; the test does not start.";
    case Refusal::FolderHasLineBreak:
      return german ? "Der Ordnername enth\xC3\xA4lt einen Zeilenumbruch; der Test startet nicht."
                    : "The folder name holds a line break; the test does not start.";
    case Refusal::TaskIsTemporaryInput:
      return german ? "Die Aufgabe und TMP_INPUT.INP sind dieselbe Datei; der Test startet nicht."
                    : "The task and TMP_INPUT.INP are the same file; the test does not start.";
    case Refusal::FolderBusy:
      return german ? "In diesem Ordner l\xC3\xA4uft schon ein Test (oder ein Rest davon). Warten Sie, "
                      "bis er endet, oder beenden Sie ihn, dann dr\xC3\xBC" "cken Sie wieder Start."
                    : "Another check is running in this folder (or something left of one). Wait for it "
                      "to end or end it, then press Start again.";
    case Refusal::FolderBusyHeldBy:
      return german ? "In diesem Ordner l\xC3\xA4uft schon ein Test (oder ein Rest davon): %1. Warten Sie, "
                      "bis er endet, oder beenden Sie ihn, dann dr\xC3\xBC" "cken Sie wieder Start."
                    : "Another check is running in this folder (or something left of one): %1. Wait for "
                      "it to end or end it, then press Start again.";
    case Refusal::InputIsLink:
      return german ? "TMP_INPUT.INP ist ein Link (symbolisch oder ein zweiter Name einer anderen Datei); "
                      "der Test startet nicht."
                    : "TMP_INPUT.INP is a link (symbolic, or a second name of another file); the test "
                      "does not start.";
    case Refusal::OldOutputNotDeleted:
      return german ? "Das alte KM.OUT l\xC3\xA4sst sich nicht l\xC3\xB6schen (Fehlernummer %1: %2); "
                      "der Test startet nicht."
                    : "The old KM.OUT cannot be deleted (error number %1: %2); the test does not start.";
    case Refusal::InputNotAFile:
      return german ? "TMP_INPUT.INP ist keine gew\xC3\xB6hnliche Datei; der Test startet nicht."
                    : "TMP_INPUT.INP is not a regular file; the test does not start.";
    case Refusal::OutputNotAFile:
      return german ? "KM.OUT ist keine gew\xC3\xB6hnliche Datei; der Test startet nicht."
                    : "KM.OUT is not a regular file; the test does not start.";
    case Refusal::TaskMissing:
      return german ? "Die gew\xC3\xA4hlte Aufgabendatei fehlt; der Test startet nicht."
                    : "The chosen task file is missing; the test does not start.";
    case Refusal::TemporaryInputTooLarge:
      return german ? "Die Aufgabe erg\xC3\xA4" "be ein TMP_INPUT.INP \xC3\xBC" "ber 64 MiB; der Test startet nicht."
                    : "The task would make TMP_INPUT.INP larger than 64 MiB; the test does not start.";
  }
  return {};
}

}  // namespace kalmor
