#include "sysinfo/get_win_version.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/portable/fake_win_version_queries.h"

namespace kalmor {
namespace {

using sysinfo_fakes::CallLog;
using sysinfo_fakes::FakeWinVersionQueries;
using sysinfo_fakes::NtRecord;
using sysinfo_fakes::SetServicePack;
using sysinfo_fakes::WinVersionAnswers;

constexpr std::uint8_t kWorkstation = 1;
constexpr std::uint8_t kServer = 3;
constexpr std::uint16_t kIntel = 0;
constexpr std::uint16_t kIa64 = 6;
constexpr std::uint16_t kAmd64 = 9;

// One naming: the recorded answers, values stored under CurrentVersion, the
// expected text and, where given, exactly the queries it may ask.
struct Case {
  WinVersionAnswers answers;
  std::string expected;
  std::vector<std::pair<std::string, std::string>> stored = {};
  std::optional<CallLog> calls = std::nullopt;
};

void ExpectNames(const std::vector<Case>& cases, const std::optional<CallLog>& everyCaseAsks = std::nullopt) {
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& naming = cases[i];
    SCOPED_TRACE("case " + std::to_string(i) + ": \"" + naming.expected + "\"");
    FakeWinVersionQueries queries(naming.answers);
    for (const auto& [name, text] : naming.stored) queries.setCurrentVersionValue(name, text);
    EXPECT_EQ(GetWinVersion(queries), naming.expected);
    const std::optional<CallLog>& calls = naming.calls ? naming.calls : everyCaseAsks;
    if (calls) {
      EXPECT_EQ(queries.calls, *calls);
    }
  }
}

WinVersionAnswers Platform(std::uint32_t platformId, std::uint32_t major) {
  WinVersionAnswers answers;
  answers.plain.platformId = platformId;
  answers.plain.majorVersion = major;
  return answers;
}

WinVersionAnswers Windows9x(std::uint32_t minor, std::uint32_t buildNumber) {
  WinVersionAnswers answers = Platform(1, 4);
  answers.plain.minorVersion = minor;
  answers.plain.buildNumber = buildNumber;
  return answers;
}

WinVersionAnswers Nt(std::uint32_t major, std::uint32_t minor, std::uint8_t productType,
                     std::uint16_t suiteMask = 0) {
  WinVersionAnswers answers;
  answers.plain = NtRecord(major, minor);
  answers.extended.minorVersion = minor;
  answers.extended.productType = productType;
  answers.extended.suiteMask = suiteMask;
  return answers;
}

WinVersionAnswers WindowsXp(const std::vector<int>& metricsSet, std::uint16_t suiteMask) {
  WinVersionAnswers answers = Nt(5, 1, kWorkstation, suiteMask);
  for (int metric : metricsSet) answers.metrics[metric] = -1;
  return answers;
}

CallLog WindowsXpAsks(const std::vector<int>& metrics) {
  CallLog calls{"GetVersionEx plain", "GetVersionEx extended"};
  for (int metric : metrics) calls.push_back("GetSystemMetrics " + std::to_string(metric));
  return calls;
}

WinVersionAnswers Server2003(bool r2, std::uint8_t productType, std::uint16_t suiteMask,
                             std::uint16_t architecture) {
  WinVersionAnswers answers = Nt(5, 2, productType, suiteMask);
  answers.metrics[89] = r2 ? 1 : 0;
  answers.architecture = architecture;
  return answers;
}

WinVersionAnswers Version6(std::uint32_t minor, std::uint8_t productType, std::uint32_t productInfo = 0,
                           std::uint16_t architecture = kIa64) {
  WinVersionAnswers answers = Nt(6, minor, productType);
  answers.productType = productInfo;
  answers.architecture = architecture;
  return answers;
}

WinVersionAnswers OnMachine(WinVersionAnswers answers, bool wow64, std::uint16_t native,
                            std::uint16_t plain) {
  answers.wow64 = wow64;
  answers.nativeArchitecture = native;
  answers.architecture = plain;
  return answers;
}

WinVersionAnswers WithServicePack(WinVersionAnswers answers, const std::string& servicePack) {
  SetServicePack(answers.plain, servicePack);
  return answers;
}

TEST(GetWinVersion, NamesFromThePlainRecordAlone) {
  ExpectNames(
      {
          {Windows9x(0, 949), ""},
          {Windows9x(0, 950), "Windows 95"},
          {Windows9x(0, 951), "Windows 95 SP1"},
          {Windows9x(0, 1080), "Windows 95 SP1"},
          {Windows9x(0, 1081), "Windows 95 OSR2"},
          {Windows9x(10, 1997), ""},
          {Windows9x(10, 1998), "Windows 98"},
          {Windows9x(10, 1999), "Windows 98 SP1"},
          {Windows9x(10, 2182), "Windows 98 SP1"},
          {Windows9x(10, 2183), "Windows 98 SE"},
          {Windows9x(90, 0), "Windows ME"},
          {Windows9x(90, 3000), "Windows ME"},
          {Windows9x(20, 1998), ""},
          // The high word holds major and minor version; only the low 16 bits are the build.
          {Windows9x(0, 0x040003B6), "Windows 95"},
          {Windows9x(0, 0x000103B5), ""},
          {Windows9x(10, 0x040A07CE), "Windows 98"},
          {Windows9x(10, 0x040A0000), ""},
          {Platform(0, 3), "Windows 3.1"},
          {Platform(3, 5), "Windows CE"},
          {Platform(4, 5), ""},
          {Platform(2, 3), "Windows NT 3.x"},
          {Platform(2, 4), "Windows NT 4.x"},
          {Platform(2, 7), ""},
          {Platform(2, 10), ""},
          {Platform(2, 2), ""},
      },
      CallLog{"GetVersionEx plain"});
}

TEST(GetWinVersion, Windows2000ByProductTypeAndSuite) {
  ExpectNames(
      {
          {Nt(5, 0, kWorkstation, 0x0082), "Windows 2000 Professional"},
          {Nt(5, 0, 2, 0x0082), "Windows 2000 Datacenter Server"},
          {Nt(5, 0, kServer, 0x0002), "Windows 2000 Advanced Server"},
          {Nt(5, 0, kServer, 0x0000), "Windows 2000 Server"},
          {Nt(5, 0, kServer, 0x0400), "Windows 2000 Server"},
          {Nt(5, 3, kServer, 0x0000), ""},
      },
      CallLog{"GetVersionEx plain", "GetVersionEx extended"});
}

TEST(GetWinVersion, WindowsXpAsksTheMetricsInOrderUntilOneIsSet) {
  ExpectNames({
      {WindowsXp({87, 88, 86}, 0x0200), "Windows XP Media Center Edition", {}, WindowsXpAsks({87})},
      {WindowsXp({88, 86}, 0x0200), "Windows XP Starter Edition", {}, WindowsXpAsks({87, 88})},
      {WindowsXp({86}, 0x0200), "Windows XP Tablet PC Edition", {}, WindowsXpAsks({87, 88, 86})},
      {WindowsXp({}, 0x0200), "Windows XP Home Edition", {}, WindowsXpAsks({87, 88, 86})},
      {WindowsXp({}, 0x0002), "Windows XP Professional", {}, WindowsXpAsks({87, 88, 86})},
  });
}

TEST(GetWinVersion, Server2003BaseNames) {
  ExpectNames({
      {Server2003(true, kServer, 0x0080, kIntel), "Windows Server 2003 R2, Datacenter Edition"},
      {Server2003(true, kServer, 0x2000, kIntel), "Windows Server 2003 R2, Standard Edition"},
      {Server2003(true, kWorkstation, 0, kAmd64), "Windows Server 2003 R2, "},
      {Server2003(false, kServer, 0x2000, kIntel), "Windows Storage Server 2003"},
      {Server2003(false, kServer, 0x2000, kAmd64), "Windows Storage Server 2003"},
      {Server2003(false, kServer, 0x2000, kIa64), "Windows Storage Server 2003"},
      {Server2003(false, kWorkstation, 0x2000, kAmd64), "Windows Storage Server 2003"},
      {Server2003(false, kServer, 0x2080, kIntel), "Windows Server 2003, Datacenter Edition"},
      {Server2003(false, kServer, 0x2002, kAmd64), "Windows Server 2003, Enterprise x64 Edition"},
      {Server2003(false, kWorkstation, 0, kAmd64), "Windows XP Professional x64 Edition"},
      {Server2003(false, kWorkstation, 0x0080, kIntel), "Windows Server 2003, "},
      {Server2003(false, kWorkstation, 0, kIa64), "Windows Server 2003, "},
      {Server2003(false, kServer, 0x0080, kIntel), "Windows Server 2003, Datacenter Edition"},
      {Server2003(false, kServer, 0x0080, kAmd64), "Windows Server 2003, Datacenter x64 Edition"},
      {Server2003(false, kServer, 0x0000, kIa64), "Windows Server 2003, "},
  });
}

TEST(GetWinVersion, Server2003EditionTable) {
  ExpectNames({
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
      {Server2003(false, 2, 0x0400, 5), "Windows Server 2003, Web Edition"},
      {Server2003(false, 2, 0x0000, 12), "Windows Server 2003, Standard Edition"},
  });
}

TEST(GetWinVersion, Server2003LearnsTheArchitectureBeforeTheR2Metric) {
  ExpectNames({{OnMachine(Server2003(false, kServer, 0, kIntel), true, kAmd64, kIntel),
                "Windows Server 2003, Standard x64 Edition",
                {},
                CallLog{"GetVersionEx plain", "GetVersionEx extended", "IsWow64Process",
                        "GetNativeSystemInfo", "GetSystemMetrics 89"}}});
}

TEST(GetWinVersion, Version6BaseNames) {
  ExpectNames({
      {Version6(0, kWorkstation), "Windows Vista ", {{"ProductName", "ignored"}}},
      {Version6(1, kWorkstation), "Windows 7 ", {{"ProductName", "ignored"}}},
      {Version6(2, kWorkstation), "Windows 8 Pro ", {{"ProductName", "Windows 8 Pro"}}},
      {Version6(3, kWorkstation), "Windows 8.1 Enterprise ", {{"PRODUCTNAME", "Windows 8.1 Enterprise"}}},
      {Version6(2, kWorkstation), "? "},
      {Version6(2, kWorkstation), "? ", {{"ProductName", ""}}},
      {Version6(0, kServer), "Windows Server 2008 ", {{"ProductName", "ignored"}}},
      {Version6(3, 2), "Windows Server 2008 ", {{"ProductName", "ignored"}}},
  });
}

TEST(GetWinVersion, Version6EditionTable) {
  ExpectNames({
      {Version6(0, kWorkstation, 1, kIntel), "Windows Vista Ultimate Edition, 32-Bit"},
      {Version6(0, kWorkstation, 2, kIntel), "Windows Vista Home Basic Edition, 32-Bit"},
      {Version6(0, kWorkstation, 3, kIntel), "Windows Vista Home Premium Edition, 32-Bit"},
      {Version6(0, kWorkstation, 4, kIntel), "Windows Vista Enterprise Edition, 32-Bit"},
      {Version6(0, kWorkstation, 6, kIntel), "Windows Vista Business Edition, 32-Bit"},
      {Version6(0, kServer, 7, kAmd64), "Windows Server 2008 Standard Edition, 64-Bit"},
      {Version6(0, kServer, 8, kAmd64), "Windows Server 2008 Datacenter Edition, 64-Bit"},
      {Version6(0, kServer, 9, kAmd64), "Windows Server 2008 Small Business Server, 64-Bit"},
      {Version6(0, kServer, 10, kAmd64), "Windows Server 2008 Enterprise Edition, 64-Bit"},
      {Version6(0, kWorkstation, 11, kIntel), "Windows Vista Starter Edition, 32-Bit"},
      {Version6(0, kServer, 12, kAmd64), "Windows Server 2008 Datacenter Edition (core installation), 64-Bit"},
      {Version6(0, kServer, 13, kAmd64), "Windows Server 2008 Standard Edition (core installation), 64-Bit"},
      {Version6(0, kServer, 14, kAmd64), "Windows Server 2008 Enterprise Edition (core installation), 64-Bit"},
      {Version6(0, kServer, 15, kIa64), "Windows Server 2008 Enterprise Edition for Itanium-based Systems"},
      {Version6(0, kServer, 17, kAmd64), "Windows Server 2008 Web Server Edition, 64-Bit"},
      {Version6(0, kServer, 18, kAmd64), "Windows Server 2008 Cluster Server Edition, 64-Bit"},
      {Version6(0, kServer, 25, kAmd64), "Windows Server 2008 Small Business Server Premium Edition, 64-Bit"},
      {Version6(0, kWorkstation, 0, kIntel), "Windows Vista , 32-Bit"},
      {Version6(0, kWorkstation, 5, kIntel), "Windows Vista , 32-Bit"},
      {Version6(0, kWorkstation, 16, kIntel), "Windows Vista , 32-Bit"},
      {Version6(0, kWorkstation, 19, kIntel), "Windows Vista , 32-Bit"},
      {Version6(0, kWorkstation, 24, kIntel), "Windows Vista , 32-Bit"},
      {Version6(0, kWorkstation, 26, kIntel), "Windows Vista , 32-Bit"},
      {Version6(0, kWorkstation, 0x00ABCDEF, kIntel), "Windows Vista , 32-Bit"},
  });
}

TEST(GetWinVersion, Version6WidthFromTheMachineArchitecture) {
  const WinVersionAnswers windows7 = Version6(1, kWorkstation);
  ExpectNames({
      {OnMachine(windows7, false, kIntel, kAmd64), "Windows 7 , 64-Bit"},
      {OnMachine(windows7, false, kAmd64, kIntel), "Windows 7 , 32-Bit"},
      {OnMachine(windows7, true, kAmd64, kIntel), "Windows 7 , 64-Bit"},  // 32-bit process, 64-bit system
      {OnMachine(windows7, true, kIntel, kAmd64), "Windows 7 , 32-Bit"},
      {OnMachine(windows7, false, kIntel, kIa64), "Windows 7 "},
      {OnMachine(windows7, false, kIntel, 12), "Windows 7 "},
  });
}

TEST(GetWinVersion, Version6AsksRegistryThenProductInfoThenArchitecture) {
  const std::string key = sysinfo_fakes::kCurrentVersionKey;
  ExpectNames({{Version6(2, kWorkstation, 4, kAmd64),
                "Windows 8 Enterprise Enterprise Edition, 64-Bit",
                {{"ProductName", "Windows 8 Enterprise"}},
                CallLog{"GetVersionEx plain", "GetVersionEx extended", "RegOpenKeyEx 80000002 " + key + " 0 1",
                        "RegQueryValueEx 1 Productname size", "RegQueryValueEx 1 Productname data 21",
                        "RegCloseKey 1", "GetProductInfo 6.0 0.0", "IsWow64Process", "GetSystemInfo"}}});
}

TEST(GetWinVersion, Windows11IsToldByItsBuildNumber) {
  const auto stored = [](const char* name, const char* build) {
    return std::vector<std::pair<std::string, std::string>>{{"ProductName", name}, {"CurrentBuildNumber", build}};
  };
  const WinVersionAnswers windows = Version6(3, kWorkstation);
  ExpectNames({
      {windows, "Windows 11 Pro ", stored("Windows 10 Pro", "22000")},
      {windows, "Windows 11 Enterprise LTSC ", stored("Windows 10 Enterprise LTSC", "26100")},
      {windows, "Windows 11 ", stored("Windows 10", "22631")},
      {windows, "Windows 10 Pro ", stored("Windows 10 Pro", "21999")},
      {windows, "Windows 10 Pro ", {{"ProductName", "Windows 10 Pro"}}},
      {windows, "Windows 10 Pro ", stored("Windows 10 Pro", "")},
      {windows, "Windows 10 Pro ", stored("Windows 10 Pro", "22000a")},
      {windows, "Windows 10 Pro ", stored("Windows 10 Pro", " 22000")},
      {windows, "Windows 8.1 Pro ", stored("Windows 8.1 Pro", "22000")},
      {windows, "windows 10 Pro ", stored("windows 10 Pro", "22000")},
      {windows, "Microsoft Windows 10 Pro ", stored("Microsoft Windows 10 Pro", "22000")},
  });
}

TEST(GetWinVersion, BuildNumberIsReadOnlyForAStoredWindows10Name) {
  const auto valuesRead = [](const std::string& productName, std::uint8_t productType) {
    FakeWinVersionQueries queries(Version6(3, productType));
    queries.setCurrentVersionValue("ProductName", productName);
    queries.setCurrentVersionValue("CurrentBuildNumber", "19045");
    GetWinVersion(queries);
    std::vector<std::string> sizeQueries;
    for (const std::string& call : queries.calls) {
      if (call.ends_with(" size")) sizeQueries.push_back(call);
    }
    return sizeQueries;
  };
  EXPECT_EQ(valuesRead("Windows 10 Home", kWorkstation),
            (std::vector<std::string>{"RegQueryValueEx 1 Productname size",
                                      "RegQueryValueEx 2 CurrentBuildNumber size"}));
  EXPECT_EQ(valuesRead("Windows 8.1", kWorkstation),
            std::vector<std::string>{"RegQueryValueEx 1 Productname size"});
  EXPECT_TRUE(valuesRead("Windows 10 Pro", kServer).empty());
}

TEST(GetWinVersion, ServicePackPart) {
  const std::string full(128, 'S');
  ExpectNames({
      {WithServicePack(Platform(2, 4), "Service Pack 3"), "Windows NT 4.x (Service Pack 3)"},
      {WithServicePack(Platform(2, 4), ""), "Windows NT 4.x"},
      {WithServicePack(Platform(2, 4), std::string("SP1\0rest", 8)), "Windows NT 4.x (SP1)"},
      {WithServicePack(Platform(2, 4), std::string("\0rest", 5)), "Windows NT 4.x"},
      {WithServicePack(Platform(2, 4), full), "Windows NT 4.x (" + full + ")"},
      {WithServicePack(Platform(4, 4), "Service Pack 1"), " (Service Pack 1)"},
      {WithServicePack(Windows9x(0, 0), " A "), " ( A )"},
      {WithServicePack(Version6(1, kWorkstation, 1, kAmd64), "Service Pack 1"),
       "Windows 7 Ultimate Edition, 64-Bit (Service Pack 1)"},
  });
}

TEST(GetWinVersion, FailedFatalQueriesEndTheNamingWithErrorMinusOne) {
  WinVersionAnswers plainFails = Nt(6, 1, kWorkstation);
  plainFails.plainSucceeds = false;
  WinVersionAnswers extended5Fails = Nt(5, 1, kWorkstation);
  extended5Fails.extendedSucceeds = false;
  WinVersionAnswers extended6Fails = Nt(6, 1, kWorkstation);
  extended6Fails.extendedSucceeds = false;
  WinVersionAnswers wow64Fails52 = Nt(5, 2, kServer);
  wow64Fails52.wow64Succeeds = false;
  WinVersionAnswers wow64Fails6 = WithServicePack(Nt(6, 1, kWorkstation), "Service Pack 1");
  wow64Fails6.wow64Succeeds = false;
  const std::pair<WinVersionAnswers, std::size_t> failures[] = {
      {plainFails, 1}, {extended5Fails, 2}, {extended6Fails, 2}, {wow64Fails52, 3}, {wow64Fails6, 4},
  };
  for (const auto& [answers, queriesAsked] : failures) {
    FakeWinVersionQueries queries(answers);
    try {
      GetWinVersion(queries);
      ADD_FAILURE() << "named without error after " << queries.calls.back();
    } catch (const WinVersionError& error) {
      EXPECT_EQ(error.number(), -1);
    }
    EXPECT_EQ(queries.calls.size(), queriesAsked) << queries.calls.back();
  }
}

TEST(GetWinVersion, MissingFunctionFailsOnlyOnAPathThatCallsIt) {
  const auto lacking = [](WinVersionAnswers answers, const char* function) {
    answers.missingFunctions = {function};
    return answers;
  };
  const WinVersionAnswers windows7 = Version6(1, kWorkstation, 0, kIntel);
  for (const WinVersionAnswers& answers : {
           lacking(windows7, "IsWow64Process"),
           lacking(Nt(5, 2, kServer), "IsWow64Process"),
           lacking(windows7, "GetProductInfo"),
           lacking(OnMachine(windows7, true, kIntel, kIntel), "GetNativeSystemInfo"),
       }) {
    FakeWinVersionQueries queries(answers);
    EXPECT_THROW(GetWinVersion(queries), WinVersionError) << queries.calls.back();
  }
  ExpectNames({
      {lacking(windows7, "GetNativeSystemInfo"), "Windows 7 , 32-Bit"},
      {lacking(Nt(5, 2, kServer), "GetProductInfo"), "Windows Server 2003, Standard Edition"},
      {lacking(Nt(5, 1, kWorkstation), "IsWow64Process"), "Windows XP Professional"},
      {lacking(Nt(5, 0, kWorkstation), "GetNativeSystemInfo"), "Windows 2000 Professional"},
      {lacking(Nt(4, 0, kWorkstation), "GetProductInfo"), "Windows NT 4.x"},
      {lacking(Windows9x(10, 2222), "IsWow64Process"), "Windows 98 SE"},
  });
}

}  // namespace
}  // namespace kalmor
