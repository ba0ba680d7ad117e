// For "%standin adoptedchild": the copy is started with the solver's own
// parent named as its parent, as a solver may do to leave the job it runs in.
#pragma once

#include <string>

namespace kalmor::standin {

// Windows only: starts commandLine so; false where it could not (and always
// elsewhere, where no process names another's parent).
bool StartAdoptedChild(const std::string& program, const std::string& commandLine);

}  // namespace kalmor::standin
