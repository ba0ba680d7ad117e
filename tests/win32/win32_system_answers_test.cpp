// The Windows platform's answers about the system, against the real calls:
// run in both Wine prefixes (Windows 7 in German, Windows 10 in English).
#include <gtest/gtest.h>

#include <process.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "i18n/system_locale.h"
#include "platform/create_platform.h"
#include "platform/win32/system_function.h"
#include "platform/win32/win32_locale_queries.h"
#include "platform/win32/win32_message_queries.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_system_type_queries.h"
#include "platform/win32/win32_version_queries.h"
#include "sysinfo/get_api_error.h"
#include "sysinfo/get_reg_string.h"
#include "sysinfo/is_64bit_system.h"
#include "sysinfo/windows_edition_tables.h"
#include "tests/win32/scratch_folder.h"

namespace kalmor {
namespace {

constexpr bool k32BitProcess = sizeof(void*) == 4;
constexpr const char* kCurrentVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";

// What the prefix was set up as: cmake/wine-run.sh sets the Windows version
// from KALMOR_WINE_VERSION, Wine takes the locale from LC_ALL, and a 64-bit
// prefix has a SysWOW64 folder.
std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}
bool SixtyFourBitSystem() { return std::filesystem::is_directory("C:/windows/syswow64"); }

TEST(Win32SystemAnswers, NamesTheConfiguredWindowsWithItsWidth) {
  // 6.1 is named from the version record; 6.2 (a program without a manifest)
  // by the registry's product name, which is Wine's own.
  const std::map<std::string, std::string> nameStarts{{"win7", "Windows 7 "}, {"win10", "Microsoft Windows 10 "}};
  const std::string version = Variable("KALMOR_WINE_VERSION");
  if (nameStarts.count(version) == 0) GTEST_SKIP() << "KALMOR_WINE_VERSION is neither win7 nor win10";
  const std::string name = Win32Platform().systemName();
  EXPECT_EQ(name.rfind(nameStarts.at(version), 0), 0u) << name;
  EXPECT_NE(name.find(SixtyFourBitSystem() ? ", 64-Bit" : ", 32-Bit"), std::string::npos) << name;
}

TEST(Win32SystemAnswers, VersionArchitectureAndRegistryQueries) {
  Win32VersionQueries queries;
  PlainVersionRecord plain;
  ASSERT_TRUE(queries.getVersionEx(plain));
  EXPECT_EQ(plain.platformId, 2u);
  EXPECT_GE(plain.majorVersion, 6u);
  ExtendedVersionRecord extended;
  ASSERT_TRUE(queries.getVersionEx(extended));
  EXPECT_EQ(extended.minorVersion, plain.minorVersion);
  EXPECT_EQ(extended.productType, 1) << "Wine presents a workstation";

  bool wow64 = !k32BitProcess;
  ASSERT_TRUE(queries.isWow64Process(wow64));
  const bool sixtyFour = SixtyFourBitSystem();
  EXPECT_EQ(wow64, k32BitProcess && sixtyFour);
  const std::uint16_t native = sixtyFour ? kArchitectureAmd64 : kArchitectureIntel;
  EXPECT_EQ(queries.getNativeSystemInfoArchitecture(), native);
  EXPECT_EQ(queries.getSystemInfoArchitecture(), k32BitProcess ? kArchitectureIntel : native)
      << "the plain call answers for the process, not the machine";
  EXPECT_NE(queries.getProductInfo(6, 0, 0, 0), 0u);
  EXPECT_EQ(queries.getSystemMetrics(89), 0) << "not a Server 2003 R2";

  // The root is a negative number, sign-extended in a 64-bit key handle.
  EXPECT_NE(GetRegString(queries.registry(), kHkeyLocalMachine, kCurrentVersion, "ProductName"), "");
  EXPECT_EQ(GetRegString(queries.registry(), kHkeyLocalMachine, "Software\\KalmorNoSuchKey", "ProductName"), "");

  using GetProcessId = unsigned long(__stdcall*)();
  SystemFunction<GetProcessId> present(L"kernel32.dll", "GetCurrentProcessId");
  EXPECT_EQ(present.get()(), static_cast<unsigned long>(::_getpid()));
  SystemFunction<GetProcessId> missing(L"kernel32.dll", "KalmorNoSuchFunction");
  EXPECT_THROW(missing.get(), MissingSystemFunction);
}

TEST(Win32SystemAnswers, TheManagementServiceNamesTheSystemTypeEveryTime) {
  Win32SystemTypeQueries queries;
  for (int round = 0; round < 2; ++round) {  // the window binds once per start and must leave nothing behind
    ASSERT_TRUE(queries.bindAndQuery());
    ASSERT_EQ(queries.nextObject(), SystemTypeQueries::Next::Object);
    const auto type = queries.systemType();
    ASSERT_TRUE(type.has_value());
    EXPECT_EQ(type->find("x64") != std::string::npos, SixtyFourBitSystem()) << *type;
    EXPECT_EQ(queries.nextObject(), SystemTypeQueries::Next::End) << "one computer";
    queries.release();
  }
  EXPECT_EQ(Is64BitSystem(queries), SixtyFourBitSystem());
}

TEST(Win32SystemAnswers, CountryCodeAndErrorTextsFollowTheSystemLocale) {
  Win32LocaleQueries locale;
  const std::string code = GetSystemLocaleInfo(locale, kLocaleICountry);
  const std::string unixLocale = Variable("LC_ALL");
  if (unixLocale.starts_with("de_DE") || unixLocale.starts_with("en_US")) {
    EXPECT_EQ(code, unixLocale.starts_with("de_DE") ? "49" : "1");
  } else {
    EXPECT_TRUE(!code.empty() && std::all_of(code.begin(), code.end(), ::isdigit)) << code;
  }
  Win32MessageQueries messages;
  const std::string text = GetAPIError(messages, 2);
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(text.rfind("Unbekannter Fehler", 0), std::string::npos) << text;
  EXPECT_EQ(text.find_first_of(std::string("\n\0", 2)), std::string::npos) << "the width mask drops the line breaks";
  // Bit 29 marks numbers the system never defines.
  EXPECT_EQ(GetAPIError(messages, 0x20001234), "Unbekannter Fehler: &H20001234");
}

TEST(Win32SystemAnswers, AnsiTextAndTheProgramFolder) {
  Win32Platform platform;
  // Code page 1252, as Wine sets up for English and German; Omega is not in
  // it, and no look-alike "O" may stand in for it.
  EXPECT_EQ(platform.toAnsi("Pr\xC3\xBC" "fung \xE2\x82\xAC \xCE\xA9"), "Pr\xFC" "fung \x80 ?");
  EXPECT_EQ(platform.fromAnsi("Pr\xFC" "fung"), "Pr\xC3\xBC" "fung");
  const std::string folder = CreateSystemPlatform()->programFolder();
  EXPECT_NE(folder.back(), '\\');
  EXPECT_TRUE(std::filesystem::equivalent(testing::FromUtf8(folder), KALMOR_TEST_BINARY_DIR)) << folder;
  EXPECT_EQ(CreateSystemPlatform("C:\\Kalmor")->programFolder(), "C:\\Kalmor");
}

}  // namespace
}  // namespace kalmor
