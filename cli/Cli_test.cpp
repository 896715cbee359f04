#include "cli/Cli.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <sstream>

#include "base/Utf.h"
#include "testing/Installation.h"
#include "testing/OsFiles.h"
#include "testing/TempFolder.h"
#include "update/Version.h"

namespace velmora {

namespace {

struct TCliRun {
  int Status;
  std::string Out, Err;
};

struct TCliSetup : testing::TInstallation {
  TCliSetup() { Platform.TodayValue = TLocalDate{2026, 12, 10}; }
  TCliRun Run(std::vector<std::u16string> args) {
    std::ostringstream out, err;
    const int status = RunCli(Platform, args, out, err);
    return {status, out.str(), err.str()};
  }
};

std::vector<std::string> Lines(const std::string& s) {
  std::vector<std::string> lines;
  std::istringstream in(s);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

TEST(Cli, FolkForManyWeeksPrintsEveryPath) {
  TCliSetup s;
  const auto r = s.Run({u"folk", u"--week", u"2026-01-05", u"--weeks", u"52", u"--out", s.Out.Path()});
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Err, "");
  const auto lines = Lines(r.Out);
  ASSERT_EQ(lines.size(), 52u);
  EXPECT_EQ(lines.front(), Utf16ToUtf8(s.Out / u"generated/primety_20260105.txt"));
  EXPECT_EQ(lines.back(), Utf16ToUtf8(s.Out / u"generated/primety_20261228.txt"));
  EXPECT_EQ(testing::ListFolder(s.Out / u"generated").size(), 52u);
}

TEST(Cli, AllWritesFolkAstroJokesInOrderWithTheWindowsDefaults) {
  TCliSetup s;
  const auto r = s.Run({u"all", u"--count", u"abc"});
  EXPECT_EQ(r.Status, 0) << r.Err;
  const std::u16string gen = s.Program / u"generated/";
  EXPECT_EQ(Lines(r.Out), (std::vector<std::string>{Utf16ToUtf8(gen + u"primety_20261221.txt"),
                                                    Utf16ToUtf8(gen + u"astro_20261221.txt"),
                                                    Utf16ToUtf8(gen + u"jokes_20261221.txt")}));
}

TEST(Cli, FailuresAndUsage) {
  struct Case {
    std::vector<std::u16string> Args;
    int Status;
    const char* ErrStart;
  } cases[] = {
      {{u"folk", u"--week", u"2026-01-04"}, 1, "Ошибка: Выберите понедельник нужной недели."},
      {{u"astro", u"--out", u""}, 1, "Ошибка: Выберите папку вывода."},
      {{}, 2, "не указана команда"},
      {{u"nonsense"}, 2, "неизвестная команда"},
      {{u"folk", u"--count", u"5"}, 2, "неизвестный параметр --count"},
      {{u"jokes", u"--week", u"2026-1-5"}, 2, "--week"},
      {{u"jokes", u"--week", u"2026-02-30"}, 2, "--week"},
      {{u"folk", u"--weeks", u"0"}, 2, "--weeks"},
      {{u"folk", u"--weeks"}, 2, "нет значения"},
  };
  for (const auto& c : cases) {
    TCliSetup s;
    const auto r = s.Run(c.Args);
    EXPECT_EQ(r.Status, c.Status) << r.Err;
    EXPECT_EQ(r.Err.rfind(c.ErrStart, 0), 0u) << r.Err;
    EXPECT_EQ(r.Out, "");
    if (c.Status == 2 && std::string(c.ErrStart).rfind("Ошибка", 0) != 0) {
      EXPECT_NE(r.Err.find("Использование:"), std::string::npos);
    }
  }
  TCliSetup s;
  EXPECT_EQ(s.Run({u"--version"}).Out, "velmora-cli " + Utf16ToUtf8(CurrentVersion) + "\n");
  EXPECT_NE(s.Run({u"--help"}).Out.find("check-corpus FILE"), std::string::npos);
}

// Weeks stay between 0001-01-01 and 9999-12-31 and number 1 to 1000; anything else is
// refused before a file is written. As found: the second week of 9999-12-27 was
// written as primety_100000103.txt.
TEST(Cli, WeeksOutsideTheCalendarAreUsageErrors) {
  struct Case {
    std::vector<std::u16string> Args;
    int Status;
    const char* File;  // written when the status is 0
  } cases[] = {
      {{u"all", u"--week", u"9999-12-27", u"--weeks", u"2"}, 2, nullptr},
      {{u"folk", u"--week", u"9999-12-31", u"--weeks", u"2"}, 2, nullptr},
      {{u"folk", u"--weeks", u"1001"}, 2, nullptr},
      {{u"folk", u"--weeks", u"99999999999999999999"}, 2, nullptr},
      {{u"folk", u"--weeks", u"-3"}, 2, nullptr},
      {{u"folk", u"--week", u"9999-12-27"}, 0, "primety_99991227.txt"},
      {{u"astro", u"--week", u"9999-12-31"}, 0, "astro_99991231.txt"},
      {{u"folk", u"--week", u"0001-01-01"}, 0, "primety_00010101.txt"},
      // 1000 weeks pass the usage check; the Sunday then stops the folk generator.
      {{u"folk", u"--week", u"2026-01-04", u"--weeks", u"1000"}, 1, nullptr},
  };
  for (const auto& c : cases) {
    TCliSetup s;
    std::vector<std::u16string> args = c.Args;
    args.insert(args.end(), {u"--out", s.Out.Path()});
    const auto r = s.Run(args);
    SCOPED_TRACE(Utf16ToUtf8(c.Args[2]));
    EXPECT_EQ(r.Status, c.Status) << r.Err;
    if (c.Status == 2) {
      EXPECT_EQ(r.Err.rfind("--week", 0), 0u) << r.Err;
      EXPECT_NE(r.Err.find("от 1 до 1000"), std::string::npos) << "the usage names the range";
    }
    EXPECT_EQ(testing::ListFolder(s.Out / u"generated"),
              c.File ? std::vector<std::string>{c.File} : std::vector<std::string>{});
  }
  // The default week counts too: from 9999-12-29 on it would be a week of the year 10000.
  TCliSetup s;
  s.Platform.TodayValue = TLocalDate{9999, 12, 29};
  EXPECT_EQ(s.Run({u"folk", u"--out", s.Out.Path()}).Status, 2);
}

// As found: a NUL in a corpus date reached the user as "Ошибка: '0".
TEST(Cli, ANulInAMessageIsShownEscaped) {
  TCliSetup s;
  testing::WriteBytes(s.Program / u"data/jokes.jsonl", "{\"week_start\": \"2025-03-0\\u0000\", \"text\": \"Шутка\"}\n");
  const std::string expected = "Ошибка: '0\\u0000' is not a valid integer value";
  auto r = s.Run({u"jokes", u"--week", u"2025-03-17", u"--out", s.Out.Path()});
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, expected + "\n");
  r = s.Run({u"check-corpus", s.Program / u"data/jokes.jsonl"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Out.find(":1: " + expected + "\n"), std::string::npos) << r.Out;
}

namespace {
// Standard output on a full disk: every write fails.
class TFullBuffer : public std::streambuf {
 protected:
  int overflow(int) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};
}  // namespace

// A failed write to standard output is a failure with a message on standard error, and
// a generation stops at the first week whose path could not be printed. As found:
// "velmora-cli folk ... >/dev/full" exited 0.
TEST(Cli, AFailedWriteToStandardOutputFails) {
  std::vector<std::vector<std::u16string>> commands = {
      {u"folk", u"--week", u"2026-01-05", u"--weeks", u"3"}, {u"--version"}, {u"--help"}, {u"check-corpus"}};
  for (bool devFull : {false, true}) {
#ifdef _WIN32
    if (devFull) continue;
#endif
    for (auto args : commands) {
      TCliSetup s;
      if (args[0] == u"folk") args.insert(args.end(), {u"--out", s.Out.Path()});
      if (args[0] == u"check-corpus") {
        testing::WriteBytes(s.Out / u"jokes.jsonl", "{\"week_start\": \"2025-03-10\", \"text\": \"Шутка\"}\n");
        args.push_back(s.Out / u"jokes.jsonl");
      }
      TFullBuffer full;
      std::ofstream devFullOut;
      std::ostream fullOut(&full);
      if (devFull) devFullOut.open("/dev/full");
      std::ostringstream err;
      const int status = RunCli(s.Platform, args, devFull ? devFullOut : fullOut, err);
      SCOPED_TRACE(Utf16ToUtf8(args[0]) + (devFull ? " >/dev/full" : ""));
      EXPECT_EQ(status, 1);
      EXPECT_EQ(err.str(), "Ошибка: Не удалось записать в стандартный вывод\n");
      if (args[0] == u"folk") {
        EXPECT_EQ(testing::ListFolder(s.Out / u"generated"), std::vector<std::string>{"primety_20260105.txt"});
      }
    }
  }
}

TEST(Cli, JokeCountIsReadAsTheWindowReadsIt) {
  std::string corpus;
  for (int i = 0; i < 40; ++i)
    corpus += "{\"week_start\": \"2025-03-10\", \"text\": \"Шутка " + std::to_string(i) + "\"}\n";
  for (auto [count, jokes] : {std::pair{u"0", 1}, {u"45", 30}, {u"007", 7}, {u"", 20}, {u"99999999999", 20}}) {
    TCliSetup s;
    testing::WriteBytes(s.Program / u"data/jokes.jsonl", corpus);
    const auto r = s.Run({u"jokes", u"--week", u"2025-03-17", u"--out", s.Out.Path(), u"--count", count});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const std::string text = testing::ReadBytes(s.Out / u"generated/jokes_20250317.txt");
    EXPECT_EQ(static_cast<int>(std::count(text.begin(), text.end(), '\n')), 2 + 2 * jokes) << Utf16ToUtf8(count);
  }
}

TEST(Cli, CheckCorpusReportsLinesAndKeptCount) {
  TCliSetup s;
  const std::u16string file = s.Out / u"weekly_horoscopes.jsonl";
  testing::WriteBytes(file,
                      "{\"week_start\": \"2025-01-06\", \"sign\": \"Овен\", \"text\": \"Текст\"}\n"
                      "\n"
                      "{\"week_start\": \"2025-01-06\", \"text\": \"без знака\"}\n"
                      "{\"week_start\": \"2025-02-30\", \"sign\": \"Овен\", \"text\": \"Текст\"}\n");
  auto r = s.Run({u"check-corpus", file});
  EXPECT_EQ(r.Status, 1);
  const auto lines = Lines(r.Out);
  ASSERT_EQ(lines.size(), 3u) << r.Out;
  EXPECT_NE(lines[0].find(":3: пропущена"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find(":4: Ошибка: Invalid argument to date encode"), std::string::npos) << lines[1];
  EXPECT_EQ(lines[2], "Записей: 1");

  const std::u16string good = s.Out / u"other.jsonl";
  testing::WriteBytes(good, "{\"content_type\": \"joke\", \"week_start\": \"2025-01-06\", \"text\": \"Шутка\"}\n");
  r = s.Run({u"check-corpus", good});
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "Записей: 1\n");
  r = s.Run({u"check-corpus", s.Out / u"missing.jsonl"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err.rfind("Ошибка: ", 0), 0u);
}

// An override file that starts with a byte-order mark on a line of its own: the checker
// and the generation both skip that line, and the later lines keep their numbers.
TEST(Cli, AByteOrderMarkOnTheFirstLineStopsNothing) {
  TCliSetup s;
  const std::string records =
      "{\"week_start\": \"2025-03-10\", \"text\": \"Шутка первая\"}\n"
      "{\"week_start\": \"2025-03-10\"}\n";
  testing::WriteBytes(s.Program / u"data/jokes.jsonl", "\xEF\xBB\xBF\r\n" + records);
  auto r = s.Run({u"check-corpus", s.Program / u"data/jokes.jsonl"});
  EXPECT_EQ(r.Status, 0) << r.Out;
  EXPECT_EQ(Lines(r.Out),
            (std::vector<std::string>{Utf16ToUtf8(s.Program / u"data/jokes.jsonl") + ":3: пропущена: пустой \"text\"",
                                      "Записей: 1"}));
  r = s.Run({u"jokes", u"--week", u"2025-03-17", u"--out", s.Out.Path()});
  ASSERT_EQ(r.Status, 0) << r.Err;
  const std::string marked = testing::ReadBytes(s.Out / u"generated/jokes_20250317.txt");
  testing::WriteBytes(s.Program / u"data/jokes.jsonl", records);
  ASSERT_EQ(s.Run({u"jokes", u"--week", u"2025-03-17", u"--out", s.Out.Path()}).Status, 0);
  EXPECT_EQ(testing::ReadBytes(s.Out / u"generated/jokes_20250317.txt"), marked);
  EXPECT_NE(marked.find("Шутка первая"), std::string::npos);
}

// What is not a regular file is refused at once. As found: check-corpus on a FIFO
// waited for ever, and on /dev/zero read 2 GB.
TEST(Cli, CheckCorpusRefusesWhatIsNotARegularFile) {
  TCliSetup s;
  std::vector<std::u16string> paths = {s.Out.Path()};
#ifdef _WIN32
  paths.push_back(u"NUL");
#else
  const std::u16string fifo = s.Out / u"weekly_horoscopes.jsonl";
  ASSERT_TRUE(testing::MakeFifo(fifo));
  paths.insert(paths.end(), {fifo, u"/dev/zero", u"/dev/null"});
#endif
  for (const auto& path : paths) {
    auto run = std::async(std::launch::async, [&] { return s.Run({u"check-corpus", path}); });
    if (run.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
      // Releases a reader stuck on the pipe, so that the failure is reported, not hung.
      testing::ReleaseFifoReaders(path);
      ADD_FAILURE() << "still reading " << Utf16ToUtf8(path);
    }
    const auto r = run.get();
    EXPECT_EQ(r.Status, 1) << Utf16ToUtf8(path);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err.rfind("Ошибка: Cannot open file", 0), 0u) << r.Err;
  }
}

// A refused page address is a usage error that opens no connection.
TEST(Cli, RefusedPageAddressesConnectNowhere) {
  for (const char16_t* url : {u"http://127.0.0.1:x@203.0.113.7/", u"http://example.com/", u"https://x.example"}) {
    TCliSetup s;
    int requests = 0;
    s.Platform.Http = [&](const THttpRequest&) {
      ++requests;
      return THttpReply{404, ""};
    };
    const auto r = s.Run({u"check-update", u"--page", url});
    EXPECT_EQ(r.Status, 2) << Utf16ToUtf8(url);
    EXPECT_EQ(r.Err.rfind("--page", 0), 0u) << r.Err;
    EXPECT_NE(r.Err.find(Utf16ToUtf8(url)), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("Использование:"), std::string::npos);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(requests, 0);
  }
  TCliSetup s;
  std::u16string asked;
  s.Platform.Http = [&](const THttpRequest& request) {
    asked = request.Url;
    return THttpReply{404, ""};
  };
  EXPECT_EQ(s.Run({u"check-update", u"--page", u"http://[::1]:9/v/"}).Status, 1);
  EXPECT_EQ(asked, u"http://[::1]:9/v/version.json");
}

}  // namespace velmora
