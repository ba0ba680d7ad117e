// The program's own folder as the system names it, and no stand-in for it
// (such as the current folder) where the system cannot name it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/posix/posix_files.h"
#include "tests/faults/checker_folder.h"

namespace kalmor {
namespace {

constexpr const char* kAskVariable = "KALMOR_PRINT_PROGRAM_FOLDER";

// Started again with the variable set, this binary prints the folder and
// ends, before the test framework (which cannot start in such a folder).
struct AnswerWhenAsked {
  AnswerWhenAsked() {
    if (::getenv(kAskVariable) == nullptr) return;
    std::printf("[%s]", PosixExecutableFolder().c_str());
    std::exit(0);
  }
};
__attribute__((init_priority(101))) const AnswerWhenAsked kAnswerWhenAsked;

// Runs the program "probe" of the folder dir from there; returns what it printed.
std::string FolderSeenFrom(int dir) {
  const int home = ::open(".", O_DIRECTORY | O_CLOEXEC);
  ::setenv(kAskVariable, "1", 1);
  FILE* out = ::fchdir(dir) == 0 ? ::popen("./probe", "r") : nullptr;
  std::string printed;
  for (int c; out != nullptr && (c = std::fgetc(out)) != EOF;) printed += static_cast<char>(c);
  if (out != nullptr) ::pclose(out);
  ::unsetenv(kAskVariable);
  EXPECT_EQ(::fchdir(home), 0);
  ::close(home);
  return printed;
}

TEST(PosixProgramFolder, IsEmptyWhereTheSystemCannotNameIt) {
  CheckerFolder scratch(KALMOR_STANDIN_SOLVER, "exe");
  std::filesystem::copy_file("/proc/self/exe", scratch.base / "probe");
  const int top = ::open(scratch.base.c_str(), O_DIRECTORY | O_CLOEXEC);
  EXPECT_EQ(FolderSeenFrom(top), "[" + scratch.base.string() + "]");

  // Thirty folders of 200 characters: a path far beyond PATH_MAX (4096).
  const std::string name(200, 'd');
  std::vector<int> levels{top};
  for (int depth = 0; depth < 30; ++depth) {
    ASSERT_EQ(::mkdirat(levels.back(), name.c_str(), 0755), 0);
    levels.push_back(::openat(levels.back(), name.c_str(), O_DIRECTORY | O_CLOEXEC));
  }
  ASSERT_EQ(::renameat(top, "probe", levels.back(), "probe"), 0);
  EXPECT_EQ(FolderSeenFrom(levels.back()), "[]");
  ::unlinkat(levels.back(), "probe", 0);
  for (std::size_t i = levels.size() - 1; i > 0; --i) {
    ::close(levels[i]);
    ::unlinkat(levels[i - 1], name.c_str(), AT_REMOVEDIR);
  }
  ::close(top);
}

}  // namespace
}  // namespace kalmor
