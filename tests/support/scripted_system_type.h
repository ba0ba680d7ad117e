// The management service's walk, scripted: each object's SystemType (nullopt
// for one without it), an object that fails, a failing bind, a walk that throws.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sysinfo/system_type_queries.h"

namespace kalmor::testing {

struct ScriptedSystemType : SystemTypeQueries {
  explicit ScriptedSystemType(std::vector<std::optional<std::string>> types = {},
                              std::size_t failingObject = SIZE_MAX, bool binds = true, bool throwing = false)
      : objects(std::move(types)), errorAt(failingObject), bind(binds), throws(throwing) {}
  std::vector<std::optional<std::string>> objects;
  std::size_t errorAt;
  bool bind, throws, released = false;
  std::size_t at = 0;
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
