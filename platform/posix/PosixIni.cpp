// A small INI reader-writer with the behaviour the settings need from the Windows
// private-profile functions: case-insensitive section and key names, one key read or
// written per call, every other line of the file kept as it was.
#include <string>
#include <vector>

#include "base/Error.h"
#include "base/Text.h"
#include "base/Utf.h"
#include "platform/posix/PosixPlatform.h"

namespace velmora {

namespace {

bool SameName(std::u16string_view a, std::u16string_view b) { return AsciiCaseEqual(Trim(a), Trim(b)); }

// The section name of a "[name]" line, or nullopt.
std::optional<std::u16string> SectionOf(std::u16string_view line) {
  std::u16string t = Trim(line);
  if (t.size() >= 2 && t.front() == u'[' && t.back() == u']') return t.substr(1, t.size() - 2);
  return std::nullopt;
}

// True when line is "key=value" for this key; value receives the trimmed value.
bool KeyLine(std::u16string_view line, std::u16string_view key, std::u16string* value) {
  std::size_t eq = line.find(u'=');
  if (eq == std::u16string_view::npos || !SameName(line.substr(0, eq), key)) return false;
  if (value) *value = Trim(line.substr(eq + 1));
  return true;
}

std::vector<std::u16string> ReadLines(Platform& platform, const std::u16string& path) {
  std::vector<std::u16string> lines;
  if (!platform.FileExists(path)) return lines;
  const std::u16string text = Utf8ToUtf16(platform.ReadWholeFile(path));
  for (auto line : SplitLines(text)) lines.emplace_back(line);
  return lines;
}

}  // namespace

std::u16string PosixPlatform::IniRead(const std::u16string& path, const std::u16string& section,
                                      const std::u16string& key, const std::u16string& defaultValue) {
  std::vector<std::u16string> lines;
  try {
    lines = ReadLines(*this, path);
  } catch (const TError&) {
    return defaultValue;
  }
  bool inSection = false;
  for (const auto& line : lines) {
    if (auto name = SectionOf(line)) {
      inSection = SameName(*name, section);
      continue;
    }
    std::u16string value;
    if (inSection && KeyLine(line, key, &value)) return value;
  }
  return defaultValue;
}

void PosixPlatform::IniWrite(const std::u16string& path, const std::u16string& section, const std::u16string& key,
                             const std::u16string& value) {
  try {
    std::vector<std::u16string> lines = ReadLines(*this, path);
    const std::u16string entry = key + u"=" + value;
    bool inSection = false;
    std::size_t sectionEnd = std::u16string::npos;  // insertion point after the section's last line
    bool done = false;
    for (std::size_t i = 0; i < lines.size() && !done; ++i) {
      if (auto name = SectionOf(lines[i])) {
        inSection = SameName(*name, section);
        if (inSection) sectionEnd = i + 1;
        continue;
      }
      if (!inSection) continue;
      if (KeyLine(lines[i], key, nullptr)) {
        lines[i] = entry;
        done = true;
      } else if (!IsBlank(lines[i])) {
        sectionEnd = i + 1;
      }
    }
    if (!done && sectionEnd != std::u16string::npos) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), entry);
    } else if (!done) {
      lines.push_back(u"[" + section + u"]");
      lines.push_back(entry);
    }
    std::u16string text;
    for (const auto& line : lines) text += line + u"\r\n";
    WriteWholeFileAtomic(path, Utf16ToUtf8(text));
  } catch (const TError&) {
    throw TError(TErrorKind::FileSystem, u"Unable to write to " + path);
  }
}

}  // namespace velmora
