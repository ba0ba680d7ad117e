// What the checker and its Windows launcher under Wine (kalmor-wine-host.exe)
// say to each other. The launcher's arguments are hex, which no argv quoting
// of Wine's can change, so the solver gets the command line byte for byte;
// its answer is one line on its standard output, since a Unix exit status
// holds only 8 of a Windows exit code's 32 bits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalmor {

std::string ToHex(std::string_view bytes);
std::optional<std::string> FromHex(std::string_view hex);

// "exit <code> <the system's text>\n"
std::string WineHostReport(std::uint32_t code, const std::string& text);
// "nostart <error number> <the system's text>\n": the solver did not start.
std::string WineHostStartFailure(std::uint32_t error, const std::string& text);
struct WineHostExit {
  std::uint32_t code = 0;
  std::string text;
  bool started = true;  // false: code is the error that kept it from starting
};
// The launcher's whole output; nothing without a complete report line.
std::optional<WineHostExit> ReadWineHostReport(std::string_view output);

}  // namespace kalmor
