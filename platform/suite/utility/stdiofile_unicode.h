#pragma once
// The suite's Unicode text file: one line per WriteString, lines read back with
// ReadString. New files are UTF-16LE with a byte-order mark and CR LF line ends; reading
// accepts UTF-16LE (with or without the mark) and UTF-8 (with or without its mark), and
// strips the CR/LF line end. Appending to an existing file keeps that file's encoding.
// Reads and writes are buffered; Flush writes the buffer, FlushToDisk also syncs it. A
// long writer's data is sent towards the disk as it goes (every 256 KB), so that the
// final FlushToDisk waits only for the rest.

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/file.h"

class CStdioFileUnicode : public CFile {
public:
    enum class Encoding { Unknown, Utf16LE, Utf8 };

    CStdioFileUnicode();
    ~CStdioFileUnicode() override;

    BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
    void Close() override;
    void Flush() override;
    // Flushes the buffer and forces the file's data to disk.
    void FlushToDisk() override;

    // Writes the text followed by a line end. Throws CFileException on failure.
    void WriteString(LPCWSTR lpsz);
    // The same for a text of known length, written whole.
    void WriteLine(std::wstring_view text);
    // Reads the next line without its line end; FALSE at the end of the file.
    BOOL ReadString(CString& rString);
    // Whether the line ReadString returned last ended with a line end (LF, or a CR the
    // file ends with). Only the file's last line can lack one: a file cut short by a
    // crash, for instance.
    bool LastLineHadLineEnd() const { return m_lastLineEnded; }

    // How an existing file ended, for a writer about to append (EndWithWholeLine).
    enum class Tail {
        Whole,   // it ended with a line end (or was empty)
        Mended,  // a torn last line was cut off, or its missing LF after the CR written
        Shifted, // after the last line end come whole lines shifted by one byte: nothing done
        TooLong, // the part after the last line end is longer than one torn line can be: nothing done
    };
    // Makes the file end with a whole line before lines are appended, so that the next
    // line starts on a line of its own and, in UTF-16, on a whole code unit. A last line
    // without its line end (a crash, a failed cut-back on a full disk or an outside edit
    // cut the file short) is cut off; one that lacks only the LF after its CR (which a
    // reader takes as whole) gets it. Where cutting would take more than one torn line,
    // the file is left alone and Shifted or TooLong returned. *pCut gets the bytes cut.
    // Leaves the position at the end. Throws CFileException when the file cannot be read.
    Tail EndWithWholeLine(ULONGLONG maxTornBytes, ULONGLONG* pCut = nullptr);

    Encoding GetEncoding() const { return m_encoding; }
    // Lines whose bytes were not valid in the file's encoding (decoded with U+FFFD).
    uint32_t GetMalformedLineCount() const { return m_malformedLines; }

private:
    void DetectEncoding();
    void FlushWriteBuffer();
    // Starts the writing of the file's data to disk without waiting for it.
    void StartWriteBack();
    bool FillReadBuffer();

    Encoding m_encoding = Encoding::Unknown;
    bool m_detected = false;
    std::vector<uint8_t> m_writeBuf;
    size_t m_unsentBytes = 0; // written since the last StartWriteBack
    bool m_writeBack = true;  // false once the file refused it
    std::vector<uint8_t> m_readBuf;
    size_t m_readPos = 0;
    bool m_eof = false;
    uint32_t m_malformedLines = 0;
    bool m_lastLineEnded = true;
    UINT m_openFlags = 0;
};
