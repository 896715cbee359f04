// The entry of velmora-cli: takes the arguments as UTF-16 from the platform layer and
// runs the CLI on the system platform.
#include <iostream>

#include "cli/Cli.h"

int main(int argc, char** argv) {
  const std::vector<std::u16string> args = velmora::CommandLineArguments(argc, argv);
  auto platform = velmora::MakeSystemPlatform();
  return velmora::RunCli(*platform, args, std::cout, std::cerr);
}
