#include "platform/suite/utility/stdiofile_unicode.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/base/exception.h"
#include "platform/base/path.h"
#include "platform/base/utf16.h"

namespace {
constexpr size_t kBufferSize = 64 * 1024;
// Written data is sent on its way to the disk every this many bytes, so that a long
// writer's FlushToDisk at the end waits only for the last part.
constexpr size_t kWriteBackStep = 256 * 1024;
constexpr uint8_t kUtf16Bom[] = {0xFF, 0xFE};
constexpr uint8_t kUtf8Bom[] = {0xEF, 0xBB, 0xBF};
} // namespace

CStdioFileUnicode::CStdioFileUnicode() = default;

CStdioFileUnicode::~CStdioFileUnicode()
{
    // CFile's destructor would close without our buffer: write it first.
    if (m_hFile != hFileNull) {
        try {
            FlushWriteBuffer();
        } catch (CException* e) {
            e->Delete(); // a destructor cannot report; Close() is where callers see errors
        }
    }
}

BOOL CStdioFileUnicode::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    m_writeBuf.clear();
    m_unsentBytes = 0;
    m_writeBack = true;
    m_readBuf.clear();
    m_readPos = 0;
    m_eof = false;
    m_detected = false;
    m_encoding = Encoding::Unknown;
    m_malformedLines = 0;
    // Text mode flags belong to the narrow stdio file; this file is always binary.
    nOpenFlags &= ~static_cast<UINT>(typeText);
    if (!CFile::Open(lpszFileName, nOpenFlags | typeBinary, pError))
        return FALSE;
    m_openFlags = nOpenFlags;
    DetectEncoding();
    return TRUE;
}

void CStdioFileUnicode::DetectEncoding()
{
    m_detected = true;
    m_encoding = Encoding::Unknown; // an empty file: decided (UTF-16LE) by the first write
    // Peek at the head through a separate read-only stream: this file may be write-only.
    std::ifstream in(zyn::base::ToNativePath(GetFilePath().GetString()), std::ios::binary);
    uint8_t head[3] = {};
    in.read(reinterpret_cast<char*>(head), 3);
    const auto n = static_cast<size_t>(in.gcount());
    size_t markLength = 0;
    if (n >= 2 && head[0] == kUtf16Bom[0] && head[1] == kUtf16Bom[1]) {
        m_encoding = Encoding::Utf16LE;
        markLength = 2;
    } else if (n >= 3 && std::memcmp(head, kUtf8Bom, 3) == 0) {
        m_encoding = Encoding::Utf8;
        markLength = 3;
    } else if (n > 0) {
        // No mark: UTF-16LE text of this system starts with an ASCII character, whose
        // high byte is zero.
        m_encoding = (n >= 2 && head[1] == 0 && head[0] != 0) ? Encoding::Utf16LE : Encoding::Utf8;
    }
    // A reader starts after the mark.
    if (markLength && GetPosition() == 0 && (m_openFlags & (modeWrite | modeReadWrite)) != modeWrite)
        Seek(static_cast<LONGLONG>(markLength), begin);
}

void CStdioFileUnicode::WriteString(LPCWSTR lpsz)
{
    WriteLine(lpsz ? std::wstring_view(lpsz) : std::wstring_view());
}

void CStdioFileUnicode::WriteLine(std::wstring_view text)
{
    if (!m_readBuf.empty() && m_readPos < m_readBuf.size()) {
        // Move the file position back to where the reader stands before writing.
        Seek(-static_cast<LONGLONG>(m_readBuf.size() - m_readPos), current);
    }
    m_readBuf.clear();
    m_readPos = 0;
    if (m_encoding == Encoding::Unknown) {
        m_encoding = Encoding::Utf16LE;
        if (GetLength() == 0)
            m_writeBuf.insert(m_writeBuf.end(), std::begin(kUtf16Bom), std::end(kUtf16Bom));
    }
    if (m_encoding == Encoding::Utf16LE) {
        zyn::base::AppendUtf16LE(m_writeBuf, text);
        zyn::base::AppendUtf16LE(m_writeBuf, L"\r\n");
    } else {
        const std::string bytes = zyn::base::ToUtf8(text);
        m_writeBuf.insert(m_writeBuf.end(), bytes.begin(), bytes.end());
        m_writeBuf.push_back('\r');
        m_writeBuf.push_back('\n');
    }
    if (m_writeBuf.size() >= kBufferSize)
        FlushWriteBuffer();
}

void CStdioFileUnicode::FlushWriteBuffer()
{
    if (m_writeBuf.empty())
        return;
    // The buffer is emptied whether or not the write succeeds (a failed write's bytes
    // are gone either way), and keeps its storage for the lines that follow.
    struct Clear {
        std::vector<uint8_t>& buf;
        ~Clear() { buf.clear(); }
    } clear{m_writeBuf};
    CFile::Write(m_writeBuf.data(), static_cast<UINT>(m_writeBuf.size()));
    m_unsentBytes += m_writeBuf.size();
    if (m_unsentBytes >= kWriteBackStep) {
        m_unsentBytes = 0;
        StartWriteBack();
    }
}

void CStdioFileUnicode::StartWriteBack()
{
    // Only a hint, so a failure (a file system or file kind without it) is no error:
    // FlushToDisk still writes and waits for everything, and reports what fails there.
    if (!m_writeBack)
        return;
    if (::sync_file_range(Descriptor(), 0, 0, SYNC_FILE_RANGE_WRITE) != 0)
        m_writeBack = false;
}

bool CStdioFileUnicode::FillReadBuffer()
{
    if (m_eof)
        return false;
    if (m_readPos > 0) {
        m_readBuf.erase(m_readBuf.begin(), m_readBuf.begin() + static_cast<std::ptrdiff_t>(m_readPos));
        m_readPos = 0;
    }
    const size_t old = m_readBuf.size();
    m_readBuf.resize(old + kBufferSize);
    const UINT n = CFile::Read(m_readBuf.data() + old, static_cast<UINT>(kBufferSize));
    m_readBuf.resize(old + n);
    if (n == 0)
        m_eof = true;
    return n > 0;
}

BOOL CStdioFileUnicode::ReadString(CString& rString)
{
    rString.Empty();
    FlushWriteBuffer();
    if (!m_detected)
        DetectEncoding();
    const size_t unit = m_encoding == Encoding::Utf16LE ? 2 : 1;
    const auto isUnit = [&](size_t at, uint8_t ch) {
        return m_readBuf[at] == ch && (unit == 1 || m_readBuf[at + 1] == 0);
    };
    size_t scanned = 0; // bytes after m_readPos already searched for the line end
    for (;;) {
        // The next LF byte found by memchr; in UTF-16 it counts only as the low byte of a
        // whole unit whose high byte is zero.
        const size_t limit = m_readPos + (m_readBuf.size() - m_readPos) / unit * unit; // whole units
        size_t at = m_readPos + scanned;
        bool found = false;
        while (at < limit) {
            const void* lf = std::memchr(m_readBuf.data() + at, '\n', limit - at);
            if (!lf)
                break;
            at = static_cast<size_t>(static_cast<const uint8_t*>(lf) - m_readBuf.data());
            if ((at - m_readPos) % unit == 0 && isUnit(at, '\n')) {
                found = true;
                break;
            }
            ++at;
        }
        if (!found)
            at = limit;
        scanned = at - m_readPos;
        if (!found && FillReadBuffer())
            continue; // the buffer was compacted: m_readPos is 0 now, `scanned` still holds
        if (!found && m_readPos >= m_readBuf.size())
            return FALSE; // nothing left
        size_t end = found ? at : m_readBuf.size();
        const size_t next = found ? at + unit : m_readBuf.size();
        // Strip the CR before the LF (and a lone CR at the end of the file: a line ended
        // by it is whole). Only a whole unit can be that CR: a UTF-16 file that ends in an
        // odd byte ends in no CR.
        m_lastLineEnded = found;
        if (end >= m_readPos + unit && (end - m_readPos) % unit == 0 && isUnit(end - unit, '\r')) {
            end -= unit;
            m_lastLineEnded = true;
        }
        bool ok = true;
        const std::span<const uint8_t> bytes(m_readBuf.data() + m_readPos, end - m_readPos);
        // Decoded straight into the caller's string, whose storage serves line after line.
        if (unit == 2)
            zyn::base::AssignFromUtf16LE(rString.Str(), bytes, &ok);
        else
            rString.Str() =
                zyn::base::FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &ok);
        if (!ok)
            ++m_malformedLines;
        m_readPos = next;
        return TRUE;
    }
}

void CStdioFileUnicode::Flush()
{
    FlushWriteBuffer();
    CFile::Flush();
}

void CStdioFileUnicode::FlushToDisk()
{
    FlushWriteBuffer();
    CFile::FlushToDisk();
}

CStdioFileUnicode::Tail CStdioFileUnicode::EndWithWholeLine(ULONGLONG maxTornBytes, ULONGLONG* pCut)
{
    if (pCut)
        *pCut = 0;
    FlushWriteBuffer();
    m_readBuf.clear();
    m_readPos = 0;
    const ULONGLONG length = GetLength();
    if (length == 0)
        return Tail::Whole;
    if (!m_detected)
        DetectEncoding();
    const size_t unit = m_encoding == Encoding::Utf16LE ? 2 : 1;
    // Read through a stream of its own: this file may be write-only.
    std::ifstream in(zyn::base::ToNativePath(GetFilePath().GetString()), std::ios::binary);
    const auto readAt = [&](ULONGLONG at, uint8_t* to, size_t n) {
        in.seekg(static_cast<std::streamoff>(at));
        in.read(reinterpret_cast<char*>(to), static_cast<std::streamsize>(n));
        if (!in || static_cast<size_t>(in.gcount()) != n)
            CFileException::ThrowOsError(EIO, GetFilePath().GetString());
    };
    uint8_t head[3] = {};
    readAt(0, head, static_cast<size_t>(std::min<ULONGLONG>(length, 3)));
    ULONGLONG mark = 0;
    if (m_encoding == Encoding::Utf16LE && length >= 2 && head[0] == kUtf16Bom[0] && head[1] == kUtf16Bom[1])
        mark = 2;
    else if (m_encoding == Encoding::Utf8 && length >= 3 && std::memcmp(head, kUtf8Bom, 3) == 0)
        mark = 3;
    // Code units stand at even offsets in UTF-16 (its mark is two bytes): read backwards in
    // blocks that start on one, until the last LF unit turns up.
    const auto isUnit = [&](const std::vector<uint8_t>& b, size_t at, uint8_t ch) {
        return b[at] == ch && (unit == 1 || b[at + 1] == 0);
    };
    std::vector<uint8_t> tail; // the bytes from `start` to the end
    ULONGLONG start = length;
    ULONGLONG lineEnd = mark; // where the last whole line ends (the mark when none does)
    bool found = false;
    while (!found && start > mark && length - start <= maxTornBytes) {
        ULONGLONG from = start > mark + kBufferSize ? start - kBufferSize : mark;
        from -= (from - mark) % unit;
        std::vector<uint8_t> block(static_cast<size_t>(start - from));
        readAt(from, block.data(), block.size());
        tail.insert(tail.begin(), block.begin(), block.end());
        start = from;
        // The new block is tail[0, n); the units after it hold no LF. Keep the last one found.
        for (size_t at = 0; at < block.size() && at + unit <= tail.size(); at += unit) {
            if (isUnit(tail, at, '\n')) {
                lineEnd = start + at + unit;
                found = true;
            }
        }
    }
    if (lineEnd == length)
        return Tail::Whole;
    const ULONGLONG torn = length - lineEnd;
    if (!found && start > mark)
        return Tail::TooLong;
    if (torn > maxTornBytes)
        return Tail::TooLong;
    const size_t first = static_cast<size_t>(lineEnd - start); // the torn part within `tail`
    if (unit == 2) {
        // A CR LF at an odd offset: lines were appended after a tear of an odd byte count,
        // and cutting would take them too.
        for (size_t at = first + 1; at + 4 <= tail.size(); at += 2) {
            if (tail[at] == '\r' && tail[at + 1] == 0 && tail[at + 2] == '\n' && tail[at + 3] == 0)
                return Tail::Shifted;
        }
    }
    if (torn % unit == 0 && isUnit(tail, tail.size() - unit, '\r')) {
        // The line is whole; only the LF after its CR is missing.
        SeekToEnd();
        const uint8_t lf[2] = {'\n', 0};
        CFile::Write(lf, static_cast<UINT>(unit));
    } else {
        SetLength(lineEnd);
        if (pCut)
            *pCut = torn;
    }
    SeekToEnd();
    return Tail::Mended;
}

void CStdioFileUnicode::Close()
{
    if (m_hFile != hFileNull)
        FlushWriteBuffer();
    m_readBuf.clear();
    m_readPos = 0;
    CFile::Close();
}
