#pragma once
// CDistLogViewer: the modeless window a host opens on a session log: the sessions of the
// log (date and status) on the left, the selected session's text on the right, a divider
// between them that the mouse drags, and commands to open another log, empty the log,
// print the shown session and close.
//
// The sessions come from the window-free reader (frames/session_log_reader.h): FillList
// runs a fill with a cancellable progress dialog and inserts one row per session, each
// owning a CDistLogObject with the session's byte range. Selecting a row reads those
// bytes (each byte one character; a NUL shown as U+2400, so nothing after it is lost)
// into the text box, whose lines are the session's lines since it scrolls sideways
// instead of wrapping.
//
// The log is read again after a change on disk, noticed on activation and on each
// selection: the file's modification time and size are compared with those recorded at
// the last fill (the size catches appends within the same second), and the operator is
// asked (message 11364) unless auto-load is on. The window's normal-position rectangle
// is kept in ACS.INI [LogViewer] "WindowPos" (written by DestroyWindow, read when the
// window opens). Printing hands the text box's lines to PrintLogLines (frames/log_print.h):
// every line whole, the last one left out only when it is empty.
#include <memory>

#include "frames/cfg_message.h"
#include "frames/log_list_ctl.h"
#include "frames/session_log_reader.h"
#include "platform/afx/ctlwrap_edit.h"
#include "platform/afx/dialog.h"
#include "platform/base/file.h"
#include "toolkit/skins/layout_manager.h"

class LProgressDlg;

// The viewer posts WM_ZYN_FILLLOGLIST (cfg_message.h, with the suite's other messages)
// to itself to fill the session list.

// The largest part of one session the text box is given; the rest is named in a note.
inline constexpr uint64_t kMaxShownSessionBytes = 64u << 20;

class CDistLogViewer : public CDialog {
    DECLARE_DYNAMIC(CDistLogViewer)
public:
    CDistLogViewer(LPCWSTR logFile, CWnd* pParent = nullptr);
    ~CDistLogViewer() override;

    BOOL GetAutoLoadLog() const { return m_bAutoLoad; }
    void SetAutoLoadLog(BOOL bAutoLoad) { m_bAutoLoad = bAutoLoad; }
    // TRUE from OnInitDialog until DestroyWindow, Exit or Cancel.
    BOOL IsCreated() const { return m_bCreated; }
    const CString& GetLogFilePath() const { return m_strLogFile; }
    // Saves the normal-position rectangle, then destroys the window.
    BOOL DestroyWindow() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Moves the window to the rectangle saved in ACS.INI (its own when none is) and shows it.
    void RestoreLogViewer();
    static CString RemoveTabs(const wchar_t* text);

    // ---- the reader -----------------------------------------------------------------------------
    // Rebuilds the session list from the file (see the header's opening).
    void FillList();
    // The members a fill walks the file with. During a fill they read through the fill's
    // reader; otherwise through a walk of their own that starts at the file's first byte
    // when first used (and again after each fill or change of file), answering as at the
    // end when the file cannot be opened. Offsets are 64-bit; kLogEnd (all bits set) is
    // the end. GetLine hands out at most kMaxShownSessionBytes of a line (its offsets tell
    // the whole length).
    ULONGLONG GetLine(CString& line);
    ULONGLONG GetStartPosition();
    BOOL GetStartDate(CString& date);
    ULONGLONG GetStatus(CString& status);
    static BOOL IsStartPosition(const CString& line);
    BOOL IsEndPosition(CString& line);

    // The reload check: TRUE when the list was filled again.
    BOOL CheckForChanges();
    // The whole text of a row's session for the text box (empty when it cannot be read).
    CString ReadSessionText(const CDistLogObject& session);

    // ---- handlers ---------------------------------------------------------------------------------
    afx_msg LRESULT OnItemchangedListview(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFillListBox(WPARAM wParam, LPARAM lParam);
    afx_msg void OnOpenLog();
    afx_msg void OnExitLog();
    afx_msg void OnPurgeLog();
    afx_msg void OnPrintSession();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CEdit m_editLog;
    CLogListCtl m_listLog;
    LProgressDlg* m_pProgressDlg = nullptr; // only during a fill
    COXLayoutManager m_layoutManager;
    CFile m_logFile;                         // open only while reading or emptying
    CFileStatus m_fileStatus{};              // as recorded at the last fill
    CString m_strLogFile;
    // The most of one session the text box is given (kMaxShownSessionBytes).
    uint64_t m_nMaxShownBytes = kMaxShownSessionBytes;
    BOOL m_bAutoLoad = FALSE;
    BOOL m_bCreated = FALSE;
    BOOL m_bDragging = FALSE;
    BOOL m_bHasSessions = FALSE;

private:
    // Sets neither a file nor the template.
    explicit CDistLogViewer(CWnd* pParent);

    void SetTitleFromPath();
    // The gap between the list and the text box, in client coordinates.
    CRect DividerGap() const;
    bool InDivider(CPoint point) const;
    void MoveDivider(int x);
    static CFileStatus StatusOf(const CString& path);

    // The fill's reader, else the walk's (made on first use); null when the file cannot be
    // opened.
    zyn::frames::SessionLogReader* Reader();
    void EndWalk();

    zyn::frames::SessionLogReader* m_pReader = nullptr; // only during a fill
    std::unique_ptr<zyn::frames::FileLogSource> m_pWalkSource;
    std::unique_ptr<zyn::frames::SessionLogReader> m_pWalkReader;
    zyn::frames::LogLine m_line;
    HICON m_hIconBig = nullptr;
    HICON m_hIconSmall = nullptr;
};
