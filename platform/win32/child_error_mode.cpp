#include "platform/win32/child_error_mode.h"

namespace kalmor {

namespace {
constexpr UINT kNoDialogs = SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX;
}  // namespace

// SetErrorMode answers the mode it replaces; there is no reading it alone
// before Vista.
ChildErrorMode::ChildErrorMode() : own_(::SetErrorMode(kNoDialogs)) {
  ::SetErrorMode(own_ | kNoDialogs);
}

ChildErrorMode::~ChildErrorMode() { ::SetErrorMode(own_); }

}  // namespace kalmor
