#include "sysinfo/is_64bit_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kalmor {
namespace {

using CallLog = std::vector<std::string>;

// One scripted answer of the collection walk.
struct Step {
  SystemTypeQueries::Next next = SystemTypeQueries::Next::Object;
  std::optional<std::string> systemType;
};

Step Object(std::string systemType) { return {SystemTypeQueries::Next::Object, std::move(systemType)}; }
const Step kWithoutProperty{SystemTypeQueries::Next::Object, std::nullopt};
const Step kEnumerationError{SystemTypeQueries::Next::Error, std::nullopt};

class FakeSystemTypeQueries : public SystemTypeQueries {
 public:
  FakeSystemTypeQueries(bool bindSucceeds, std::vector<Step> steps)
      : bindSucceeds_(bindSucceeds), steps_(std::move(steps)) {}

  CallLog calls;
  bool throwOnNext = false;

  bool bindAndQuery() override {
    calls.push_back("bind");
    return bindSucceeds_;
  }
  Next nextObject() override {
    calls.push_back("next");
    if (throwOnNext) throw std::runtime_error("collection gone");
    if (position_ == steps_.size()) return Next::End;
    return steps_[position_++].next;
  }
  std::optional<std::string> systemType() override {
    calls.push_back("type");
    return steps_.at(position_ - 1).systemType;
  }
  void release() override { calls.push_back("release"); }

 private:
  bool bindSucceeds_;
  std::vector<Step> steps_;
  std::size_t position_ = 0;
};

TEST(Is64BitSystem, SystemTypeTextsIgnoringCase) {
  struct Row {
    const char* systemType;
    bool expected;
  };
  const Row rows[] = {
      {"x64-based PC", true},  {"X64-BASED PC", true},        {"64-bit Intel PC", true},
      {"a 64-BIT system", true}, {"X86-based PC", false},     {"ARM64-based PC", false},
      {"Itanium-based System", false}, {"x86-64 PC", false}, {"64 bit", false},
      {"", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.systemType);
    FakeSystemTypeQueries queries(true, {Object(row.systemType)});
    EXPECT_EQ(Is64BitSystem(queries), row.expected);
    EXPECT_EQ(queries.calls, (CallLog{"bind", "next", "type", "type", "next", "release"}));
  }
}

TEST(Is64BitSystem, TheLastObjectDecides) {
  FakeSystemTypeQueries lastIs32(true, {Object("x64-based PC"), Object("X86-based PC")});
  EXPECT_FALSE(Is64BitSystem(lastIs32));
  FakeSystemTypeQueries lastIs64(true, {Object("X86-based PC"), Object("x64-based PC")});
  EXPECT_TRUE(Is64BitSystem(lastIs64));
  FakeSystemTypeQueries none(true, {});
  EXPECT_FALSE(Is64BitSystem(none));
  EXPECT_EQ(none.calls, (CallLog{"bind", "next", "release"}));
}

TEST(Is64BitSystem, AFailureKeepsTheAnswerSetLastAndReleases) {
  struct Row {
    const char* what;
    bool bindSucceeds;
    std::vector<Step> steps;
    bool expected;
  };
  const Row rows[] = {
      {"bind fails", false, {Object("x64-based PC")}, false},
      {"enumeration fails after a 64-bit object", true, {Object("x64-based PC"), kEnumerationError}, true},
      {"enumeration fails first", true, {kEnumerationError, Object("x64-based PC")}, false},
      {"property missing after a 64-bit object", true,
       {Object("x64-based PC"), kWithoutProperty, Object("X86-based PC")}, true},
      {"property missing after a 32-bit object", true,
       {Object("X86-based PC"), kWithoutProperty, Object("x64-based PC")}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    FakeSystemTypeQueries queries(row.bindSucceeds, row.steps);
    EXPECT_EQ(Is64BitSystem(queries), row.expected);
    ASSERT_FALSE(queries.calls.empty());
    EXPECT_EQ(queries.calls.back(), "release");
    EXPECT_EQ(std::count(queries.calls.begin(), queries.calls.end(), "release"), 1);
  }
  FakeSystemTypeQueries bindFails(false, {Object("x64-based PC")});
  Is64BitSystem(bindFails);
  EXPECT_EQ(bindFails.calls, (CallLog{"bind", "release"}));
}

TEST(Is64BitSystem, AThrowingQueryIsAbsorbed) {
  FakeSystemTypeQueries queries(true, {Object("x64-based PC")});
  queries.throwOnNext = true;
  EXPECT_FALSE(Is64BitSystem(queries));
  EXPECT_EQ(queries.calls, (CallLog{"bind", "next", "release"}));
}

}  // namespace
}  // namespace kalmor
