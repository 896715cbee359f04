// Path text helpers. Paths are UTF-16 and use the platform's separator.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace velmora {

// path with the platform's separator appended unless it already ends with one.
std::u16string WithTrailingSeparator(const Platform& platform, std::u16string path);

// The output folder (separator appended when missing) + "generated" + separator, as
// the astro and joke generators build it.
std::u16string GeneratedFolder(const Platform& platform, const std::u16string& outputFolder);

// The folder of corpus override files: programFolder (separator appended when missing)
// + "data" + separator.
std::u16string DataFolder(const Platform& platform, const std::u16string& programFolder);

// Refuses an empty or blank output folder with "Выберите папку вывода." (invalid
// argument), so that no generator writes into the root of a drive by accident.
void RequireOutputFolder(const std::u16string& outputFolder);

}  // namespace velmora
