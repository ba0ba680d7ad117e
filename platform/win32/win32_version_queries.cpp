#include "platform/win32/win32_version_queries.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/system_function.h"

namespace kalmor {
namespace {

// The sizes that tell GetVersionExA which record it fills.
static_assert(sizeof(OSVERSIONINFOA) == 148);
static_assert(sizeof(OSVERSIONINFOEXA) == 156);

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
using GetNativeSystemInfoFunction = void(WINAPI*)(LPSYSTEM_INFO);
using GetProductInfoFunction = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, PDWORD);

}  // namespace

struct Win32VersionQueries::LateFunctions {
  SystemFunction<IsWow64ProcessFunction> isWow64Process{L"kernel32.dll", "IsWow64Process"};
  SystemFunction<GetNativeSystemInfoFunction> getNativeSystemInfo{L"kernel32.dll",
                                                                  "GetNativeSystemInfo"};
  SystemFunction<GetProductInfoFunction> getProductInfo{L"kernel32.dll", "GetProductInfo"};
};

Win32VersionQueries::Win32VersionQueries() : late_(std::make_unique<LateFunctions>()) {}
Win32VersionQueries::~Win32VersionQueries() = default;

bool Win32VersionQueries::getVersionEx(PlainVersionRecord& record) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExA(&info)) return false;
  record.majorVersion = info.dwMajorVersion;
  record.minorVersion = info.dwMinorVersion;
  record.buildNumber = info.dwBuildNumber;
  record.platformId = info.dwPlatformId;
  std::copy(std::begin(info.szCSDVersion), std::end(info.szCSDVersion), record.csdVersion.begin());
  return true;
}

bool Win32VersionQueries::getVersionEx(ExtendedVersionRecord& record) {
  OSVERSIONINFOEXA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
  record.minorVersion = info.dwMinorVersion;
  record.suiteMask = info.wSuiteMask;
  record.productType = info.wProductType;
  return true;
}

int Win32VersionQueries::getSystemMetrics(int index) { return ::GetSystemMetrics(index); }

bool Win32VersionQueries::isWow64Process(bool& wow64) {
  BOOL flag = FALSE;
  const BOOL result = late_->isWow64Process.get()(::GetCurrentProcess(), &flag);
  wow64 = flag != FALSE;
  return result != FALSE;
}

std::uint16_t Win32VersionQueries::getNativeSystemInfoArchitecture() {
  SYSTEM_INFO info{};
  late_->getNativeSystemInfo.get()(&info);
  return info.wProcessorArchitecture;
}

std::uint16_t Win32VersionQueries::getSystemInfoArchitecture() {
  SYSTEM_INFO info{};
  ::GetSystemInfo(&info);
  return info.wProcessorArchitecture;
}

std::uint32_t Win32VersionQueries::getProductInfo(std::uint32_t osMajor, std::uint32_t osMinor,
                                                  std::uint32_t spMajor, std::uint32_t spMinor) {
  DWORD productType = 0;  // stays 0 when the call writes nothing
  late_->getProductInfo.get()(osMajor, osMinor, spMajor, spMinor, &productType);
  return productType;
}

}  // namespace kalmor
