// A label type that draws its text as it is. FLTK's normal labels turn a
// leading or trailing "@word" into a symbol and, in menus and buttons, "&x"
// into an underlined x; texts from files and the language table must not.
#pragma once

#include <FL/Enumerations.H>

namespace kalmor {

// Registers the label type on first use.
Fl_Labeltype PlainLabel();

}  // namespace kalmor
