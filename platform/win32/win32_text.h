// Text conversions at the edge of the Windows API: the checker speaks UTF-8,
// the W functions take UTF-16, the A functions the ANSI code page.
#pragma once

#include <string>

namespace kalmor {

std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);
// Characters the ANSI code page lacks become its default character.
std::string Utf8ToAnsi(const std::string& utf8);
std::string AnsiToUtf8(const std::string& ansi);

}  // namespace kalmor
