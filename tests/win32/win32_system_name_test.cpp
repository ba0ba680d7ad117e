#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/win32/win32_platform.h"
#include "tests/win32/wine_environment.h"

namespace kalmor {
namespace {

// The names' beginnings for the Windows versions a prefix is set to.
const std::map<std::string, std::string> kNameStarts{
    {"win7", "Windows 7 "},  // 6.1, named from the version record
    // 6.2 for a program without a manifest, so named by the registry's
    // product name, which is Wine's own.
    {"win10", "Microsoft Windows 10 "},
};

TEST(WineSystemName, NamesTheConfiguredWindowsWithItsWidth) {
  const auto version = testing::ConfiguredWindowsVersion();
  if (!version || kNameStarts.count(*version) == 0) {
    GTEST_SKIP() << "KALMOR_WINE_VERSION does not name win7 or win10: the expected name "
                    "is unknown (ctest sets it through cmake/wine-run.sh)";
  }
  Win32Platform platform;
  const std::string name = platform.systemName();
  EXPECT_EQ(name.rfind(kNameStarts.at(*version), 0), 0u) << name;
  const std::string width = testing::SixtyFourBitSystem() ? ", 64-Bit" : ", 32-Bit";
  EXPECT_NE(name.find(width), std::string::npos) << name;
}

}  // namespace
}  // namespace kalmor
