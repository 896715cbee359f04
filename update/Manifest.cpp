#include "update/Manifest.h"

#include <rapidjson/document.h>

#include <optional>

#include "base/Error.h"
#include "base/Utf.h"
#include "update/Version.h"

namespace velmora {

namespace {

constexpr std::size_t kMaxManifestChars = 65536;
constexpr std::size_t kMaxDescriptionChars = 2000;

[[noreturn]] void Fail(const char16_t* message) { throw TError(TErrorKind::General, message); }

// A string member: a JSON string or a number's text as written (numbers are kept as
// strings by the parse flags). Other kinds, and an absent member, give nullopt.
std::optional<std::u16string> StringMember(const rapidjson::Value& object, const char* name) {
  auto it = object.FindMember(name);
  if (it == object.MemberEnd() || !it->value.IsString()) return std::nullopt;
  return Utf8ToUtf16(std::string_view(it->value.GetString(), it->value.GetStringLength()));
}

bool IsJsonWhitespace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

}  // namespace

void ValidateManifest(std::string_view body, std::u16string_view pageUrl, TManifest& result) {
  std::u16string text = Utf8ToUtf16(body);
  if (text.size() > kMaxManifestChars) Fail(u"Update manifest is too large");
  std::size_t start = !text.empty() && text[0] == 0xFEFF ? 1 : 0;
  // Re-encoding the decoded text gives RapidJSON valid UTF-8 whatever the server sent.
  const std::string json = Utf16ToUtf8(std::u16string_view(text).substr(start));
  rapidjson::Document doc;
  rapidjson::StringStream stream(json.c_str());
  // Iterative parsing: the default parser recurses once per nesting level, and a body of
  // nothing but "[" within the size limit exhausts a thread's stack.
  doc.ParseStream<rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseStopWhenDoneFlag |
                  rapidjson::kParseIterativeFlag>(stream);
  if (doc.HasParseError() || !doc.IsObject()) Fail(u"Invalid update manifest");
  for (std::size_t i = stream.Tell(); i < json.size(); ++i)
    if (!IsJsonWhitespace(static_cast<unsigned char>(json[i]))) Fail(u"Invalid update manifest");

  auto version = StringMember(doc, "version");
  if (!version) Fail(u"Missing version");
  result.Version = *version;
  CompareVersions(result.Version, CurrentVersion);  // throws "Invalid version" when malformed

  auto url = StringMember(doc, "download_url");
  if (!url) Fail(u"Missing download URL");
  result.DownloadURL = *url;
  if (!IsAllowedDownloadUrlFor(result.DownloadURL, pageUrl)) Fail(u"Invalid download URL");

  if (auto description = StringMember(doc, "description"))
    result.Description = description->substr(0, kMaxDescriptionChars);
}

}  // namespace velmora
