// What a screen reader says where the window shows no text: what the status
// picture means, and which key stops a run. German and English; like the
// refusal texts they live apart from the window's language table, which keeps
// its 25 messages.
#pragma once

#include <string>

namespace kalmor {

enum class Spoken {
  InformationPicture,
  WarningPicture,
  ErrorPicture,
  SuccessPicture,  // the key picture that a passed run shows
  StopKey,         // followed by the access key's letter
};

// language 0 German, anything else English.
std::string SpokenText(Spoken text, int language);

}  // namespace kalmor
