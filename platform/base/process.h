#pragma once
// Processes: starting programs with CreateProcessW, process handles, the current
// process, and the Windows command-line rules.
//
// CreateProcessW takes the program from lpApplicationName, else from the first word of
// lpCommandLine. A program whose name (without folder and extension, compared without
// case) is a registered built-in command (builtin_commands.h) runs that command on a
// thread of this process, with the command line's words after the program name; it
// has a process handle (signalled with the command's result) and a thread handle, but
// its process identifier is a number of its own (0x40000000 and up) and it cannot be
// terminated. lpCurrentDirectory, lpEnvironment and the standard handles do not apply
// to a built-in command, which shares this process's.
//
// Any other program starts as a child process (posix_spawn): an lpApplicationName is a
// path (relative to the current folder), a program taken from the command line is
// searched on PATH; a name ending in ".exe" that does not exist is tried again without
// the extension. A missing program fails with ERROR_FILE_NOT_FOUND. Arguments are
// split by the Windows rules (SplitCommandLine) and passed as UTF-8. The process handle
// is signalled when the child ends; its exit code is the child's exit status, 128 + the
// signal number for a child killed by a signal, or the code given to TerminateProcess.
// The thread handle stands for the child's main thread and ends with it.
// STARTF_USESTDHANDLES gives the child the descriptors of the handles' objects
// (KernelObject::NativeFd); a null handle becomes /dev/null. CREATE_NEW_PROCESS_GROUP
// starts a new process group. Window, console and priority flags are accepted and have
// no effect; CREATE_SUSPENDED is refused (ERROR_NOT_SUPPORTED) for a child process,
// which cannot be held before it runs. bInheritHandles has no effect: kernel handles
// are not descriptors.
//
// The child is reaped by a thread of this process; a process that sets SIGCHLD to
// SIG_IGN, or reaps children itself, loses their exit codes (reported as 0xFFFFFFFF).

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/kernel_object.h"
#include "platform/base/threads.h"
#include "platform/base/wintypes.h"

inline constexpr DWORD DEBUG_PROCESS = 0x00000001;
inline constexpr DWORD DETACHED_PROCESS = 0x00000008;
inline constexpr DWORD CREATE_NEW_CONSOLE = 0x00000010;
inline constexpr DWORD NORMAL_PRIORITY_CLASS = 0x00000020;
inline constexpr DWORD IDLE_PRIORITY_CLASS = 0x00000040;
inline constexpr DWORD HIGH_PRIORITY_CLASS = 0x00000080;
inline constexpr DWORD CREATE_NEW_PROCESS_GROUP = 0x00000200;
inline constexpr DWORD CREATE_UNICODE_ENVIRONMENT = 0x00000400;
inline constexpr DWORD BELOW_NORMAL_PRIORITY_CLASS = 0x00004000;
inline constexpr DWORD ABOVE_NORMAL_PRIORITY_CLASS = 0x00008000;
inline constexpr DWORD CREATE_DEFAULT_ERROR_MODE = 0x04000000;
inline constexpr DWORD CREATE_NO_WINDOW = 0x08000000;

inline constexpr DWORD STARTF_USESHOWWINDOW = 0x00000001;
inline constexpr DWORD STARTF_USESIZE = 0x00000002;
inline constexpr DWORD STARTF_USEPOSITION = 0x00000004;
inline constexpr DWORD STARTF_USESTDHANDLES = 0x00000100;

struct STARTUPINFOW {
    DWORD cb;
    LPWSTR lpReserved;
    LPWSTR lpDesktop;
    LPWSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    LPBYTE lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};
using STARTUPINFO = STARTUPINFOW;
using LPSTARTUPINFOW = STARTUPINFOW*;
using LPSTARTUPINFO = STARTUPINFOW*;

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

BOOL CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine, LPSECURITY_ATTRIBUTES lpProcessAttributes,
    LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles, DWORD dwCreationFlags, LPVOID lpEnvironment,
    LPCWSTR lpCurrentDirectory, LPSTARTUPINFOW lpStartupInfo, LPPROCESS_INFORMATION lpProcessInformation);
BOOL CreateProcess(LPCWSTR lpApplicationName, LPWSTR lpCommandLine, LPSECURITY_ATTRIBUTES lpProcessAttributes,
    LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles, DWORD dwCreationFlags, LPVOID lpEnvironment,
    LPCWSTR lpCurrentDirectory, LPSTARTUPINFOW lpStartupInfo, LPPROCESS_INFORMATION lpProcessInformation);
BOOL GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode);
// Kills a child process (SIGKILL); its exit code becomes uExitCode. A built-in command
// cannot be stopped from outside (ERROR_NOT_SUPPORTED); a process that has ended fails
// with ERROR_ACCESS_DENIED.
BOOL TerminateProcess(HANDLE hProcess, UINT uExitCode);
DWORD GetProcessId(HANDLE Process);

namespace zyn::base {

// Splits a command line into words by the Windows rules: the first word (the program)
// ends at the first blank, or is everything between a leading quote and the next
// quote; in later words blanks inside quotes are kept, 2n backslashes before a quote
// give n backslashes and the quote opens or closes quoting, 2n+1 backslashes before a
// quote give n backslashes and a literal quote, other backslashes are literal, and
// inside quotes "" gives a literal quote. Leading blanks are skipped; an empty or
// blank line gives no words.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// Quotes one word so that SplitCommandLine gives it back unchanged (for a word after
// the first).
std::wstring QuoteCommandLineArgument(std::wstring_view arg);

class ProcessObject : public KernelObject {
public:
    ProcessObject(DWORD id, bool builtin);
    DWORD Id() const { return m_id; }
    bool IsBuiltin() const { return m_builtin; }
    // STILL_ACTIVE while it runs.
    DWORD ExitCode() const;

private:
    friend struct ProcessAccess;
    const DWORD m_id;
    const bool m_builtin;
    // Guarded by KernelLock:
    DWORD m_exitCode = STILL_ACTIVE;
    bool m_ended = false;
    bool m_terminateRequested = false;
    DWORD m_terminateCode = 0;
    int m_pid = 0;
};

// The object that the pseudo handle GetCurrentProcess() names (never signalled).
std::shared_ptr<KernelObject> CurrentProcessObject();

} // namespace zyn::base
