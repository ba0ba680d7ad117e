// The edition texts that follow the base name of a Windows Server 2003 or a
// version 6 system. Unknown combinations have no edition text.
#pragma once

#include <cstdint>
#include <string_view>

namespace kalmor {

inline constexpr std::uint16_t kArchitectureIntel = 0;
inline constexpr std::uint16_t kArchitectureIa64 = 6;
inline constexpr std::uint16_t kArchitectureAmd64 = 9;

inline constexpr std::uint16_t kSuiteEnterprise = 0x0002;
inline constexpr std::uint16_t kSuiteDatacenter = 0x0080;
inline constexpr std::uint16_t kSuitePersonal = 0x0200;
inline constexpr std::uint16_t kSuiteBlade = 0x0400;
inline constexpr std::uint16_t kSuiteStorageServer = 0x2000;
inline constexpr std::uint16_t kSuiteComputeServer = 0x4000;

// Version 5.2 servers, by processor architecture and suite mask.
std::string_view Server2003Edition(std::uint16_t architecture, std::uint16_t suiteMask);

// Version 6, by the product type number that GetProductInfo reports.
std::string_view Version6Edition(std::uint32_t productType);

}  // namespace kalmor
