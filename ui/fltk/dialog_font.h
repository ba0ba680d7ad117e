// The face the window's texts are drawn in. The layout was measured for a
// narrow dialog font; the usual Linux sans faces are wider and would clip
// "Schliessen" beside its picture, so a condensed face is asked for first.
#pragma once

#include <FL/Enumerations.H>

namespace kalmor {

// Registers the faces on first use; fontconfig substitutes a sans face
// where the condensed one is not installed.
Fl_Font DialogFont(bool bold = false);

}  // namespace kalmor
