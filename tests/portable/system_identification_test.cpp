// Naming the running Windows, the 32/64-bit answer, system error texts and the
// start language's country code, from recorded system answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>

#include "i18n/system_locale.h"
#include "sysinfo/get_api_error.h"
#include "sysinfo/get_reg_string.h"
#include "sysinfo/get_win_version.h"
#include "sysinfo/is_64bit_system.h"
#include "tests/support/fake_platform.h"
#include "tests/support/scripted_system_type.h"

namespace kalmor {
namespace {

constexpr std::uint8_t kWorkstation = 1, kServer = 3;
constexpr std::uint16_t kIntel = 0, kIa64 = 6, kAmd64 = 9;
const std::string kCurrentVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// Recorded answers of the version calls and of one registry key.
struct FakeWindows : WinVersionQueries, RegistryQueries {
  PlainVersionRecord plain;
  ExtendedVersionRecord extended;
  bool plainFails = false, extendedFails = false, wow64Fails = false, wow64 = false;
  std::map<int, int> metrics;
  std::uint16_t native = 0, architecture = 0;
  std::uint32_t product = 0;
  std::set<std::string> missing;  // functions the system lacks
  std::map<std::string, std::string> values;  // lower-case name: stored bytes
  std::optional<std::int32_t> dataStatus;     // forced status of a data query

  bool getVersionEx(PlainVersionRecord& r) override { return !plainFails && (r = plain, true); }
  bool getVersionEx(ExtendedVersionRecord& r) override { return !extendedFails && (r = extended, true); }
  int getSystemMetrics(int index) override { return metrics.count(index) ? metrics[index] : 0; }
  bool isWow64Process(bool& w) override {
    need("IsWow64Process");
    return !wow64Fails && (w = wow64, true);
  }
  std::uint16_t getNativeSystemInfoArchitecture() override { return need("GetNativeSystemInfo"), native; }
  std::uint16_t getSystemInfoArchitecture() override { return architecture; }
  std::uint32_t getProductInfo(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) override {
    return need("GetProductInfo"), product;
  }
  RegistryQueries& registry() override { return *this; }
  void need(const std::string& function) {
    if (missing.count(function)) throw MissingSystemFunction(function);
  }

  std::int32_t regOpenKeyEx(std::uint32_t root, const std::string& path, std::uint32_t, std::uint32_t,
                            RegistryKey& key) override {
    if (root != kHkeyLocalMachine || path != kCurrentVersion) return 2;
    key = 7;
    return 0;
  }
  std::int32_t regQueryValueEx(RegistryKey key, const std::string& name, char* data,
                               std::uint32_t& size) override {
    if (key != 7) return 6;
    const auto value = values.find(Lower(name));
    if (value == values.end()) return 2;
    const auto stored = static_cast<std::uint32_t>(value->second.size());
    if (data == nullptr) return size = stored, 0;
    if (dataStatus) return *dataStatus;
    if (size < stored) return size = stored, 234;
    std::memcpy(data, value->second.data(), stored);
    return size = stored, 0;
  }
  std::int32_t regCloseKey(RegistryKey) override { return 0; }
};

FakeWindows Platform(std::uint32_t id, std::uint32_t major, std::uint32_t minor = 0, std::uint32_t build = 0) {
  FakeWindows w;
  w.plain.platformId = id;
  w.plain.majorVersion = major;
  w.plain.minorVersion = minor;
  w.plain.buildNumber = build;
  return w;
}
FakeWindows Win9x(std::uint32_t minor, std::uint32_t build) { return Platform(1, 4, minor, build); }
FakeWindows Nt(std::uint32_t major, std::uint32_t minor, std::uint8_t type, std::uint16_t suite = 0,
               std::uint16_t arch = kIntel) {
  FakeWindows w = Platform(2, major, minor);
  w.extended = {minor, suite, type};
  w.architecture = arch;
  return w;
}
FakeWindows Server2003(bool r2, std::uint8_t type, std::uint16_t suite, std::uint16_t arch) {
  FakeWindows w = Nt(5, 2, type, suite, arch);
  w.metrics[89] = r2 ? 1 : 0;
  return w;
}
FakeWindows Version6(std::uint32_t minor, std::uint8_t type, std::uint32_t product = 0,
                     std::uint16_t arch = kIa64, std::vector<std::pair<std::string, std::string>> stored = {}) {
  FakeWindows w = Nt(6, minor, type, 0, arch);
  w.product = product;
  for (const auto& [name, text] : stored) w.values[Lower(name)] = text + '\0';
  return w;
}
template <typename Change>
FakeWindows With(FakeWindows w, Change change) {
  change(w);
  return w;
}
FakeWindows WithServicePack(FakeWindows w, const std::string& text) {
  std::memcpy(w.plain.csdVersion.data(), text.data(), std::min(text.size(), w.plain.csdVersion.size()));
  return w;
}

void ExpectNames(std::vector<std::pair<FakeWindows, std::string>> cases) {
  for (auto& [windows, expected] : cases) EXPECT_EQ(GetWinVersion(windows), expected);
}

TEST(GetWinVersion, Windows9xNtAndOthersFromThePlainRecord) {
  ExpectNames({
      {Win9x(0, 949), ""}, {Win9x(0, 950), "Windows 95"}, {Win9x(0, 1080), "Windows 95 SP1"},
      {Win9x(0, 1081), "Windows 95 OSR2"}, {Win9x(10, 1997), ""}, {Win9x(10, 1998), "Windows 98"},
      {Win9x(10, 2182), "Windows 98 SP1"}, {Win9x(10, 2183), "Windows 98 SE"}, {Win9x(90, 0), "Windows ME"},
      {Win9x(20, 1998), ""},
      // The high word holds major and minor version; only the low 16 bits are the build.
      {Win9x(0, 0x040003B6), "Windows 95"}, {Win9x(10, 0x040A0000), ""},
      {Platform(0, 3), "Windows 3.1"}, {Platform(3, 5), "Windows CE"}, {Platform(4, 5), ""},
      {Platform(2, 3), "Windows NT 3.x"}, {Platform(2, 4), "Windows NT 4.x"}, {Platform(2, 7), ""},
  });
}

TEST(GetWinVersion, Windows2000AndXpByProductTypeSuiteAndMetrics) {
  ExpectNames({
      {Nt(5, 0, kWorkstation, 0x0082), "Windows 2000 Professional"},
      {Nt(5, 0, 2, 0x0082), "Windows 2000 Datacenter Server"},
      {Nt(5, 0, kServer, 0x0002), "Windows 2000 Advanced Server"},
      {Nt(5, 0, kServer, 0x0400), "Windows 2000 Server"},
      {Nt(5, 3, kServer), ""},
      {With(Nt(5, 1, 1, 0x0200), [](auto& w) { w.metrics = {{87, 1}, {88, 1}, {86, 1}}; }), "Windows XP Media Center Edition"},
      {With(Nt(5, 1, 1, 0x0200), [](auto& w) { w.metrics = {{88, 1}, {86, 1}}; }), "Windows XP Starter Edition"},
      {With(Nt(5, 1, 1, 0x0200), [](auto& w) { w.metrics = {{86, 1}}; }), "Windows XP Tablet PC Edition"},
      {Nt(5, 1, kWorkstation, 0x0200), "Windows XP Home Edition"},
      {Nt(5, 1, kWorkstation, 0x0002), "Windows XP Professional"},
  });
}

TEST(GetWinVersion, Server2003NamesAndEditions) {
  ExpectNames({
      {Server2003(true, kServer, 0x0080, kIntel), "Windows Server 2003 R2, Datacenter Edition"},
      {Server2003(true, kWorkstation, 0, kAmd64), "Windows Server 2003 R2, "},
      {Server2003(false, kServer, 0x2000, kAmd64), "Windows Storage Server 2003"},
      {Server2003(false, kServer, 0x2080, kIntel), "Windows Server 2003, Datacenter Edition"},
      {Server2003(false, kWorkstation, 0, kAmd64), "Windows XP Professional x64 Edition"},
      {Server2003(false, kWorkstation, 0, kIa64), "Windows Server 2003, "},
      {Server2003(false, 2, 0x0082, kIa64), "Windows Server 2003, Datacenter Edition for Itanium-based Systems"},
      {Server2003(false, 2, 0x0002, kIa64), "Windows Server 2003, Enterprise Edition for Itanium-based Systems"},
      {Server2003(false, 2, 0x4400, kIa64), "Windows Server 2003, "},
      {Server2003(false, 2, 0x0082, kAmd64), "Windows Server 2003, Datacenter x64 Edition"},
      {Server2003(false, 2, 0x0002, kAmd64), "Windows Server 2003, Enterprise x64 Edition"},
      {Server2003(false, 2, 0x4400, kAmd64), "Windows Server 2003, Standard x64 Edition"},
      {Server2003(false, 2, 0x4082, kIntel), "Windows Server 2003, Compute Cluster Edition"},
      {Server2003(false, 2, 0x0482, kIntel), "Windows Server 2003, Datacenter Edition"},
      {Server2003(false, 2, 0x0402, kIntel), "Windows Server 2003, Enterprise Edition"},
      {Server2003(false, 2, 0x0400, kIntel), "Windows Server 2003, Web Edition"},
      {Server2003(false, 2, 0x0200, kIntel), "Windows Server 2003, Standard Edition"},
      // A 32-bit process on a 64-bit system learns the machine's own architecture.
      {With(Server2003(false, kServer, 0, kIntel), [](auto& w) { w.wow64 = true, w.native = kAmd64; }),
       "Windows Server 2003, Standard x64 Edition"},
  });
}

TEST(GetWinVersion, Version6BaseNamesEditionsAndWidth) {
  ExpectNames({
      {Version6(0, kWorkstation, 1, kIntel), "Windows Vista Ultimate Edition, 32-Bit"},
      {Version6(0, kWorkstation, 3, kIntel), "Windows Vista Home Premium Edition, 32-Bit"},
      {Version6(0, kWorkstation, 5, kIntel), "Windows Vista , 32-Bit"},
      {Version6(0, kWorkstation, 25, kIntel), "Windows Vista Small Business Server Premium Edition, 32-Bit"},
      {Version6(0, kWorkstation, 26, kIntel), "Windows Vista , 32-Bit"},
      {Version6(1, kWorkstation, 1, kAmd64), "Windows 7 Ultimate Edition, 64-Bit"},
      {Version6(0, kServer, 8, kAmd64), "Windows Server 2008 Datacenter Edition, 64-Bit"},
      {Version6(3, 2, 0, kIa64, {{"ProductName", "ignored"}}), "Windows Server 2008 "},
      {Version6(2, kWorkstation, 0, kIa64, {{"ProductName", "Windows 8 Pro"}}), "Windows 8 Pro "},
      {Version6(3, kWorkstation, 0, kIa64, {{"PRODUCTNAME", "Windows 8.1 Enterprise"}}), "Windows 8.1 Enterprise "},
      {Version6(2, kWorkstation), "? "},
      {Version6(2, kWorkstation, 0, kIa64, {{"ProductName", ""}}), "? "},
      {Version6(0, kWorkstation, 0x00ABCDEF, kIntel), "Windows Vista , 32-Bit"},
      {With(Version6(1, 1), [](auto& w) { w.wow64 = true, w.native = kAmd64, w.architecture = kIntel; }), "Windows 7 , 64-Bit"},
      {With(Version6(1, 1), [](auto& w) { w.native = kAmd64, w.architecture = kIntel; }), "Windows 7 , 32-Bit"},
      {With(Version6(1, 1), [](auto& w) { w.architecture = 12; }), "Windows 7 "},
  });
}

TEST(GetWinVersion, Windows11IsToldByTheBuildNumberOfAStoredWindows10Name) {
  const auto stored = [](const char* name, const char* build) {
    return Version6(3, kWorkstation, 0, kIa64, {{"ProductName", name}, {"CurrentBuildNumber", build}});
  };
  ExpectNames({
      {stored("Windows 10 Pro", "22000"), "Windows 11 Pro "},
      {stored("Windows 10", "22631"), "Windows 11 "},
      {stored("Windows 10 Pro", "21999"), "Windows 10 Pro "},
      {Version6(3, kWorkstation, 0, kIa64, {{"ProductName", "Windows 10 Pro"}}), "Windows 10 Pro "},
      {stored("Windows 10 Pro", "22000a"), "Windows 10 Pro "},
      {stored("Windows 10 Pro", " 22000"), "Windows 10 Pro "},
      {stored("Windows 8.1 Pro", "22000"), "Windows 8.1 Pro "},
      {stored("Microsoft Windows 10 Pro", "22000"), "Microsoft Windows 10 Pro "},
  });
}

TEST(GetWinVersion, ServicePackPart) {
  const std::string full(128, 'S');
  ExpectNames({
      {WithServicePack(Platform(2, 4), "Service Pack 3"), "Windows NT 4.x (Service Pack 3)"},
      {WithServicePack(Platform(2, 4), std::string("SP1\0rest", 8)), "Windows NT 4.x (SP1)"},
      {WithServicePack(Platform(2, 4), full), "Windows NT 4.x (" + full + ")"},
      {WithServicePack(Platform(4, 4), "Service Pack 1"), " (Service Pack 1)"},
      {WithServicePack(Version6(1, 1, 1, kAmd64), "Service Pack 1"), "Windows 7 Ultimate Edition, 64-Bit (Service Pack 1)"},
  });
}

TEST(GetWinVersion, FailedOrMissingCallsOnTheWayEndTheNamingWithErrorMinusOne) {
  const auto lacking = [](FakeWindows w, const char* function) {
    w.missing.insert(function);
    return w;
  };
  for (FakeWindows w : {With(Nt(6, 1, 1), [](auto& x) { x.plainFails = true; }),
                        With(Nt(5, 1, 1), [](auto& x) { x.extendedFails = true; }),
                        With(Nt(6, 1, 1), [](auto& x) { x.extendedFails = true; }),
                        With(Nt(5, 2, kServer), [](auto& x) { x.wow64Fails = true; }),
                        lacking(Version6(1, 1), "IsWow64Process"), lacking(Nt(5, 2, kServer), "IsWow64Process"),
                        lacking(Version6(1, 1), "GetProductInfo"),
                        lacking(With(Version6(1, 1), [](auto& x) { x.wow64 = true; }), "GetNativeSystemInfo")}) {
    try {
      GetWinVersion(w);
      ADD_FAILURE() << "named without error";
    } catch (const WinVersionError& error) {
      EXPECT_EQ(error.number(), -1);
    }
  }
  ExpectNames({
      {lacking(Version6(1, 1, 0, kIntel), "GetNativeSystemInfo"), "Windows 7 , 32-Bit"},
      {lacking(Nt(5, 2, kServer), "GetProductInfo"), "Windows Server 2003, Standard Edition"},
      {lacking(Nt(5, 1, 1), "IsWow64Process"), "Windows XP Professional"},
  });
}

TEST(GetRegString, ReadsTheValueLessItsTerminatingNulOrNothing) {
  const std::pair<std::string, std::string> rows[] = {
      {std::string("abc\0", 4), "abc"}, {std::string("\0", 1), ""}, {"", ""},
      {"abc", "ab"},  // no terminating NUL: the last character goes
      {std::string("a\0b\0", 4), std::string("a\0b", 3)},
  };
  for (const auto& [stored, expected] : rows) {
    FakeWindows registry;
    registry.values["value"] = stored;
    EXPECT_EQ(GetRegString(registry, kHkeyLocalMachine, kCurrentVersion, "Value"), expected);
  }
  FakeWindows registry;
  registry.values["value"] = std::string("abc\0", 4);
  EXPECT_EQ(GetRegString(registry, kHkeyLocalMachine, kCurrentVersion, "Missing"), "");
  EXPECT_EQ(GetRegString(registry, 0x80000001u, kCurrentVersion, "Value"), "");
  EXPECT_EQ(GetRegString(registry, kHkeyLocalMachine, "Software\\Nobody", "Value"), "");
  registry.dataStatus = 234;
  EXPECT_EQ(GetRegString(registry, kHkeyLocalMachine, kCurrentVersion, "Value"), "    ");
}

TEST(Is64BitSystem, TheLastObjectsSystemTypeDecidesIgnoringCase) {
  struct Row {
    std::vector<std::optional<std::string>> objects;
    bool expected;
    std::size_t errorAt = SIZE_MAX;
    bool bind = true, throws = false;
  };
  const Row rows[] = {
      {{"x64-based PC"}, true}, {{"X64-BASED PC"}, true}, {{"a 64-BIT system"}, true},
      {{"X86-based PC"}, false}, {{"ARM64-based PC"}, false}, {{"x86-64 PC"}, false}, {{""}, false},
      {{"x64-based PC", "X86-based PC"}, false}, {{"X86-based PC", "x64-based PC"}, true}, {{}, false},
      {{"x64-based PC"}, false, SIZE_MAX, false},
      {{"x64-based PC", "X86-based PC"}, true, 1},  // a failure keeps the answer set last
      {{"x64-based PC"}, false, 0},
      {{"x64-based PC", std::nullopt, "X86-based PC"}, true},
      {{"X86-based PC", std::nullopt, "x64-based PC"}, false},
      {{"x64-based PC"}, false, SIZE_MAX, true, true},
  };
  for (const Row& row : rows) {
    testing::ScriptedSystemType queries;
    queries.objects = row.objects;
    queries.errorAt = row.errorAt;
    queries.bind = row.bind;
    queries.throws = row.throws;
    EXPECT_EQ(Is64BitSystem(queries), row.expected) << ::testing::PrintToString(row.objects);
    EXPECT_TRUE(queries.released);
  }
}

TEST(GetAPIError, TheSystemTextUntouchedOrTheNumberInUpperCaseHex) {
  testing::FakePlatform system;
  system.messages = {{2, "%1 ist keine zul\xE4ssige Win32-Anwendung.\r\nZeile 2 "}, {3, std::string(1024, 'm')},
                     {4, std::string(1025, 'm')}};
  EXPECT_EQ(GetAPIError(system.messageQueries(), 2), system.messages[2]);
  EXPECT_EQ(GetAPIError(system.messageQueries(), 3), system.messages[3]);
  for (const auto& [error, digits] : {std::pair{4, "4"}, {255, "FF"}, {0x7FFFFFFF, "7FFFFFFF"}, {-1, "FFFFFFFF"},
                                      {-2147024891, "80070005"}, {INT32_MIN, "80000000"}}) {
    EXPECT_EQ(GetAPIError(system.messageQueries(), error), std::string("Unbekannter Fehler: &H") + digits);
  }
}

TEST(GetSystemLocaleInfo, TheCountryCodeWithoutItsNul) {
  testing::FakePlatform system;
  for (const char* code : {"49", "358", ""}) {
    system.countryCode = code;
    EXPECT_EQ(GetSystemLocaleInfo(system.localeQueries(), kLocaleICountry), code);
  }
  for (const auto& [code, language] : {std::pair{"49", 0}, {"1", 1}, {"049", 1}, {"49 ", 1}, {"", 1}}) {
    EXPECT_EQ(StartLanguageIndex(code), language) << code;
  }
}

}  // namespace
}  // namespace kalmor
