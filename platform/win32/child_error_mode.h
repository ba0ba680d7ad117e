// The error mode a solver inherits: a crash, a missing DLL or a missing disk
// ends it with its status instead of opening a dialog that no one sees, since
// the solver runs hidden, and that would hold the run until someone closes it.
#pragma once

#include <windows.h>

namespace kalmor {

// Sets the error mode a new process inherits for as long as it lives; the checker
// itself keeps its own mode before and after.
class ChildErrorMode {
 public:
  ChildErrorMode();
  ~ChildErrorMode();
  ChildErrorMode(const ChildErrorMode&) = delete;
  ChildErrorMode& operator=(const ChildErrorMode&) = delete;

 private:
  UINT own_;
};

}  // namespace kalmor
