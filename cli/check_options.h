// The command line of kalmor-check.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kalmor {

struct CheckOptions {
  std::optional<std::string> folder;
  // List items as the window shows them ("#3", "32-Bit", "1"); "all" for every
  // item offered; nothing for the window's preselection.
  std::optional<std::string> task;
  std::optional<std::string> build;
  std::optional<std::string> mode;
  std::optional<int> language;  // 0 German, 1 English
  std::optional<double> timeoutSeconds;
  bool json = false;
  bool help = false;
  bool version = false;
};

inline constexpr const char* kAllItems = "all";

// False with a message for anything it does not understand.
bool ParseCheckOptions(const std::vector<std::string>& args, CheckOptions& options,
                       std::string& error);

const char* CheckUsage();

}  // namespace kalmor
