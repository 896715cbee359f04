// The folder rules shared by the platform implementations: the program folder from the
// executable's path, and the per-user folder (also used by test platforms that fake
// the environment).
#pragma once

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace velmora {

// The folder of an executable's full path: everything up to and including the last
// separator, with one separator at the end ("C:\\Velmora.exe" gives "C:\\").
std::u16string FolderOfExecutable(std::u16string_view exePath, char16_t separator);

// "Velmora" under the folder named by APPDATA (a separator added when missing). Where
// APPDATA is unset or empty: nullopt without the fallback; with it (Linux), "Velmora"
// under $XDG_DATA_HOME, else under $HOME/.local/share, each taken only when it is an
// absolute path. The environment is read through platform.GetEnvironment.
std::optional<std::u16string> UserDataFolderFromEnvironment(Platform& platform, bool xdgFallback);

}  // namespace velmora
