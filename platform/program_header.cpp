#include "platform/program_header.h"

#include <cstdint>

namespace kalmor {
namespace {

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t i = count; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

}  // namespace

ProgramKind ReadProgramKind(std::string_view bytes) {
  if (bytes.substr(0, 4) == std::string_view("\x7f" "ELF", 4) || bytes.substr(0, 2) == "#!") {
    return ProgramKind::Linux;
  }
  // MZ, then at 0x3C the offset of "PE\0\0", followed by the machine.
  if (bytes.size() < 0x40 || bytes.substr(0, 2) != "MZ") return ProgramKind::Other;
  const std::uint32_t pe = LittleEndian(bytes, 0x3C, 4);
  if (pe > bytes.size() || bytes.size() - pe < 6) return ProgramKind::Other;
  if (bytes.substr(pe, 4) != std::string_view("PE\0\0", 4)) return ProgramKind::Other;
  switch (LittleEndian(bytes, pe + 4, 2)) {
    case 0x014C:
      return ProgramKind::Windows32;
    case 0x8664:
      return ProgramKind::Windows64;
    default:
      return ProgramKind::Other;
  }
}

}  // namespace kalmor
