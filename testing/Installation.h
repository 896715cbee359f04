// The set-up of the tests that run a generator end to end: a program folder of its own
// with the fixed agent identifier "test" beside the program, an output folder, and a
// fake platform that reports the program folder as its own.
#pragma once

#include "testing/FakePlatform.h"
#include "testing/TempFolder.h"

namespace velmora::testing {

struct TInstallation {
  TempFolder Program, Out;
  FakePlatform Platform;
  TInstallation() {
    Platform.ProgramFolderValue = Program.Path();
    WriteBytes(Program / u"agent.id", "test");
  }
};

}  // namespace velmora::testing
