#include "sysinfo/get_win_version.h"

#include <gtest/gtest.h>

#include <string>
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

WinVersionAnswers Nt(std::uint32_t major, std::uint32_t minor, std::uint8_t productType,
                     std::uint16_t suiteMask = 0) {
  WinVersionAnswers answers;
  answers.plain = NtRecord(major, minor);
  answers.extended.minorVersion = minor;
  answers.extended.productType = productType;
  answers.extended.suiteMask = suiteMask;
  return answers;
}

std::string Name(const WinVersionAnswers& answers) {
  FakeWinVersionQueries queries(answers);
  return GetWinVersion(queries);
}

TEST(GetWinVersion, Windows9xBuildThresholdsUseTheLow16Bits) {
  struct Row {
    std::uint32_t minor;
    std::uint32_t build;
    const char* expected;
  };
  const Row rows[] = {
      {0, 949, ""},
      {0, 950, "Windows 95"},
      {0, 951, "Windows 95 SP1"},
      {0, 1080, "Windows 95 SP1"},
      {0, 1081, "Windows 95 OSR2"},
      {0, 0x040003B6, "Windows 95"},  // 4.0 in the high word, 950 below
      {0, 0x000103B5, ""},            // 949: the high word must not lift it
      {10, 1997, ""},
      {10, 1998, "Windows 98"},
      {10, 1999, "Windows 98 SP1"},
      {10, 2182, "Windows 98 SP1"},
      {10, 2183, "Windows 98 SE"},
      {10, 0x040A07CE, "Windows 98"},  // 4.10 in the high word, 1998 below
      {10, 0x040A0000, ""},
      {90, 0, "Windows ME"},
      {90, 3000, "Windows ME"},
      {20, 1998, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.minor) + " / " + std::to_string(row.build));
    WinVersionAnswers answers;
    answers.plain.platformId = 1;
    answers.plain.majorVersion = 4;
    answers.plain.minorVersion = row.minor;
    answers.plain.buildNumber = row.build;
    FakeWinVersionQueries queries(answers);
    EXPECT_EQ(GetWinVersion(queries), row.expected);
    EXPECT_EQ(queries.calls, CallLog{"GetVersionEx plain"});
  }
}

TEST(GetWinVersion, PlatformsAndOlderNtVersionsNeedOnlyThePlainRecord) {
  struct Row {
    std::uint32_t platform;
    std::uint32_t major;
    const char* expected;
  };
  const Row rows[] = {
      {0, 3, "Windows 3.1"},  {3, 5, "Windows CE"},     {4, 5, ""},  {2, 3, "Windows NT 3.x"},
      {2, 4, "Windows NT 4.x"}, {2, 7, ""}, {2, 10, ""}, {2, 2, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.platform) + " / " + std::to_string(row.major));
    WinVersionAnswers answers;
    answers.plain.platformId = row.platform;
    answers.plain.majorVersion = row.major;
    FakeWinVersionQueries queries(answers);
    EXPECT_EQ(GetWinVersion(queries), row.expected);
    EXPECT_EQ(queries.calls, CallLog{"GetVersionEx plain"});
  }
}

TEST(GetWinVersion, Windows2000ByProductTypeAndSuite) {
  struct Row {
    std::uint8_t productType;
    std::uint16_t suite;
    const char* expected;
  };
  const Row rows[] = {
      {kWorkstation, 0x0082, "Windows 2000 Professional"},
      {2, 0x0082, "Windows 2000 Datacenter Server"},
      {kServer, 0x0002, "Windows 2000 Advanced Server"},
      {kServer, 0x0000, "Windows 2000 Server"},
      {kServer, 0x0400, "Windows 2000 Server"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    FakeWinVersionQueries queries(Nt(5, 0, row.productType, row.suite));
    EXPECT_EQ(GetWinVersion(queries), row.expected);
    EXPECT_EQ(queries.calls, (CallLog{"GetVersionEx plain", "GetVersionEx extended"}));
  }
}

TEST(GetWinVersion, WindowsXpAsksTheMetricsInOrderUntilOneIsSet) {
  struct Row {
    std::vector<int> metricsSet;
    std::uint16_t suite;
    const char* expected;
    std::vector<int> metricsAsked;
  };
  const Row rows[] = {
      {{87, 88, 86}, 0x0200, "Windows XP Media Center Edition", {87}},
      {{88, 86}, 0x0200, "Windows XP Starter Edition", {87, 88}},
      {{86}, 0x0200, "Windows XP Tablet PC Edition", {87, 88, 86}},
      {{}, 0x0200, "Windows XP Home Edition", {87, 88, 86}},
      {{}, 0x0002, "Windows XP Professional", {87, 88, 86}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    WinVersionAnswers answers = Nt(5, 1, kWorkstation, row.suite);
    for (int metric : row.metricsSet) answers.metrics[metric] = -1;
    FakeWinVersionQueries queries(answers);
    EXPECT_EQ(GetWinVersion(queries), row.expected);
    CallLog expected{"GetVersionEx plain", "GetVersionEx extended"};
    for (int metric : row.metricsAsked) expected.push_back("GetSystemMetrics " + std::to_string(metric));
    EXPECT_EQ(queries.calls, expected);
  }
}

TEST(GetWinVersion, Server2003BaseNames) {
  struct Row {
    bool r2;
    std::uint8_t productType;
    std::uint16_t suite;
    std::uint16_t architecture;
    const char* expected;
  };
  const Row rows[] = {
      {true, kServer, 0x0080, kIntel, "Windows Server 2003 R2, Datacenter Edition"},
      {true, kServer, 0x2000, kIntel, "Windows Server 2003 R2, Standard Edition"},
      {true, kWorkstation, 0, kAmd64, "Windows Server 2003 R2, "},
      {false, kServer, 0x2000, kIntel, "Windows Storage Server 2003"},
      {false, kServer, 0x2000, kAmd64, "Windows Storage Server 2003"},
      {false, kServer, 0x2000, kIa64, "Windows Storage Server 2003"},
      {false, kWorkstation, 0x2000, kAmd64, "Windows Storage Server 2003"},
      {false, kServer, 0x2080, kIntel, "Windows Server 2003, Datacenter Edition"},
      {false, kServer, 0x2002, kAmd64, "Windows Server 2003, Enterprise x64 Edition"},
      {false, kWorkstation, 0, kAmd64, "Windows XP Professional x64 Edition"},
      {false, kWorkstation, 0x0080, kIntel, "Windows Server 2003, "},
      {false, kWorkstation, 0, kIa64, "Windows Server 2003, "},
      {false, kServer, 0x0080, kIntel, "Windows Server 2003, Datacenter Edition"},
      {false, kServer, 0x0080, kAmd64, "Windows Server 2003, Datacenter x64 Edition"},
      {false, kServer, 0x0000, kIa64, "Windows Server 2003, "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    WinVersionAnswers answers = Nt(5, 2, row.productType, row.suite);
    answers.metrics[89] = row.r2 ? 1 : 0;
    answers.architecture = row.architecture;
    EXPECT_EQ(Name(answers), row.expected);
  }
}

TEST(GetWinVersion, Server2003EditionTable) {
  struct Row {
    std::uint16_t architecture;
    std::uint16_t suite;
    const char* edition;
  };
  const Row rows[] = {
      {kIa64, 0x0082, "Datacenter Edition for Itanium-based Systems"},
      {kIa64, 0x0002, "Enterprise Edition for Itanium-based Systems"},
      {kIa64, 0x4400, ""},
      {kAmd64, 0x0082, "Datacenter x64 Edition"},
      {kAmd64, 0x0002, "Enterprise x64 Edition"},
      {kAmd64, 0x4400, "Standard x64 Edition"},
      {kIntel, 0x4082, "Compute Cluster Edition"},
      {kIntel, 0x0482, "Datacenter Edition"},
      {kIntel, 0x0402, "Enterprise Edition"},
      {kIntel, 0x0400, "Web Edition"},
      {kIntel, 0x0200, "Standard Edition"},
      {5, 0x0400, "Web Edition"},
      {12, 0x0000, "Standard Edition"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.architecture) + " / " + std::to_string(row.suite));
    WinVersionAnswers answers = Nt(5, 2, 2, row.suite);
    answers.architecture = row.architecture;
    EXPECT_EQ(Name(answers), std::string("Windows Server 2003, ") + row.edition);
  }
}

TEST(GetWinVersion, Server2003LearnsTheArchitectureBeforeTheR2Metric) {
  WinVersionAnswers answers = Nt(5, 2, kServer);
  answers.wow64 = true;
  answers.nativeArchitecture = kAmd64;
  answers.architecture = kIntel;
  FakeWinVersionQueries queries(answers);
  EXPECT_EQ(GetWinVersion(queries), "Windows Server 2003, Standard x64 Edition");
  EXPECT_EQ(queries.calls, (CallLog{"GetVersionEx plain", "GetVersionEx extended", "IsWow64Process",
                                    "GetNativeSystemInfo", "GetSystemMetrics 89"}));
}

TEST(GetWinVersion, Version6BaseNames) {
  struct Row {
    std::uint8_t productType;
    std::uint32_t minor;
    const char* storedName;  // nullptr: no value
    const char* expected;
  };
  const Row rows[] = {
      {kWorkstation, 0, "ignored", "Windows Vista "},
      {kWorkstation, 1, "ignored", "Windows 7 "},
      {kWorkstation, 2, "Windows 8 Pro", "Windows 8 Pro "},
      {kWorkstation, 3, "Windows 8.1 Enterprise", "Windows 8.1 Enterprise "},
      {kWorkstation, 2, nullptr, "? "},
      {kWorkstation, 2, "", "? "},
      {kServer, 0, "ignored", "Windows Server 2008 "},
      {2, 3, "ignored", "Windows Server 2008 "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    WinVersionAnswers answers = Nt(6, row.minor, row.productType);
    answers.architecture = kIa64;
    FakeWinVersionQueries queries(answers);
    if (row.storedName != nullptr) queries.setCurrentVersionValue("ProductName", row.storedName);
    EXPECT_EQ(GetWinVersion(queries), row.expected);
  }
}

TEST(GetWinVersion, Version6EditionTable) {
  struct Row {
    std::uint32_t productType;
    const char* edition;
  };
  const Row rows[] = {
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
      {0, ""},
      {5, ""},
      {16, ""},
      {19, ""},
      {24, ""},
      {26, ""},
      {0x00ABCDEF, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.productType);
    WinVersionAnswers answers = Nt(6, 0, kWorkstation);
    answers.productType = row.productType;
    EXPECT_EQ(Name(answers), std::string("Windows Vista ") + row.edition + ", 32-Bit");
  }
}

TEST(GetWinVersion, Version6WidthFromTheMachineArchitecture) {
  struct Row {
    bool wow64;
    std::uint16_t native;
    std::uint16_t plain;
    const char* expected;
  };
  const Row rows[] = {
      {false, kIntel, kAmd64, "Windows 7 , 64-Bit"},
      {false, kAmd64, kIntel, "Windows 7 , 32-Bit"},
      {true, kAmd64, kIntel, "Windows 7 , 64-Bit"},  // a 32-bit process on a 64-bit system
      {true, kIntel, kAmd64, "Windows 7 , 32-Bit"},
      {false, kIntel, kIa64, "Windows 7 "},
      {false, kIntel, 12, "Windows 7 "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    WinVersionAnswers answers = Nt(6, 1, kWorkstation);
    answers.wow64 = row.wow64;
    answers.nativeArchitecture = row.native;
    answers.architecture = row.plain;
    EXPECT_EQ(Name(answers), row.expected);
  }
}

TEST(GetWinVersion, Version6AsksRegistryThenProductInfoThenArchitecture) {
  WinVersionAnswers answers = Nt(6, 2, kWorkstation);
  answers.productType = 4;
  answers.architecture = kAmd64;
  FakeWinVersionQueries queries(answers);
  queries.setCurrentVersionValue("ProductName", "Windows 8 Enterprise");
  EXPECT_EQ(GetWinVersion(queries), "Windows 8 Enterprise Enterprise Edition, 64-Bit");
  const std::string key = sysinfo_fakes::kCurrentVersionKey;
  EXPECT_EQ(queries.calls, (CallLog{"GetVersionEx plain", "GetVersionEx extended",
                                    "RegOpenKeyEx 80000002 " + key + " 0 1",
                                    "RegQueryValueEx 1 Productname size",
                                    "RegQueryValueEx 1 Productname data 21", "RegCloseKey 1",
                                    "GetProductInfo 6.0 0.0", "IsWow64Process", "GetSystemInfo"}));
}

TEST(GetWinVersion, Windows11IsToldByItsBuildNumber) {
  struct Row {
    const char* storedName;
    const char* build;  // nullptr: no value
    const char* expectedBase;
  };
  const Row rows[] = {
      {"Windows 10 Pro", "22000", "Windows 11 Pro"},
      {"Windows 10 Enterprise LTSC", "26100", "Windows 11 Enterprise LTSC"},
      {"Windows 10", "22631", "Windows 11"},
      {"Windows 10 Pro", "21999", "Windows 10 Pro"},
      {"Windows 10 Pro", nullptr, "Windows 10 Pro"},
      {"Windows 10 Pro", "", "Windows 10 Pro"},
      {"Windows 10 Pro", "22000a", "Windows 10 Pro"},
      {"Windows 10 Pro", " 22000", "Windows 10 Pro"},
      {"Windows 8.1 Pro", "22000", "Windows 8.1 Pro"},
      {"windows 10 Pro", "22000", "windows 10 Pro"},
      {"Microsoft Windows 10 Pro", "22000", "Microsoft Windows 10 Pro"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.storedName) + " / " + (row.build ? row.build : "none"));
    WinVersionAnswers answers = Nt(6, 3, kWorkstation);
    answers.architecture = kIa64;
    FakeWinVersionQueries queries(answers);
    queries.setCurrentVersionValue("ProductName", row.storedName);
    if (row.build != nullptr) queries.setCurrentVersionValue("CurrentBuildNumber", row.build);
    EXPECT_EQ(GetWinVersion(queries), std::string(row.expectedBase) + " ");
  }
}

TEST(GetWinVersion, BuildNumberIsReadOnlyForAStoredWindows10Name) {
  const auto registryReads = [](const CallLog& calls) {
    std::vector<std::string> names;
    for (const std::string& call : calls) {
      if (call.ends_with(" size")) names.push_back(call);
    }
    return names;
  };
  WinVersionAnswers answers = Nt(6, 3, kWorkstation);
  FakeWinVersionQueries windows10(answers);
  windows10.setCurrentVersionValue("ProductName", "Windows 10 Home");
  windows10.setCurrentVersionValue("CurrentBuildNumber", "19045");
  EXPECT_EQ(GetWinVersion(windows10), "Windows 10 Home , 32-Bit");
  EXPECT_EQ(registryReads(windows10.calls),
            (std::vector<std::string>{"RegQueryValueEx 1 Productname size",
                                      "RegQueryValueEx 2 CurrentBuildNumber size"}));

  FakeWinVersionQueries windows81(answers);
  windows81.setCurrentVersionValue("ProductName", "Windows 8.1");
  windows81.setCurrentVersionValue("CurrentBuildNumber", "22000");
  GetWinVersion(windows81);
  EXPECT_EQ(registryReads(windows81.calls),
            std::vector<std::string>{"RegQueryValueEx 1 Productname size"});

  FakeWinVersionQueries server(Nt(6, 3, kServer));
  server.setCurrentVersionValue("ProductName", "Windows 10 Pro");
  server.setCurrentVersionValue("CurrentBuildNumber", "22000");
  EXPECT_EQ(GetWinVersion(server), "Windows Server 2008 , 32-Bit");
  EXPECT_TRUE(registryReads(server.calls).empty());
}

TEST(GetWinVersion, ServicePackPart) {
  struct Row {
    std::string servicePack;
    std::uint32_t platform;
    std::string expected;
  };
  const std::string full(128, 'S');
  const Row rows[] = {
      {"Service Pack 3", 2, "Windows NT 4.x (Service Pack 3)"},
      {"", 2, "Windows NT 4.x"},
      {std::string("SP1\0rest", 8), 2, "Windows NT 4.x (SP1)"},
      {std::string("\0rest", 5), 2, "Windows NT 4.x"},
      {full, 2, "Windows NT 4.x (" + full + ")"},
      {"Service Pack 1", 4, " (Service Pack 1)"},
      {" A ", 1, " ( A )"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    WinVersionAnswers answers;
    answers.plain = NtRecord(4, 0);
    answers.plain.platformId = row.platform;
    SetServicePack(answers.plain, row.servicePack);
    EXPECT_EQ(Name(answers), row.expected);
  }
}

TEST(GetWinVersion, FailedFatalQueriesEndTheNamingWithErrorMinusOne) {
  struct Row {
    const char* what;
    WinVersionAnswers answers;
    std::size_t queriesAsked;
  };
  WinVersionAnswers plainFails = Nt(6, 1, kWorkstation);
  plainFails.plainSucceeds = false;
  WinVersionAnswers extended5Fails = Nt(5, 1, kWorkstation);
  extended5Fails.extendedSucceeds = false;
  WinVersionAnswers extended6Fails = Nt(6, 1, kWorkstation);
  extended6Fails.extendedSucceeds = false;
  WinVersionAnswers wow64Fails52 = Nt(5, 2, kServer);
  wow64Fails52.wow64Succeeds = false;
  WinVersionAnswers wow64Fails6 = Nt(6, 1, kWorkstation);
  wow64Fails6.wow64Succeeds = false;
  SetServicePack(wow64Fails6.plain, "Service Pack 1");
  const Row rows[] = {
      {"plain record", plainFails, 1},
      {"extended record, version 5", extended5Fails, 2},
      {"extended record, version 6", extended6Fails, 2},
      {"IsWow64Process, version 5.2", wow64Fails52, 3},
      {"IsWow64Process, version 6", wow64Fails6, 4},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    FakeWinVersionQueries queries(row.answers);
    try {
      GetWinVersion(queries);
      ADD_FAILURE() << "no error";
    } catch (const WinVersionError& error) {
      EXPECT_EQ(error.number(), -1);
    }
    EXPECT_EQ(queries.calls.size(), row.queriesAsked);
  }
}

TEST(GetWinVersion, MissingFunctionFailsOnlyOnAPathThatCallsIt) {
  struct Row {
    WinVersionAnswers answers;
    const char* missing;
    const char* expected;  // nullptr: WinVersionError
  };
  WinVersionAnswers wow64 = Nt(6, 1, kWorkstation);
  wow64.wow64 = true;
  const Row rows[] = {
      {Nt(6, 1, kWorkstation), "IsWow64Process", nullptr},
      {Nt(5, 2, kServer), "IsWow64Process", nullptr},
      {Nt(6, 1, kWorkstation), "GetProductInfo", nullptr},
      {wow64, "GetNativeSystemInfo", nullptr},
      {Nt(6, 1, kWorkstation), "GetNativeSystemInfo", "Windows 7 , 32-Bit"},
      {Nt(5, 2, kServer), "GetProductInfo", "Windows Server 2003, Standard Edition"},
      {Nt(5, 1, kWorkstation), "IsWow64Process", "Windows XP Professional"},
      {Nt(5, 0, kWorkstation), "GetNativeSystemInfo", "Windows 2000 Professional"},
      {Nt(4, 0, kWorkstation), "GetProductInfo", "Windows NT 4.x"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.missing) + " / " + (row.expected ? row.expected : "error"));
    WinVersionAnswers answers = row.answers;
    answers.missingFunctions = {row.missing};
    if (row.expected == nullptr) {
      EXPECT_THROW(Name(answers), WinVersionError);
    } else {
      EXPECT_EQ(Name(answers), row.expected);
    }
  }
}

}  // namespace
}  // namespace kalmor
