// The console of a command-line program, in UTF-8.
#pragma once

#include <string>
#include <vector>

namespace kalmor {

// The program's arguments after its name, as UTF-8.
std::vector<std::string> ProgramArguments(int argc, char** argv);
// To a console as text it shows correctly; redirected, as UTF-8 bytes.
void WriteToConsole(const std::string& utf8, bool toError);

}  // namespace kalmor
