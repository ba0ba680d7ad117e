// Times Stop and the close box on both systems the same way: pressed three
// pumps into a run of a sleeping solver, measured until the solver's watch sees
// it gone.
#pragma once

#include <memory>
#include <stdexcept>
#include <vector>

#include "bench/table.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor::bench {

struct PressTimes {
  std::vector<double> stop, close;  // ms, one per run
};

// load() opens the checker anew; run(f, closing) presses Start and checks the
// status the run ends in; Watch(pid) notes when that process ends.
template <typename Watch, typename Load, typename Run>
PressTimes TimeStopAndClose(HeadlessToolkit& toolkit, int runs, Load load, Run run) {
  PressTimes times;
  for (int i = 0; i < runs; ++i) {
    for (const bool closing : {false, true}) {
      frmKalmorChecker& f = load();
      std::unique_ptr<Watch> watch;
      Steady::time_point pressed{};
      toolkit.atPump(toolkit.pumps() + 3, [&] {
        watch = std::make_unique<Watch>(f.Solver->processId());
        pressed = Steady::now();
        if (closing) {
          toolkit.closeBox();
        } else {
          toolkit.click(f.cmdOK);
        }
      });
      try {
        run(f, closing);
        if (closing) throw std::runtime_error("closing did not end the program");
      } catch (const ProgramEnded&) {
        if (!closing) throw;
      }
      (closing ? times.close : times.stop).push_back(Milliseconds(watch->ended() - pressed));
    }
  }
  return times;
}

}  // namespace kalmor::bench
