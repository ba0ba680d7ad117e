#include "sysinfo/get_reg_string.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/portable/fake_registry.h"

namespace kalmor {
namespace {

using sysinfo_fakes::CallLog;
using sysinfo_fakes::FakeRegistry;

const std::string kKey = "Software\\Kalmor";

TEST(GetRegString, OpensAsksTheSizeReadsAndCloses) {
  CallLog calls;
  FakeRegistry registry(calls);
  registry.setValue(kKey, "ProductName", std::string("Windows 8\0", 10));
  EXPECT_EQ(GetRegString(registry, kHkeyLocalMachine, kKey, "Productname"), "Windows 8");
  EXPECT_EQ(calls, (CallLog{"RegOpenKeyEx 80000002 Software\\Kalmor 0 1",
                            "RegQueryValueEx 1 Productname size",
                            "RegQueryValueEx 1 Productname data 10", "RegCloseKey 1"}));
}

TEST(GetRegString, CutsTheStoredSizeLessOne) {
  struct Row {
    const char* what;
    std::string stored;
    std::string expected;
  };
  const Row rows[] = {
      {"NUL-terminated", std::string("abc\0", 4), "abc"},
      {"only a NUL", std::string("\0", 1), ""},
      {"size 0", "", ""},
      {"no terminating NUL: the last character goes", "abc", "ab"},
      {"NUL inside", std::string("a\0b\0", 4), std::string("a\0b", 3)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    CallLog calls;
    FakeRegistry registry(calls);
    registry.setValue(kKey, "Value", row.stored);
    EXPECT_EQ(GetRegString(registry, kHkeyLocalMachine, kKey, "Value"), row.expected);
  }
}

TEST(GetRegString, UnreadableValuesGiveEmptyOrUnchangedText) {
  CallLog calls;
  FakeRegistry registry(calls);
  registry.setValue(kKey, "Value", std::string("abc\0", 4));

  EXPECT_EQ(GetRegString(registry, kHkeyLocalMachine, kKey, "Missing"), "");
  EXPECT_EQ(GetRegString(registry, 0x80000001u, kKey, "Value"), "");

  calls.clear();
  EXPECT_EQ(GetRegString(registry, kHkeyLocalMachine, "Software\\Nobody", "Value"), "");
  // A failed open still runs the queries and the close, on key 0.
  EXPECT_EQ(calls, (CallLog{"RegOpenKeyEx 80000002 Software\\Nobody 0 1",
                            "RegQueryValueEx 0 Value size", "RegQueryValueEx 0 Value data 0",
                            "RegCloseKey 0"}));

  registry.dataQueryStatus = sysinfo_fakes::kErrorMoreData;
  EXPECT_EQ(GetRegString(registry, kHkeyLocalMachine, kKey, "Value"), "    ");
}

}  // namespace
}  // namespace kalmor
