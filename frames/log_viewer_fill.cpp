// The log viewer's fill: the session list rebuilt from the file through the window-free
// reader, with the progress dialog, and the reader's members as the viewer offers them.
#include <algorithm>
#include <memory>
#include <string>

#include "frames/log_viewer.h"
#include "platform/base/exception.h"
#include "platform/suite/controls/progress_dlg.h"
#include "platform/suite/utility/logger.h"
#include "platform/suite/utility/result.h"
#include "resources/resource.h"

namespace {

// The reader's progress on the viewer's progress dialog.
class DialogProgress final : public zyn::frames::FillProgress {
public:
    explicit DialogProgress(LProgressDlg& dialog) : m_dialog(dialog) { m_format.LoadString(IDS_LOGVIEWER_PERCENT); }
    bool Canceled() override { return m_dialog.Canceled() != FALSE; }
    void SetPercent(int percent) override
    {
        CString status;
        status.FormatMessage(m_format.GetString(), percent);
        m_dialog.SetStatus(status);
        m_dialog.SetPos(percent);
    }

private:
    LProgressDlg& m_dialog;
    CString m_format;
};

} // namespace

void CDistLogViewer::FillList()
{
    EndWalk();
    m_bHasSessions = FALSE;
    if (!m_listLog.m_hWnd || !m_editLog.m_hWnd)
        return; // no window yet: nothing to fill
    m_editLog.SetWindowText(L"");
    m_listLog.DeleteAllItems();
    m_fileStatus = StatusOf(m_strLogFile);

    zyn::frames::FileLogSource source;
    if (!source.Open(m_strLogFile))
        return; // an empty list, no message: the title still names the file

    LProgressDlg progress(0, IDS_LOGVIEWER_PROGRESS);
    progress.AllowCancel(TRUE);
    progress.Modal(TRUE);
    progress.Create(this);
    progress.SetRange(0, 100);
    m_pProgressDlg = &progress;
    DialogProgress bridge(progress);
    const BOOL locked = m_listLog.LockWindowUpdate();

    zyn::frames::SessionLogReader reader(source);
    m_pReader = &reader;
    const auto addRow = [this](const zyn::frames::SessionRow& row) {
        // The list owns the row's object from here on, inserted or not.
        auto session = std::make_unique<CDistLogObject>(row.start, row.end);
        const int index =
            m_listLog.ZynInsertItem(-1, row.date, 0, reinterpret_cast<LPARAM>(session.release()));
        if (index >= 0 && !row.status.IsEmpty())
            m_listLog.ZynSetItem(index, 1, row.status);
    };
    const zyn::frames::FillOutcome outcome = reader.Fill(m_fileStatus.m_size, m_fileStatus.m_mtime, &bridge, addRow);
    m_pReader = nullptr;
    m_bHasSessions = outcome.sessions > 0;
    if (outcome.end == zyn::frames::FillEnd::kFailed)
        CLogger::LogError(CResult::FileError, L"LogViewer", __LINE__,
            (L"The session log was read only in part: " + outcome.message).GetString());

    if (locked)
        m_listLog.UnlockWindowUpdate();
    m_pProgressDlg = nullptr;
    progress.DestroyWindow();

    // The dates are wider than their heading: the columns fit what the fill brought.
    m_listLog.ResizeColumn(-1, TRUE, 0);
    const int count = m_listLog.GetItemCount();
    if (count > 0) {
        m_listLog.SelectItem(count - 1, TRUE);
        m_listLog.MakeSelectionsVisible();
    }
}

// ---- the reader's members ------------------------------------------------------------------------------------

namespace {
// The longest line GetLine hands out whole; its offsets give a longer one's true length.
constexpr uint64_t kMaxLineText = kMaxShownSessionBytes;
} // namespace

zyn::frames::SessionLogReader* CDistLogViewer::Reader()
{
    if (m_pReader)
        return m_pReader;
    if (!m_pWalkReader) {
        auto source = std::make_unique<zyn::frames::FileLogSource>();
        if (!source->Open(m_strLogFile))
            return nullptr;
        m_pWalkSource = std::move(source);
        m_pWalkReader = std::make_unique<zyn::frames::SessionLogReader>(*m_pWalkSource);
    }
    return m_pWalkReader.get();
}

void CDistLogViewer::EndWalk()
{
    m_pWalkReader.reset();
    m_pWalkSource.reset();
}

ULONGLONG CDistLogViewer::GetLine(CString& line)
{
    line.Empty();
    zyn::frames::SessionLogReader* reader = Reader();
    if (!reader)
        return zyn::frames::kLogEnd;
    const uint64_t start = reader->GetLine(m_line);
    if (m_line.length == 0)
        return start;
    // The reader keeps no text: the line's bytes are read again from the file.
    const uint64_t after = reader->Tell();
    zyn::frames::FileLogSource source;
    if (source.Open(m_strLogFile)) {
        std::string bytes(static_cast<size_t>(std::min(m_line.length, kMaxLineText)), '\0');
        try {
            bytes.resize(source.ReadAt(start, reinterpret_cast<uint8_t*>(bytes.data()), bytes.size()));
        } catch (CException* e) {
            e->Delete();
            bytes.clear();
        }
        line = zyn::frames::LogBytesToText(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    reader->Seek(after);
    return start;
}

ULONGLONG CDistLogViewer::GetStartPosition()
{
    zyn::frames::SessionLogReader* reader = Reader();
    return reader ? reader->GetStartPosition() : zyn::frames::kLogEnd;
}

BOOL CDistLogViewer::GetStartDate(CString& date)
{
    date.Empty();
    zyn::frames::SessionLogReader* reader = Reader();
    return reader ? reader->GetStartDate(date) : FALSE;
}

ULONGLONG CDistLogViewer::GetStatus(CString& status)
{
    zyn::frames::SessionLogReader* reader = Reader();
    if (!reader) {
        status = zyn::frames::kLogStatusUnknown;
        return zyn::frames::kLogEnd;
    }
    return reader->GetStatus(status);
}

BOOL CDistLogViewer::IsStartPosition(const CString& line) { return line.Find(L"STARTED") >= 0; }

BOOL CDistLogViewer::IsEndPosition(CString& line)
{
    zyn::frames::SessionLogReader* reader = Reader();
    if (line.Find(L"COMPLETED") < 0 || !reader)
        return FALSE;
    // The reader reads the closing line (and leaves a banner that opens the next session
    // to it); the caller gets that line's text.
    m_line.markers = zyn::frames::LogLine::kCompleted;
    const uint64_t before = reader->Tell();
    reader->IsEndPosition(m_line);
    const uint64_t after = reader->Tell();
    reader->Seek(before);
    GetLine(line);
    reader->Seek(after);
    return TRUE;
}
