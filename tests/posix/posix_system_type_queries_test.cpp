#include "platform/posix/posix_system_type_queries.h"

#include <gtest/gtest.h>

#include <map>
#include <string_view>

#include "sysinfo/is_64bit_system.h"

namespace kalmor {
namespace {

TEST(SystemTypeForMachine, WindowsWordsForEachMachine) {
  const std::map<std::string_view, std::string_view> systemTypes{
      {"x86_64", "x64-based PC"},      {"amd64", "x64-based PC"},       {"i386", "X86-based PC"},
      {"i486", "X86-based PC"},        {"i586", "X86-based PC"},        {"i686", "X86-based PC"},
      {"i786", "i786-based PC"},       {"aarch64", "ARM64-based PC"},   {"arm64", "ARM64-based PC"},
      {"armv7l", "ARM-based PC"},      {"armv6l", "ARM-based PC"},      {"arm", "ARM-based PC"},
      {"riscv64", "riscv64-based PC"}, {"ppc64le", "ppc64le-based PC"},
  };
  for (const auto& [machine, systemType] : systemTypes) {
    EXPECT_EQ(SystemTypeForMachine(machine), systemType) << machine;
  }
}

TEST(PosixSystemTypeQueries, OneObjectPerQuery) {
  PosixSystemTypeQueries queries([] { return std::optional<std::string>("x86_64"); });
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(queries.bindAndQuery());
    EXPECT_EQ(queries.nextObject(), SystemTypeQueries::Next::Object);
    EXPECT_EQ(queries.systemType(), "x64-based PC");
    EXPECT_EQ(queries.nextObject(), SystemTypeQueries::Next::End);
    EXPECT_EQ(queries.systemType(), std::nullopt);
    queries.release();
  }
}

TEST(PosixSystemTypeQueries, WidthAnswers) {
  struct Row {
    std::optional<std::string> machine;
    bool expected;
  };
  const Row rows[] = {
      {"x86_64", true}, {"i686", false}, {"aarch64", false}, {std::nullopt, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.machine.value_or("uname fails"));
    PosixSystemTypeQueries queries([&row] { return row.machine; });
    EXPECT_EQ(Is64BitSystem(queries), row.expected);
  }
}

TEST(PosixSystemTypeQueries, AFailedUnameIsAFailedBind) {
  PosixSystemTypeQueries queries([] { return std::optional<std::string>(); });
  EXPECT_FALSE(queries.bindAndQuery());
  EXPECT_EQ(queries.nextObject(), SystemTypeQueries::Next::Error);
}

}  // namespace
}  // namespace kalmor
