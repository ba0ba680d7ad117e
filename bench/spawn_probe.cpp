// The least a program that runs the solver can do: starts the program its
// arguments name, standard streams on /dev/null as the platform starts the
// solver, waits for it and exits; with no arguments it only exits. The bench
// takes from it what a second process costs around a solver's run (its start
// and end aside): starting the solver, being woken at its end, reaping it.
// Usage: spawn_probe [program [argument ...]]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

int main(int argc, char** argv) {
  if (argc < 2) return 0;
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  for (int fd = 0; fd <= 2; ++fd) {
    ::posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  }
  pid_t pid = 0;
  if (::posix_spawn(&pid, argv[1], &actions, nullptr, argv + 1, environ) != 0) return 1;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
  }
  return 0;
}
