#include "support/Error.h"

#include "support/Text.h"
#include "support/Utf.h"

namespace velmora {

TError::TError(TErrorKind kind, std::u16string message)
    : FKind(kind), FMessage(EscapeControlCharacters(message)), FUtf8(Utf16ToUtf8(FMessage)) {}

}  // namespace velmora
