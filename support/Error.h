// The one error type of the program: a UTF-16 message and a kind. Generators raise it
// and catch nothing; the window's commands and the CLI show "Ошибка: " + Message().
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

}  // namespace velmora
