// The deterministic random source: a Lehmer generator (modulus 2^31 - 1, multiplier
// 48271) seeded by a polynomial hash (multiplier 131) of the key's UTF-16 code units.
// Every choice of every generator is drawn from a RandomState; the order and number
// of draws are part of each generator's behaviour.
#pragma once

#include <cstdint>
#include <string_view>

namespace velmora {

using RandomState = std::int64_t;

// Hash of the key's UTF-16 code units; 1 when the hash is 0 (the empty key included).
RandomState SeedRandom(std::u16string_view key);
// Advances the state one step and returns the new state (1..2147483646).
std::int32_t NextRandom(RandomState& state);
// A value in 0..n-1 from one step; for n <= 0 returns 0 without stepping.
std::int32_t RandomBelow(RandomState& state, std::int32_t n);

}  // namespace velmora
