// A small host of the library, built out of tree against the installed package only: its
// application derives from CZynApp, its MDI main frame is loaded from the host's own
// resource script (menu, accelerators, title), and one registered view shows a door.
//
// Run once without a display, it does what a person would: logs an operator in on its
// embedded database (created from the installed schema on first run), presses Ctrl+D to
// open the doors view, switches the skin, then, when the loop is idle, checks what it
// sees, writes a PNG of the desktop and closes its main window. The exit code is the
// number of failed checks; each failure is printed.
//
//   zyn_package_host --work DIR [--expect-schema DIR]
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/zyn_app.h"
#include "frames/zyn_child_frame.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/afx/doc.h"
#include "platform/afx/doctempl.h"
#include "platform/afx/gdi/afxgdi.h"
#include "platform/afx/mdi.h"
#include "platform/afx/view.h"
#include "platform/base/exception.h"
#include "platform/base/utf16.h"
#include "platform/gdi/wingdi.h"
#include "platform/suite/database/schema_loader.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/user/acs_user.h"
#include "platform/user/driver.h"
#include "platform/user/menu.h"
#include "platform/user/vkeys.h"
#include "platform/user/winuser.h"
#include "toolkit/skins/skin.h"
#include "resource.h"

namespace {

constexpr LONG kDoorPermission = 7;
constexpr int kDoorObjectType = 3;
constexpr LONG kOpenOperation = 1;

std::string Utf8(const CString& s) { return zyn::base::ToUtf8(s.GetString()); }
CString Wide(const std::string& s) { return CString(zyn::base::FromUtf8(s).c_str()); }

// A door: opening one is written to the audit trail.
class CDoorDoc : public CDocument {
    DECLARE_DYNCREATE(CDoorDoc)
public:
    BOOL OnNewDocument() override
    {
        if (!CDocument::OnNewDocument())
            return FALSE;
        CZynApp::LogTransToDB(kOpenOperation, kDoorObjectType, L"Door opened");
        return TRUE;
    }
};
IMPLEMENT_DYNCREATE(CDoorDoc, CDocument)

class CDoorView : public CView {
    DECLARE_DYNCREATE(CDoorView)
public:
    void OnDraw(CDC* pDC) override
    {
        CRect client;
        GetClientRect(&client);
        pDC->FillSolidRect(&client, GetSysColor(COLOR_WINDOW));
        pDC->SetBkMode(TRANSPARENT);
        pDC->TextOut(12, 10, GetDocument() ? GetDocument()->GetTitle() : CString(L"?"));
        CBrush green(RGB(0, 160, 0));
        CRect lamp(12, 40, 40, 68);
        pDC->FillRect(&lamp, &green);
    }
};
IMPLEMENT_DYNCREATE(CDoorView, CView)

class CHostFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CHostFrame)
};
IMPLEMENT_DYNCREATE(CHostFrame, CMDIFrameWnd)

class CHostApp : public CZynApp {
public:
    CHostApp(std::filesystem::path work, std::string expectSchema)
        : CZynApp(nullptr), m_work(std::move(work)), m_expectSchema(std::move(expectSchema))
    {
    }

    BOOL InitInstance() override
    {
        SetRegistryKey(L"Zyn Package Host");
        if (!LogIn())
            return FALSE;

        auto* doors = new CMultiDocTemplate(IDR_DOORTYPE, RUNTIME_CLASS(CDoorDoc), RUNTIME_CLASS(CZynChildFrame),
            RUNTIME_CLASS(CDoorView));
        AddDocTemplate(doors); // the document manager owns it
        Check(AddView(ID_VIEW_DOORS, IDR_DOORTYPE, RUNTIME_CLASS(CDoorView), doors, {kDoorPermission},
                  {kDoorObjectType}),
            "the doors view is registered");

        auto* frame = new CHostFrame; // deletes itself with its window
        if (!frame->LoadFrame(IDR_MAINFRAME)) {
            Fail("the main frame cannot be loaded from the host's resources");
            delete frame;
            return FALSE;
        }
        m_pMainWnd = frame;
        SetMainFrame(frame);
        frame->ShowWindow(SW_SHOW);
        frame->UpdateWindow();
        Check(::GetMenuItemCount(::GetMenu(frame->m_hWnd)) == 3, "the frame's menu bar (File, View, Window)");

        // Ctrl+D, the host's accelerator for the doors view; the loop translates it.
        zyn::user::InjectKey(VK_CONTROL, true);
        zyn::user::InjectKeyPress('D');
        zyn::user::InjectKey(VK_CONTROL, false);
        Check(SetCurrentSkin(L"Office XP"), "the skin \"Office XP\" is registered");
        return TRUE;
    }

    BOOL OnIdle(LONG lCount) override
    {
        const BOOL more = CZynApp::OnIdle(lCount);
        if (lCount == 0 && !m_done && zyn::user::PendingInputCount() == 0) {
            m_done = true;
            CheckWhatIsShown();
            m_pMainWnd->PostMessage(WM_CLOSE);
        }
        return more;
    }

    int ExitInstance() override
    {
        const int code = CZynApp::ExitInstance();
        if (code != 0)
            Fail("the loop ended with code " + std::to_string(code));
        if (!m_done)
            Fail("the loop ended before it was idle");
        return m_failures;
    }

private:
    void Fail(const std::string& what)
    {
        std::fprintf(stderr, "zyn_package_host: FAILED: %s\n", what.c_str());
        ++m_failures;
    }
    void Check(bool ok, const std::string& what)
    {
        if (ok)
            std::printf("zyn_package_host: ok: %s\n", what.c_str());
        else
            Fail(what);
    }

    // The operator works on the embedded database, made from the installed schema when
    // it is not there yet.
    bool LogIn()
    {
        const std::string schema = Utf8(zyn::db::SchemaDir());
        if (!m_expectSchema.empty())
            Check(std::filesystem::equivalent(schema, m_expectSchema),
                "the schema comes from " + m_expectSchema + " (found: " + schema + ")");
        const CString file = Wide((m_work / "doors.db").string());
        try {
            if (!std::filesystem::exists(m_work / "doors.db"))
                zyn::db::CreateDatabase(file, zyn::db::SchemaEngine::SQLite);
            auto db = std::make_unique<CZynDatabase>();
            db->OpenEx(zyn::db::SqliteConnectString(file), CDatabase::noOdbcDialog);
            Check(db->GetEngineType() == ZynEngineSQLite, "the embedded database is SQLite");
            auto user = std::make_unique<CAcsUser>(1, L"admin");
            user->AddPermission(kDoorPermission);
            user->AttachDatabase(std::move(db));
            LoginOperator(std::move(user));
        } catch (CException* e) {
            Fail("database: " + Utf8(e->GetMessageText()));
            e->Delete();
            return false;
        }
        return true;
    }

    void CheckWhatIsShown()
    {
        Check(m_pszAppName && CString(m_pszAppName) == L"Door Console", "the title comes from the host's strings");
        const CViewInfo* info = GetViewInfo(ID_VIEW_DOORS);
        Check(info && info->GetOpenFrame(), "Ctrl+D opened the doors view");
        auto* frame = static_cast<CMDIFrameWnd*>(m_pMainWnd);
        CMDIChildWnd* child = frame->MDIGetActive();
        Check(child && child->GetActiveDocument() && child->GetActiveDocument()->GetTitle() == L"Door1",
            "the active document is \"Door1\"");
        Check(::GetMenuItemCount(::GetMenu(frame->m_hWnd)) == 4, "the door's menu bar (File, Door, View, Window)");
        Check(GetCurrentSkin() && GetCurrentSkin()->GetName() == L"Office XP", "the current skin is \"Office XP\"");

        int64_t rows = -1;
        try {
            const zyn::afx::DbValue type(static_cast<int32_t>(kDoorObjectType));
            GetAppDatabase()->QueryInt64(L"SELECT COUNT(*) FROM USER_TRANSACTION WHERE OBJECT_TYPE = ?", {&type, 1}, rows);
        } catch (CException* e) {
            Fail("database: " + Utf8(e->GetMessageText()));
            e->Delete();
        }
        Check(rows == 1, "one audit row for the opened door (found " + std::to_string(rows) + ")");

        const std::string png = (m_work / "desktop.png").string();
        Check(zyn::user::SnapshotDesktopPng(png), "the desktop is written to " + png);
    }

    std::filesystem::path m_work;
    std::string m_expectSchema;
    bool m_done = false;
    int m_failures = 0;
};

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path work;
    std::string expectSchema;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--work")
            work = argv[i + 1];
        else if (arg == "--expect-schema")
            expectSchema = argv[i + 1];
    }
    if (work.empty()) {
        std::fprintf(stderr, "usage: zyn_package_host --work DIR [--expect-schema DIR]\n");
        return 2;
    }
    std::filesystem::create_directories(work);
    CHostApp app(work, expectSchema);
    wchar_t cmdLine[] = L"";
    return AfxWinMain(nullptr, nullptr, cmdLine, SW_SHOW);
}
