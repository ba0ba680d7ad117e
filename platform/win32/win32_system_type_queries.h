// The management-service question behind Is64BitSystem, asked through the
// scripting moniker as a script would: bind "winmgmts:\\.\root\CIMV2", run the
// query, walk the result and read SystemType by name.
#pragma once

#include <memory>

#include "sysinfo/system_type_queries.h"

namespace kalmor {

class Win32SystemTypeQueries : public SystemTypeQueries {
 public:
  Win32SystemTypeQueries();
  ~Win32SystemTypeQueries() override;
  Win32SystemTypeQueries(const Win32SystemTypeQueries&) = delete;
  Win32SystemTypeQueries& operator=(const Win32SystemTypeQueries&) = delete;

  bool bindAndQuery() override;
  Next nextObject() override;
  std::optional<std::string> systemType() override;
  void release() override;

 private:
  struct Session;
  std::unique_ptr<Session> session_;
};

}  // namespace kalmor
