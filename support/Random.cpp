#include "support/Random.h"

namespace velmora {

namespace {
constexpr std::int64_t kModulus = 2147483647;
}

RandomState SeedRandom(std::u16string_view key) {
  std::int64_t s = 0;
  for (char16_t c : key) s = (s * 131 + c) % kModulus;
  return s == 0 ? 1 : s;
}

std::int32_t NextRandom(RandomState& state) {
  state = (state * 48271) % kModulus;
  return static_cast<std::int32_t>(state);
}

std::int32_t RandomBelow(RandomState& state, std::int32_t n) {
  if (n <= 0) return 0;
  return NextRandom(state) % n;
}

}  // namespace velmora
