// The fixed tables of the astro generator: the twelve signs with their headers, in
// document order, and the seven day names, Monday first.
#pragma once

namespace velmora {

extern const char16_t* const SignNames[12];
extern const char16_t* const SignHeaders[12];
extern const char16_t* const DayNames[7];

}  // namespace velmora
