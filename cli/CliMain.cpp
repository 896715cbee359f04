// The entry of velmora-cli: collects the arguments as UTF-16 and runs the CLI on the
// system platform.
#include <iostream>
#include <vector>

#include "cli/Cli.h"
#include "support/Utf.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

int main(int argc, char** argv) {
  std::vector<std::u16string> args;
#ifdef _WIN32
  (void)argc;
  (void)argv;
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  for (int i = 1; wide && i < count; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(wide[i]));
  if (wide) ::LocalFree(wide);
#else
  for (int i = 1; i < argc; ++i) args.push_back(velmora::Utf8ToUtf16(argv[i]));
#endif
  auto platform = velmora::MakeSystemPlatform();
  return velmora::RunCli(*platform, args, std::cout, std::cerr);
}
