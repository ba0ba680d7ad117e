#include <gtest/gtest.h>

#include <process.h>

#include <string>

#include "platform/win32/system_function.h"
#include "platform/win32/win32_version_queries.h"
#include "sysinfo/get_reg_string.h"
#include "sysinfo/windows_edition_tables.h"
#include "tests/win32/wine_environment.h"

namespace kalmor {
namespace {

constexpr std::uint32_t kPlatformNt = 2;
constexpr const char* kCurrentVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr bool k32BitProcess = sizeof(void*) == 4;

TEST(Win32VersionQueries, BothVersionRecordsDescribeTheSameNtSystem) {
  Win32VersionQueries queries;
  PlainVersionRecord plain;
  ASSERT_TRUE(queries.getVersionEx(plain));
  EXPECT_EQ(plain.platformId, kPlatformNt);
  EXPECT_GE(plain.majorVersion, 6u);
  EXPECT_GT(plain.buildNumber, 0u);

  ExtendedVersionRecord extended;
  ASSERT_TRUE(queries.getVersionEx(extended));
  EXPECT_EQ(extended.minorVersion, plain.minorVersion);
  EXPECT_EQ(extended.productType, 1) << "Wine presents a workstation";
}

TEST(Win32VersionQueries, ArchitectureQueriesSeeThroughThe32BitLayer) {
  Win32VersionQueries queries;
  bool wow64 = !k32BitProcess;
  ASSERT_TRUE(queries.isWow64Process(wow64));
  const bool sixtyFour = testing::SixtyFourBitSystem();
  EXPECT_EQ(wow64, k32BitProcess && sixtyFour);
  const std::uint16_t native = sixtyFour ? kArchitectureAmd64 : kArchitectureIntel;
  EXPECT_EQ(queries.getNativeSystemInfoArchitecture(), native);
  EXPECT_EQ(queries.getSystemInfoArchitecture(), k32BitProcess ? kArchitectureIntel : native)
      << "the plain call answers for the process, not the machine";
  EXPECT_NE(queries.getProductInfo(6, 0, 0, 0), 0u);
  EXPECT_EQ(queries.getSystemMetrics(89), 0) << "not a Server 2003 R2";
}

TEST(Win32RegistryQueries, ReadsTheProductNameAndNothingForWhatIsMissing) {
  Win32VersionQueries queries;
  // The root is a negative number, sign-extended in a 64-bit key handle.
  EXPECT_NE(GetRegString(queries.registry(), kHkeyLocalMachine, kCurrentVersion, "ProductName"),
            "");
  EXPECT_EQ(GetRegString(queries.registry(), kHkeyLocalMachine, kCurrentVersion,
                         "KalmorNoSuchValue"),
            "");
  EXPECT_EQ(GetRegString(queries.registry(), kHkeyLocalMachine, "Software\\KalmorNoSuchKey",
                         "ProductName"),
            "");
}

TEST(SystemFunction, IsLookedUpAtItsFirstCallAndMissingOnesThrow) {
  using GetProcessId = unsigned long(__stdcall*)();
  SystemFunction<GetProcessId> present(L"kernel32.dll", "GetCurrentProcessId");
  EXPECT_EQ(present.get()(), static_cast<unsigned long>(::_getpid()));

  SystemFunction<GetProcessId> missing(L"kernel32.dll", "KalmorNoSuchFunction");
  EXPECT_THROW(missing.get(), MissingSystemFunction);
  EXPECT_THROW(missing.get(), MissingSystemFunction) << "a second call throws again";
  SystemFunction<GetProcessId> noLibrary(L"kalmor_no_such.dll", "GetCurrentProcessId");
  EXPECT_THROW(noLibrary.get(), MissingSystemFunction);
}

}  // namespace
}  // namespace kalmor
