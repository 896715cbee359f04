#include <unicode/uchar.h>

#include "platform/Platform.h"

namespace velmora {

// Surrogate code units have no case of their own and map to themselves.
char16_t UpperChar(char16_t c) {
  UChar32 u = u_toupper(static_cast<UChar32>(c));
  return u <= 0xFFFF ? static_cast<char16_t>(u) : c;
}

char16_t LowerChar(char16_t c) {
  UChar32 u = u_tolower(static_cast<UChar32>(c));
  return u <= 0xFFFF ? static_cast<char16_t>(u) : c;
}

}  // namespace velmora
