// The command line as Windows keeps it, in UTF-16: main's argv holds the ANSI code
// page's approximation of it, which loses every character outside that page.
// windows.h (through Win32Platform.h) must come before shellapi.h.
#include "platform/win32/Win32Platform.h"

#include <shellapi.h>

namespace velmora {

std::vector<std::u16string> CommandLineArguments(int, char**) {
  int count = 0;
  const TLocalArgv wide(::CommandLineToArgvW(::GetCommandLineW(), &count));
  std::vector<std::u16string> args;
  for (int i = 1; wide && i < count; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(wide.Get()[i]));
  return args;
}

}  // namespace velmora
