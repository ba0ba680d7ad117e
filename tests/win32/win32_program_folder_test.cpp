#include <gtest/gtest.h>

#include <filesystem>

#include "platform/create_platform.h"
#include "tests/win32/scratch_folder.h"

namespace kalmor {
namespace {

TEST(Win32ProgramFolder, IsTheFolderOfTheExecutableUnlessGiven) {
  const auto platform = CreateSystemPlatform();
  const std::string folder = platform->programFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_TRUE(std::filesystem::equivalent(testing::FromUtf8(folder), KALMOR_TEST_BINARY_DIR))
      << folder;
  EXPECT_EQ(platform->pathSeparator(), '\\');

  EXPECT_EQ(CreateSystemPlatform("C:\\Kalmor")->programFolder(), "C:\\Kalmor");
}

}  // namespace
}  // namespace kalmor
