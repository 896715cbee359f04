// The update check's per-user settings (updates.ini under %LOCALAPPDATA%\Tarnwick\Velmora,
// section "Updates": "Automatic" and "LastAttemptUTC") and the once-a-day rule.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace velmora {

struct TUpdateSettings {
  bool Automatic = false;
  std::int64_t LastAttempt = 0;
};

// Creates the settings folder and returns the file's full path. Throws
// "LOCALAPPDATA is unavailable" or "Cannot create settings folder".
std::u16string GetUpdateSettingsPath(Platform& platform);
// Absent or unreadable values read as their defaults (off, 0).
TUpdateSettings LoadUpdateSettings(Platform& platform, const std::u16string& path);
// Due when no attempt is known (<= 0), the clock went back, or a day has passed.
bool IsAutomaticCheckDue(std::int64_t lastAttempt, std::int64_t now);
// Writes "LastAttemptUTC" = now; throws the INI write's error.
void WriteLastAttempt(Platform& platform, const std::u16string& path, std::int64_t now);
// Writes "Automatic" = "1" or "0"; throws the INI write's error.
void WriteAutomatic(Platform& platform, const std::u16string& path, bool automatic);

}  // namespace velmora
