#include "platform/suite/utility/logger.h"
#include "platform/suite/utility/result.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string>

#include "platform/base/exception.h"
#include "platform/base/utf16.h"

namespace {

std::mutex g_logMutex;

std::filesystem::path LogDirPath()
{
    namespace fs = std::filesystem;
    if (const char* dir = std::getenv("ZYN_LOG_DIR"); dir && *dir)
        return fs::path(dir);
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state)
        return fs::path(state) / "zyn" / "logs";
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".local" / "state" / "zyn" / "logs";
    return fs::temp_directory_path() / "zyn-logs";
}

std::string Timestamp()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", tm.tm_year + 1900, tm.tm_mon + 1,
        tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ms));
    return buf;
}

// Appends one line (a newline is added) to the file; one write call, so concurrent
// processes appending to the same log do not interleave within the line.
bool AppendLine(const std::filesystem::path& path, const std::string& line)
{
    std::lock_guard lock(g_logMutex);
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::fprintf(stderr, "log: cannot open %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    std::string data = line;
    data.push_back('\n');
    size_t done = 0;
    bool ok = true;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "log: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    return ok;
}

std::string Utf8(LPCWSTR text) { return text ? zyn::base::ToUtf8(text) : std::string(); }

// The file name part of a source path, as the error log shows it.
std::string SourceName(LPCWSTR sourceFile)
{
    std::string s = Utf8(sourceFile);
    const auto slash = s.find_last_of("/\\");
    return slash == std::string::npos ? s : s.substr(slash + 1);
}

} // namespace

CString CLogger::GetLogDir()
{
    const auto dir = LogDirPath();
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return CString(zyn::base::FromUtf8(dir.string()).c_str());
}

CString CLogger::GetLogPath(LPCWSTR logFile)
{
    const std::string name = Utf8(logFile && *logFile ? logFile : ErrorLogName);
    if (name.find('/') != std::string::npos)
        return CString(logFile);
    return CString(zyn::base::FromUtf8((LogDirPath() / name).string()).c_str());
}

bool CLogger::LogError(LPCWSTR logFile, uint32_t resultCode, LPCWSTR sourceFile, int line, LPCWSTR message)
{
    return LogError(logFile, resultCode, sourceFile, line, message, nullptr);
}

bool CLogger::LogError(LPCWSTR logFile, uint32_t resultCode, LPCWSTR sourceFile, int line, LPCWSTR message,
    const CException* e)
{
    char head[64];
    std::snprintf(head, sizeof head, " [%d:%" PRId64 "] ERROR 0x%08X ", static_cast<int>(::getpid()),
        static_cast<int64_t>(::syscall(SYS_gettid)), resultCode);
    std::string text = Timestamp() + head + SourceName(sourceFile) + "(" + std::to_string(line) + "): " + Utf8(message);
    if (e) {
        const CString detail = e->GetMessageText();
        text += " [" + std::string(e->GetRuntimeClass()->m_lpszClassName);
        if (!detail.IsEmpty())
            text += ": " + Utf8(detail.GetString());
        text += "]";
    }
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return AppendLine(zyn::base::ToUtf8(GetLogPath(logFile).GetString()), text);
}

bool CLogger::LogError(uint32_t resultCode, LPCWSTR sourceFile, int line, LPCWSTR message)
{
    return LogError(ErrorLogName, resultCode, sourceFile, line, message, nullptr);
}

bool CLogger::LogRefusedProfileValue(LPCWSTR section, LPCWSTR entry, LPCWSTR reason)
{
    CString message;
    message.Format(L"The saved value [%s] %s was refused: %s. The default is used; the stored value is kept.",
        section ? section : L"", entry && *entry ? entry : L"(the section)", reason ? reason : L"it is damaged");
    return LogError(CResult::GeneralError, L"SavedState", 0, message.GetString());
}

bool CLogger::LogError(uint32_t resultCode, LPCWSTR sourceFile, int line, LPCWSTR message, const CException* e)
{
    return LogError(ErrorLogName, resultCode, sourceFile, line, message, e);
}

bool CLogger::LogDebug(LPCWSTR message) { return LogDebug(DiagnosticsLogName, message); }

bool CLogger::LogDebug(LPCWSTR logFile, LPCWSTR message)
{
    std::string text = Timestamp() + " " + Utf8(message);
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return AppendLine(zyn::base::ToUtf8(GetLogPath(logFile).GetString()), text);
}
