#include "platform/create_platform.h"
#include "ui/run_checker.h"

int main(int argc, char** argv) {
  auto platform = kalmor::CreateSystemPlatform();
  return kalmor::RunChecker(*platform, argc, argv);
}
