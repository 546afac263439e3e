#pragma once
// Helpers shared by the test binaries.
#include <string>

namespace zyn::test {
// The private temporary folder of this test process (removed at exit).
const std::string& TempRoot();
}
