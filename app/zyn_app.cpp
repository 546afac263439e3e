#include "app/zyn_app.h"

#include <atomic>

#include <utility>

#include "platform/afx/cmdui.h"
#include "platform/afx/doc.h"
#include "platform/afx/doctempl.h"
#include "platform/afx/frame.h"
#include "platform/afx/view.h"
#include "platform/afx/wnd.h"
#include "platform/base/lasterror.h"
#include "platform/suite/user/acs_user.h"
#include "platform/suite/user/exception_handler.h"
#include "platform/user/winuser.h"
#include "reports/zyn_report_engine.h"
#include "toolkit/skins/skin.h"

IMPLEMENT_DYNAMIC(CZynApp, CWinApp)

BEGIN_MESSAGE_MAP(CZynApp, CWinApp)
    ON_COMMAND_RANGE(CZynApp::kFirstViewCommand, CZynApp::kLastViewCommand, &CZynApp::OnViewCommand)
    ON_UPDATE_COMMAND_UI_RANGE(CZynApp::kFirstViewCommand, CZynApp::kLastViewCommand, &CZynApp::OnUpdateViewCommand)
END_MESSAGE_MAP()

namespace {

COXSkin* ApplicationSkin()
{
    CZynApp* app = CZynApp::GetApp();
    return app ? app->GetCurrentSkin() : nullptr;
}

// The handler failures go to when there is no application object (a tool, a test, the
// time before the application exists or after it is gone).
const CZynExceptionHandler& FallbackExceptionHandler()
{
    static const CZynExceptionHandler handler;
    return handler;
}

// hWnd and all its descendants, parents before children.
void CollectTree(HWND hWnd, std::vector<HWND>& out)
{
    out.push_back(hWnd);
    for (HWND child = GetWindow(hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        CollectTree(child, out);
}

struct OwnedSearch {
    HWND owner;
    std::vector<HWND>* out;
};

BOOL CollectOwned(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<OwnedSearch*>(lParam);
    if (hWnd != search->owner && GetWindow(hWnd, GW_OWNER) == search->owner)
        CollectTree(hWnd, *search->out);
    return TRUE;
}

// What a window does when the skin changed: it lays itself out again (not when
// maximised: its size did not change), recomputes its frame and repaints everything.
void RefreshWindow(HWND hWnd)
{
    if (!IsWindow(hWnd))
        return;
    if (!IsZoomed(hWnd)) {
        RECT client{};
        GetClientRect(hWnd, &client);
        SendMessage(hWnd, WM_SIZE, SIZE_RESTORED,
            MAKELPARAM(static_cast<WORD>(client.right - client.left), static_cast<WORD>(client.bottom - client.top)));
    }
    if (!IsWindow(hWnd))
        return;
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

} // namespace

CZynApp::CZynApp(LPCTSTR lpszAppName)
    : CWinApp(lpszAppName), m_pExceptionHandler(std::make_unique<CZynExceptionHandler>())
{
    m_skins.AddStandardSkins();
    m_previousSkinSource = OXSetSkinSource(&ApplicationSkin);
}

CZynApp::~CZynApp()
{
    OXSetSkinSource(m_previousSkinSource);
}

namespace {
// The badge-print state a test sets; nothing in the system prints badges.
std::atomic<bool> g_bBadgePrintForTests{false};
} // namespace

bool CZynApp::IsBadgePrintInProgress() { return g_bBadgePrintForTests.load(); }
void CZynApp::SetBadgePrintInProgressForTests(bool printing) { g_bBadgePrintForTests.store(printing); }

CZynApp* CZynApp::GetApp()
{
    return DYNAMIC_DOWNCAST(CZynApp, AfxGetApp());
}

CAcsUser* CZynApp::GetAppAcsUser()
{
    CZynApp* app = GetApp();
    return app ? app->GetAcsUser() : nullptr;
}

CZynDatabase* CZynApp::GetAppDatabase()
{
    CAcsUser* user = GetAppAcsUser();
    return user ? user->GetDatabase() : nullptr;
}

const CZynExceptionHandler& CZynApp::GetAppExceptionHandler()
{
    CZynApp* app = GetApp();
    return app ? app->GetExceptionHandler() : FallbackExceptionHandler();
}

bool CZynApp::HasAppPermission(LONG permission)
{
    CAcsUser* user = GetAppAcsUser();
    return user && user->HasPermission(permission);
}

void CZynApp::LogTransToDB(LONG operation, LONG objectType, const wchar_t* text)
{
    CAcsUser* user = GetAppAcsUser();
    if (!user)
        return;
    // An audit record that cannot be written is a failure the operator must hear of.
    if (!user->LogTransToDB(operation, objectType, text, 0, 0, 0))
        GetAppExceptionHandler().Handle(
            CString(L"The audit record could not be written. ") + user->GetLastTransError());
}

void CZynApp::LoginOperator(std::unique_ptr<CAcsUser> user)
{
    LogoutOperator();
    m_pUser = std::move(user);
    m_bDoingAutoLogout = false;
}

std::unique_ptr<CAcsUser> CZynApp::LogoutOperator()
{
    return std::move(m_pUser);
}

void CZynApp::SetExceptionHandler(std::unique_ptr<CZynExceptionHandler> handler)
{
    if (handler)
        m_pExceptionHandler = std::move(handler);
}

void CZynApp::SetSingleInstance(LPCWSTR lpszClassName, UINT nMessage, int nInstanceCheck)
{
    m_strSingleInstanceClass = lpszClassName ? lpszClassName : L"";
    m_nSingleInstanceMessage = nMessage;
    if (!m_bInstanceModeDecided) {
        m_bSingleInstance = nInstanceCheck != InstanceCheckNone && !m_strSingleInstanceClass.IsEmpty();
        m_bInstanceModeDecided = true;
    }
}

BOOL CZynApp::AddView(UINT nCommandID, UINT nResourceID, CRuntimeClass* pViewClass, CDocTemplate* pTemplate,
    std::vector<LONG> permissions, std::vector<int> objectTypes)
{
    if (nCommandID < kFirstViewCommand || nCommandID > kLastViewCommand) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    m_views.Set(nCommandID, std::make_unique<CViewInfo>(nCommandID, nResourceID, pViewClass, pTemplate,
                                std::move(permissions), std::move(objectTypes)));
    return TRUE;
}

bool CZynApp::CanOpenView(const CViewInfo& info) const
{
    return m_pUser && m_pUser->HasAnyPermission(info.GetPermissions());
}

CFrameWnd* CZynApp::OpenView(int type)
{
    for (const auto& entry : m_views) {
        if (entry.second->ShowsObjectType(type))
            return Activate(*entry.second);
    }
    return nullptr;
}

CFrameWnd* CZynApp::OpenViewByCommand(UINT nCommandID)
{
    CViewInfo* info = m_views.Lookup(nCommandID);
    return info ? Activate(*info) : nullptr;
}

CFrameWnd* CZynApp::Activate(CViewInfo& info)
{
    if (HWND hFrame = info.GetOpenFrameHwnd()) {
        CFrameWnd* pFrame = info.GetOpenFrame();
        if (pFrame && CWnd::FromHandlePermanent(hFrame) == pFrame) {
            // The frame knows how it is brought up (an MDI child through its client).
            pFrame->ActivateFrame();
            return pFrame;
        }
        // A frame recorded without its object (a host's own opener): bring the window up.
        HWND hParent = GetParent(hFrame);
        wchar_t className[32] = {};
        if (hParent && GetClassNameW(hParent, className, 32) > 0 && CString(className).CompareNoCase(L"MDICLIENT") == 0) {
            if (IsIconic(hFrame))
                SendMessage(hParent, WM_MDIRESTORE, reinterpret_cast<WPARAM>(hFrame), 0);
            SendMessage(hParent, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hFrame), 0);
        } else {
            ShowWindow(hFrame, IsIconic(hFrame) ? SW_RESTORE : SW_SHOW);
            SetActiveWindow(hFrame);
        }
        return pFrame;
    }
    info.SetOpenFrame(nullptr, nullptr);
    const BOOL opened = m_viewOpener ? m_viewOpener(info) : OpenFromTemplate(info);
    return opened ? info.GetOpenFrame() : nullptr;
}

BOOL CZynApp::OpenFromTemplate(CViewInfo& info)
{
    CDocTemplate* pTemplate = info.GetDocTemplate();
    if (!pTemplate)
        return FALSE;
    CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
    if (!pDoc)
        return FALSE;
    // The new document's frame: the frame of its last view (the one just made).
    CFrameWnd* pFrame = nullptr;
    POSITION pos = pDoc->GetFirstViewPosition();
    while (pos) {
        if (CView* pView = pDoc->GetNextView(pos))
            pFrame = pView->GetParentFrame();
    }
    if (!pFrame)
        return FALSE;
    info.SetOpenFrame(pFrame, pFrame->GetSafeHwnd());
    return TRUE;
}

void CZynApp::OnViewCommand(UINT nID)
{
    CViewInfo* info = m_views.Lookup(nID);
    if (info && CanOpenView(*info))
        Activate(*info);
}

void CZynApp::OnUpdateViewCommand(CCmdUI* pCmdUI)
{
    const CViewInfo* info = m_views.Lookup(pCmdUI->m_nID);
    pCmdUI->Enable(info && CanOpenView(*info));
}

BOOL CZynApp::SetCurrentSkin(const wchar_t* name)
{
    if (!m_skins.SetCurrentSkin(name))
        return FALSE;
    RefreshWindows();
    return TRUE;
}

BOOL CZynApp::SetCurrentSkin(COXSkin* skin)
{
    if (!m_skins.SetCurrentSkin(skin))
        return FALSE;
    RefreshWindows();
    return TRUE;
}

void CZynApp::RefreshWindows()
{
    HWND hMain = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
    if (!hMain || !IsWindow(hMain))
        return;
    // Floating frames first (they are owned top-level windows), then the main window
    // with everything inside it.
    std::vector<HWND> windows;
    OwnedSearch search{hMain, &windows};
    EnumWindows(&CollectOwned, reinterpret_cast<LPARAM>(&search));
    CollectTree(hMain, windows);
    for (HWND hWnd : windows)
        RefreshWindow(hWnd);
}

void CZynApp::CallHelp(ULONG nHelpID, int nKind) { WinHelp(nHelpID, static_cast<UINT>(nKind)); }

CZynReportEngine* CZynApp::GetReportEngine()
{
    // Made on first use, reporting through the application's handler; the application's
    // destructor deletes it (the runtime is released then).
    if (!m_pReportEngine)
        m_pReportEngine = std::make_unique<CZynReportEngine>(nullptr);
    return m_pReportEngine.get();
}
