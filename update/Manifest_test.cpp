// ValidateManifest alone: the rules of each member, without a server.
#include "update/Manifest.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "base/Error.h"
#include "base/Utf.h"

#include <pthread.h>  // winpthreads in the Windows build

namespace velmora {
namespace {

constexpr char16_t kPage[] = u"https://velmora.example.com/velmora/";
constexpr char kUrl[] = "https://velmora.example.com/velmora/Velmora-1.0.4.exe";

struct TResult {
  std::optional<std::u16string> Error;  // nullopt: accepted
  TManifest Manifest;
};

TResult Validate(std::string_view body) {
  TResult r;
  try {
    ValidateManifest(body, kPage, r.Manifest);
  } catch (const TError& e) {
    r.Error = e.Message();
  }
  return r;
}

std::string Members(const std::string& inner) { return "{" + inner + "}"; }
const std::string kVersionAndUrl = std::string("\"version\":\"1.0.4\",\"download_url\":\"") + kUrl + "\"";

TEST(Manifest, MemberRules) {
  struct TCase {
    const char* Label;
    std::string Body;
    std::optional<std::u16string> Error;
    std::u16string Version;
    std::u16string DownloadURL;
    std::u16string Description;
  } cases[] = {
      {"duplicates: the first of each wins",
       Members(kVersionAndUrl + ",\"version\":\"bad\",\"download_url\":\"https://elsewhere.example/Velmora.exe\","
                                "\"description\":\"first\",\"description\":\"second\""),
       std::nullopt, u"1.0.4", U16(kUrl), u"first"},
      {"a duplicate after a bad first does not rescue it",
       Members("\"version\":\"1.0\",\"version\":\"1.0.4\",\"download_url\":\"" + std::string(kUrl) + "\""),
       u"Invalid version", u"1.0", u"", u""},
      {"byte order mark at the start", "\xEF\xBB\xBF" + Members(kVersionAndUrl), std::nullopt, u"1.0.4", U16(kUrl),
       u""},
      {"byte order mark twice", "\xEF\xBB\xBF\xEF\xBB\xBF" + Members(kVersionAndUrl), u"Invalid update manifest", u"",
       u"", u""},
      {"byte order mark after leading space", " \xEF\xBB\xBF" + Members(kVersionAndUrl), u"Invalid update manifest",
       u"", u"", u""},
      {"numeric description keeps its text as written", Members(kVersionAndUrl + ",\"description\":12.50"),
       std::nullopt, u"1.0.4", U16(kUrl), u"12.50"},
      {"null description", Members(kVersionAndUrl + ",\"description\":null"), std::nullopt, u"1.0.4", U16(kUrl), u""},
      {"object description", Members(kVersionAndUrl + ",\"description\":{\"text\":\"x\"}"), std::nullopt, u"1.0.4",
       U16(kUrl), u""},
      {"four-part version", Members("\"version\":\"1.0.3.0\",\"download_url\":\"" + std::string(kUrl) + "\""),
       std::nullopt, u"1.0.3.0", U16(kUrl), u""},
      {"five-part version", Members("\"version\":\"1.0.3.0.1\",\"download_url\":\"" + std::string(kUrl) + "\""),
       u"Invalid version", u"1.0.3.0.1", u"", u""},
      {"trailing JSON whitespace", Members(kVersionAndUrl) + " \t\r\n \r\n", std::nullopt, u"1.0.4", U16(kUrl), u""},
      {"leading JSON whitespace", "\r\n\t " + Members(kVersionAndUrl), std::nullopt, u"1.0.4", U16(kUrl), u""},
      {"trailing form feed", Members(kVersionAndUrl) + "\f", u"Invalid update manifest", u"", u"", u""},
      {"trailing no-break space", Members(kVersionAndUrl) + "\xC2\xA0", u"Invalid update manifest", u"", u"", u""},
      {"trailing NUL", Members(kVersionAndUrl) + std::string(1, '\0'), u"Invalid update manifest", u"", u"", u""},
      {"second object", Members(kVersionAndUrl) + "{}", u"Invalid update manifest", u"", u"", u""},
      {"boolean download URL", Members("\"version\":\"1.0.4\",\"download_url\":true"), u"Missing download URL",
       u"1.0.4", u"", u""},
      {"null download URL", Members("\"version\":\"1.0.4\",\"download_url\":null"), u"Missing download URL", u"1.0.4",
       u"", u""},
      {"array download URL", Members("\"version\":\"1.0.4\",\"download_url\":[\"" + std::string(kUrl) + "\"]"),
       u"Missing download URL", u"1.0.4", u"", u""},
      {"numeric download URL is text, and not an allowed one", Members("\"version\":\"1.0.4\",\"download_url\":7"),
       u"Invalid download URL", u"1.0.4", u"7", u""},
      {"download URL outside the page",
       Members("\"version\":\"1.0.4\",\"download_url\":\"https://velmora.example.com/Velmora-1.0.4.exe\""),
       u"Invalid download URL", u"1.0.4", u"https://velmora.example.com/Velmora-1.0.4.exe", u""},
      {"boolean version", Members("\"version\":true,\"download_url\":\"" + std::string(kUrl) + "\""),
       u"Missing version", u"", u"", u""},
      {"member names are case-sensitive",
       Members("\"version\":\"1.0.4\",\"Download_URL\":\"" + std::string(kUrl) + "\""), u"Missing download URL",
       u"1.0.4", u"", u""},
      {"invalid UTF-8 in the description becomes U+FFFD",
       Members(kVersionAndUrl + ",\"description\":\"a\xFF"
                                "b\""),
       std::nullopt, u"1.0.4", U16(kUrl), u"a\uFFFDb"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Label);
    const TResult r = Validate(c.Body);
    EXPECT_EQ(r.Error, c.Error);
    EXPECT_EQ(r.Manifest.Version, c.Version);
    EXPECT_EQ(r.Manifest.DownloadURL, c.DownloadURL);
    EXPECT_EQ(r.Manifest.Description, c.Description);
  }
}

TEST(Manifest, SizeLimitCountsDecodedCharacters) {
  // 65,536 characters of which most take two bytes as UTF-8: within the limit.
  auto body = [](std::size_t chars) {
    const std::string head = "{" + kVersionAndUrl + ",\"padding\":\"";
    const std::string tail = "\"}";
    std::string padding;
    for (std::size_t i = head.size() + tail.size(); i < chars; ++i) padding += "\xD0\xB6";  // U+0436
    return head + padding + tail;
  };
  EXPECT_EQ(Validate(body(65536)).Error, std::nullopt);
  EXPECT_EQ(Validate(body(65537)).Error, u"Update manifest is too large");
}

TEST(Manifest, DescriptionIsCutTo2000Characters) {
  const std::u16string exact(2000, u'Ж');
  const std::string member = ",\"description\":\"" + Utf16ToUtf8(exact) + "Я\"";
  const TResult r = Validate(Members(kVersionAndUrl + member));
  EXPECT_EQ(r.Error, std::nullopt);
  EXPECT_EQ(r.Manifest.Description, exact);
}

// The manifest check runs on the worker's thread, whose stack may be much smaller than
// the main thread's (on Windows it is the executable's default).
// Runs work on a thread with a stack of stackBytes and waits for it.
void RunWithStack(std::size_t stackBytes, const std::function<void()>& work) {
  pthread_attr_t attr;
  ASSERT_EQ(pthread_attr_init(&attr), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attr, stackBytes), 0);
  pthread_t thread;
  const int created = pthread_create(
      &thread, &attr,
      [](void* arg) -> void* {
        (*static_cast<const std::function<void()>*>(arg))();
        return nullptr;
      },
      const_cast<std::function<void()>*>(&work));
  pthread_attr_destroy(&attr);
  ASSERT_EQ(created, 0);
  pthread_join(thread, nullptr);
}

TEST(Manifest, DeepNestingIsReadOnASmallStack) {
  // Brackets as deep as the size limit allows, read on a 256 KiB stack: the reading must
  // not take stack space per nesting level (one level per byte would need megabytes).
  const std::string page = "https://velmora.example.com/velmora/";
  const std::string members = "\"version\":\"1.0.4\",\"download_url\":\"" + page + "Velmora-1.0.4.exe\"";
  const std::string nested = std::string(32000, '[') + std::string(32000, ']');
  struct TCase {
    std::string Body;
    std::string Error;  // empty: accepted
  } cases[] = {
      {std::string(65536, '['), "Invalid update manifest"},
      {std::string(32768, '[') + std::string(32768, ']'), "Invalid update manifest"},
      {"{\"extra\":" + nested + "}", "Missing version"},
      {"{\"extra\":" + nested + "," + members + "}", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Body.substr(0, 12));
    std::string error = "not run";
    TManifest manifest;
    RunWithStack(256 * 1024, [&] {
      try {
        ValidateManifest(c.Body, Utf8ToUtf16(page), manifest);
        error.clear();
      } catch (const TError& e) {
        error = e.what();
      }
    });
    EXPECT_EQ(error, c.Error);
    if (c.Error.empty()) {
      EXPECT_EQ(manifest.Version, u"1.0.4");
    }
  }
}

}  // namespace
}  // namespace velmora
