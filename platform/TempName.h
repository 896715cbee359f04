// Names of the temporary files of an atomic write. Each lies in the folder of the file
// it will replace and is named "." + that file's name + "." + six ASCII letters or
// digits, so the next write of the same file can recognise, and remove, the ones a
// killed run left behind.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace velmora {

// The temporary name for the file named name; the six characters come from random.
std::u16string TemporaryNameFor(std::u16string_view name, const std::array<std::uint8_t, 16>& random);

// True when candidate is a temporary name (of the form above) of the file named name.
bool IsTemporaryNameOf(std::u16string_view candidate, std::u16string_view name);

}  // namespace velmora
