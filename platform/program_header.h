// What kind of program a file is, told by its first bytes, not by its name:
// a Linux solver runs directly, a Windows one through Wine.
#pragma once

#include <cstddef>
#include <string_view>

namespace kalmor {

// Linux: an ELF file or a script (#!).
enum class ProgramKind { Linux, Windows32, Windows64, Other };

// How many first bytes ReadProgramKind needs at most.
inline constexpr std::size_t kProgramHeaderBytes = 4096;

// firstBytes: the file's first bytes, up to kProgramHeaderBytes. A PE file
// whose machine is neither x86 nor x86-64 (ARM, say) is Other: Wine here
// cannot run it either.
ProgramKind ReadProgramKind(std::string_view firstBytes);

}  // namespace kalmor
