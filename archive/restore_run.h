#pragma once
// One restore of an archive file: the lines read, the rows counted, the progress
// callback, and the lines and rows left out, each logged and counted.
//
// NextLine hands out the lines that may hold a row. It leaves out, logs and counts
// (Skipped) the lines that must never reach the table:
// - a line whose bytes are not valid text in the file's encoding (a lone surrogate, a
//   cut character): its text could only be stored with replacement characters;
// - the file's last line when it has no line end: a file cut short by a crash ends in
//   a torn line, and a torn line often still reads as a shorter, older layout of its
//   set, with the missing fields taken as defaults;
// - a line holding a NUL character, raw or escaped: no text column can store it, and
//   the database would cut the text there without a word.
// Blank lines are passed over (not counted).
//
// Rows are counted as inserted (CountRow), as found in the table already (Duplicate),
// or as refused (Refuse: left out by the restore's checks or by the database). The
// callback hears of the count at each whole multiple of the interval, once each.
// The first MaxLoggedLines lines left out are logged one by one, then only counted;
// Finish logs the totals.

#include "archive/zyn_archive_set.h"
#include "platform/base/cstring.h"

class CRecordset;
class CStdioFileUnicode;

namespace zyn::archive {

// Which lines count as blank.
enum class BlankLines {
    TrimTrailingWhite, // trailing white space is trimmed, then empty lines skipped
    OnlyEmpty,         // only lines empty as read are skipped; others are kept as read
};

class ArchiveRestoreRun {
public:
    // Lines left out are logged in full up to this many per run, then only counted.
    static constexpr LONG MaxLoggedLines = 20;

    // lpszSource names the set in the error log ("LogEvent"). A callback with an
    // interval below 1 raises CInvalidArgException (nothing has been read then); an
    // interval without a callback is ignored.
    ArchiveRestoreRun(LPCWSTR lpszSource, ZynArchiveProgressProc pfnProgress, void* pContext, LONG nInterval);

    // The next line that may hold a row (see above); false at the end of the file.
    // Skip quotes the line, so keep it unchanged until the next call.
    bool NextLine(CStdioFileUnicode& file, CString& line, BlankLines mode);
    // 1-based number of the line NextLine returned last, counting every line.
    LONG LineNumber() const { return m_nLine; }

    // One row restored.
    void CountRow() { ++m_nCount; }
    // Calls the callback when one is given and the count is a whole multiple of the
    // interval not reported yet; false when the callback asks to stop.
    bool Progress();
    // Logs the current line as left out, with the reason, and counts it.
    void Skip(LPCWSTR lpszReason);
    // Logs an earlier line (its number) as left out, with the reason, and counts it.
    void SkipLine(LONG nLine, LPCWSTR lpszReason);
    // Counts the row of a line as found in the table already (logged like a skip).
    void Duplicate(LONG nLine, const CString& identity);
    // Logs how many lines were left out when there were any. Call once at the end.
    void Finish();

    LONG Count() const { return m_nCount; }
    LONG Skipped() const { return m_nSkipped; }
    LONG Duplicates() const { return m_nDuplicates; }
    const CString& Source() const { return m_strSource; }

private:
    void Log(LONG nLine, const CString& message, const CString* line);

    CString m_strSource;
    ZynArchiveProgressProc m_pfnProgress;
    void* m_pContext;
    LONG m_nInterval;
    LONG m_nLine = 0;
    LONG m_nCount = 0;
    LONG m_nSkipped = 0;
    LONG m_nDuplicates = 0;
    LONG m_nLogged = 0;
    LONG m_nReported = 0;
    bool m_bFinished = false;
    const CString* m_pCurrentLine = nullptr;
};

// Opens a set for a restore when it is not open (Open(-1, null, 0)); with bSelectNothing
// its filter becomes "1=0" first, so opening reads no rows.
void OpenForRestore(CRecordset& set, bool bSelectNothing);

// Closes a set after a failure without letting a second failure hide the first (it is
// logged instead).
void CloseAfterFailure(CRecordset& set);

// Checks a text for its column: false, with the reason naming the field and column,
// when it is longer than nMax characters (nMax 0: no limit known).
bool FitsColumn(const CString& text, int nMax, int nField, LPCWSTR lpszColumn, CString& reason);

} // namespace zyn::archive
