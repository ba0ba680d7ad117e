#include "cli/check_program.h"
#include "platform/console.h"
#include "platform/create_platform.h"

int main(int argc, char** argv) {
  return kalmor::RunKalmorCheck(
      kalmor::ProgramArguments(argc, argv),
      [](std::optional<std::string> folder) {
        return kalmor::CreateSystemPlatform(std::move(folder));
      },
      kalmor::WriteToConsole);
}
