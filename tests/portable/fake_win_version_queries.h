// Recorded answers for the Windows edition naming; logs the queries asked, in order.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "sysinfo/win_version_queries.h"
#include "tests/portable/fake_registry.h"

namespace kalmor::sysinfo_fakes {

inline const std::string kCurrentVersionKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";

struct WinVersionAnswers {
  PlainVersionRecord plain;
  bool plainSucceeds = true;
  ExtendedVersionRecord extended;
  bool extendedSucceeds = true;
  std::map<int, int> metrics;  // absent: 0
  bool wow64Succeeds = true;
  bool wow64 = false;
  std::uint16_t nativeArchitecture = 0;
  std::uint16_t architecture = 0;
  std::uint32_t productType = 0;
  std::set<std::string> missingFunctions;  // "IsWow64Process", "GetNativeSystemInfo", ...
};

class FakeWinVersionQueries : public WinVersionQueries {
 public:
  explicit FakeWinVersionQueries(WinVersionAnswers answers) : answers_(std::move(answers)) {
    registry_.addKey(kCurrentVersionKey);
  }

  CallLog calls;

  void setCurrentVersionValue(const std::string& name, const std::string& text) {
    registry_.setValue(kCurrentVersionKey, name, text + '\0');
  }

  bool getVersionEx(PlainVersionRecord& record) override {
    calls.push_back("GetVersionEx plain");
    if (answers_.plainSucceeds) record = answers_.plain;
    return answers_.plainSucceeds;
  }
  bool getVersionEx(ExtendedVersionRecord& record) override {
    calls.push_back("GetVersionEx extended");
    if (answers_.extendedSucceeds) record = answers_.extended;
    return answers_.extendedSucceeds;
  }
  int getSystemMetrics(int index) override {
    calls.push_back("GetSystemMetrics " + std::to_string(index));
    const auto found = answers_.metrics.find(index);
    return found == answers_.metrics.end() ? 0 : found->second;
  }
  bool isWow64Process(bool& wow64) override {
    call("IsWow64Process");
    if (answers_.wow64Succeeds) wow64 = answers_.wow64;
    return answers_.wow64Succeeds;
  }
  std::uint16_t getNativeSystemInfoArchitecture() override {
    call("GetNativeSystemInfo");
    return answers_.nativeArchitecture;
  }
  std::uint16_t getSystemInfoArchitecture() override {
    call("GetSystemInfo");
    return answers_.architecture;
  }
  std::uint32_t getProductInfo(std::uint32_t osMajor, std::uint32_t osMinor, std::uint32_t spMajor,
                               std::uint32_t spMinor) override {
    call("GetProductInfo " + std::to_string(osMajor) + "." + std::to_string(osMinor) + " " +
         std::to_string(spMajor) + "." + std::to_string(spMinor));
    return answers_.productType;
  }
  RegistryQueries& registry() override { return registry_; }

 private:
  void call(const std::string& what) {
    calls.push_back(what);
    const std::string function = what.substr(0, what.find(' '));
    if (answers_.missingFunctions.count(function) != 0) throw MissingSystemFunction(function);
  }

  WinVersionAnswers answers_;
  FakeRegistry registry_{calls};
};

// The plain record of an NT system of the given version.
inline PlainVersionRecord NtRecord(std::uint32_t major, std::uint32_t minor) {
  PlainVersionRecord record;
  record.platformId = 2;
  record.majorVersion = major;
  record.minorVersion = minor;
  return record;
}

inline void SetServicePack(PlainVersionRecord& record, const std::string& text) {
  record.csdVersion.fill('\0');
  std::memcpy(record.csdVersion.data(), text.data(), std::min(text.size(), record.csdVersion.size()));
}

}  // namespace kalmor::sysinfo_fakes
