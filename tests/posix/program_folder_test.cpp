// The program's own folder as the system names it, and no stand-in for it
// (such as the current folder) where the system cannot name it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/posix/posix_files.h"
#include "tests/support/checker_folder.h"

namespace kalmor {
namespace {

constexpr const char* kAskVariable = "KALMOR_PRINT_PROGRAM_FOLDER";

// Started again with the variable set, this binary prints the folder and
// ends, before the test framework (which cannot start in such a folder).
struct AnswerWhenAsked {
  AnswerWhenAsked() {
    if (::getenv(kAskVariable) == nullptr) return;
    const Result<std::string> folder = PosixExecutableFolder();
    if (folder) std::printf("[%s]", folder->c_str());
    if (!folder) std::printf("error %d", folder.error());
    std::exit(0);
  }
};
__attribute__((init_priority(101))) const AnswerWhenAsked kAnswerWhenAsked;

// What the copy "probe" of this binary in the current folder prints.
std::string ProbeHere() {
  ::setenv(kAskVariable, "1", 1);
  FILE* out = ::popen("./probe", "r");
  std::string printed;
  for (int c; out != nullptr && (c = std::fgetc(out)) != EOF;) printed += static_cast<char>(c);
  if (out != nullptr) ::pclose(out);
  ::unsetenv(kAskVariable);
  return printed;
}

TEST(PosixProgramFolder, FailsWhereTheSystemCannotNameIt) {
  CheckerFolder scratch(KALMOR_STANDIN_SOLVER, "exe");
  std::filesystem::copy_file("/proc/self/exe", scratch.base / "probe");
  const int home = ::open(".", O_DIRECTORY | O_CLOEXEC);
  ASSERT_EQ(::chdir(scratch.base.c_str()), 0);
  EXPECT_EQ(ProbeHere(), "[" + scratch.base.string() + "]");
  // Thirty folders of 200 characters: a path far beyond PATH_MAX (4096).
  const std::string name(200, 'd');
  for (int depth = 0; depth < 30; ++depth) {
    ASSERT_EQ(::mkdir(name.c_str(), 0755), 0);
    ASSERT_EQ(::chdir(name.c_str()), 0);
    ASSERT_EQ(::rename("../probe", "probe"), 0);
  }
  EXPECT_EQ(ProbeHere(), "error " + std::to_string(ENAMETOOLONG));
  ::unlink("probe");
  for (int depth = 0; depth < 30; ++depth) {
    ASSERT_EQ(::chdir(".."), 0);
    ::rmdir(name.c_str());
  }
  EXPECT_EQ(::fchdir(home), 0);
  ::close(home);
}

}  // namespace
}  // namespace kalmor
