#include "platform/base/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <map>
#include <optional>
#include <thread>

#include "platform/base/builtin_commands.h"
#include "platform/base/codepage.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/base/utf16.h"

extern char** environ;

namespace zyn::base {

struct ProcessAccess {
    static void EndLocked(ProcessObject& p, DWORD code)
    {
        if (p.m_ended)
            return;
        if (p.m_terminateRequested)
            code = p.m_terminateCode;
        p.m_exitCode = code;
        p.m_ended = true;
        p.SetSignaledLocked(true);
    }
    static bool& Ended(ProcessObject& p) { return p.m_ended; }
    static bool& TerminateRequested(ProcessObject& p) { return p.m_terminateRequested; }
    static DWORD& TerminateCode(ProcessObject& p) { return p.m_terminateCode; }
    static int& Pid(ProcessObject& p) { return p.m_pid; }
};

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

std::wstring FoldName(std::wstring_view s)
{
    std::wstring out(s);
    for (wchar_t& c : out)
        c = FoldAscii(c);
    return out;
}

// ---- built-in commands -------------------------------------------------------------

struct BuiltinRegistry {
    std::mutex lock;
    std::map<std::wstring, BuiltinCommand> commands;
};

BuiltinRegistry& Builtins()
{
    static auto* r = new BuiltinRegistry;
    return *r;
}

// "C:\tools\RegEdit.exe" -> "regedit".
std::wstring ProgramBaseName(std::wstring_view program)
{
    const size_t slash = program.find_last_of(L"/\\");
    std::wstring_view base = slash == std::wstring_view::npos ? program : program.substr(slash + 1);
    const size_t dot = base.find_last_of(L'.');
    if (dot != std::wstring_view::npos && dot > 0)
        base = base.substr(0, dot);
    return FoldName(base);
}

bool EndsWithExe(std::wstring_view s)
{
    return s.size() > 4 && FoldName(s.substr(s.size() - 4)) == L".exe";
}

std::atomic<DWORD> g_nextBuiltinPid{0x40000000u};

DWORD RunBuiltin(const BuiltinCommand& cmd, const std::wstring& name, const std::vector<std::wstring>& args)
{
    auto report = [&](const std::string& what) {
        std::fprintf(stderr, "built-in command \"%s\" failed: %s\n", ToUtf8(name).c_str(), what.c_str());
    };
    try {
        return cmd(args);
    } catch (CException* e) {
        wchar_t text[512] = {};
        e->GetErrorMessage(text, 512);
        report(ToUtf8(text));
        e->Delete();
    } catch (const std::exception& e) {
        report(e.what());
    } catch (...) {
        report("unknown exception");
    }
    return kBuiltinCommandFailedExitCode;
}

// ---- child processes -----------------------------------------------------------------

DWORD SpawnErrnoToError(int e)
{
    switch (e) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case ENOEXEC:
        return ERROR_BAD_EXE_FORMAT;
    case ENOMEM:
    case EAGAIN:
        return ERROR_NOT_ENOUGH_MEMORY;
    case E2BIG:
        return ERROR_BAD_ENVIRONMENT;
    default:
        return ERROR_ACCESS_DENIED;
    }
}

// Owners of the posix_spawn structures.
struct FileActions {
    posix_spawn_file_actions_t fa;
    FileActions() { posix_spawn_file_actions_init(&fa); }
    ~FileActions() { posix_spawn_file_actions_destroy(&fa); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
};

struct SpawnAttr {
    posix_spawnattr_t attr;
    SpawnAttr() { posix_spawnattr_init(&attr); }
    ~SpawnAttr() { posix_spawnattr_destroy(&attr); }
    SpawnAttr(const SpawnAttr&) = delete;
    SpawnAttr& operator=(const SpawnAttr&) = delete;
};

std::vector<char*> CPointers(std::vector<std::string>& v)
{
    std::vector<char*> out;
    out.reserve(v.size() + 1);
    for (auto& s : v)
        out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

// The environment block of CreateProcess ("A=1\0B=2\0\0"), wide or in the ANSI code
// page, as UTF-8 strings.
std::vector<std::string> EnvironmentFromBlock(LPVOID block, bool unicode)
{
    std::vector<std::string> env;
    if (unicode) {
        for (auto* p = static_cast<const wchar_t*>(block); *p;) {
            std::wstring_view entry(p);
            env.push_back(ToUtf8(entry));
            p += entry.size() + 1;
        }
    } else {
        for (auto* p = static_cast<const char*>(block); *p;) {
            std::string_view entry(p);
            env.push_back(ToUtf8(AnsiToWide(entry)));
            p += entry.size() + 1;
        }
    }
    return env;
}

// Reaps one child: waits for its end without reaping (so its pid cannot be reused while
// TerminateProcess may still signal it), records the exit code, then reaps.
void StartReaper(std::shared_ptr<ProcessObject> proc, std::shared_ptr<ThreadObject> mainThread, pid_t pid)
{
    std::thread([proc = std::move(proc), mainThread = std::move(mainThread), pid] {
        siginfo_t info{};
        int r;
        do {
            r = ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT);
        } while (r != 0 && errno == EINTR);
        DWORD code = 0xFFFFFFFFu; // reaped by somebody else: the code is lost
        if (r == 0) {
            if (info.si_code == CLD_EXITED)
                code = static_cast<DWORD>(info.si_status);
            else
                code = 128u + static_cast<DWORD>(info.si_status);
        }
        {
            auto lock = KernelLock();
            ProcessAccess::EndLocked(*proc, code);
        }
        mainThread->EndExternal(proc->ExitCode());
        if (r == 0) {
            int status;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }
    }).detach();
}

struct StdHandles {
    bool use = false;
    HANDLE h[3] = {};
};

BOOL SpawnChild(const std::wstring& program, bool searchPath, const std::vector<std::wstring>& words,
    DWORD flags, LPVOID lpEnvironment, LPCWSTR lpCurrentDirectory, const StdHandles& stdHandles,
    LPPROCESS_INFORMATION pi)
{
    if (flags & CREATE_SUSPENDED) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    std::vector<std::string> argv;
    argv.reserve(words.size());
    for (const auto& w : words)
        argv.push_back(ToUtf8(w));
    if (argv.empty())
        argv.push_back(ToUtf8(program));

    std::optional<std::vector<std::string>> env;
    if (lpEnvironment)
        env = EnvironmentFromBlock(lpEnvironment, (flags & CREATE_UNICODE_ENVIRONMENT) != 0);

    FileActions actions;
    if (lpCurrentDirectory && *lpCurrentDirectory) {
        const std::string dir = ToUtf8(lpCurrentDirectory);
        struct stat st {};
        if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            SetLastError(ERROR_PATH_NOT_FOUND);
            return FALSE;
        }
        posix_spawn_file_actions_addchdir_np(&actions.fa, dir.c_str());
    }
    if (stdHandles.use) {
        for (int i = 0; i < 3; ++i) {
            HANDLE h = stdHandles.h[i];
            if (!h || h == INVALID_HANDLE_VALUE) {
                posix_spawn_file_actions_addopen(&actions.fa, i, "/dev/null", i == 0 ? O_RDONLY : O_WRONLY, 0);
                continue;
            }
            auto obj = GetKernelObject(h);
            const int fd = obj ? obj->NativeFd() : -1;
            if (fd < 0) {
                SetLastError(ERROR_INVALID_HANDLE);
                return FALSE;
            }
            posix_spawn_file_actions_adddup2(&actions.fa, fd, i);
        }
    }
    SpawnAttr attr;
    if (flags & CREATE_NEW_PROCESS_GROUP) {
        posix_spawnattr_setflags(&attr.attr, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attr.attr, 0);
    }

    auto argvPtrs = CPointers(argv);
    std::vector<char*> envPtrs;
    if (env)
        envPtrs = CPointers(*env);
    char** envp = env ? envPtrs.data() : environ;

    auto trySpawn = [&](const std::string& path, pid_t& pid) {
        return searchPath ? ::posix_spawnp(&pid, path.c_str(), &actions.fa, &attr.attr, argvPtrs.data(), envp)
                          : ::posix_spawn(&pid, path.c_str(), &actions.fa, &attr.attr, argvPtrs.data(), envp);
    };
    pid_t pid = 0;
    int err = trySpawn(ToUtf8(program), pid);
    if (err == ENOENT && EndsWithExe(program))
        err = trySpawn(ToUtf8(std::wstring_view(program).substr(0, program.size() - 4)), pid);
    if (err != 0) {
        SetLastError(SpawnErrnoToError(err));
        return FALSE;
    }

    auto proc = std::make_shared<ProcessObject>(static_cast<DWORD>(pid), false);
    {
        auto lock = KernelLock();
        ProcessAccess::Pid(*proc) = pid;
    }
    auto mainThread = ThreadObject::MakeExternal(static_cast<DWORD>(pid));
    StartReaper(proc, mainThread, pid);
    HANDLE hp = AddKernelObject(proc);
    HANDLE ht = hp ? AddKernelObject(mainThread) : nullptr;
    if (!hp || !ht) {
        // The child runs on and is reaped; only its handles could not be made.
        if (hp)
            CloseHandle(hp);
        SetLastError(ERROR_NO_SYSTEM_RESOURCES);
        return FALSE;
    }
    pi->hProcess = hp;
    pi->hThread = ht;
    pi->dwProcessId = static_cast<DWORD>(pid);
    pi->dwThreadId = static_cast<DWORD>(pid);
    return TRUE;
}

BOOL StartBuiltin(const BuiltinCommand& cmd, const std::wstring& name, std::vector<std::wstring> args, DWORD flags,
    LPPROCESS_INFORMATION pi)
{
    const DWORD id = g_nextBuiltinPid.fetch_add(1, std::memory_order_relaxed);
    auto proc = std::make_shared<ProcessObject>(id, true);
    HANDLE hp = AddKernelObject(proc);
    if (!hp)
        return FALSE;
    DWORD tid = 0;
    HANDLE ht = CreateThreadFunction(
        [cmd, name, args = std::move(args), proc] {
            const DWORD code = RunBuiltin(cmd, name, args);
            auto lock = KernelLock();
            ProcessAccess::EndLocked(*proc, code);
            return code;
        },
        flags & CREATE_SUSPENDED, 0, &tid);
    if (!ht) {
        const DWORD err = GetLastError();
        CloseHandle(hp);
        SetLastError(err);
        return FALSE;
    }
    pi->hProcess = hp;
    pi->hThread = ht;
    pi->dwProcessId = id;
    pi->dwThreadId = tid;
    return TRUE;
}

} // namespace

// ---- command lines ---------------------------------------------------------------------

std::vector<std::wstring> SplitCommandLine(std::wstring_view line)
{
    std::vector<std::wstring> out;
    size_t i = 0;
    const size_t n = line.size();
    while (i < n && IsBlank(line[i]))
        ++i;
    if (i >= n)
        return out;

    // The program name: no escapes, quotes only group.
    std::wstring word;
    bool quoted = false;
    while (i < n) {
        const wchar_t c = line[i];
        if (c == L'"') {
            quoted = !quoted;
        } else if (IsBlank(c) && !quoted) {
            break;
        } else {
            word.push_back(c);
        }
        ++i;
    }
    out.push_back(std::move(word));

    for (;;) {
        while (i < n && IsBlank(line[i]))
            ++i;
        if (i >= n)
            break;
        word.clear();
        bool inQuotes = false;
        while (i < n) {
            const wchar_t c = line[i];
            if (c == L'\\') {
                size_t slashes = 0;
                while (i < n && line[i] == L'\\') {
                    ++slashes;
                    ++i;
                }
                if (i < n && line[i] == L'"') {
                    word.append(slashes / 2, L'\\');
                    if (slashes % 2 == 1) {
                        word.push_back(L'"');
                        ++i;
                    }
                    // An even count leaves the quote to the next round.
                } else {
                    word.append(slashes, L'\\');
                }
                continue;
            }
            if (c == L'"') {
                if (inQuotes && i + 1 < n && line[i + 1] == L'"') {
                    word.push_back(L'"');
                    i += 2;
                    continue;
                }
                inQuotes = !inQuotes;
                ++i;
                continue;
            }
            if (IsBlank(c) && !inQuotes)
                break;
            word.push_back(c);
            ++i;
        }
        out.push_back(word);
    }
    return out;
}

std::wstring QuoteCommandLineArgument(std::wstring_view arg)
{
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring_view::npos)
        return std::wstring(arg);
    std::wstring out = L"\"";
    size_t slashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        if (c == L'"') {
            out.append(2 * slashes + 1, L'\\');
            out.push_back(L'"');
        } else {
            out.append(slashes, L'\\');
            out.push_back(c);
        }
        slashes = 0;
    }
    out.append(2 * slashes, L'\\');
    out.push_back(L'"');
    return out;
}

// ---- built-in command registry -------------------------------------------------------

void RegisterBuiltinCommand(const std::wstring& name, BuiltinCommand command)
{
    BuiltinRegistry& r = Builtins();
    std::lock_guard lock(r.lock);
    r.commands[FoldName(name)] = std::move(command);
}

void UnregisterBuiltinCommand(const std::wstring& name)
{
    BuiltinRegistry& r = Builtins();
    std::lock_guard lock(r.lock);
    r.commands.erase(FoldName(name));
}

BuiltinCommand FindBuiltinCommand(std::wstring_view name)
{
    BuiltinRegistry& r = Builtins();
    std::lock_guard lock(r.lock);
    auto it = r.commands.find(FoldName(name));
    return it == r.commands.end() ? BuiltinCommand{} : it->second;
}

// ---- process objects -------------------------------------------------------------------

ProcessObject::ProcessObject(DWORD id, bool builtin)
    : KernelObject(KernelObjectType::Process), m_id(id), m_builtin(builtin)
{
}

DWORD ProcessObject::ExitCode() const
{
    auto lock = KernelLock();
    return m_exitCode;
}

std::shared_ptr<KernelObject> CurrentProcessObject()
{
    static auto* self = new std::shared_ptr<ProcessObject>(
        std::make_shared<ProcessObject>(static_cast<DWORD>(::getpid()), false));
    return *self;
}

} // namespace zyn::base

using namespace zyn::base;

BOOL CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
    BOOL, DWORD dwCreationFlags, LPVOID lpEnvironment, LPCWSTR lpCurrentDirectory, LPSTARTUPINFOW lpStartupInfo,
    LPPROCESS_INFORMATION lpProcessInformation)
{
    if (!lpProcessInformation || !lpStartupInfo || (!lpApplicationName && !lpCommandLine)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpProcessInformation = PROCESS_INFORMATION{};
    std::vector<std::wstring> words = SplitCommandLine(lpCommandLine ? lpCommandLine : L"");
    std::wstring program;
    bool searchPath;
    if (lpApplicationName && *lpApplicationName) {
        program = lpApplicationName;
        searchPath = false;
        if (words.empty())
            words.push_back(program);
    } else {
        if (words.empty() || words.front().empty()) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return FALSE;
        }
        program = words.front();
        searchPath = program.find(L'/') == std::wstring::npos;
    }

    const std::wstring base = ProgramBaseName(program);
    if (BuiltinCommand cmd = FindBuiltinCommand(base)) {
        std::vector<std::wstring> args(words.begin() + 1, words.end());
        return StartBuiltin(cmd, base, std::move(args), dwCreationFlags, lpProcessInformation);
    }

    StdHandles handles;
    if (lpStartupInfo->dwFlags & STARTF_USESTDHANDLES) {
        handles.use = true;
        handles.h[0] = lpStartupInfo->hStdInput;
        handles.h[1] = lpStartupInfo->hStdOutput;
        handles.h[2] = lpStartupInfo->hStdError;
    }
    return SpawnChild(program, searchPath, words, dwCreationFlags, lpEnvironment, lpCurrentDirectory, handles,
        lpProcessInformation);
}

BOOL CreateProcess(LPCWSTR lpApplicationName, LPWSTR lpCommandLine, LPSECURITY_ATTRIBUTES a, LPSECURITY_ATTRIBUTES t,
    BOOL bInheritHandles, DWORD dwCreationFlags, LPVOID lpEnvironment, LPCWSTR lpCurrentDirectory,
    LPSTARTUPINFOW lpStartupInfo, LPPROCESS_INFORMATION lpProcessInformation)
{
    return CreateProcessW(lpApplicationName, lpCommandLine, a, t, bInheritHandles, dwCreationFlags, lpEnvironment,
        lpCurrentDirectory, lpStartupInfo, lpProcessInformation);
}

BOOL GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode)
{
    auto p = GetKernelObjectAs<ProcessObject>(hProcess);
    if (!p)
        return FALSE;
    if (!lpExitCode) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpExitCode = p->ExitCode();
    return TRUE;
}

BOOL TerminateProcess(HANDLE hProcess, UINT uExitCode)
{
    auto p = GetKernelObjectAs<ProcessObject>(hProcess);
    if (!p)
        return FALSE;
    if (p == CurrentProcessObject()) {
        std::fflush(nullptr);
        ::_exit(static_cast<int>(uExitCode));
    }
    if (p->IsBuiltin()) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    auto lock = KernelLock();
    if (ProcessAccess::Ended(*p)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    // Not yet recorded as ended, so the child is at worst a zombie that the reaper has
    // not reaped: its pid is still its own.
    ProcessAccess::TerminateRequested(*p) = true;
    ProcessAccess::TerminateCode(*p) = uExitCode;
    if (::kill(ProcessAccess::Pid(*p), SIGKILL) != 0 && errno != ESRCH) {
        ProcessAccess::TerminateRequested(*p) = false;
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return TRUE;
}

DWORD GetProcessId(HANDLE Process)
{
    auto p = GetKernelObjectAs<ProcessObject>(Process);
    return p ? p->Id() : 0;
}

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }

DWORD GetCurrentProcessId() { return static_cast<DWORD>(::getpid()); }
