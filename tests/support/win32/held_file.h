// Holds a file open the way another program might, so tests can see what the
// checker does when it cannot delete or rewrite it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kalmor::probes {

enum class Sharing {
  NoDelete,  // others may read and write, not delete or rename
  None,      // others may not open it at all
};

class HeldFile {
 public:
  // Opens an existing file for reading; held() tells whether that worked.
  HeldFile(const std::string& path, Sharing sharing);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

  bool held() const;

 private:
  std::intptr_t handle_;
};

}  // namespace kalmor::probes
