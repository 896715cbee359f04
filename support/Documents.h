// Writing a finished document: the UTF-8 byte-order mark, then the text as UTF-8,
// replacing any earlier file only by the complete new one.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace velmora {

void WriteDocument(Platform& platform, const std::u16string& path, std::u16string_view text);

// A file written by WriteDocument as the window's file view shows it: the text
// without the byte-order mark.
std::u16string ReadDocument(Platform& platform, const std::u16string& path);

}  // namespace velmora
