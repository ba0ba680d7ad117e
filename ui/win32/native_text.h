// Captions and colours as native controls take them. No Windows headers:
// tested on its own.
#pragma once

#include <cstdint>
#include <string>

#include "testbench/controls.h"

namespace kalmor {

// A static control breaks lines only at CR LF; a caption's lone CR (or LF)
// is a line break too, so it becomes CR LF.
std::string WithCrLf(const std::string& caption);

// A COLORREF (0x00BBGGRR); the system colours come from the caller.
std::uint32_t ColourRef(Colour colour, std::uint32_t buttonText, std::uint32_t buttonFace);

}  // namespace kalmor
