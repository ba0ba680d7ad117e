// A Windows solver runs here through the system's Wine: the user's loader and
// prefix (WINEPREFIX or Wine's default), and our launcher kalmor-wine-host.exe
// beside the checker, which starts the solver as the Windows checker does.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/program_header.h"

namespace kalmor {

// The first bytes of a file, read as a program's header; Linux for a file that
// cannot be read, which then fails to start as it always did.
ProgramKind ProgramKindOf(const std::string& path);

class WineLaunch {
 public:
  // What stands in the way of running a program of this kind; the loaders are
  // tried once per checker, since each try starts a program.
  SolverCheck check(ProgramKind kind);
  // The launcher's argv for a program that check() found runnable.
  std::vector<std::string> arguments(const std::string& folder, const std::string& program,
                                     const std::string& commandLine) const;

 private:
  void findLoader();

  bool searched_ = false;
  std::string loader_;    // runs 64-bit Windows programs; empty: none does
  int runs32Bit_ = -1;    // -1 not yet known
  std::string launcher_;  // beside the checker, as check() last found it
};

}  // namespace kalmor
