// The fixed file names the checker works with, and how they join a folder.
#pragma once

#include <string>

namespace kalmor {

inline constexpr const char* kSolver32File = "kmwin32.exe";
inline constexpr const char* kSolver64File = "kmwin64.exe";
inline constexpr const char* kTask3File = "test_#3.INP";
inline constexpr const char* kTask4File = "test_#4.INP";
inline constexpr const char* kTaskS7File = "test_s#7.INP";
inline constexpr const char* kTemporaryInputFile = "TMP_INPUT.INP";
inline constexpr const char* kSolverOutputFile = "KM.OUT";

// A folder that already ends in the separator (a drive or file-system root)
// gets none added.
inline std::string JoinPath(const std::string& folder, char separator, const std::string& name) {
  if (!folder.empty() && folder.back() == separator) return folder + name;
  return folder + separator + name;
}

}  // namespace kalmor
