// The solver process through kernel32, as the window's process runner asks for it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace kalmor {

// CreateProcessA. Both strings are in the ANSI code page already. The
// application name is passed explicitly, so blanks in its folder cannot make
// the system start another file; the command line goes as a writable copy.
// Environment and current folder are inherited.
bool Win32CreateProcess(const std::string& applicationName, const std::string& commandLine,
                        bool inheritHandles, std::uint32_t creationFlags,
                        const StartupRecord& startup, ProcessRecord& process,
                        std::int32_t& lastError);
WaitOutcome Win32WaitForProcess(const ProcessRecord& process, int milliseconds);
// OpenProcess + TerminateProcess + CloseHandle; a process already gone is no error.
void Win32TerminateProcess(std::uint32_t processId, std::uint32_t exitCode);
void Win32CloseProcessHandles(ProcessRecord& process);

}  // namespace kalmor
