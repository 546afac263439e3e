#pragma once
// CStdioFile: a buffered file with line-oriented text.
//
// Text mode (the default, or typeText): strings are narrowed through the ANSI code page
// (codepage.h) and widened back on reading; "\n" is written as "\r\n", and on reading
// "\r\n" becomes "\n" (a lone '\r' stays), for Read and Write as much as for the string
// functions. A character the code page cannot represent makes WriteString throw rather
// than write a substitute. Binary mode (typeBinary): strings are UTF-16LE, written and
// read as they are, and the line end is the one unit "\n".
//
// As in the class library, a file opened for writing without modeCreate, or with
// modeCreate | modeNoTruncate, appends every write at the end of the file.

#include <string>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/file.h"

class CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile();
    // Opens the file; throws CFileException when it cannot.
    CStdioFile(LPCWSTR lpszFileName, UINT nOpenFlags);
    ~CStdioFile() override;

    BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;

    // Writes the text as it is (no line end added).
    virtual void WriteString(LPCWSTR lpsz);
    // Reads up to nMax - 1 characters, stopping after a line end, which is kept. Null at
    // the end of the file when nothing was read.
    virtual LPWSTR ReadString(LPWSTR lpsz, UINT nMax);
    // Reads one line without its line end; FALSE at the end of the file.
    virtual BOOL ReadString(CString& rString);

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG dwNewLen) override;
    ULONGLONG GetPosition() const override;
    void LockRange(ULONGLONG dwPos, ULONGLONG dwCount) override;   // not supported
    void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount) override; // not supported
    void Flush() override;
    void Close() override;
    void Abort() override;
    CFile* Duplicate() const override;                            // not supported

    BOOL IsTextMode() const { return m_bText; }

private:
    enum class BufMode { None, Reading, Writing };

    // Makes at least n unread bytes available in the buffer when the file has them.
    bool Ensure(size_t n);
    int PeekByte();
    int GetByte();
    int GetTextByte();
    // One character in the current mode; false at the end of the file.
    bool GetChar(wchar_t& ch);
    void PutBytes(const char* p, size_t n);
    void PutTranslated(const char* p, size_t n);
    void FlushWrites();
    int FlushWritesNoThrow();
    void DropReadBuffer();

    std::vector<char> m_buf;
    size_t m_pos = 0;
    size_t m_len = 0;
    BufMode m_mode = BufMode::None;
    BOOL m_bText = TRUE;
    bool m_bAppend = false; // every write goes to the end of the file
};
