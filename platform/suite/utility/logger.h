#pragma once
// The suite's logger: plain-text log files in one log folder. Errors go to
// "OrvanError.log" with a result code, the source file and line; timings and debug
// notes go to "Diagnostics.txt". Every entry is one line, appended under a process-wide
// lock, so concurrent threads never interleave within a line.

#include <cstdint>

#include "platform/base/cstring.h"

class CException;

class CLogger {
public:
    static constexpr const wchar_t* ErrorLogName = L"OrvanError.log";
    static constexpr const wchar_t* DiagnosticsLogName = L"Diagnostics.txt";

    // The log folder: env ZYN_LOG_DIR, else $XDG_STATE_HOME/zyn/logs, else
    // ~/.local/state/zyn/logs; created on demand. Ends without a separator.
    static CString GetLogDir();

    // Writes one error line to `logFile` (a name inside the log folder, or a full path).
    // Returns false when the line could not be written (the reason goes to stderr).
    static bool LogError(LPCWSTR logFile, uint32_t resultCode, LPCWSTR sourceFile, int line, LPCWSTR message);
    // The same, followed by the exception's own message.
    static bool LogError(LPCWSTR logFile, uint32_t resultCode, LPCWSTR sourceFile, int line, LPCWSTR message,
        const CException* e);
    // Short forms that write to "OrvanError.log".
    static bool LogError(uint32_t resultCode, LPCWSTR sourceFile, int line, LPCWSTR message);
    static bool LogError(uint32_t resultCode, LPCWSTR sourceFile, int line, LPCWSTR message, const CException* e);

    // One error line for a saved value (window position, bar layout, toolbar, menu) that
    // was refused as damaged, naming the profile section and entry and why, so that a
    // person can tell why a layout came back as its default.
    static bool LogRefusedProfileValue(LPCWSTR section, LPCWSTR entry, LPCWSTR reason);

    // Writes one line to "Diagnostics.txt" (or the named file).
    static bool LogDebug(LPCWSTR message);
    static bool LogDebug(LPCWSTR logFile, LPCWSTR message);

    // The full path of a log file name (names with a folder are taken as they are).
    static CString GetLogPath(LPCWSTR logFile);
};
