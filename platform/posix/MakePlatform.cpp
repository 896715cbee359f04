#include "platform/posix/PosixPlatform.h"

namespace velmora {

std::unique_ptr<Platform> MakeSystemPlatform() { return std::make_unique<PosixPlatform>(); }

}  // namespace velmora
