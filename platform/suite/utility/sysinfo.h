#pragma once
// System information of the suite's utility library.
#include "platform/base/cstring.h"

class SysInfo {
public:
    // The local computer's name in upper case: the host name up to its first dot, or the
    // full name with `fullyQualified`. `lowerCase` gives it in lower case instead.
    // False (and an empty name) when the name cannot be read.
    static bool GetComputerNameW(CString& name, bool fullyQualified, bool lowerCase);
};
