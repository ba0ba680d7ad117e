// A registry with recorded values that logs every call it answers.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sysinfo/registry_queries.h"

namespace kalmor::sysinfo_fakes {

using CallLog = std::vector<std::string>;

inline constexpr std::int32_t kErrorFileNotFound = 2;
inline constexpr std::int32_t kErrorInvalidHandle = 6;
inline constexpr std::int32_t kErrorMoreData = 234;

class FakeRegistry : public RegistryQueries {
 public:
  explicit FakeRegistry(CallLog& log) : log_(log) {}

  // bytes are stored as given: include the NUL that a string value carries.
  void setValue(const std::string& keyPath, const std::string& name, const std::string& bytes) {
    keys_[keyPath][lower(name)] = bytes;
  }
  void addKey(const std::string& keyPath) { keys_[keyPath]; }
  // Forces the status of every query that passes a data buffer.
  std::optional<std::int32_t> dataQueryStatus;

  std::int32_t regOpenKeyEx(std::uint32_t root, const std::string& path, std::uint32_t options,
                            std::uint32_t access, RegistryKey& key) override {
    log_.push_back("RegOpenKeyEx " + hex(root) + " " + path + " " + std::to_string(options) + " " +
                   std::to_string(access));
    const auto found = keys_.find(path);
    if (root != kHkeyLocalMachine || found == keys_.end()) return kErrorFileNotFound;
    open_.push_back(path);
    key = open_.size();
    return 0;
  }

  std::int32_t regQueryValueEx(RegistryKey key, const std::string& valueName, char* data,
                               std::uint32_t& size) override {
    log_.push_back("RegQueryValueEx " + std::to_string(key) + " " + valueName + " " +
                   (data == nullptr ? std::string("size") : "data " + std::to_string(size)));
    if (key == 0 || key > open_.size()) return kErrorInvalidHandle;
    const auto& values = keys_[open_[key - 1]];
    const auto value = values.find(lower(valueName));
    if (value == values.end()) return kErrorFileNotFound;
    const auto stored = static_cast<std::uint32_t>(value->second.size());
    if (data == nullptr) {
      size = stored;
      return 0;
    }
    if (dataQueryStatus) return *dataQueryStatus;
    if (size < stored) {
      size = stored;
      return kErrorMoreData;
    }
    std::memcpy(data, value->second.data(), stored);
    size = stored;
    return 0;
  }

  std::int32_t regCloseKey(RegistryKey key) override {
    log_.push_back("RegCloseKey " + std::to_string(key));
    return key == 0 ? kErrorInvalidHandle : 0;
  }

 private:
  static std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
  }
  static std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", value);
    return text;
  }

  CallLog& log_;
  std::map<std::string, std::map<std::string, std::string>> keys_;
  std::vector<std::string> open_;
};

}  // namespace kalmor::sysinfo_fakes
