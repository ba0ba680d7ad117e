#include "platform/posix/os_release.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/posix/temp_root.h"

namespace kalmor {
namespace {

using posix_sysinfo_test::TempRoot;

TEST(PosixSystemName, PrettyNameFromEtcBeforeUsrLib) {
  TempRoot root;
  root.write("usr/lib/os-release", "PRETTY_NAME=\"Vendor Default 1\"\n");
  EXPECT_EQ(PosixSystemName(root.path()), "Vendor Default 1");
  root.write("etc/os-release",
            "NAME=\"Debian GNU/Linux\"\n# PRETTY_NAME=\"commented\"\n"
            "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n");
  EXPECT_EQ(PosixSystemName(root.path()), "Debian GNU/Linux 12 (bookworm)");
}

TEST(PosixSystemName, FileWithoutANameFallsThrough) {
  TempRoot root;
  root.write("etc/os-release", "NAME=Custom\nPRETTY_NAME=\"\"\n");
  root.write("usr/lib/os-release", "PRETTY_NAME='Custom 2'\n");
  EXPECT_EQ(PosixSystemName(root.path()), "Custom 2");
}

TEST(PosixSystemName, ThrowsWhenNothingNamesTheSystem) {
  TempRoot root;
  EXPECT_THROW(PosixSystemName(root.path()), std::runtime_error);
  root.write("etc/os-release", "NAME=Custom\n");
  EXPECT_THROW(PosixSystemName(root.path()), std::runtime_error);
}

}  // namespace
}  // namespace kalmor
