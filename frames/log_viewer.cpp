// The log viewer's window: creation, layout, the divider, the commands and the session
// shown. The fill and the reader's members are in log_viewer_fill.cpp.
#include "frames/log_viewer.h"

#include <algorithm>
#include <vector>

#include "frames/log_print.h"
#include "frames/main_frame_state.h"
#include "platform/afx/ddx.h"
#include "platform/afx/filedlg.h"
#include "platform/afx/printdlg.h"
#include "platform/base/exception.h"
#include "platform/base/inifile.h"
#include "platform/base/resource.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/suite/utility/logger.h"
#include "platform/suite/utility/result.h"
#include "platform/user/winuser.h"
#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CDistLogViewer, CDialog)

BEGIN_MESSAGE_MAP(CDistLogViewer, CDialog)
    ON_MESSAGE(WM_ZYN_LISTITEMCHANGED, &CDistLogViewer::OnItemchangedListview)
    ON_MESSAGE(WM_ZYN_FILLLOGLIST, &CDistLogViewer::OnFillListBox)
    ON_COMMAND(ID_LOGVIEWER_OPEN, &CDistLogViewer::OnOpenLog)
    ON_COMMAND(ID_LOGVIEWER_EXIT, &CDistLogViewer::OnExitLog)
    ON_COMMAND(ID_LOGVIEWER_PURGE, &CDistLogViewer::OnPurgeLog)
    ON_COMMAND(ID_LOGVIEWER_PRINT, &CDistLogViewer::OnPrintSession)
    ON_WM_ACTIVATE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr const wchar_t* kIniFile = L"ACS.INI";
constexpr const wchar_t* kIniSection = L"LogViewer";
constexpr const wchar_t* kIniKey = L"WindowPos";
constexpr const wchar_t* kOpenFilter = L"Log Files (*.log)|*.log|All Files (*.*)|*.*||";
// How close to its window's edges the divider may come.
constexpr int kDividerLeftMargin = 10;
constexpr int kDividerRightMargin = 15;

// One activation check at a time in the whole process: the question box's own
// activation changes must not start a second one.
bool g_activationCheckRunning = false;

CString LoadText(UINT nID)
{
    CString text;
    text.LoadString(nID);
    return text;
}

} // namespace

CDistLogViewer::CDistLogViewer(LPCWSTR logFile, CWnd* pParent)
    : CDialog(IDD_LOGVIEWER, pParent), m_strLogFile(logFile ? logFile : L"")
{
    m_fileStatus = StatusOf(m_strLogFile);
    // The rows own their sessions' objects from the first row on.
    m_listLog.SetLparamFreeFunc(&ZynFreeCObject);
}

CDistLogViewer::CDistLogViewer(CWnd* pParent) : CDialog()
{
    m_pParentWnd = pParent;
    m_listLog.SetLparamFreeFunc(&ZynFreeCObject);
}

CDistLogViewer::~CDistLogViewer()
{
    m_layoutManager.Detach();
    if (m_hWnd)
        DestroyWindow();
}

CFileStatus CDistLogViewer::StatusOf(const CString& path)
{
    CFileStatus status{};
    if (path.IsEmpty() || !CFile::GetStatus(path, status))
        status = CFileStatus{};
    return status;
}

void CDistLogViewer::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LOGVIEWER_TEXT, m_editLog);
    DDX_Control(pDX, IDC_LOGVIEWER_LIST, m_listLog);
}

void CDistLogViewer::SetTitleFromPath() { SetWindowText(LoadText(IDS_LOGVIEWER_TITLE) + m_strLogFile); }

BOOL CDistLogViewer::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_bCreated = TRUE;
    RestoreLogViewer();

    // The window's own icons: the dialog class is shared by every dialog of the process,
    // so its class icon is left alone.
    const HINSTANCE inst = AfxFindResourceHandle(MAKEINTRESOURCEW(IDI_LOGVIEWER), RT_GROUP_ICON);
    m_hIconBig = static_cast<HICON>(::LoadImageW(inst, MAKEINTRESOURCEW(IDI_LOGVIEWER), IMAGE_ICON,
        ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    m_hIconSmall = static_cast<HICON>(::LoadImageW(inst, MAKEINTRESOURCEW(IDI_LOGVIEWER), IMAGE_ICON,
        ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    if (m_hIconBig)
        SetIcon(m_hIconBig, TRUE);
    if (m_hIconSmall)
        SetIcon(m_hIconSmall, FALSE);

    SetTitleFromPath();

    m_listLog.SetLparamFreeFunc(&ZynFreeCObject);
    m_listLog.ZynSetImageList(IDB_LOGVIEWER_LIST, 0);
    m_listLog.InsertColumn(0, LoadText(IDS_LOGVIEWER_COLUMN_DATE), LVCFMT_LEFT);
    m_listLog.InsertColumn(1, LoadText(IDS_LOGVIEWER_COLUMN_STATUS), LVCFMT_LEFT);
    m_listLog.ResizeColumn(-1, TRUE, 0);

    using L = COXLayoutManager;
    m_layoutManager.Attach(this);
    m_layoutManager.AddAllChildren();
    m_layoutManager.SetConstraint(IDC_LOGVIEWER_LIST, L::sideLeft, L::typeSame, 5, 0);
    m_layoutManager.SetConstraint(IDC_LOGVIEWER_LIST, L::sideTop, L::typeSame, 5, 0);
    m_layoutManager.SetConstraint(IDC_LOGVIEWER_LIST, L::sideRight, L::typeFraction, 30, 0);
    m_layoutManager.SetConstraint(IDC_LOGVIEWER_LIST, L::sideBottom, L::typeSame, -5, 0);
    m_layoutManager.SetConstraint(IDC_LOGVIEWER_TEXT, L::sideLeft, L::typeOpposite, 5, IDC_LOGVIEWER_LIST);
    m_layoutManager.SetConstraint(IDC_LOGVIEWER_TEXT, L::sideTop, L::typeSame, 5, 0);
    m_layoutManager.SetConstraint(IDC_LOGVIEWER_TEXT, L::sideRight, L::typeSame, -5, 0);
    m_layoutManager.SetConstraint(IDC_LOGVIEWER_TEXT, L::sideBottom, L::typeSame, -5, 0);
    m_layoutManager.RedrawLayout();

    // The list is filled once the window has appeared.
    PostMessage(WM_ZYN_FILLLOGLIST);
    return TRUE;
}

void CDistLogViewer::RestoreLogViewer()
{
    RECT saved{};
    // Stored as the window placement gives it; none kept, or a rectangle refused as
    // damaged, leaves the template's place and size.
    if (!::GetPrivateProfileStructW(kIniSection, kIniKey, &saved, sizeof saved, kIniFile)) {
        wchar_t raw[4] = {};
        if (::GetPrivateProfileStringW(kIniSection, kIniKey, L"", raw, 4, kIniFile) > 0)
            CLogger::LogRefusedProfileValue(kIniSection, kIniKey, L"not a saved rectangle (its length or checksum)");
    } else {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        const std::optional<RECT> rect = zyn::frames::CheckSavedWindowRect(saved, kIniSection, kIniKey);
        if (rect && GetWindowPlacement(&placement)) {
            // Read back in the same coordinates; one lying on no monitor comes onto the nearest
            // work area.
            placement.rcNormalPosition = *rect;
            placement.showCmd = IsWindowVisible() ? SW_SHOWNORMAL : SW_HIDE;
            SetWindowPlacement(&placement);
        }
    }
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

BOOL CDistLogViewer::DestroyWindow()
{
    m_bCreated = FALSE;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (m_hWnd && GetWindowPlacement(&placement))
        ::WritePrivateProfileStructW(kIniSection, kIniKey, &placement.rcNormalPosition, sizeof(RECT), kIniFile);
    return CDialog::DestroyWindow();
}

void CDistLogViewer::OnDestroy()
{
    CDialog::OnDestroy();
    // The window draws nothing more: its icons can go.
    for (HICON* icon : {&m_hIconBig, &m_hIconSmall}) {
        if (*icon)
            ::DestroyIcon(*icon);
        *icon = nullptr;
    }
}

void CDistLogViewer::OnOK()
{
    // Enter in the text box or list does not close the viewer; Exit does.
}

// Ending a modeless dialog leaves its window to the host (which sees IsCreated() turn
// FALSE and destroys it); it is hidden meanwhile, so the command shows its effect.
void CDistLogViewer::OnExitLog()
{
    m_bCreated = FALSE;
    CDialog::OnOK();
    if (m_hWnd)
        ShowWindow(SW_HIDE);
}

void CDistLogViewer::OnCancel()
{
    m_bCreated = FALSE;
    CDialog::OnCancel();
    if (m_hWnd)
        ShowWindow(SW_HIDE);
}

CString CDistLogViewer::RemoveTabs(const wchar_t* text) { return zyn::frames::RemoveLogTabs(text); }

// ---- change on disk ------------------------------------------------------------------------------------------

BOOL CDistLogViewer::CheckForChanges()
{
    const CFileStatus now = StatusOf(m_strLogFile);
    if (now.m_mtime == m_fileStatus.m_mtime && now.m_size == m_fileStatus.m_size)
        return FALSE;
    m_fileStatus = now;
    CString caption;
    GetWindowText(caption);
    if (m_bAutoLoad || MessageBox(LoadText(IDS_LOGVIEWER_RELOAD), caption, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        FillList();
        return TRUE;
    }
    return FALSE;
}

void CDistLogViewer::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CDialog::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE || g_activationCheckRunning)
        return;
    g_activationCheckRunning = true;
    try {
        CheckForChanges();
    } catch (...) {
        g_activationCheckRunning = false;
        throw;
    }
    g_activationCheckRunning = false;
}

// ---- the session shown ---------------------------------------------------------------------------------------

CString CDistLogViewer::ReadSessionText(const CDistLogObject& session)
{
    CString text;
    if (session.m_end <= session.m_start)
        return text;
    if (!m_logFile.Open(m_strLogFile, CFile::modeRead | CFile::shareDenyNone))
        return text;
    const uint64_t length = session.m_end - session.m_start;
    const uint64_t wanted = std::min<uint64_t>(length, m_nMaxShownBytes);
    std::vector<uint8_t> bytes(static_cast<size_t>(wanted));
    size_t got = 0;
    try {
        m_logFile.Seek(static_cast<LONGLONG>(session.m_start), CFile::begin);
        while (got < bytes.size()) {
            const UINT chunk = static_cast<UINT>(std::min<size_t>(bytes.size() - got, 1u << 20));
            const UINT n = m_logFile.Read(bytes.data() + got, chunk);
            if (n == 0)
                break; // the file is shorter now: what is there is shown
            got += n;
        }
    } catch (CException* e) {
        CLogger::LogError(CResult::FileError, L"LogViewer", __LINE__, L"The session could not be read.", e);
        e->Delete();
    }
    m_logFile.Close();
    text = zyn::frames::LogBytesToText(bytes.data(), got);
    // A NUL would end the text box's text there: it shows as the symbol for NUL.
    text.Replace(L'\0', L'\x2400');
    if (wanted < length && got == wanted) {
        CString rest;
        rest.Format(L"%I64u", static_cast<ULONGLONG>(length - wanted));
        CString note;
        note.FormatMessage(IDS_LOGVIEWER_NOT_SHOWN, rest.GetString());
        text += L"\r\n" + note;
    }
    return text;
}

LRESULT CDistLogViewer::OnItemchangedListview(WPARAM, LPARAM lParam)
{
    const int row = static_cast<int>(lParam);
    m_editLog.SetWindowText(L"");
    if (CheckForChanges())
        m_listLog.SelectItem(row, TRUE);
    if (row != -1 && row < m_listLog.GetItemCount()) {
        if (const auto* session = reinterpret_cast<const CDistLogObject*>(m_listLog.GetItemData(row)))
            m_editLog.SetWindowText(ReadSessionText(*session));
    }
    return 0;
}

LRESULT CDistLogViewer::OnFillListBox(WPARAM, LPARAM)
{
    FillList();
    return 0;
}

// ---- commands ------------------------------------------------------------------------------------------------

void CDistLogViewer::OnOpenLog()
{
    CFileDialog dialog(
        TRUE, L"LOG", nullptr, OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_FILEMUSTEXIST, kOpenFilter, this);
    const CString folder = CLogger::GetLogDir();
    dialog.m_ofn.lpstrInitialDir = folder.GetString();
    if (dialog.DoModal() != IDOK)
        return;
    m_strLogFile = dialog.GetPathName();
    EndWalk();
    SetTitleFromPath();
    FillList();
}

void CDistLogViewer::OnPurgeLog()
{
    CString caption;
    GetWindowText(caption);
    if (MessageBox(LoadText(IDS_LOGVIEWER_PURGE), caption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    CFileException error;
    try {
        if (!m_logFile.Open(m_strLogFile, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone, &error))
            AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName.GetString());
        m_logFile.Close();
    } catch (CException* e) {
        // The framework's own box for the failure; the list keeps what it showed.
        m_logFile.Abort();
        e->ReportError();
        e->Delete();
        return;
    }
    FillList();
}

void CDistLogViewer::OnPrintSession()
{
    CPrintDialog dialog(
        FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE | PD_NOSELECTION, this);
    if (dialog.DoModal() != IDOK)
        return;
    HDC hdc = dialog.GetPrinterDC();
    if (!hdc)
        return;
    // The text box's lines, whole. The last one is the empty line after a final line
    // break when the text ends with one; a last line with text is printed.
    CString text;
    m_editLog.GetWindowText(text);
    const int count = m_editLog.GetLineCount();
    std::vector<CString> lines;
    lines.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const int start = m_editLog.LineIndex(i);
        const int length = m_editLog.LineLength(start);
        lines.push_back(start < 0 ? CString() : text.Mid(start, std::max(length, 0)));
    }
    if (!lines.empty() && lines.back().IsEmpty())
        lines.pop_back();
    if (zyn::frames::PrintLogLines(hdc, LoadText(IDS_LOGVIEWER_PRINT_HEADER), m_strLogFile, lines) < 0)
        CLogger::LogError(CResult::GeneralError, L"LogViewer", __LINE__, L"The printer refused the session.");
    ::DeleteDC(hdc);
}

// ---- the divider ---------------------------------------------------------------------------------------------

CRect CDistLogViewer::DividerGap() const
{
    CRect list, edit;
    if (!m_listLog.m_hWnd || !m_editLog.m_hWnd)
        return CRect();
    m_listLog.GetWindowRect(list);
    m_editLog.GetWindowRect(edit);
    ScreenToClient(list);
    ScreenToClient(edit);
    return CRect(list.right, list.top, edit.left, list.bottom);
}

bool CDistLogViewer::InDivider(CPoint point) const
{
    const CRect gap = DividerGap();
    return point.x > gap.left && point.x < gap.right && point.y > gap.top && point.y < gap.bottom;
}

void CDistLogViewer::MoveDivider(int x)
{
    using L = COXLayoutManager;
    m_layoutManager.SetConstraint(IDC_LOGVIEWER_LIST, L::sideRight, L::typeOpposite, x, 0);
    m_layoutManager.RedrawLayout();
}

BOOL CDistLogViewer::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (InDivider(point)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
        return TRUE;
    }
    return CDialog::OnSetCursor(pWnd, nHitTest, message);
}

void CDistLogViewer::OnLButtonDown(UINT nFlags, CPoint point)
{
    CDialog::OnLButtonDown(nFlags, point);
    if (InDivider(point)) {
        m_bDragging = TRUE;
        SetCapture();
    }
}

void CDistLogViewer::OnMouseMove(UINT nFlags, CPoint point)
{
    CDialog::OnMouseMove(nFlags, point);
    if (!m_bDragging)
        return;
    CRect window;
    GetWindowRect(window);
    ScreenToClient(window);
    if (point.x > window.left + kDividerLeftMargin && point.x < window.right - kDividerRightMargin)
        MoveDivider(point.x);
}

void CDistLogViewer::OnLButtonUp(UINT nFlags, CPoint point)
{
    CDialog::OnLButtonUp(nFlags, point);
    if (!m_bDragging)
        return;
    m_bDragging = FALSE;
    ::ReleaseCapture();
    CRect window;
    GetWindowRect(window);
    ScreenToClient(window);
    // Kept inside the margins the drag keeps: a release beyond an edge, or within a
    // margin, would leave the list too narrow for the layout or off the window.
    const int x = std::clamp(static_cast<int>(point.x), static_cast<int>(window.left) + kDividerLeftMargin,
        static_cast<int>(window.right) - kDividerRightMargin);
    MoveDivider(x);
}
