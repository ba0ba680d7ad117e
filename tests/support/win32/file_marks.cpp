#include "tests/support/win32/file_marks.h"

#include <windows.h>

#include "platform/win32/win32_text.h"

namespace kalmor::probes {

bool MarkFile(const std::string& path, FileMark mark) {
  const std::wstring wide = Utf8ToWide(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  const DWORD added = mark == FileMark::Hidden   ? FILE_ATTRIBUTE_HIDDEN
                      : mark == FileMark::System ? FILE_ATTRIBUTE_SYSTEM
                                                 : FILE_ATTRIBUTE_READONLY;
  return ::SetFileAttributesW(wide.c_str(), (attributes & ~FILE_ATTRIBUTE_NORMAL) | added) != 0;
}

}  // namespace kalmor::probes
