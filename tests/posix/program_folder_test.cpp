// The program's own folder as the system names it, and no stand-in for it
// (such as the current folder) where the system cannot name it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Copies this binary into the folder dir as "probe", runs it from there and
// returns what it printed.
std::string FolderSeenFrom(int dir) {
  const int from = ::open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
  const int to = ::openat(dir, "probe", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0755);
  std::vector<char> buffer(1 << 20);
  for (ssize_t got; (got = ::read(from, buffer.data(), buffer.size())) > 0;) {
    if (::write(to, buffer.data(), static_cast<std::size_t>(got)) != got) ADD_FAILURE();
  }
  ::close(from);
  ::close(to);
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
  int status = 0;
  ::waitpid(pid, &status, 0);
  ::unlinkat(dir, "probe", 0);
  return printed;
}

TEST(PosixProgramFolder, IsEmptyWhereTheSystemCannotNameIt) {
  posix_sysinfo_test::TempRoot root;
  const int top = ::open(root.path().c_str(), O_DIRECTORY | O_CLOEXEC);
  EXPECT_EQ(FolderSeenFrom(top), "[" + root.path().string() + "]");

  // Thirty folders of 200 characters: a path far beyond PATH_MAX (4096).
  const std::string name(200, 'd');
  std::vector<int> levels{top};
  for (int depth = 0; depth < 30; ++depth) {
    ASSERT_EQ(::mkdirat(levels.back(), name.c_str(), 0755), 0);
    levels.push_back(::openat(levels.back(), name.c_str(), O_DIRECTORY | O_CLOEXEC));
  }
  EXPECT_EQ(FolderSeenFrom(levels.back()), "[]");
  for (std::size_t i = levels.size() - 1; i > 0; --i) {
    ::close(levels[i]);
    ::unlinkat(levels[i - 1], name.c_str(), AT_REMOVEDIR);
  }
  ::close(top);
}

}  // namespace
}  // namespace kalmor
