// Letter case mapping of single UTF-16 code units, the same on every platform:
// ICU on Linux, CharUpperBuffW/CharLowerBuffW on Windows (see platform/).
#pragma once

#include <string>

namespace velmora {

char16_t UpperChar(char16_t c);
char16_t LowerChar(char16_t c);

std::u16string LowerText(std::u16string_view text);
// The text with its first character in upper case (unchanged when empty).
std::u16string CapitalizeFirst(std::u16string text);

}  // namespace velmora
