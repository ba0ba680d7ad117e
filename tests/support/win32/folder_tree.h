// Every entry below a folder, found through the wide file functions with the
// \\?\ prefix, so that folders beyond MAX_PATH are seen and removed whole.
#pragma once

#include <map>
#include <string>

namespace kalmor::probes {

// Keyed by the path relative to folder (UTF-8, backslashes): "folder", or
// "file" with its attributes, size and last write time.
std::map<std::string, std::string> DescribeTree(const std::string& folder);
// Removes folder and all below it, read-only files too; false if anything stays.
bool RemoveTree(const std::string& folder);

}  // namespace kalmor::probes
