// UTF-8 <-> UTF-16 conversion. Invalid UTF-8 decodes with U+FFFD for each bad
// sequence; an unpaired surrogate encodes as U+FFFD. Neither direction throws.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

std::u16string Utf8ToUtf16(std::string_view bytes);
std::string Utf16ToUtf8(std::u16string_view text);

// Shorthand for literals and ASCII texts in code and tests.
inline std::u16string U16(std::string_view utf8) { return Utf8ToUtf16(utf8); }

}  // namespace velmora
