#pragma once
// CWinApp: the application object, the main thread's CWinThread. One exists per process
// at a time: its constructor makes it the object AfxGetApp returns and the main
// thread's CWinThread.
//
// Start-up (AfxWinMain, or a host calling the steps itself): AfxWinInit records the
// instance, command line and show command and fills the names (m_pszExeName,
// m_pszAppName from the AFX_IDS_APP_TITLE string or the executable's name,
// m_pszProfileName); then InitApplication, InitInstance, Run (the message loop) and
// ExitInstance.
//
// The profile: without a registry key, entries of the INI file m_pszProfileName (by
// default "<exe>.INI" in the Windows directory); after SetRegistryKey, values under
// HKEY_CURRENT_USER "Software\<m_pszRegistryKey>\<m_pszProfileName>\<section>", where
// the profile name becomes the application name. The names are read at each call, so a
// host may replace them (free the old string, store a _tcsdup'ed one, as the class
// library's own code does).
//
// Documents: the document layer keeps the templates in a document manager
// (m_pDocManager, created with the first AddDocTemplate); until that layer is present,
// the document calls find no templates and no documents.
#include "platform/afx/winthread.h"
#include "platform/base/coll_position.h"
#include "platform/base/wintypes.h"

template <class C>
class CStringT;
using CString = CStringT<wchar_t>;

class CDocManager;
class CDocTemplate;
class CDocument;

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    // Throws CNotSupportedException when another application object exists.
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    // ---- start-up state ---------------------------------------------------------------------------------
    HINSTANCE m_hInstance = nullptr;
    LPTSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = 1;  // SW_SHOWNORMAL
    // Owned by the application (malloc'ed; freed with free in the destructor).
    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszRegistryKey = nullptr;
    LPCTSTR m_pszProfileName = nullptr;
    LPCTSTR m_pszExeName = nullptr;
    LPCTSTR m_pszHelpFilePath = nullptr;
    CDocManager* m_pDocManager = nullptr;
    BOOL m_bHelpMode = FALSE;

    // Fills the names from the instance (AfxWinInit calls it).
    void SetCurrentHandles();

    // ---- overridables ---------------------------------------------------------------------------------------
    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    // With no main window after InitInstance there is nothing to run: the loop ends at once.
    int Run() override;
    // Count 0: the command user interface and the document templates' idle hook; count 1:
    // the temporary wrappers are freed.
    BOOL OnIdle(LONG lCount) override;
    int ExitInstance() override;
    // Shows a message box for AfxMessageBox: owner = the active frame or main window
    // (disabled while the box is up), caption = the application name, an icon chosen from
    // the button set when none is given.
    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
    // The wait cursor: 1 begins, -1 ends, 0 restores (after something changed the cursor).
    virtual void DoWaitCursor(int nCode);
    // Asks every document to save its changes; FALSE when the user cancelled.
    virtual BOOL SaveAllModified();
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    // Help for dwData (nCmd HELP_CONTEXT: a help ID). There is no help viewer: the request
    // is recorded (zyn::afx::WinHelpCalls, frame_help.h) and the main frame leaves help mode.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = 0x0001 /* HELP_CONTEXT */);

    // ---- documents ------------------------------------------------------------------------------------------------
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    void CloseAllDocuments(BOOL bEndSession);
    int GetOpenDocumentCount();

    // ---- the profile ---------------------------------------------------------------------------------------------------
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    // HKCU\Software\<key>\<profile name>, created when missing; null without a registry
    // key. The caller closes it.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCTSTR lpszSection);
    virtual UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    virtual BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    virtual CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    // A null value deletes the entry; a null entry deletes the section.
    virtual BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    // *ppData receives new[]'d bytes the caller delete[]s, *pBytes their count; FALSE (with
    // both cleared) when the entry is absent or malformed.
    virtual BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    virtual BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);

    // ---- resources ---------------------------------------------------------------------------------------------------------
    HICON LoadIcon(LPCTSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const;
    HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;

    // ---- commands -----------------------------------------------------------------------------------------------------------
    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    // Closes the main window (WM_CLOSE); without one the loop ends.
    afx_msg void OnAppExit();
    // Hides the main window and the pop-ups it owns while the application shuts down, so
    // the closing of documents is not seen window by window.
    void HideApplication();

protected:
    int m_nWaitCursorCount = 0;
    HCURSOR m_hcurWaitCursorRestore = nullptr;

    DECLARE_MESSAGE_MAP()
};

// The application object, or null.
CWinApp* AfxGetApp();
LPCTSTR AfxGetAppName();

// A message box through the application (CWinApp::DoMessageBox); with no application,
// owned by nothing and captioned with the executable's name. The button pressed, or 0
// when the box could not be shown (for the string-ID form: the string does not exist,
// ERROR_RESOURCE_NAME_NOT_FOUND).
int AfxMessageBox(LPCTSTR lpszText, UINT nType = 0, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = 0, UINT nIDHelp = static_cast<UINT>(-1));

// Start-up of a host: records the instance and command line in the application object.
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
// InitApplication, InitInstance, Run (or ExitInstance when InitInstance fails); the
// thread's exit code.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);

namespace zyn::afx {
// What the document layer gives CWinApp: its document manager's operations. Installed
// once at load by that layer; each function receives the application.
struct DocManagerOps {
    void (*addDocTemplate)(CWinApp& app, CDocTemplate* pTemplate) = nullptr;
    POSITION (*getFirstDocTemplatePosition)(const CWinApp& app) = nullptr;
    CDocTemplate* (*getNextDocTemplate)(const CWinApp& app, POSITION& pos) = nullptr;
    BOOL (*saveAllModified)(CWinApp& app) = nullptr;
    void (*closeAllDocuments)(CWinApp& app, BOOL bEndSession) = nullptr;
    int (*getOpenDocumentCount)(CWinApp& app) = nullptr;
    void (*onFileNew)(CWinApp& app) = nullptr;
    void (*onFileOpen)(CWinApp& app) = nullptr;
    CDocument* (*openDocumentFile)(CWinApp& app, LPCTSTR lpszFileName) = nullptr;
    void (*onIdle)(CWinApp& app) = nullptr;             // each template's idle hook
    void (*destroyDocManager)(CWinApp& app) = nullptr;  // deletes m_pDocManager
};
void SetDocManagerOps(const DocManagerOps& ops);
const DocManagerOps& GetDocManagerOps();
} // namespace zyn::afx
