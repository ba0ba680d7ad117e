#include "sysinfo/get_win_version.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "sysinfo/get_reg_string.h"
#include "sysinfo/windows_edition_tables.h"

namespace kalmor {
namespace {

constexpr std::uint32_t kPlatformWin32s = 0;
constexpr std::uint32_t kPlatformWindows = 1;
constexpr std::uint32_t kPlatformNt = 2;
constexpr std::uint32_t kPlatformCe = 3;

constexpr std::uint8_t kNtWorkstation = 1;

constexpr int kMetricTabletPc = 86;
constexpr int kMetricMediaCenter = 87;
constexpr int kMetricStarter = 88;
constexpr int kMetricServerR2 = 89;

constexpr std::string_view kCurrentVersionKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr std::uint32_t kFirstWindows11Build = 22000;

// Windows 95/98/ME keep major and minor version in the build number's high word.
std::string Windows9xName(std::uint32_t minorVersion, std::uint32_t buildNumber) {
  const std::uint32_t build = buildNumber & 0xFFFFu;
  switch (minorVersion) {
    case 0:
      if (build < 950) return {};
      if (build == 950) return "Windows 95";
      return build <= 1080 ? "Windows 95 SP1" : "Windows 95 OSR2";
    case 10:
      if (build < 1998) return {};
      if (build == 1998) return "Windows 98";
      return build <= 2182 ? "Windows 98 SP1" : "Windows 98 SE";
    case 90:
      return "Windows ME";
    default:
      return {};
  }
}

ExtendedVersionRecord QueryExtendedRecord(WinVersionQueries& queries) {
  ExtendedVersionRecord record;
  if (!queries.getVersionEx(record)) throw WinVersionError();
  return record;
}

// The machine's own architecture, also for a 32-bit process on a 64-bit system.
std::uint16_t MachineArchitecture(WinVersionQueries& queries) {
  bool wow64 = false;
  if (!queries.isWow64Process(wow64)) throw WinVersionError();
  return wow64 ? queries.getNativeSystemInfoArchitecture() : queries.getSystemInfoArchitecture();
}

std::string Windows2000Name(const ExtendedVersionRecord& record) {
  if (record.productType == kNtWorkstation) return "Windows 2000 Professional";
  if ((record.suiteMask & kSuiteDatacenter) != 0) return "Windows 2000 Datacenter Server";
  if ((record.suiteMask & kSuiteEnterprise) != 0) return "Windows 2000 Advanced Server";
  return "Windows 2000 Server";
}

std::string WindowsXpName(WinVersionQueries& queries, const ExtendedVersionRecord& record) {
  if (queries.getSystemMetrics(kMetricMediaCenter) != 0) return "Windows XP Media Center Edition";
  if (queries.getSystemMetrics(kMetricStarter) != 0) return "Windows XP Starter Edition";
  if (queries.getSystemMetrics(kMetricTabletPc) != 0) return "Windows XP Tablet PC Edition";
  if ((record.suiteMask & kSuitePersonal) != 0) return "Windows XP Home Edition";
  return "Windows XP Professional";
}

// A Storage Server's mask carries no edition bits, so it gets no edition text.
std::string Server2003Name(WinVersionQueries& queries, const ExtendedVersionRecord& record) {
  const std::uint16_t architecture = MachineArchitecture(queries);
  std::string name;
  if (queries.getSystemMetrics(kMetricServerR2) != 0) {
    name = "Windows Server 2003 R2, ";
  } else if (record.suiteMask == kSuiteStorageServer) {
    return "Windows Storage Server 2003";
  } else if (record.productType == kNtWorkstation && architecture == kArchitectureAmd64) {
    return "Windows XP Professional x64 Edition";
  } else {
    name = "Windows Server 2003, ";
  }
  if (record.productType != kNtWorkstation) {
    name += Server2003Edition(architecture, record.suiteMask);
  }
  return name;
}

std::string Version5Name(WinVersionQueries& queries) {
  const ExtendedVersionRecord record = QueryExtendedRecord(queries);
  switch (record.minorVersion) {
    case 0:
      return Windows2000Name(record);
    case 1:
      return WindowsXpName(queries, record);
    case 2:
      return Server2003Name(queries, record);
    default:
      return {};
  }
}

std::optional<std::uint32_t> ParseBuildNumber(std::string_view text) {
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Windows 11 still stores "Windows 10 ..." as its product name; its build number tells.
std::string StoredProductName(RegistryQueries& registry) {
  const std::string key(kCurrentVersionKey);
  std::string name = GetRegString(registry, kHkeyLocalMachine, key, "Productname");
  constexpr std::string_view kWindows10 = "Windows 10";
  if (!name.starts_with(kWindows10)) return name;
  const auto build = ParseBuildNumber(GetRegString(registry, kHkeyLocalMachine, key, "CurrentBuildNumber"));
  if (build && *build >= kFirstWindows11Build) name.replace(0, kWindows10.size(), "Windows 11");
  return name;
}

std::string Version6Name(WinVersionQueries& queries) {
  const ExtendedVersionRecord record = QueryExtendedRecord(queries);
  std::string name;
  if (record.productType != kNtWorkstation) {
    name = "Windows Server 2008 ";
  } else if (record.minorVersion == 0) {
    name = "Windows Vista ";
  } else if (record.minorVersion == 1) {
    name = "Windows 7 ";
  } else {
    const std::string stored = StoredProductName(queries.registry());
    name = (stored.empty() ? "?" : stored) + " ";
  }
  name += Version6Edition(queries.getProductInfo(6, 0, 0, 0));
  switch (MachineArchitecture(queries)) {
    case kArchitectureAmd64:
      name += ", 64-Bit";
      break;
    case kArchitectureIntel:
      name += ", 32-Bit";
      break;
    default:
      break;
  }
  return name;
}

std::string WindowsNtName(WinVersionQueries& queries, std::uint32_t majorVersion) {
  switch (majorVersion) {
    case 3:
      return "Windows NT 3.x";
    case 4:
      return "Windows NT 4.x";
    case 5:
      return Version5Name(queries);
    case 6:
      return Version6Name(queries);
    default:
      return {};
  }
}

std::string BaseAndEdition(WinVersionQueries& queries, const PlainVersionRecord& plain) {
  switch (plain.platformId) {
    case kPlatformWin32s:
      return "Windows 3.1";
    case kPlatformWindows:
      return Windows9xName(plain.minorVersion, plain.buildNumber);
    case kPlatformNt:
      return WindowsNtName(queries, plain.majorVersion);
    case kPlatformCe:
      return "Windows CE";
    default:
      return {};
  }
}

std::string ServicePackPart(const std::array<char, 128>& csdVersion) {
  const auto end = std::find(csdVersion.begin(), csdVersion.end(), '\0');
  if (end == csdVersion.begin()) return {};
  return " (" + std::string(csdVersion.begin(), end) + ")";
}

}  // namespace

std::string GetWinVersion(WinVersionQueries& queries) {
  PlainVersionRecord plain;
  if (!queries.getVersionEx(plain)) throw WinVersionError();
  try {
    return BaseAndEdition(queries, plain) + ServicePackPart(plain.csdVersion);
  } catch (const MissingSystemFunction&) {
    throw WinVersionError();
  }
}

}  // namespace kalmor
