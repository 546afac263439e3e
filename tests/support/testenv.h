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

// The error log's size when made; NewText gives what was logged since.
class ErrorLogMark {
public:
    ErrorLogMark();
    std::string NewText() const;

private:
    std::string m_path;
    size_t m_size = 0;
};
}
