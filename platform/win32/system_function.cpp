#include "platform/win32/system_function.h"

#include <windows.h>

namespace kalmor {

AnySystemFunction LookUpSystemFunction(const wchar_t* library, const char* name) {
  // The system libraries asked for here are loaded into every process.
  const HMODULE module = ::GetModuleHandleW(library);
  if (module == nullptr) return nullptr;
  // Through the generic function type, which the cast warnings accept.
  return reinterpret_cast<AnySystemFunction>(::GetProcAddress(module, name));
}

}  // namespace kalmor
