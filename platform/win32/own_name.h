// A run writes and removes only the names KM.OUT and TMP_INPUT.INP, never
// what they lead to. Wine shows a Unix link as a plain file (or, dangling, as
// nothing at all) and follows it on every open, even one that asks for the
// link itself; DeleteFileW and MoveFileExW then act on its target. So a name
// is judged by the path its handle ends at, and removed by renaming a new
// file, made under an unguessable name, over it, which replaces the entry
// itself.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/win32_handle.h"

namespace kalmor {

// Others may read, write or delete the file while the checker holds it open:
// a look at a name never stands in the way of the solver or the user.
inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Opens the name itself where the system can: a Windows link, not its target.
inline constexpr DWORD kLookOnly = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;

UniqueHandle OpenHandle(const std::wstring& name, DWORD access, DWORD disposition,
                        DWORD flags = FILE_ATTRIBUTE_NORMAL);
// Whether the handle, opened by name, ended at that name and not elsewhere.
bool EndsAtItsName(HANDLE handle, const std::wstring& name);
// What stands at name (a file, a link, a dangling Unix link) is replaced by a
// new empty file; nothing it leads to is touched. With keep false the new
// file goes too when its handle closes, even if the checker dies first. A
// folder, a read-only file or one held open stays, and the system's error is
// the last error.
UniqueHandle ReplaceName(const std::wstring& name, bool keep);
// A regular file of this one name, created when nothing stands there; what is
// not such a file (a link, a second name) is replaced, never written through.
// error is the call's own failure, never an earlier one.
UniqueHandle OpenOwnFile(const std::wstring& name, DWORD access, std::int32_t& error);
// Removes what a checker killed amid a replacement left in folder: regular
// files of the replacements' own name shape that no one holds open.
void RemoveLeftovers(const std::wstring& folder);

}  // namespace kalmor
