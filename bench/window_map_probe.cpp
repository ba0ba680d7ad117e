// Launch to window shown for the real program under an X server: starts the
// program, waits for the X server to report its top-level window mapped
// (MapNotify on the root window, so no polling), reads its resident memory
// then and one second later, and ends it. Prints one table row per figure.
// Usage: window_map_probe <program> <runs>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/table.h"

extern char** environ;

namespace {

using kalmor::bench::Steady;

long ResidentKiBOf(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

bool IsChecker(Display* display, Window window) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) == 0 || name == nullptr) return false;
  const bool found = std::string(name).find("Kalmor") != std::string::npos;
  XFree(name);
  return found;
}

// Waits until a window of the checker is mapped; false after ten seconds.
bool WaitForMap(Display* display) {
  const auto until = Steady::now() + std::chrono::seconds(10);
  pollfd entry{ConnectionNumber(display), POLLIN, 0};
  while (Steady::now() < until) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && IsChecker(display, event.xmap.window)) return true;
    }
    ::poll(&entry, 1, 100);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kalmor::bench;
  if (argc != 3) return 2;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "window_map_probe: no X display\n");
    return 1;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  std::vector<double> shown;
  std::vector<double> resident;
  std::vector<double> settled;
  for (int i = 0; i < std::atoi(argv[2]); ++i) {
    char* args[] = {argv[1], nullptr};
    const auto launched = Steady::now();
    pid_t pid = 0;
    if (::posix_spawn(&pid, argv[1], nullptr, nullptr, args, environ) != 0) {
      std::fprintf(stderr, "window_map_probe: cannot start %s\n", argv[1]);
      return 1;
    }
    const bool mapped = WaitForMap(display);
    const auto mappedAt = Steady::now();
    resident.push_back(static_cast<double>(ResidentKiBOf(pid)));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    settled.push_back(static_cast<double>(ResidentKiBOf(pid)));
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!mapped) {
      std::fprintf(stderr, "window_map_probe: no window of the checker was mapped\n");
      return 1;
    }
    shown.push_back(Milliseconds(mappedAt - launched));
  }
  const std::string runs = " (" + std::to_string(shown.size()) + " runs, Xvfb)";
  PrintRow({"Start-up, FLTK program: launch to window mapped, p50 / p99" + runs,
            Fixed(Percentile(shown, 50), 1) + " ms / " + Fixed(Percentile(shown, 99), 1) + " ms",
            "-", "info"});
  PrintRow({"Start-up, FLTK program: resident memory when shown / 1 s later, median",
            Fixed(Percentile(resident, 50), 0) + " KiB / " + Fixed(Percentile(settled, 50), 0) +
                " KiB",
            "-", "info"});
  XCloseDisplay(display);
  return 0;
}
