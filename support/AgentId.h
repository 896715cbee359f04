// The per-installation agent identifier kept in "agent.id": first beside the program,
// else (only when the program folder cannot be written) in the per-user folder
// (Platform::UserDataFolder: %APPDATA%\Velmora, on Linux $XDG_DATA_HOME/Velmora or
// ~/.local/share/Velmora).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace velmora {

// The registry text form of a GUID: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case.
std::u16string FormatGuid(const std::array<std::uint8_t, 16>& bytes);

// The agent identifier; never empty. Read errors of an existing file propagate;
// write errors are swallowed (the identifier then lives for this call only).
std::u16string GetAgentId(Platform& platform, const std::u16string& programFolder);

}  // namespace velmora
