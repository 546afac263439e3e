#include "platform/afx/winapp.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/afx/afxres.h"
#include "platform/afx/afxstate.h"
#include "platform/afx/wnd.h"
#include "platform/base/cstring.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/base/module.h"
#include "platform/base/profile.h"
#include "platform/base/registry.h"
#include "platform/base/resource.h"
#include "platform/gdi/icon.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgbox.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
END_MESSAGE_MAP()

namespace {

zyn::afx::DocManagerOps g_docOps;

// The application's strings are malloc'ed, as code that replaces them expects.
LPCTSTR Dup(const wchar_t* s)
{
    if (!s)
        return nullptr;
    const size_t n = std::wcslen(s) + 1;
    auto* p = static_cast<wchar_t*>(std::malloc(n * sizeof(wchar_t)));
    if (!p)
        AfxThrowMemoryException();
    std::wmemcpy(p, s, n);
    return p;
}

void Replace(LPCTSTR& field, const wchar_t* value)
{
    std::free(const_cast<wchar_t*>(field));
    field = Dup(value);
}

} // namespace

void zyn::afx::SetDocManagerOps(const DocManagerOps& ops) { g_docOps = ops; }
const zyn::afx::DocManagerOps& zyn::afx::GetDocManagerOps() { return g_docOps; }

CWinApp* AfxGetApp() { return AfxGetModuleState()->m_pCurrentWinApp; }

LPCTSTR AfxGetAppName()
{
    const CWinApp* app = AfxGetApp();
    return app ? app->m_pszAppName : nullptr;
}

CWinApp::CWinApp(LPCTSTR lpszAppName)
{
    AFX_MODULE_STATE* state = AfxGetModuleState();
    if (state->m_pCurrentWinApp)
        AfxThrowNotSupportedException(L"an application object exists already");
    m_pszAppName = Dup(lpszAppName);
    state->m_pCurrentWinApp = this;
    state->m_lpszCurrentAppName = m_pszAppName;
    zyn::afx::SetCurrentWinThread(this);
    m_nThreadID = ::GetCurrentThreadId();
    m_bAutoDelete = FALSE; // the application is not a thread object the framework deletes
}

CWinApp::~CWinApp()
{
    if (m_pDocManager && g_docOps.destroyDocManager)
        g_docOps.destroyDocManager(*this);
    m_pDocManager = nullptr;
    AFX_MODULE_STATE* state = AfxGetModuleState();
    if (state->m_pCurrentWinApp == this) {
        state->m_pCurrentWinApp = nullptr;
        state->m_lpszCurrentAppName = nullptr;
    }
    if (AfxGetThread() == this)
        zyn::afx::SetCurrentWinThread(nullptr);
    for (LPCTSTR* field : {&m_pszAppName, &m_pszRegistryKey, &m_pszProfileName, &m_pszExeName, &m_pszHelpFilePath})
        Replace(*field, nullptr);
}

void CWinApp::SetCurrentHandles()
{
    if (!m_hInstance)
        m_hInstance = AfxGetInstanceHandle();
    AfxSetInstanceHandle(m_hInstance);
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD n = ::GetModuleFileNameW(m_hInstance, path, MAX_PATH);
    std::wstring exe(path, n);
    const size_t slash = exe.find_last_of(L"/\\");
    std::wstring title = slash == std::wstring::npos ? exe : exe.substr(slash + 1);
    const size_t dot = title.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0)
        title.erase(dot);
    if (title.empty())
        title = L"app";
    if (!m_pszExeName)
        Replace(m_pszExeName, title.c_str());
    if (!m_pszAppName) {
        CString name;
        if (name.LoadString(AFX_IDS_APP_TITLE) && !name.IsEmpty())
            Replace(m_pszAppName, name.GetString());
        else
            Replace(m_pszAppName, m_pszExeName);
    }
    AfxGetModuleState()->m_lpszCurrentAppName = m_pszAppName;
    if (!m_pszHelpFilePath) {
        std::wstring help = exe;
        const size_t ext = help.find_last_of(L'.');
        if (ext != std::wstring::npos && (slash == std::wstring::npos || ext > slash))
            help.erase(ext);
        help += L".HLP";
        Replace(m_pszHelpFilePath, help.c_str());
    }
    if (!m_pszProfileName) {
        const std::wstring ini = std::wstring(m_pszExeName) + L".INI";
        Replace(m_pszProfileName, ini.c_str());
    }
}

// ---- overridables -------------------------------------------------------------------------------------------

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run()
{
    if (!m_pMainWnd)
        AfxPostQuitMessage(0); // nothing to run without a main window
    return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        CWinThread::OnIdle(lCount);
        if (m_pDocManager && g_docOps.onIdle)
            g_docOps.onIdle(*this);
    } else if (lCount == 1) {
        CWinThread::OnIdle(lCount);
    }
    return lCount < 1; // count 1 is the last idle work
}

int CWinApp::ExitInstance() { return CWinThread::ExitInstance(); }

void CWinApp::DoWaitCursor(int nCode)
{
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount > 0) {
        const HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        if (nCode > 0 && m_nWaitCursorCount == 1)
            m_hcurWaitCursorRestore = previous;
    } else {
        m_nWaitCursorCount = 0; // an unbalanced end does not go below zero
        ::SetCursor(m_hcurWaitCursorRestore);
    }
}

namespace {

int ShowAppMessageBox(CWinApp* app, LPCTSTR lpszPrompt, UINT nType)
{
    HWND hWndTop = nullptr;
    CWnd* pOwner = CWnd::GetSafeOwner(nullptr, &hWndTop);
    const HWND hWnd = zyn::afx::SafeHwndOf(pOwner);
    // The owner itself stays enabled so the focus comes back to it; its top-level
    // window is disabled while the box is up.
    if (hWnd && hWnd != hWndTop)
        ::EnableWindow(hWnd, TRUE);
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    std::wstring caption;
    if (app && app->m_pszAppName) {
        caption = app->m_pszAppName;
    } else {
        wchar_t path[MAX_PATH + 1] = {};
        const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        caption.assign(path, n);
    }
    const int result = ::MessageBoxW(hWnd, lpszPrompt, caption.c_str(), nType);
    if (hWndTop)
        ::EnableWindow(hWndTop, TRUE);
    return result;
}

} // namespace

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) { return ShowAppMessageBox(this, lpszPrompt, nType); }

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp)
{
    if (CWinApp* app = AfxGetApp())
        return app->DoMessageBox(lpszText, nType, nIDHelp);
    return ShowAppMessageBox(nullptr, lpszText, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    if (!text.LoadString(nIDPrompt)) {
        // No empty box for a missing string: the caller learns it was not shown.
        ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    if (nIDHelp == static_cast<UINT>(-1))
        nIDHelp = nIDPrompt;
    return AfxMessageBox(text.GetString(), nType, nIDHelp);
}

// ---- documents --------------------------------------------------------------------------------------------------

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (!pTemplate)
        AfxThrowInvalidArgException();
    if (!g_docOps.addDocTemplate)
        AfxThrowNotSupportedException(L"document templates need the document layer");
    g_docOps.addDocTemplate(*this, pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return m_pDocManager && g_docOps.getFirstDocTemplatePosition ? g_docOps.getFirstDocTemplatePosition(*this)
                                                                 : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const
{
    if (!m_pDocManager || !g_docOps.getNextDocTemplate || !pos) {
        pos = nullptr;
        return nullptr;
    }
    return g_docOps.getNextDocTemplate(*this, pos);
}

BOOL CWinApp::SaveAllModified()
{
    return m_pDocManager && g_docOps.saveAllModified ? g_docOps.saveAllModified(*this) : TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    if (m_pDocManager && g_docOps.closeAllDocuments)
        g_docOps.closeAllDocuments(*this, bEndSession);
}

int CWinApp::GetOpenDocumentCount()
{
    return m_pDocManager && g_docOps.getOpenDocumentCount ? g_docOps.getOpenDocumentCount(*this) : 0;
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName)
{
    return m_pDocManager && g_docOps.openDocumentFile ? g_docOps.openDocumentFile(*this, lpszFileName) : nullptr;
}

void CWinApp::OnFileNew()
{
    if (m_pDocManager && g_docOps.onFileNew)
        g_docOps.onFileNew(*this);
}

void CWinApp::OnFileOpen()
{
    if (m_pDocManager && g_docOps.onFileOpen)
        g_docOps.onFileOpen(*this);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd && m_pMainWnd->m_hWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
    else
        AfxPostQuitMessage(0);
}

// ---- the profile ----------------------------------------------------------------------------------------------------

namespace {

zyn::base::AppProfile ProfileOf(const CWinApp& app)
{
    zyn::base::AppProfile profile;
    const wchar_t* name = app.m_pszProfileName ? app.m_pszProfileName : app.m_pszAppName;
    if (app.m_pszRegistryKey && *app.m_pszRegistryKey) {
        profile.SetRegistryKey(app.m_pszRegistryKey);
        if (name)
            profile.SetApplicationName(name);
    } else if (app.m_pszProfileName) {
        profile.SetIniFileName(app.m_pszProfileName);
    } else if (app.m_pszAppName) {
        profile.SetApplicationName(app.m_pszAppName); // "<app>.INI"
    }
    return profile;
}

bool HasProfile(const CWinApp& app)
{
    if (app.m_pszRegistryKey && *app.m_pszRegistryKey)
        return app.m_pszProfileName || app.m_pszAppName;
    return app.m_pszProfileName || app.m_pszAppName;
}

} // namespace

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
    if (!lpszRegistryKey || !*lpszRegistryKey)
        AfxThrowInvalidArgException(L"SetRegistryKey needs a key name");
    Replace(m_pszRegistryKey, lpszRegistryKey);
    // Under a registry key the application's values live under its name.
    const wchar_t* name = m_pszAppName ? m_pszAppName : m_pszExeName;
    Replace(m_pszProfileName, name);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString key;
    if (!key.LoadString(nIDRegistryKey) || key.IsEmpty())
        AfxThrowResourceException();
    SetRegistryKey(key.GetString());
}

HKEY CWinApp::GetAppRegistryKey() { return ProfileOf(*this).GetAppRegistryKey(); }

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection)
{
    if (!lpszSection)
        return nullptr;
    return ProfileOf(*this).GetSectionKey(lpszSection);
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    if (!lpszSection || !lpszEntry || !HasProfile(*this))
        return static_cast<UINT>(nDefault);
    return ProfileOf(*this).GetProfileInt(lpszSection, lpszEntry, nDefault);
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    if (!lpszSection || !lpszEntry || !HasProfile(*this)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ProfileOf(*this).WriteProfileInt(lpszSection, lpszEntry, nValue) ? TRUE : FALSE;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    if (!lpszSection || !lpszEntry || !HasProfile(*this))
        return CString(lpszDefault ? lpszDefault : L"");
    return CString(ProfileOf(*this).GetProfileString(lpszSection, lpszEntry, lpszDefault).c_str());
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    if (!lpszSection || !HasProfile(*this)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ProfileOf(*this).WriteProfileString(lpszSection, lpszEntry, lpszValue) ? TRUE : FALSE;
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes)
{
    if (!ppData || !pBytes) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *ppData = nullptr;
    *pBytes = 0;
    if (!lpszSection || !lpszEntry || !HasProfile(*this))
        return FALSE;
    const auto data = ProfileOf(*this).GetProfileBinary(lpszSection, lpszEntry);
    if (!data)
        return FALSE;
    auto* bytes = new BYTE[data->size() ? data->size() : 1]; // owned by the caller (delete[])
    if (!data->empty())
        std::memcpy(bytes, data->data(), data->size());
    *ppData = bytes;
    *pBytes = static_cast<UINT>(data->size());
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    if (!lpszSection || !lpszEntry || (!pData && nBytes) || !HasProfile(*this)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ProfileOf(*this).WriteProfileBinary(lpszSection, lpszEntry, std::span<const uint8_t>(pData, nBytes))
               ? TRUE
               : FALSE;
}

// ---- resources ----------------------------------------------------------------------------------------------------------

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const
{
    return ::LoadIconW(AfxFindResourceHandle(lpszResourceName, MAKEINTRESOURCE(14) /* RT_GROUP_ICON */),
        lpszResourceName);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCE(nIDResource)); }

HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const { return ::LoadIconW(nullptr, lpszIconName); }

HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const
{
    return ::LoadCursorW(AfxFindResourceHandle(lpszResourceName, MAKEINTRESOURCE(12) /* RT_GROUP_CURSOR */),
        lpszResourceName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCE(nIDResource)); }

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursorW(nullptr, lpszCursorName); }

// ---- start-up ---------------------------------------------------------------------------------------------------------------

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow)
{
    if (hInstance)
        AfxSetInstanceHandle(hInstance);
    if (CWinApp* app = AfxGetApp()) {
        app->m_hInstance = AfxGetInstanceHandle();
        app->m_lpCmdLine = lpCmdLine;
        app->m_nCmdShow = nCmdShow;
        app->SetCurrentHandles();
    }
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow)
{
    CWinThread* thread = AfxGetThread();
    CWinApp* app = AfxGetApp();
    if (!thread || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow))
        return -1;
    if (app && !app->InitApplication())
        return -1;
    if (!thread->InitInstance()) {
        if (thread->m_pMainWnd && thread->m_pMainWnd->m_hWnd)
            thread->m_pMainWnd->DestroyWindow();
        return thread->ExitInstance();
    }
    return thread->Run();
}

void CWinApp::HideApplication()
{
    CWnd* pMain = m_pMainWnd;
    if (!pMain || !pMain->m_hWnd || !::IsWindow(pMain->m_hWnd))
        return;
    pMain->ShowOwnedPopups(FALSE);
    pMain->ShowWindow(SW_HIDE);
}
