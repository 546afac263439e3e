// CStdioFile: our own buffer over CFile, with the text-mode translations.
#include "platform/base/stdiofile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "platform/base/codepage.h"
#include "platform/base/exception.h"
#include "platform/base/utf16.h"

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace {

constexpr size_t kBufSize = 4096;

// Length of the UTF-8 sequence a lead byte starts (1 for a stray byte).
size_t Utf8SequenceLength(unsigned char c)
{
    if (c < 0x80)
        return 1;
    if ((c >> 5) == 0x6)
        return 2;
    if ((c >> 4) == 0xE)
        return 3;
    if ((c >> 3) == 0x1E)
        return 4;
    return 1;
}

} // namespace

CStdioFile::CStdioFile() : m_buf(kBufSize) {}

CStdioFile::CStdioFile(LPCWSTR lpszFileName, UINT nOpenFlags) : CStdioFile()
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        throw new CFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFile::~CStdioFile()
{
    // Buffered text is written out here, while this class still exists; a failure
    // cannot be reported from a destructor (Close reports it).
    if (Descriptor() >= 0 && m_bCloseOnDelete)
        FlushWritesNoThrow();
}

BOOL CStdioFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (Descriptor() >= 0)
        Abort();
    m_pos = m_len = 0;
    m_mode = BufMode::None;
    m_bText = (nOpenFlags & typeBinary) ? FALSE : TRUE;
    const bool create = (nOpenFlags & modeCreate) != 0;
    const bool append = (create && (nOpenFlags & modeNoTruncate)) || (!create && (nOpenFlags & 3) == modeWrite);
    if (!CFile::Open(lpszFileName, nOpenFlags & ~static_cast<UINT>(typeText | typeBinary), pError))
        return FALSE;
    m_bAppend = append;
    if (append) {
        const int fl = ::fcntl(Descriptor(), F_GETFL);
        if (fl < 0 || ::fcntl(Descriptor(), F_SETFL, fl | O_APPEND) != 0) {
            const int err = errno;
            CFile::Abort();
            if (pError) {
                pError->m_cause = CFileException::OsErrorToException(err);
                pError->m_lOsError = err;
                pError->m_strFileName = lpszFileName;
            }
            return FALSE;
        }
    }
    return TRUE;
}

// ---- buffer --------------------------------------------------------------------------------

bool CStdioFile::Ensure(size_t n)
{
    if (m_mode == BufMode::Writing)
        FlushWrites();
    if (m_mode != BufMode::Reading)
        m_pos = m_len = 0;
    m_mode = BufMode::Reading;
    if (m_len - m_pos >= n)
        return true;
    // Keep the unread bytes at the front, then fill the rest of the buffer.
    std::copy(m_buf.data() + m_pos, m_buf.data() + m_len, m_buf.data());
    m_len -= m_pos;
    m_pos = 0;
    m_len += CFile::Read(m_buf.data() + m_len, static_cast<UINT>(m_buf.size() - m_len));
    return m_len - m_pos >= n;
}

int CStdioFile::PeekByte()
{
    if (!Ensure(1))
        return -1;
    return static_cast<unsigned char>(m_buf[m_pos]);
}

int CStdioFile::GetByte()
{
    const int c = PeekByte();
    if (c >= 0)
        ++m_pos;
    return c;
}

int CStdioFile::GetTextByte()
{
    const int c = GetByte();
    if (c == '\r' && PeekByte() == '\n') {
        ++m_pos;
        return '\n';
    }
    return c;
}

bool CStdioFile::GetChar(wchar_t& ch)
{
    if (!m_bText) {
        if (!Ensure(1))
            return false;
        if (!Ensure(2)) {
            m_pos = m_len; // an odd byte at the end
            ch = 0xFFFD;
            return true;
        }
        auto unitAt = [this](size_t i) {
            return static_cast<char16_t>(static_cast<unsigned char>(m_buf[i]) |
                                         (static_cast<unsigned char>(m_buf[i + 1]) << 8));
        };
        const char16_t unit = unitAt(m_pos);
        m_pos += 2;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (Ensure(2)) {
                const char16_t low = unitAt(m_pos);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    m_pos += 2;
                    ch = static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                    return true;
                }
            }
            ch = 0xFFFD; // a high half without its low half
            return true;
        }
        ch = (unit >= 0xDC00 && unit <= 0xDFFF) ? 0xFFFD : static_cast<wchar_t>(unit);
        return true;
    }
    const int c = GetTextByte();
    if (c < 0)
        return false;
    if (c < 0x80) {
        ch = static_cast<wchar_t>(c);
        return true;
    }
    std::string bytes(1, static_cast<char>(c));
    if (GetACP() == CP_UTF8) {
        const size_t len = Utf8SequenceLength(static_cast<unsigned char>(c));
        while (bytes.size() < len) {
            const int p = PeekByte();
            if (p < 0x80 || p > 0xBF)
                break;
            bytes.push_back(static_cast<char>(GetByte()));
        }
    }
    const std::wstring w = zyn::base::AnsiToWide(bytes);
    ch = w.empty() ? 0xFFFD : w[0];
    return true;
}

void CStdioFile::DropReadBuffer()
{
    if (m_mode == BufMode::Reading) {
        const size_t unread = m_len - m_pos;
        m_pos = m_len = 0;
        m_mode = BufMode::None;
        if (unread)
            CFile::Seek(-static_cast<LONGLONG>(unread), current);
    }
}

void CStdioFile::PutBytes(const char* p, size_t n)
{
    CheckOpen();
    if (m_mode == BufMode::Reading)
        DropReadBuffer();
    m_mode = BufMode::Writing;
    while (n > 0) {
        if (m_len == m_buf.size())
            FlushWrites();
        m_mode = BufMode::Writing;
        const size_t k = std::min(n, m_buf.size() - m_len);
        std::copy(p, p + k, m_buf.data() + m_len);
        m_len += k;
        p += k;
        n -= k;
    }
}

void CStdioFile::PutTranslated(const char* p, size_t n)
{
    if (!m_bText) {
        PutBytes(p, n);
        return;
    }
    size_t start = 0;
    for (size_t i = 0; i < n; ++i) {
        if (p[i] == '\n') {
            PutBytes(p + start, i - start);
            PutBytes("\r\n", 2);
            start = i + 1;
        }
    }
    PutBytes(p + start, n - start);
}

void CStdioFile::FlushWrites()
{
    if (m_mode != BufMode::Writing)
        return;
    const size_t n = m_len;
    m_len = m_pos = 0;
    m_mode = BufMode::None;
    if (n)
        CFile::Write(m_buf.data(), static_cast<UINT>(n));
}

int CStdioFile::FlushWritesNoThrow()
{
    if (m_mode != BufMode::Writing || Descriptor() < 0)
        return 0;
    const char* p = m_buf.data();
    size_t n = m_len;
    m_len = m_pos = 0;
    m_mode = BufMode::None;
    while (n > 0) {
        const ssize_t w = ::write(Descriptor(), p, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return 0;
}

// ---- CFile interface ---------------------------------------------------------------------------

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    CheckOpen();
    if (nCount == 0)
        return 0;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    auto* out = static_cast<char*>(lpBuf);
    UINT done = 0;
    if (m_bText) {
        while (done < nCount) {
            const int c = GetTextByte();
            if (c < 0)
                break;
            out[done++] = static_cast<char>(c);
        }
        return done;
    }
    while (done < nCount) {
        if (!Ensure(1))
            break;
        const size_t k = std::min<size_t>(nCount - done, m_len - m_pos);
        std::copy(m_buf.data() + m_pos, m_buf.data() + m_pos + k, out + done);
        m_pos += k;
        done += static_cast<UINT>(k);
    }
    return done;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    CheckOpen();
    if (nCount == 0)
        return;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    PutTranslated(static_cast<const char*>(lpBuf), nCount);
}

void CStdioFile::WriteString(LPCWSTR lpsz)
{
    CheckOpen();
    if (!lpsz)
        AfxThrowInvalidArgException();
    const std::wstring_view text(lpsz);
    if (!m_bText) {
        const std::vector<uint8_t> bytes = zyn::base::ToUtf16LE(text);
        PutBytes(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return;
    }
    std::string narrow;
    if (GetACP() == CP_UTF8) {
        narrow = zyn::base::ToUtf8(text);
    } else if (!text.empty()) {
        if (text.size() > static_cast<size_t>(INT_MAX))
            AfxThrowInvalidArgException();
        const int len = static_cast<int>(text.size());
        BOOL usedDefault = FALSE;
        const int n = WideCharToMultiByte(CP_ACP, 0, lpsz, len, nullptr, 0, nullptr, &usedDefault);
        if (n > 0 && !usedDefault) {
            narrow.resize(static_cast<size_t>(n));
            WideCharToMultiByte(CP_ACP, 0, lpsz, len, narrow.data(), n, nullptr, &usedDefault);
        }
        if (n <= 0 || usedDefault)
            throw new CFileException(CFileException::genericException, EILSEQ, m_strFileName);
    }
    PutTranslated(narrow.data(), narrow.size());
}

LPWSTR CStdioFile::ReadString(LPWSTR lpsz, UINT nMax)
{
    CheckOpen();
    if (!lpsz)
        AfxThrowInvalidArgException();
    if (nMax == 0)
        return nullptr;
    UINT n = 0;
    bool any = false;
    while (n + 1 < nMax) {
        wchar_t ch;
        if (!GetChar(ch))
            break;
        any = true;
        lpsz[n++] = ch;
        if (ch == L'\n')
            break;
    }
    lpsz[n] = L'\0';
    return any || nMax == 1 ? lpsz : nullptr;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    CheckOpen();
    rString.Empty();
    bool any = false;
    if (m_bText) {
        std::string line;
        for (int c; (c = GetTextByte()) >= 0;) {
            any = true;
            if (c == '\n')
                break;
            line.push_back(static_cast<char>(c));
        }
        if (!line.empty())
            rString = CString(zyn::base::AnsiToWide(line));
        return any ? TRUE : FALSE;
    }
    std::wstring line;
    wchar_t ch;
    while (GetChar(ch)) {
        any = true;
        if (ch == L'\n')
            break;
        line.push_back(ch);
    }
    rString = CString(std::move(line));
    return any ? TRUE : FALSE;
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    CheckOpen();
    FlushWrites();
    if (m_mode == BufMode::Reading) {
        if (nFrom == current)
            lOff -= static_cast<LONGLONG>(m_len - m_pos);
        m_pos = m_len = 0;
        m_mode = BufMode::None;
    }
    return CFile::Seek(lOff, nFrom);
}

ULONGLONG CStdioFile::GetLength() const
{
    // Pending writes count: the file is as long as what was written so far.
    const ULONGLONG onDisk = CFile::GetLength();
    if (m_mode != BufMode::Writing)
        return onDisk;
    if (m_bAppend)
        return onDisk + m_len;
    const ULONGLONG end = CFile::GetPosition() + m_len;
    return std::max(onDisk, end);
}

void CStdioFile::SetLength(ULONGLONG dwNewLen)
{
    CheckOpen();
    FlushWrites();
    DropReadBuffer();
    CFile::SetLength(dwNewLen);
}

ULONGLONG CStdioFile::GetPosition() const
{
    const ULONGLONG pos = CFile::GetPosition();
    if (m_mode == BufMode::Reading)
        return pos - (m_len - m_pos);
    if (m_mode == BufMode::Writing)
        return (m_bAppend ? CFile::GetLength() : pos) + m_len;
    return pos;
}

void CStdioFile::LockRange(ULONGLONG, ULONGLONG) { AfxThrowNotSupportedException(); }
void CStdioFile::UnlockRange(ULONGLONG, ULONGLONG) { AfxThrowNotSupportedException(); }

void CStdioFile::Flush()
{
    if (Descriptor() < 0)
        return;
    FlushWrites();
}

void CStdioFile::Close()
{
    int err = 0;
    if (Descriptor() >= 0)
        err = FlushWritesNoThrow();
    m_pos = m_len = 0;
    m_mode = BufMode::None;
    const CString name = m_strFileName;
    CFile::Close(); // throws on a failed close
    if (err)
        throw new CFileException(CFileException::OsErrorToException(err), err, name);
}

void CStdioFile::Abort()
{
    m_pos = m_len = 0;
    m_mode = BufMode::None;
    CFile::Abort();
}

CFile* CStdioFile::Duplicate() const { AfxThrowNotSupportedException(); }
