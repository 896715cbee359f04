// check-update: one manual update check, as the window's button makes it, without
// the settings file.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "platform/Platform.h"

namespace velmora {

// The page address must have passed ParsePageUrl (update/PageUrl.h).
// Prints "Доступна версия X" and the download URL, or the up-to-date message; on a
// failed check prints "Ошибка: " + the worker's error text and returns 1.
int CheckUpdateCommand(Platform& platform, const std::optional<std::u16string>& page, std::ostream& out,
                       std::ostream& err);

}  // namespace velmora
