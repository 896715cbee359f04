// The folk calendar: one entry per date of a leap year, keyed month * 100 + day,
// sorted by key. Constant data generated at build time from corpora/folk_calendar.tsv.
#pragma once

namespace velmora {

struct TFolkEntry {
  int Key;
  const char16_t* Title;
  const char16_t* Description;
};

extern const TFolkEntry FolkEntries[];
extern const int FolkEntryCount;

}  // namespace velmora
