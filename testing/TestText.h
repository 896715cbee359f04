// Text helpers of the tests: the lines of a written document and the message of a call
// that should fail.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/Error.h"

namespace velmora::testing {

// The lines of a document whose every line ends in CR LF; text after the last CR LF
// fails the test.
inline std::vector<std::u16string> CrLfLines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (std::size_t p; (p = text.find(u"\r\n", start)) != std::u16string::npos; start = p + 2)
    lines.push_back(text.substr(start, p - start));
  EXPECT_EQ(start, text.size()) << "text after the last CR LF";
  return lines;
}

// The message (UTF-8) of the TError that call throws; "no error" when it returns.
inline std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const TError& e) {
    return e.what();
  }
  return "no error";
}

}  // namespace velmora::testing
