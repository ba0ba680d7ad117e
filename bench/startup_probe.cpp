// Started by the benchmark as a program of its own: loads the checker window
// on the real platform with the headless front-end (no widgets), then prints
// the moment start-up was done (CLOCK_MONOTONIC, ns) and its resident memory
// in KiB. Usage: startup_probe <checker folder>
#include <time.h>

#include <cstdio>

#include "platform/posix/posix_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "bench/process_counts.h"
#include "ui/headless/headless_toolkit.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  kalmor::PosixPlatform platform(argv[1]);
  kalmor::HeadlessToolkit toolkit;
  kalmor::frmKalmorChecker window(platform, toolkit);
  toolkit.attach(window);
  window.Form_Load();
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  std::printf("%lld %ld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
              kalmor::census::ResidentKiB());
  return 0;
}
