// The management service's walk, scripted: each object's SystemType (nullopt
// for one without it), an object that fails, a walk that throws, a failing bind.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sysinfo/system_type_queries.h"

namespace kalmor::testing {

struct ScriptedSystemType : SystemTypeQueries {
  bool bind = true, throws = false, released = false;
  std::vector<std::optional<std::string>> objects;
  std::size_t errorAt = SIZE_MAX, at = 0;
  bool bindAndQuery() override {
    at = 0;
    return bind;
  }
  Next nextObject() override {
    if (throws) throw std::runtime_error("collection gone");
    if (at == errorAt) return Next::Error;
    return at < objects.size() ? (++at, Next::Object) : Next::End;
  }
  std::optional<std::string> systemType() override { return objects.at(at - 1); }
  void release() override { released = true; }
};

}  // namespace kalmor::testing
