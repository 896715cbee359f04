#include "platform/TempName.h"

namespace velmora {

namespace {

constexpr std::u16string_view kAlphabet = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomChars = 6;

bool IsNameChar(char16_t c) { return kAlphabet.find(c) != std::u16string_view::npos; }

}  // namespace

std::u16string TemporaryNameFor(std::u16string_view name, const std::array<std::uint8_t, 16>& random) {
  std::u16string temp = u".";
  temp.append(name).push_back(u'.');
  for (std::size_t i = 0; i < kRandomChars; ++i) temp.push_back(kAlphabet[random[i] % kAlphabet.size()]);
  return temp;
}

bool IsTemporaryNameOf(std::u16string_view candidate, std::u16string_view name) {
  if (candidate.size() != name.size() + 2 + kRandomChars || candidate.front() != u'.' ||
      candidate.substr(1, name.size()) != name || candidate[name.size() + 1] != u'.')
    return false;
  for (char16_t c : candidate.substr(name.size() + 2))
    if (!IsNameChar(c)) return false;
  return true;
}

}  // namespace velmora
