// The machine's system type in the words Windows uses for it, from uname(2):
// one object, as the management service reports one computer system.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "sysinfo/system_type_queries.h"

namespace kalmor {

// "x86_64" -> "x64-based PC", "i686" -> "X86-based PC", ...
std::string SystemTypeForMachine(std::string_view machine);

// uname(2)'s machine field; nullopt when uname fails.
std::optional<std::string> UnameMachine();

class PosixSystemTypeQueries : public SystemTypeQueries {
 public:
  using MachineSource = std::function<std::optional<std::string>()>;
  explicit PosixSystemTypeQueries(MachineSource machineSource = UnameMachine);

  bool bindAndQuery() override;
  Next nextObject() override;
  std::optional<std::string> systemType() override;
  void release() override;

 private:
  MachineSource machineSource_;
  std::optional<std::string> machine_;
  bool delivered_ = false;
  bool onObject_ = false;
};

}  // namespace kalmor
