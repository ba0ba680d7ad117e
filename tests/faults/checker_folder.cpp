#include "tests/faults/checker_folder.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>
#include <utility>

namespace kalmor {

namespace fs = std::filesystem;

CheckerFolder::CheckerFolder(std::string standin, const std::string& tag, const fs::path& parent)
    : standin_(std::move(standin)) {
  std::string pattern = (parent / ("kalmor-" + tag + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  base = pattern;
  fs::create_directories(base / "root/etc/default");
  std::ofstream(base / "root/etc/default/locale") << "LANG=de_DE.UTF-8\n";
  makeFolder("checker");
}

CheckerFolder::~CheckerFolder() {
  window.reset();
  platform.reset();
  std::error_code ignored;
  fs::remove_all(base, ignored);
}

void CheckerFolder::makeFolder(const std::string& name) {
  folder = base / name;
  fs::create_directories(folder);
  for (const char* solver : {"kmwin32.exe", "kmwin64.exe"}) {
    fs::copy_file(standin_, folder / solver, fs::copy_options::overwrite_existing);
  }
}

void CheckerFolder::task(const std::string& body, const char* name) {
  std::ofstream(folder / name, std::ios::binary) << body;
}

frmKalmorChecker& CheckerFolder::load() {
  window.reset();
  platform = std::make_unique<PosixPlatform>(folder.string(), base / "root");
  window = std::make_unique<frmKalmorChecker>(*platform, toolkit);
  toolkit.attach(*window);
  window->Form_Load();
  return *window;
}

}  // namespace kalmor
