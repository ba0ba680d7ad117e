// The management-service query behind Is64BitSystem: bind, query, then walk
// the result's objects. Any step may fail; the procedure decides what that means.
#pragma once

#include <optional>
#include <string>

namespace kalmor {

class SystemTypeQueries {
 public:
  virtual ~SystemTypeQueries() = default;
  enum class Next { Object, End, Error };
  // Binds "winmgmts:\\.\root\CIMV2" and runs "SELECT * FROM Win32_ComputerSystem".
  virtual bool bindAndQuery() = 0;
  virtual Next nextObject() = 0;
  // SystemType of the current object; nullopt when missing or not text.
  virtual std::optional<std::string> systemType() = 0;
  // Releases the item, the collection and the service, whatever happened.
  virtual void release() = 0;
};

}  // namespace kalmor
