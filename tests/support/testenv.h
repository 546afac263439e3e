#pragma once
// Helpers shared by the test binaries.
#include <string>

namespace zyn::test {
// The private temporary folder of this test process (removed at exit).
const std::string& TempRoot();
// Puts the clock, zone, locale and other process-wide test settings back to defaults;
// runs after every test case.
void ResetProcessState();
void InstallResetListener();
}
