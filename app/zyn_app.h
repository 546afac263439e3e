#pragma once
// CZynApp: the application object of every host of the suite. It holds the logged-in
// operator (and through it the database), the error handler, the skins every skinned
// window paints with, the registry of configuration views with their commands, and the
// host's single-instance and auto-logout settings.
//
// Login: the host (or a test) logs an operator in with LoginOperator, handing over the
// operator object, and out with LogoutOperator; there is no login dialog here.
#include <functional>
#include <memory>
#include <vector>

#include "model/view_info.h"
#include "platform/afx/winapp.h"
#include "platform/base/cstring.h"
#include "toolkit/skins/skin_lookup.h"
#include "toolkit/skins/skin_table.h"

class CAcsUser;
class CCmdUI;
class CFrameWnd;
class COXSkin;
class CZynDatabase;
class CZynExceptionHandler;
class CZynReportEngine;

class CZynApp : public CWinApp {
    DECLARE_DYNAMIC(CZynApp)
public:
    // The command IDs of registered views.
    static constexpr UINT kFirstViewCommand = 56000;
    static constexpr UINT kLastViewCommand = 57000;

    // How SetSingleInstance decides whether a second copy may run.
    enum InstanceCheck : int { InstanceCheckNone = 0, InstanceCheckWindowClass = 1 };

    // Registers the three standard skins ("Classic", "Office XP", "Office 2003", the last
    // current) and becomes the toolkit's source of the current skin.
    explicit CZynApp(LPCTSTR lpszAppName = nullptr);
    ~CZynApp() override;

    // ---- the running application ------------------------------------------------------------
    // The application object when it is a CZynApp, else null.
    static CZynApp* GetApp();
    // The operator, database and error handler of the running application. Without an
    // application object (or with no operator) the operator and database are null and
    // the handler is a process-wide one that shows failures all the same.
    static CAcsUser* GetAppAcsUser();
    static CZynDatabase* GetAppDatabase();
    static const CZynExceptionHandler& GetAppExceptionHandler();
    // Whether the logged-in operator holds the permission (false with nobody logged in).
    static bool HasAppPermission(LONG permission);
    // No badge-imaging library exists in this system, so nothing prints unless a test says
    // so through SetBadgePrintInProgressForTests (the main frame asks before closing).
    static bool IsBadgePrintInProgress();
    static void SetBadgePrintInProgressForTests(bool printing);
    // One audit record through the logged-in operator (further numbers 0); nothing while
    // nobody is logged in.
    static void LogTransToDB(LONG operation, LONG objectType, const wchar_t* text);

    // ---- login --------------------------------------------------------------------------------
    // Makes the operator the logged-in one (a previous operator is logged out first) and
    // clears the auto-logout flag. A null operator only logs out.
    void LoginOperator(std::unique_ptr<CAcsUser> user);
    // Hands the operator back (null when nobody was logged in).
    std::unique_ptr<CAcsUser> LogoutOperator();
    bool IsLoggedIn() const { return m_pUser != nullptr; }
    CAcsUser* GetAcsUser() const { return m_pUser.get(); }
    const CZynExceptionHandler& GetExceptionHandler() const { return *m_pExceptionHandler; }
    // Replaces the handler (a host's own); null keeps the current one.
    void SetExceptionHandler(std::unique_ptr<CZynExceptionHandler> handler);

    bool DoingAutoLogout() const { return m_bDoingAutoLogout; }
    void SetDoingAutoLogout(bool doing) { m_bDoingAutoLogout = doing; }

    // ---- single instance ----------------------------------------------------------------------
    // The class name the main frame registers when SingleInstance() holds; the mode is
    // decided here once, later calls change the class name and message only.
    void SetSingleInstance(LPCWSTR lpszClassName, UINT nMessage, int nInstanceCheck);
    bool SingleInstance() const { return m_bSingleInstance; }
    const CString& GetSingleInstanceClassName() const { return m_strSingleInstanceClass; }
    UINT GetSingleInstanceMessage() const { return m_nSingleInstanceMessage; }

    void SetMainFrame(CFrameWnd* pFrame) { m_pMainFrame = pFrame; }
    CFrameWnd* GetMainFrame() const { return m_pMainFrame; }

    // ---- views ---------------------------------------------------------------------------------
    // Registers a view under a command ID in 56000..57000 (replacing one there). FALSE
    // (ERROR_INVALID_PARAMETER) for an ID outside the range.
    BOOL AddView(UINT nCommandID, UINT nResourceID, CRuntimeClass* pViewClass, CDocTemplate* pTemplate,
        std::vector<LONG> permissions, std::vector<int> objectTypes);
    const CViewInfoMap& GetViews() const { return m_views; }
    CViewInfo* GetViewInfo(UINT nCommandID) const { return m_views.Lookup(nCommandID); }
    // Whether the logged-in operator holds one of the view's permissions.
    bool CanOpenView(const CViewInfo& info) const;
    // The first registered view (by command ID) that shows objects of the type: its open
    // frame is activated, else a new one is opened. Null when no view shows the type or
    // it could not be opened.
    CFrameWnd* OpenView(int type);
    // Opens the view of a command; the same activation rule.
    CFrameWnd* OpenViewByCommand(UINT nCommandID);
    // How a new frame for a view is opened: the function creates it and records it with
    // CViewInfo::SetOpenFrame, returning FALSE on failure. Without one, the view's
    // document template opens a new document, and the frame of its view is recorded.
    using ViewOpener = std::function<BOOL(CViewInfo&)>;
    void SetViewOpener(ViewOpener opener) { m_viewOpener = std::move(opener); }

    // ---- skins -----------------------------------------------------------------------------------
    BOOL AddSkin(COXSkin* skin) { return m_skins.AddSkin(skin); }
    COXSkin* GetSkin(const wchar_t* name) const { return m_skins.GetSkin(name); }
    BOOL RemoveSkin(const wchar_t* name) { return m_skins.RemoveSkin(name); }
    COXSkin* GetCurrentSkin() const { return m_skins.GetCurrentSkin(); }
    // A registered skin becomes current and every window of the application is
    // refreshed with it; anything else leaves no current skin: FALSE.
    BOOL SetCurrentSkin(const wchar_t* name);
    BOOL SetCurrentSkin(COXSkin* skin);
    const COXSkinTable& GetSkinTable() const { return m_skins; }

    // ---- help -----------------------------------------------------------------------------------
    // Opens the help of a help ID; nKind is the help command (1: the topic of a context
    // ID), handed to WinHelp, which records the request.
    virtual void CallHelp(ULONG nHelpID, int nKind);

    // The application's one report engine, created on first call (reporting through the
    // application's exception handler) and deleted with the application.
    CZynReportEngine* GetReportEngine();

protected:
    afx_msg void OnViewCommand(UINT nID);
    afx_msg void OnUpdateViewCommand(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    CFrameWnd* Activate(CViewInfo& info);
    BOOL OpenFromTemplate(CViewInfo& info);
    void RefreshWindows();

    std::unique_ptr<CAcsUser> m_pUser;
    std::unique_ptr<CZynExceptionHandler> m_pExceptionHandler;
    bool m_bDoingAutoLogout = false;
    bool m_bSingleInstance = false;
    bool m_bInstanceModeDecided = false;
    CString m_strSingleInstanceClass;
    UINT m_nSingleInstanceMessage = 0;
    CFrameWnd* m_pMainFrame = nullptr;
    CViewInfoMap m_views;
    ViewOpener m_viewOpener;
    COXSkinTable m_skins;
    OXSkinSource m_previousSkinSource = nullptr;
    std::unique_ptr<CZynReportEngine> m_pReportEngine;
};
