#include <windows.h>

#include "platform/Platform.h"

namespace velmora {

char16_t UpperChar(char16_t c) {
  wchar_t w = static_cast<wchar_t>(c);
  ::CharUpperBuffW(&w, 1);
  return static_cast<char16_t>(w);
}

char16_t LowerChar(char16_t c) {
  wchar_t w = static_cast<wchar_t>(c);
  ::CharLowerBuffW(&w, 1);
  return static_cast<char16_t>(w);
}

}  // namespace velmora
