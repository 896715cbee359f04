#include "base/Error.h"

#include "base/Text.h"
#include "base/Utf.h"

namespace velmora {

TError::TError(TErrorKind kind, std::u16string message)
    : FKind(kind), FMessage(EscapeControlCharacters(message)), FUtf8(Utf16ToUtf8(FMessage)) {}

std::u16string MessageOf(const std::exception& e) {
  if (auto* error = dynamic_cast<const TError*>(&e)) return error->Message();
  return EscapeControlCharacters(Utf8ToUtf16(e.what()));
}

}  // namespace velmora
