// Whole-text case mapping, built on the single-unit mapping each platform implements.
#include "platform/Platform.h"

namespace velmora {

std::u16string LowerText(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = LowerChar(c);
  return out;
}

std::u16string CapitalizeFirst(std::u16string text) {
  if (!text.empty()) text[0] = UpperChar(text[0]);
  return text;
}

}  // namespace velmora
