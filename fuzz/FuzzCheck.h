// The invariant check of the fuzz targets: a broken invariant prints the condition and
// aborts, which libFuzzer reports as a crash and saves the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define VELMORA_FUZZ_CHECK(cond)                                                        \
  do {                                                                                  \
    if (!(cond)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                     \
    }                                                                                   \
  } while (0)
