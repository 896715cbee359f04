#include "base/Utf.h"

#include <cstdint>

namespace velmora {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

}  // namespace

std::u16string Utf8ToUtf16(std::string_view bytes) {
  // Never more code units than bytes: write through a pointer into a buffer of that
  // size (push_back per unit costs more than the decoding itself) and cut it at the end.
  std::u16string result(bytes.size(), u'\0');
  char16_t* out = result.data();
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char b0 = in[i];
    if (b0 < 0x80) {
      *out++ = b0;
      ++i;
      continue;
    }
    // The common two-byte case (Cyrillic) without the general machinery.
    if (b0 >= 0xC2 && b0 <= 0xDF && i + 1 < n && (in[i + 1] & 0xC0) == 0x80) {
      *out++ = static_cast<char16_t>(((b0 & 0x1F) << 6) | (in[i + 1] & 0x3F));
      i += 2;
      continue;
    }
    int extra;
    std::uint32_t cp;
    std::uint32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      extra = 1, cp = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      extra = 2, cp = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      extra = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
      *out++ = kReplacement;
      ++i;
      continue;
    }
    // A truncated or malformed sequence yields one replacement and resumes at the
    // first byte that is not a continuation byte, so decoding never skips valid text.
    std::size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < extra; ++k, ++j) {
      if (j >= n || (in[j] & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (in[j] & 0x3F);
    }
    i = j;
    if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      *out++ = kReplacement;
    } else if (cp < 0x10000) {
      *out++ = static_cast<char16_t>(cp);
    } else {
      // Four bytes in, two units out: still within the buffer.
      cp -= 0x10000;
      *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
  }
  result.resize(static_cast<std::size_t>(out - result.data()));
  return result;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace velmora
