// The fixed tables of the astro generator: the twelve signs with their headers, in
// document order. The day names are support/Dates.h's DayNames.
#pragma once

namespace velmora {

extern const char16_t* const SignNames[12];
extern const char16_t* const SignHeaders[12];

}  // namespace velmora
