// Naming the running Windows, the 32/64-bit answer, system error texts and the
// start language's country code, from recorded system answers.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "i18n/system_locale.h"
#include "sysinfo/get_api_error.h"
#include "sysinfo/get_reg_string.h"
#include "sysinfo/get_win_version.h"
#include "sysinfo/is_64bit_system.h"
#include "sysinfo/windows_edition_tables.h"
#include "tests/support/fake_platform.h"

namespace kalmor {
namespace {

constexpr std::uint8_t kWorkstation = 1, kServer = 3;
constexpr std::uint16_t kIntel = 0, kIa64 = 6, kAmd64 = 9;
const std::string kCurrentVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";

// Recorded answers of the version calls and of the CurrentVersion key.
struct FakeWindows : WinVersionQueries, RegistryQueries {
  PlainVersionRecord plain;
  ExtendedVersionRecord extended;
  std::map<int, int> metrics;
  bool wow64 = false;
  std::uint16_t native = 0, architecture = 0;
  std::uint32_t product = 0;
  std::set<std::string> failing, missing;     // calls that fail; functions the system lacks
  std::map<std::string, std::string> values;  // stored bytes by value name
  std::int32_t dataStatus = 0;                // non-zero: reading a value's data fails with it

  bool works(const std::string& call) {
    if (missing.count(call)) throw MissingSystemFunction(call);
    return failing.count(call) == 0;
  }
  // Hands out the recorded answer if the call works.
  template <typename T>
  bool answer(const std::string& call, T& out, const T& recorded) {
    if (!works(call)) return false;
    out = recorded;
    return true;
  }
  bool getVersionEx(PlainVersionRecord& r) override { return answer("plain", r, plain); }
  bool getVersionEx(ExtendedVersionRecord& r) override { return answer("extended", r, extended); }
  int getSystemMetrics(int index) override { return metrics[index]; }
  bool isWow64Process(bool& w) override { return answer("IsWow64Process", w, wow64); }
  std::uint16_t getNativeSystemInfoArchitecture() override {
    works("GetNativeSystemInfo");
    return native;
  }
  std::uint16_t getSystemInfoArchitecture() override { return architecture; }
  std::uint32_t getProductInfo(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) override {
    works("GetProductInfo");
    return product;
  }
  RegistryQueries& registry() override { return *this; }
  std::int32_t regOpenKeyEx(std::uint32_t root, const std::string& path, std::uint32_t,
                            std::uint32_t, RegistryKey& key) override {
    if (root != kHkeyLocalMachine || path != kCurrentVersion) return 2;
    key = 7;
    return 0;
  }
  std::int32_t regQueryValueEx(RegistryKey key, const std::string& name, char* data,
                               std::uint32_t& size) override {
    const auto value = values.find(name);
    if (key != 7 || value == values.end()) return 2;
    size = static_cast<std::uint32_t>(value->second.size());
    if (data != nullptr && dataStatus == 0) std::memcpy(data, value->second.data(), size);
    return data == nullptr ? 0 : dataStatus;
  }
  std::int32_t regCloseKey(RegistryKey) override { return 0; }
};

FakeWindows Platform(std::uint32_t id, std::uint32_t major, std::uint32_t minor = 0,
                     std::uint32_t build = 0, const std::string& servicePack = "") {
  FakeWindows w;
  w.plain = {major, minor, build, id};
  servicePack.copy(w.plain.csdVersion.data(), w.plain.csdVersion.size());
  return w;
}
FakeWindows Win9x(std::uint32_t minor, std::uint32_t build) { return Platform(1, 4, minor, build); }
FakeWindows Nt(std::uint32_t major, std::uint32_t minor, std::uint8_t type = kWorkstation,
               std::uint16_t suite = 0, std::uint16_t arch = kIntel) {
  FakeWindows w = Platform(2, major, minor);
  w.extended = {minor, suite, type};
  w.architecture = arch;
  return w;
}
FakeWindows Version6(std::uint32_t minor, std::uint8_t type, std::uint32_t product = 0,
                     std::uint16_t arch = kIa64, std::map<std::string, std::string> stored = {}) {
  FakeWindows w = Nt(6, minor, type, 0, arch);
  w.product = product;
  for (const auto& [name, text] : stored) w.values[name] = text + '\0';
  return w;
}
FakeWindows With(FakeWindows w, const std::function<void(FakeWindows&)>& change) {
  change(w);
  return w;
}

// A 32-bit process on a 64-bit system.
void Wow64OnAmd64(FakeWindows& w) {
  w.wow64 = true;
  w.native = kAmd64;
}

FakeWindows Without(FakeWindows w, const char* call, bool missing = false) {
  (missing ? w.missing : w.failing).insert(call);
  return w;
}

void ExpectNames(std::vector<std::pair<FakeWindows, std::string>> cases) {
  for (auto& [windows, expected] : cases) EXPECT_EQ(GetWinVersion(windows), expected);
}

TEST(GetWinVersion, NamesEachSystemFromItsRecordedAnswersAndCallsOnlyWhatItNeeds) {
  const auto xp = [](std::map<int, int> metrics) {
    return With(Nt(5, 1, kWorkstation, 0x0200), [&](FakeWindows& w) { w.metrics = metrics; });
  };
  const auto stored = [](const char* name, const char* build) {
    return Version6(3, kWorkstation, 0, kIa64, {{"Productname", name}, {"CurrentBuildNumber", build}});
  };
  ExpectNames({
      {Win9x(0, 949), ""}, {Win9x(0, 950), "Windows 95"}, {Win9x(0, 1080), "Windows 95 SP1"},
      {Win9x(0, 1081), "Windows 95 OSR2"}, {Win9x(10, 1997), ""}, {Win9x(10, 1998), "Windows 98"},
      {Win9x(10, 2182), "Windows 98 SP1"}, {Win9x(10, 2183), "Windows 98 SE"}, {Win9x(90, 0), "Windows ME"},
      {Win9x(0, 0x040003B6), "Windows 95"}, {Platform(4, 5), ""},  // the build's high word
      {Platform(0, 3), "Windows 3.1"}, {Platform(3, 5), "Windows CE"}, {Platform(2, 7), ""},
      {Platform(2, 3), "Windows NT 3.x"}, {Platform(2, 4), "Windows NT 4.x"},
      {Nt(5, 0, kWorkstation, 0x0082), "Windows 2000 Professional"},
      {Nt(5, 0, 2, 0x0082), "Windows 2000 Datacenter Server"},
      {Nt(5, 0, kServer, 0x0002), "Windows 2000 Advanced Server"},
      {Nt(5, 0, kServer, 0x0400), "Windows 2000 Server"}, {xp({}), "Windows XP Home Edition"},
      {xp({{87, 1}, {88, 1}, {86, 1}}), "Windows XP Media Center Edition"},
      {xp({{88, 1}, {86, 1}}), "Windows XP Starter Edition"}, {xp({{86, 1}}), "Windows XP Tablet PC Edition"},
      {Nt(5, 1, kWorkstation, 0x0002), "Windows XP Professional"},
      {Platform(2, 4, 0, 0, std::string("SP1\0rest", 8)), "Windows NT 4.x (SP1)"},
      {Platform(2, 4, 0, 0, std::string(128, 'S')), "Windows NT 4.x (" + std::string(128, 'S') + ")"},
      // Server 2003
      {With(Nt(5, 2, kServer, 0x0080), [](FakeWindows& w) { w.metrics[89] = 1; }),
       "Windows Server 2003 R2, Datacenter Edition"},
      {Nt(5, 2, kServer, 0x2000, kAmd64), "Windows Storage Server 2003"},
      {Nt(5, 2, kWorkstation, 0, kAmd64), "Windows XP Professional x64 Edition"},
      {Nt(5, 2, 2, 0x0082, kIa64), "Windows Server 2003, Datacenter Edition for Itanium-based Systems"},
      {Nt(5, 2, 2, 0x4400, kIa64), "Windows Server 2003, "},
      {Nt(5, 2, 2, 0x0002, kAmd64), "Windows Server 2003, Enterprise x64 Edition"},
      {Nt(5, 2, 2, 0x4400, kAmd64), "Windows Server 2003, Standard x64 Edition"},
      {Nt(5, 2, 2, 0x4082), "Windows Server 2003, Compute Cluster Edition"},
      {Nt(5, 2, 2, 0x0400), "Windows Server 2003, Web Edition"},
      {Nt(5, 2, 2, 0x0200), "Windows Server 2003, Standard Edition"},
      // A 32-bit process on a 64-bit system learns the machine's own architecture.
      {With(Nt(5, 2, kServer), Wow64OnAmd64), "Windows Server 2003, Standard x64 Edition"},
      // Version 6 and later
      {Version6(0, kWorkstation, 1, kIntel), "Windows Vista Ultimate Edition, 32-Bit"},
      {Version6(0, kWorkstation, 26, kIntel), "Windows Vista , 32-Bit"},
      {Version6(1, kWorkstation, 1, kAmd64), "Windows 7 Ultimate Edition, 64-Bit"},
      {Version6(0, kServer, 8, kAmd64), "Windows Server 2008 Datacenter Edition, 64-Bit"},
      {Version6(3, 2, 0, kIa64, {{"Productname", "ignored"}}), "Windows Server 2008 "},
      {Version6(2, kWorkstation), "? "},
      {With(Version6(1, 1), Wow64OnAmd64), "Windows 7 , 64-Bit"},
      {With(Version6(1, 1), [](FakeWindows& w) {
         w.native = kAmd64;
         w.architecture = kIntel;
       }),
       "Windows 7 , 32-Bit"},
      {With(Version6(1, 1), [](FakeWindows& w) { w.architecture = 12; }), "Windows 7 "},
      {stored("Windows 10 Pro", "22000"), "Windows 11 Pro "},
      {stored("Windows 10 Pro", "21999"), "Windows 10 Pro "},
      {stored("Windows 10 Pro", "22000a"), "Windows 10 Pro "},
      {stored("Windows 8.1 Pro", "22000"), "Windows 8.1 Pro "},
      {Without(Version6(1, 1, 0, kIntel), "GetNativeSystemInfo", true), "Windows 7 , 32-Bit"},
      {Without(Nt(5, 2, kServer), "GetProductInfo", true), "Windows Server 2003, Standard Edition"},
  });
}

// Every product number the naming knows, and the numbers between them that it does not.
TEST(Version6Edition, EachProductNumberHasItsOwnName) {
  const std::vector<std::pair<std::uint32_t, std::string_view>> editions{
      {0, ""}, {1, "Ultimate Edition"}, {2, "Home Basic Edition"}, {3, "Home Premium Edition"},
      {4, "Enterprise Edition"}, {5, ""}, {6, "Business Edition"}, {7, "Standard Edition"},
      {8, "Datacenter Edition"}, {9, "Small Business Server"}, {10, "Enterprise Edition"},
      {11, "Starter Edition"}, {12, "Datacenter Edition (core installation)"},
      {13, "Standard Edition (core installation)"}, {14, "Enterprise Edition (core installation)"},
      {15, "Enterprise Edition for Itanium-based Systems"}, {16, ""}, {17, "Web Server Edition"},
      {18, "Cluster Server Edition"}, {19, ""}, {24, ""}, {25, "Small Business Server Premium Edition"},
      {26, ""}, {0xABCDABCD, ""}};
  for (const auto& [product, name] : editions) EXPECT_EQ(Version6Edition(product), name) << product;
}

TEST(GetWinVersion, FailedOrMissingCallsOnTheWayEndTheNamingWithItsError) {
  for (FakeWindows w : {Without(Nt(6, 1), "plain"), Without(Nt(5, 1), "extended"),
                        Without(Nt(5, 2, kServer), "IsWow64Process"),
                        Without(Version6(1, 1), "GetProductInfo", true),
                        Without(With(Version6(1, 1), [](FakeWindows& x) { x.wow64 = true; }),
                                "GetNativeSystemInfo", true)}) {
    EXPECT_THROW(GetWinVersion(w), WinVersionError);
  }
}

TEST(GetRegString, ReadsTheValueLessItsTerminatingNulOrNothing) {
  FakeWindows registry;
  registry.values = {{"Empty", ""}, {"Unterminated", "abc"}};
  EXPECT_EQ(GetRegString(registry, kHkeyLocalMachine, kCurrentVersion, "Empty"), "");
  EXPECT_EQ(GetRegString(registry, kHkeyLocalMachine, kCurrentVersion, "Unterminated"), "ab");
  EXPECT_EQ(GetRegString(registry, kHkeyLocalMachine, kCurrentVersion, "Missing"), "");
  registry.dataStatus = 234;
  EXPECT_EQ(GetRegString(registry, kHkeyLocalMachine, kCurrentVersion, "Unterminated"), "   ");
}

TEST(Is64BitSystem, TheLastObjectsSystemTypeDecidesIgnoringCase) {
  using Walk = testing::ScriptedSystemType;
  std::pair<Walk, bool> rows[] = {
      {Walk({"X64-BASED PC"}), true}, {Walk({"a 64-BIT system"}), true}, {Walk({"X86-based PC"}), false},
      {Walk({"ARM64-based PC"}), false}, {Walk({"x64-based PC", "X86-based PC"}), false}, {Walk(), false},
      {Walk({"x64-based PC"}, SIZE_MAX, false), false},
      {Walk({"x64-based PC", "X86-based PC"}, 1), true},  // a failure keeps the answer set last
      {Walk({"x64-based PC", std::nullopt, "X86-based PC"}), true},
      {Walk({"x64-based PC"}, SIZE_MAX, true, true), false},
  };
  for (auto& [walk, expected] : rows) {
    EXPECT_EQ(Is64BitSystem(walk), expected) << ::testing::PrintToString(walk.objects);
    EXPECT_TRUE(walk.released);
  }
}

TEST(GetAPIError, TheSystemTextUntouchedOrTheNumberInUpperCaseHex) {
  testing::FakePlatform system;
  system.messages = {{3, std::string(1024, 'm')}, {4, std::string(1025, 'm')}};
  EXPECT_EQ(GetAPIError(system.messageQueries(), 3), system.messages[3]);
  for (const auto& [error, digits] : {std::pair{4, "4"}, {255, "FF"}, {-1, "FFFFFFFF"}, {INT32_MIN, "80000000"}}) {
    EXPECT_EQ(GetAPIError(system.messageQueries(), error), std::string("Unbekannter Fehler: &H") + digits);
  }
}

TEST(GetSystemLocaleInfo, TheCountryCodeAndOnlyGermanyStartsInGerman) {
  testing::FakePlatform system;
  system.countryCode = "358";
  EXPECT_EQ(GetSystemLocaleInfo(system.localeQueries(), kLocaleICountry), "358");
  for (const auto& [code, language] : {std::pair{"49", 0}, {"1", 1}, {"049", 1}, {"", 1}}) {
    EXPECT_EQ(StartLanguageIndex(code), language) << code;
  }
}

}  // namespace
}  // namespace kalmor
