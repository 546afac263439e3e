#include "archive/restore_run.h"

#include "archive/archive_line.h"
#include "platform/afx/db/recordset.h"
#include "platform/base/exception.h"
#include "platform/suite/database/dynamic_recordset.h"
#include "platform/suite/utility/logger.h"
#include "platform/suite/utility/result.h"
#include "platform/suite/utility/stdiofile_unicode.h"

namespace zyn::archive {

namespace {

CString LinePreview(const CString& text)
{
    constexpr int kMax = 80;
    CString shown = EscapeArchiveText(text.GetLength() > kMax ? text.Left(kMax) : text);
    if (text.GetLength() > kMax)
        shown += L"...";
    return shown;
}

// A NUL as written (U+0000) or as the archive escape writes it (ESC '@'). An escape
// pair never begins at its own second character (the letters are 0x40-0x5F), so a
// plain search finds exactly the pairs that unescape to NUL.
bool HoldsNul(const CString& line)
{
    const wchar_t* p = line.GetString();
    const int n = line.GetLength();
    for (int i = 0; i < n; ++i) {
        if (p[i] == L'\0')
            return true;
        if (p[i] == CDynamicRecordset::EscapeChar && i + 1 < n && p[i + 1] == L'@')
            return true;
    }
    return false;
}

} // namespace

ArchiveRestoreRun::ArchiveRestoreRun(
    LPCWSTR lpszSource, ZynArchiveProgressProc pfnProgress, void* pContext, LONG nInterval)
    : m_strSource(lpszSource ? lpszSource : L"Archive"), m_pfnProgress(pfnProgress), m_pContext(pContext),
      m_nInterval(nInterval)
{
    if (m_pfnProgress && m_nInterval < 1)
        AfxThrowInvalidArgException(L"A restore progress callback needs an interval of at least 1.");
}

bool ArchiveRestoreRun::NextLine(CStdioFileUnicode& file, CString& line, BlankLines mode)
{
    m_pCurrentLine = nullptr;
    uint32_t malformedBefore = file.GetMalformedLineCount();
    while (file.ReadString(line)) {
        ++m_nLine;
        const bool malformed = file.GetMalformedLineCount() != malformedBefore;
        malformedBefore = file.GetMalformedLineCount();
        const bool ended = file.LastLineHadLineEnd();
        if (mode == BlankLines::TrimTrailingWhite)
            line.TrimRight();
        if (line.IsEmpty() && !malformed)
            continue;
        m_pCurrentLine = &line;
        if (malformed) {
            Skip(L"the line is not valid text in the file's encoding");
            continue;
        }
        if (!ended) {
            Skip(L"the file's last line has no line end: it is torn (the file was cut short)");
            continue;
        }
        if (HoldsNul(line)) {
            Skip(L"the line holds a NUL character, which no text column can store");
            continue;
        }
        return true;
    }
    m_pCurrentLine = nullptr;
    line.Empty();
    return false;
}

bool ArchiveRestoreRun::Progress()
{
    if (!m_pfnProgress || m_nCount <= m_nReported || m_nCount % m_nInterval != 0)
        return true;
    m_nReported = m_nCount;
    return m_pfnProgress(m_nCount, m_pContext);
}

void ArchiveRestoreRun::Log(LONG nLine, const CString& message, const CString* line)
{
    if (++m_nLogged > MaxLoggedLines)
        return;
    CString text;
    text.Format(L"Archive restore, line %d: %s.", static_cast<int>(nLine), message.GetString());
    if (line)
        text.AppendFormat(L" The line: %s", LinePreview(*line).GetString());
    CLogger::LogError(CResult::GeneralError, m_strSource.GetString(), static_cast<int>(nLine), text.GetString());
}

void ArchiveRestoreRun::Skip(LPCWSTR lpszReason)
{
    ++m_nSkipped;
    Log(m_nLine, CString(L"skipped: ") + (lpszReason ? lpszReason : L"not a row of this set"), m_pCurrentLine);
}

void ArchiveRestoreRun::SkipLine(LONG nLine, LPCWSTR lpszReason)
{
    ++m_nSkipped;
    Log(nLine, CString(L"skipped: ") + (lpszReason ? lpszReason : L"not a row of this set"),
        nLine == m_nLine ? m_pCurrentLine : nullptr);
}

void ArchiveRestoreRun::Duplicate(LONG nLine, const CString& identity)
{
    ++m_nDuplicates;
    Log(nLine, L"not restored again: the row (" + identity + L") is in the table already", nullptr);
}

void ArchiveRestoreRun::Finish()
{
    if (m_bFinished)
        return;
    m_bFinished = true;
    if (m_nSkipped == 0 && m_nDuplicates == 0)
        return;
    CString message;
    message.Format(L"Archive restore of %d line(s): %d row(s) restored, %d found restored already, %d line(s) "
                   L"skipped (malformed, torn, too long for their column or refused by the database).",
        static_cast<int>(m_nLine), static_cast<int>(m_nCount), static_cast<int>(m_nDuplicates),
        static_cast<int>(m_nSkipped));
    CLogger::LogError(CResult::GeneralError, m_strSource.GetString(), 0, message.GetString());
}

void OpenForRestore(CRecordset& set, bool bSelectNothing)
{
    if (set.IsOpen())
        return;
    if (bSelectNothing)
        set.m_strFilter = L"1=0";
    set.Open(static_cast<UINT>(-1), nullptr, 0);
}

void CloseAfterFailure(CRecordset& set)
{
    try {
        if (set.IsOpen())
            set.Close();
    } catch (CException* e) {
        CLogger::LogError(CResult::DatabaseError, L"Archive", __LINE__, L"A record set could not be closed after a failure.", e);
        e->Delete();
    }
}

bool FitsColumn(const CString& text, int nMax, int nField, LPCWSTR lpszColumn, CString& reason)
{
    if (nMax <= 0 || text.GetLength() <= nMax)
        return true;
    reason.Format(L"field %d (%s) has %d characters; its column holds %d", nField, lpszColumn, text.GetLength(), nMax);
    return false;
}

} // namespace zyn::archive
