// The command-line companion: writes the same files as the window's buttons.
//   velmora-cli folk|astro|jokes|all [--week YYYY-MM-DD] [--weeks N] [--out FOLDER] [--count N]
//   velmora-cli check-corpus FILE
//   velmora-cli check-update [--page URL]
//   velmora-cli --help | --version
// Standard output: the full path of every file written, one a line. Failure:
// "Ошибка: " + message on standard error and status 1; usage errors status 2.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace velmora {

int RunCli(Platform& platform, const std::vector<std::u16string>& args, std::ostream& out, std::ostream& err);

}  // namespace velmora
