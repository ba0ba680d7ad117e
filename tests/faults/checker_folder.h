// A checker folder on disk, below a fresh scratch folder, with the stand-in
// solver as both solver builds, and a checker window on the real POSIX
// platform that runs in it with German texts (a system root of its own says
// LANG=de_DE). The fault suite and the benchmarks both work on one.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/posix/posix_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor {

class CheckerFolder {
 public:
  // Makes <parent>/kalmor-<tag>-XXXXXX holding the folder "checker".
  CheckerFolder(std::string standin, const std::string& tag,
                const std::filesystem::path& parent = "/tmp");
  // Drops the window and the platform, then removes everything.
  virtual ~CheckerFolder();
  CheckerFolder(const CheckerFolder&) = delete;
  CheckerFolder& operator=(const CheckerFolder&) = delete;

  // Another checker folder, named name, below the same scratch folder.
  void makeFolder(const std::string& name);
  void task(const std::string& body, const char* name = "test_#3.INP");
  // A fresh platform and window, loaded; the previous ones go first.
  frmKalmorChecker& load();

  std::filesystem::path base;
  std::filesystem::path folder;
  HeadlessToolkit toolkit;
  std::unique_ptr<PosixPlatform> platform;
  std::unique_ptr<frmKalmorChecker> window;

 private:
  std::string standin_;
};

}  // namespace kalmor
