#include "i18n/spoken_texts.h"

#include "i18n/text_table.h"

namespace kalmor {
namespace {

constexpr TextRow<Spoken> kRows[] = {
    {Spoken::InformationPicture, "Hinweis", "Information"},
    {Spoken::WarningPicture, "Warnung", "Warning"},
    {Spoken::ErrorPicture, "Fehler", "Error"},
    {Spoken::SuccessPicture, "Erfolg", "Success"},
    {Spoken::StopKey, "Abbrechen: Alt+", "Stop: Alt+"},
};

}  // namespace

std::string SpokenText(Spoken text, int language) { return LookUpText(kRows, text, language); }

}  // namespace kalmor
