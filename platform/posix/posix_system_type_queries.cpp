#include "platform/posix/posix_system_type_queries.h"

#include <sys/utsname.h>

#include <utility>

namespace kalmor {

std::string SystemTypeForMachine(std::string_view machine) {
  if (machine == "x86_64" || machine == "amd64") return "x64-based PC";
  if (machine.size() == 4 && machine[0] == 'i' && machine.substr(2) == "86" && machine[1] >= '3' &&
      machine[1] <= '6') {
    return "X86-based PC";
  }
  if (machine == "aarch64" || machine == "arm64") return "ARM64-based PC";
  if (machine.starts_with("arm")) return "ARM-based PC";
  return std::string(machine) + "-based PC";
}

std::optional<std::string> UnameMachine() {
  utsname names{};
  if (uname(&names) != 0) return std::nullopt;
  return std::string(names.machine);
}

PosixSystemTypeQueries::PosixSystemTypeQueries(MachineSource machineSource)
    : machineSource_(std::move(machineSource)) {}

bool PosixSystemTypeQueries::bindAndQuery() {
  machine_ = machineSource_();
  delivered_ = false;
  onObject_ = false;
  return machine_.has_value();
}

SystemTypeQueries::Next PosixSystemTypeQueries::nextObject() {
  if (!machine_) return Next::Error;
  onObject_ = !delivered_;
  delivered_ = true;
  return onObject_ ? Next::Object : Next::End;
}

std::optional<std::string> PosixSystemTypeQueries::systemType() {
  if (!machine_ || !onObject_) return std::nullopt;
  return SystemTypeForMachine(*machine_);
}

void PosixSystemTypeQueries::release() {
  machine_.reset();
  delivered_ = false;
  onObject_ = false;
}

}  // namespace kalmor
