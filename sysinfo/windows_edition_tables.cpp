#include "sysinfo/windows_edition_tables.h"

#include <array>
#include <utility>

namespace kalmor {

std::string_view Server2003Edition(std::uint16_t architecture, std::uint16_t suiteMask) {
  const auto has = [suiteMask](std::uint16_t bit) { return (suiteMask & bit) != 0; };
  if (architecture == kArchitectureIa64) {
    if (has(kSuiteDatacenter)) return "Datacenter Edition for Itanium-based Systems";
    if (has(kSuiteEnterprise)) return "Enterprise Edition for Itanium-based Systems";
    return {};
  }
  if (architecture == kArchitectureAmd64) {
    if (has(kSuiteDatacenter)) return "Datacenter x64 Edition";
    if (has(kSuiteEnterprise)) return "Enterprise x64 Edition";
    return "Standard x64 Edition";
  }
  if (has(kSuiteComputeServer)) return "Compute Cluster Edition";
  if (has(kSuiteDatacenter)) return "Datacenter Edition";
  if (has(kSuiteEnterprise)) return "Enterprise Edition";
  if (has(kSuiteBlade)) return "Web Edition";
  return "Standard Edition";
}

std::string_view Version6Edition(std::uint32_t productType) {
  static constexpr std::array<std::pair<std::uint32_t, std::string_view>, 17> kEditions{{
      {1, "Ultimate Edition"},
      {2, "Home Basic Edition"},
      {3, "Home Premium Edition"},
      {4, "Enterprise Edition"},
      {6, "Business Edition"},
      {7, "Standard Edition"},
      {8, "Datacenter Edition"},
      {9, "Small Business Server"},
      {10, "Enterprise Edition"},
      {11, "Starter Edition"},
      {12, "Datacenter Edition (core installation)"},
      {13, "Standard Edition (core installation)"},
      {14, "Enterprise Edition (core installation)"},
      {15, "Enterprise Edition for Itanium-based Systems"},
      {17, "Web Server Edition"},
      {18, "Cluster Server Edition"},
      {25, "Small Business Server Premium Edition"},
  }};
  for (const auto& [number, text] : kEditions) {
    if (number == productType) return text;
  }
  return {};
}

}  // namespace kalmor
