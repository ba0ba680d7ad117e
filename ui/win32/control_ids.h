// Fixed child-window IDs by control name, so that other programs (the
// end-to-end test driver) find a control with GetDlgItem. No Windows headers.
#pragma once

#include <string_view>

namespace kalmor {

// 0 for a name without an ID. IDs start above IDOK and IDCANCEL, which the
// dialog manager sends for Enter and Escape.
int ControlId(std::string_view controlName);

}  // namespace kalmor
