// The rule of the per-user folder, shared by the platform implementations (and by test
// platforms that fake the environment).
#pragma once

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace velmora {

// "Velmora" under the folder named by APPDATA (a separator added when missing). Where
// APPDATA is unset or empty: nullopt without the fallback; with it (Linux), "Velmora"
// under $XDG_DATA_HOME, else under $HOME/.local/share, each taken only when it is an
// absolute path. The environment is read through platform.GetEnvironment.
std::optional<std::u16string> UserDataFolderFromEnvironment(Platform& platform, bool xdgFallback);

}  // namespace velmora
