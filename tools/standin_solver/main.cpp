// The stand-in solver: started by the checker on a task file, it notes how it
// was called, then writes a solution protocol to the file that the task's
// protocol line names, or misbehaves as the task's "%standin" directives say
// (solver_script.h). Exit code 2 means it could not make sense of its call or
// its input, 3 that the protocol could not be written.
#include <charconv>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "tools/standin_solver/adopted_child.h"
#include "tools/standin_solver/child_command.h"
#include "tools/standin_solver/command_tail.h"
#include "tools/standin_solver/protocol_text.h"
#include "tools/standin_solver/solver_script.h"
#include "tools/standin_solver/text_files.h"

namespace {

using namespace kalmor::standin;

constexpr std::string_view kCallsLogName = "standin_calls.log";

// Where this program lives, to start a copy of it; argv[0] may be split or relative.
std::string OwnProgramPath(const char* argv0) {
#ifdef _WIN32
  // The C runtime's full path of the executable.
  if (_pgmptr != nullptr && *_pgmptr != '\0') return _pgmptr;
#else
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) return self.string();
#endif
  return argv0;
}

void StartChild(const char* argv0, std::chrono::milliseconds sleep, const std::string& logPath,
                const std::string& outputPath, bool detached) {
#ifdef _WIN32
  constexpr Shell kShell = Shell::WindowsCmd;
#else
  constexpr Shell kShell = Shell::Posix;
#endif
  if (std::system(ChildCommand(kShell, OwnProgramPath(argv0), sleep, logPath, outputPath, detached).c_str()) !=
      0) {
    std::cerr << "standin: could not start the child\n";
  }
}

// The copy started by "%standin child": outlive the solver, then say so (and
// for "latechild" write the solver's output).
int RunAsChild(const std::vector<std::string>& args) {
  int ms = -1;
  if (args.size() == 3 || args.size() == 4) {
    std::from_chars(args[1].data(), args[1].data() + args[1].size(), ms);
  }
  if (ms < 0) {
    std::cerr << "standin: child mode expects <milliseconds> <log path> [<output path>]\n";
    return 2;
  }
  const std::chrono::milliseconds sleep(ms);
  std::this_thread::sleep_for(sleep);
  if (args.size() == 4 && !WriteWholeFile(args[3], "Kalmor stand-in: written late by a leftover\r\n")) {
    return 3;
  }
  return AppendLine(args[2], ChildLogLine(sleep)) ? 0 : 3;
}

// A real invalid write, as a crashing solver makes: Windows ends the process
// with its access-violation status, POSIX with SIGSEGV. The address comes from
// a volatile so that the compiler cannot see it and emit a trap instead.
volatile std::uintptr_t gInvalidAddress = 0;

[[noreturn]] void Crash() {
  *reinterpret_cast<volatile int*>(gInvalidAddress) = 1;
  std::raise(SIGSEGV);
  std::abort();  // in case the write and the signal were survived
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> allArgs(argv, argv + argc);
  const std::vector<std::string> args(allArgs.begin() + (argc > 0 ? 1 : 0), allArgs.end());
  if (args.empty()) {
    std::cerr << "usage: standin_solver <input file>\n";
    return 2;
  }
  if (args[0] == kChildModeFlag) return RunAsChild(args);

  const std::string inputPath = InputPathFromArguments(args, FileExists);
  const std::string folder(FolderPrefix(inputPath));
  AppendLine(folder + std::string(kCallsLogName), CallsLogLine(allArgs));

  const std::optional<std::string> input = ReadWholeFile(inputPath);
  if (!input) {
    std::cerr << "standin: cannot read '" << inputPath << "'\n";
    return 2;
  }
  const SolverScript script = ParseSolverScript(*input);
  if (!script.errors.empty()) {
    for (const std::string& error : script.errors) std::cerr << "standin: " << error << '\n';
    return 2;
  }

  if (script.childSleep && script.childAdopted) {
    const std::string program = OwnProgramPath(argv[0]);
    if (!StartAdoptedChild(program, ChildCommandLine(program, *script.childSleep,
                                                     folder + std::string(kChildLogName)))) {
      std::cerr << "standin: could not start the adopted child\n";
    }
  } else if (script.childSleep) {
    StartChild(argv[0], *script.childSleep, folder + std::string(kChildLogName),
               script.childWritesOutput ? script.protocolPath.value_or("") : "", script.childDetaches);
  }
  std::this_thread::sleep_for(script.sleep);
  if (script.protocolPath && script.output != OutputMode::Suppressed && !script.childWritesOutput &&
      !WriteWholeFile(*script.protocolPath, ProtocolText(script, inputPath))) {
    std::cerr << "standin: cannot write '" << *script.protocolPath << "'\n";
    return 3;
  }
  if (script.crash) Crash();
  return script.exitCode;
}
