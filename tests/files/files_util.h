#pragma once
// Helpers for the file tests: paths under the test's private folder, in Windows form.
#include <string>

#include "platform/base/path.h"
#include "tests/support/testenv.h"

namespace files_test {

// A fresh sub-folder of the test root for one test, as a native path.
std::string NativeDir(const std::string& name);
// The Windows form of a native path.
inline std::wstring Win(const std::string& native) { return zyn::base::FromNativePath(native); }
// Writes / reads a whole file natively.
void WriteNative(const std::string& native, const std::string& bytes);
std::string ReadNative(const std::string& native);

} // namespace files_test
