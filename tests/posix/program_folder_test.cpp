// The program's own folder as the system names it, and no stand-in for it
// (such as the current folder) where the system cannot name it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/posix_files.h"
#include "tests/posix/temp_root.h"

namespace kalmor {
namespace {

constexpr const char* kAskVariable = "KALMOR_PRINT_PROGRAM_FOLDER";

// Started again with the variable set, this binary prints the folder and
// ends, before the test framework (which cannot start in such a folder).
struct AnswerWhenAsked {
  AnswerWhenAsked() {
    if (::getenv(kAskVariable) == nullptr) return;
    const std::string folder = "[" + PosixExecutableFolder() + "]";
    (void)!::write(STDOUT_FILENO, folder.data(), folder.size());
    ::_exit(0);
  }
};
__attribute__((init_priority(101))) const AnswerWhenAsked kAnswerWhenAsked;

// Runs the program "probe" of the folder dir from there; returns what it printed.
std::string FolderSeenFrom(int dir) {
  int out[2];
  if (::pipe(out) != 0) return "no pipe";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::setenv(kAskVariable, "1", 1);
    if (::fchdir(dir) == 0) ::execl("./probe", "probe", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  std::string printed;
  char chunk[256];
  for (ssize_t got; (got = ::read(out[0], chunk, sizeof chunk)) > 0;) printed.append(chunk, got);
  ::close(out[0]);
  ::waitpid(pid, nullptr, 0);
  return printed;
}

TEST(PosixProgramFolder, IsEmptyWhereTheSystemCannotNameIt) {
  posix_sysinfo_test::TempRoot root;
  std::filesystem::copy_file("/proc/self/exe", root.path() / "probe");
  const int top = ::open(root.path().c_str(), O_DIRECTORY | O_CLOEXEC);
  EXPECT_EQ(FolderSeenFrom(top), "[" + root.path().string() + "]");

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
