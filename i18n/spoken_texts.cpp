#include "i18n/spoken_texts.h"

namespace kalmor {

std::string SpokenText(Spoken text, int language) {
  const bool german = language == 0;
  switch (text) {
    case Spoken::InformationPicture:
      return german ? "Hinweis" : "Information";
    case Spoken::WarningPicture:
      return german ? "Warnung" : "Warning";
    case Spoken::ErrorPicture:
      return german ? "Fehler" : "Error";
    case Spoken::SuccessPicture:
      return german ? "Erfolg" : "Success";
    case Spoken::StopKey:
      return german ? "Abbrechen: Alt+" : "Stop: Alt+";
  }
  return {};
}

}  // namespace kalmor
