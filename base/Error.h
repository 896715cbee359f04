// The one error type of the program: a UTF-16 message and a kind. Generators raise it
// and catch nothing; the window's commands and the CLI show ErrorPrefix + MessageOf(e).
#pragma once

#include <exception>
#include <string>

namespace velmora {

enum class TErrorKind { InvalidArgument, Conversion, FileSystem, General };

class TError : public std::exception {
 public:
  // Control characters in message (a NUL read from a corpus file, a line break) are
  // kept escaped (EscapeControlCharacters), so that no display cuts the message short.
  TError(TErrorKind kind, std::u16string message);
  TErrorKind Kind() const noexcept { return FKind; }
  const std::u16string& Message() const noexcept { return FMessage; }
  // The message as UTF-8, for std::exception users.
  const char* what() const noexcept override { return FUtf8.c_str(); }

 private:
  TErrorKind FKind;
  std::u16string FMessage;
  std::string FUtf8;
};

// What a failure shown to the user begins with.
inline constexpr char16_t ErrorPrefix[] = u"Ошибка: ";

// The message of any exception as it is shown: a TError's own message, else what()
// read as UTF-8 with its control characters escaped as TError would escape them.
std::u16string MessageOf(const std::exception& e);

}  // namespace velmora
