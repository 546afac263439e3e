// The example host. It runs the foundation the way a host would at start-up (settings
// from the registry and ACS.INI, the machine's zone, the archive time format, the logger,
// the suite's Unicode text file and the embedded database), then opens the suite's MDI
// main frame (menu bar, main toolbar, MDI tabs, a status bar with a progress pane) with two
// document views on the headless desktop, lets the message loop run until idle and writes
// a PNG snapshot of the frame.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/zyn_datetime.h"
#include "common/zyn_registry.h"
#include "common/zyn_timestamp.h"
#include "app/zyn_app.h"
#include "frames/zyn_main_frame.h"
#include "frames/zyn_toolbar.h"
#include "platform/afx/afxres.h"
#include "platform/afx/afxstate.h"
#include "platform/afx/doc.h"
#include "platform/afx/doctempl.h"
#include "platform/afx/gdi/afxgdi.h"
#include "platform/afx/mdi.h"
#include "platform/afx/view.h"
#include "platform/base/environment.h"
#include "platform/base/exception.h"
#include "platform/base/inifile.h"
#include "platform/base/utf16.h"
#include "platform/gdi/wingdi.h"
#include "platform/suite/database/schema_loader.h"
#include "platform/suite/database/table_exists.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/utility/logger.h"
#include "platform/suite/utility/stdiofile_unicode.h"
#include "platform/suite/utility/sysinfo.h"
#include "platform/user/driver.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"
#include "toolkit/skins/skin.h"
#include "toolkit/skins/status_bar.h"
#include "toolkit/skins/skin_xp.h"

namespace {
void Say(const CString& text) { std::printf("%s\n", zyn::base::ToUtf8(text.GetString()).c_str()); }

// The demo keeps its settings and logs in a folder of its own unless told otherwise.
void UsePrivateFolders()
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "zyn-demo";
    for (const char* sub : {"registry", "windows", "logs"})
        fs::create_directories(root / sub);
    ::setenv("ZYN_REGISTRY_DIR", (root / "registry").c_str(), 0);
    ::setenv("ZYN_WINDIR", (root / "windows").c_str(), 0);
    ::setenv("ZYN_LOG_DIR", (root / "logs").c_str(), 0);
}
// ---- the windowed part --------------------------------------------------------------------

// The menu bar of the frame and of the documents: File and Window.
HMENU MakeMenuBar()
{
    const HMENU bar = CreateMenu();
    const HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, ID_FILE_NEW, L"&New\tCtrl+N");
    AppendMenuW(file, MF_STRING, ID_FILE_CLOSE, L"&Close");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, ID_APP_EXIT, L"E&xit");
    // View: the toolbar submenu the main frame appends its toolbars to, and its commands.
    const HMENU view = CreatePopupMenu();
    const HMENU toolbars = CreatePopupMenu();
    AppendMenuW(toolbars, MF_STRING, CZynMainFrame::ID_VIEW_TOOLBAR_DEFAULTS, L"&Default Places");
    AppendMenuW(toolbars, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(view, MF_POPUP, reinterpret_cast<UINT_PTR>(toolbars), L"&Toolbars");
    AppendMenuW(view, MF_STRING, CZynMainFrame::ID_VIEW_TOOLBAR_LABELS, L"Toolbar &Labels");
    AppendMenuW(view, MF_STRING, CZynMainFrame::ID_VIEW_MDITABS, L"MDI T&abs");
    AppendMenuW(view, MF_STRING, CZynMainFrame::ID_ZYNAPP_SAVE_SETTINGS, L"&Save Settings on Exit");
    const HMENU window = CreatePopupMenu();
    AppendMenuW(window, MF_STRING, ID_WINDOW_CASCADE, L"&Cascade");
    AppendMenuW(window, MF_STRING, ID_WINDOW_TILE_HORZ, L"&Tile");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&Edit");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), L"&Window");
    return bar;
}

class CDemoDoc : public CDocument {
    DECLARE_DYNCREATE(CDemoDoc)
};
IMPLEMENT_DYNCREATE(CDemoDoc, CDocument)

// Draws the document's title and a few shapes in the current skin's colours (the system
// colours when the skin has none of its own).
class CDemoView : public CView {
    DECLARE_DYNCREATE(CDemoView)
public:
    void OnDraw(CDC* pDC) override
    {
        struct Swatch {
            const wchar_t* name;
            COLORREF colour;
        };
        COLORREF back = GetSysColor(COLOR_WINDOW);
        COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
        Swatch swatches[] = {{L"Hot", RGB(255, 238, 194)}, {L"Checked", RGB(255, 192, 111)},
            {L"Border", GetSysColor(COLOR_HIGHLIGHT)}, {L"Gripper", GetSysColor(COLOR_BTNSHADOW)},
            {L"Caption", GetSysColor(COLOR_ACTIVECAPTION)}};
        CString skinName = L"no skin";
        if (CZynApp* app = CZynApp::GetApp(); app && app->GetCurrentSkin()) {
            skinName = app->GetCurrentSkin()->GetName();
            if (const auto* xp = dynamic_cast<const COXSkinXP*>(app->GetCurrentSkin())) {
                back = xp->GetMenuFaceColor();
                text = xp->GetTextColor();
                swatches[0].colour = xp->GetHotItemColor();
                swatches[1].colour = xp->GetCheckedItemColor();
                swatches[2].colour = xp->GetActiveBorderColor();
                swatches[3].colour = xp->GetGripperColor();
                swatches[4].colour = xp->GetMiniFrameCaptionColor();
            }
        }
        const COLORREF border = swatches[2].colour;
        CRect client;
        GetClientRect(&client);
        pDC->FillSolidRect(&client, back);

        CFont title;
        title.CreatePointFont(160, L"Sans");
        CFont* oldFont = pDC->SelectObject(&title);
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(text);
        pDC->TextOut(14, 8, GetDocument() ? GetDocument()->GetTitle() : CString(L"Untitled"));
        pDC->SelectObject(oldFont);
        pDC->TextOut(14, 40, L"Skin: " + skinName);

        // The shapes: a rectangle, an ellipse, a round rectangle and a triangle.
        CPen pen(PS_SOLID, 2, border);
        CPen* oldPen = pDC->SelectObject(&pen);
        CBrush hotBrush(swatches[0].colour);
        CBrush* oldBrush = pDC->SelectObject(&hotBrush);
        pDC->Rectangle(14, 68, 114, 138);
        CBrush checkedBrush(swatches[1].colour);
        pDC->SelectObject(&checkedBrush);
        pDC->Ellipse(130, 68, 220, 138);
        CBrush captionBrush(swatches[4].colour);
        pDC->SelectObject(&captionBrush);
        pDC->RoundRect(236, 68, 336, 138, 24, 24);
        CBrush borderBrush(border);
        pDC->SelectObject(&borderBrush);
        const POINT triangle[3] = {{352, 138}, {402, 68}, {452, 138}};
        pDC->Polygon(triangle, 3);
        pDC->SelectObject(oldBrush);
        pDC->SelectObject(oldPen);

        // The skin's colours, named.
        int x = 14;
        for (const Swatch& swatch : swatches) {
            CRect box(x, 156, x + 20, 176);
            pDC->FillSolidRect(&box, swatch.colour);
            pDC->TextOut(x + 26, 158, swatch.name);
            x += 112;
        }
    }
};
IMPLEMENT_DYNCREATE(CDemoView, CView)

class CDemoChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CDemoChildFrame)
};
IMPLEMENT_DYNCREATE(CDemoChildFrame, CMDIChildWnd)

// The suite's main frame with the main toolbar and a status bar: message pane, a progress
// pane and the lock indicators.
class CDemoMainFrame : public CZynMainFrame {
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        cs.hMenu = MakeMenuBar();
        return CZynMainFrame::PreCreateWindow(cs);
    }
    // The bars after the window: toolbar registered, status bar with its panes.
    bool MakeBars()
    {
        EnableDocking(CBRS_ALIGN_ANY);
        if (!m_toolbar.Create(this))
            return false;
        DockControlBar(&m_toolbar, AFX_IDW_DOCKBAR_TOP);
        AddToolbar(&m_toolbar);
        static const UINT panes[] = {ID_SEPARATOR, ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
        if (!m_status.Create(this) || !m_status.SetIndicators(panes, 5))
            return false;
        m_status.SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 160);
        RecalcLayout();
        return true;
    }
    // Shows a task at `percent` in the progress pane.
    void ShowProgress(DWORD percent)
    {
        if (!m_status.GetPaneProgress(1))
            m_status.SetUpBar(1);
        m_status.SetBarProgress(1, 0, 100, percent);
    }

private:
    CToolbarMain m_toolbar;
    COXStatusBar m_status;
};

constexpr UINT IDR_DEMO_DOOR = 0x7100;

// Doors: the document strings and the shared menu are made here instead of loaded.
class CDemoTemplate : public CMultiDocTemplate {
public:
    CDemoTemplate()
        : CMultiDocTemplate(IDR_DEMO_DOOR, RUNTIME_CLASS(CDemoDoc), RUNTIME_CLASS(CDemoChildFrame),
              RUNTIME_CLASS(CDemoView))
    {
        m_strDocStrings = L"\nDoor\nDoor";
        m_hMenuShared = MakeMenuBar();
    }
};

class CDemoApp : public CZynApp {
public:
    CDemoApp() : CZynApp(L"ZynCmn Demo") {}
};

// Handles what is queued and gives the idle passes, until nothing is left to do.
void RunUntilIdle(CWinApp& app)
{
    for (int round = 0; round < 100; ++round) {
        bool any = false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            if (msg.message == WM_QUIT)
                return;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        for (LONG count = 0; app.OnIdle(count); ++count) {
        }
        zyn::user::PaintPendingWindows();
        if (!any && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            return;
    }
}

// The MDI frame with two doors, tiled; the frame's snapshot goes to the demo folder.
bool RunWindows()
{
    namespace fs = std::filesystem;
    CDemoApp app;
    app.AddDocTemplate(new CDemoTemplate);  // the application's document manager owns it
    auto* frame = new CDemoMainFrame;       // deletes itself with its window
    if (!frame->Create(nullptr, L"ZynCmn Demo", WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CRect(40, 30, 1000, 760))) {
        Say(L"The main frame cannot be created.");
        delete frame;
        return false;
    }
    app.m_pMainWnd = frame;
    if (!frame->MakeBars()) {
        Say(L"The main frame's bars cannot be created.");
        frame->DestroyWindow();
        return false;
    }
    // The placement and bars of the last run (maximised the first time), shown as saved.
    frame->LoadState();
    frame->ShowWindow(app.m_nCmdShow);
    frame->UpdateWindow();

    app.OnFileNew();
    app.OnFileNew();
    CString line;
    line.Format(L"MDI frame with %d documents open", app.GetOpenDocumentCount());
    Say(line);
    frame->SendMessage(WM_COMMAND, ID_WINDOW_TILE_HORZ, 0);
    frame->ShowProgress(40);
    frame->SetMessageText(L"Two doors open");
    RunUntilIdle(app);

    CString title;
    frame->GetWindowText(title);
    Say(L"Frame title: " + title);
    const fs::path png = fs::temp_directory_path() / "zyn-demo" / "desktop.png";
    const bool shot = zyn::user::SnapshotDesktopPng(png.string());
    if (shot)
        Say(L"Snapshot: " + CString(zyn::base::FromUtf8(png.string()).c_str()));
    else
        Say(L"The snapshot could not be written.");

    app.CloseAllDocuments(TRUE);
    frame->SaveState();
    if (app.m_pMainWnd && app.m_pMainWnd->m_hWnd)
        app.m_pMainWnd->DestroyWindow();
    app.m_pMainWnd = nullptr;
    app.SetMainFrame(nullptr);
    RunUntilIdle(app);
    AfxUnlockTempMaps();
    if (const size_t left = zyn::user::LiveWindowCount(); left != 0) {
        line.Format(L"%d windows were left open", static_cast<int>(left));
        Say(line);
        return false;
    }
    return shot;
}
} // namespace

int main()
{
    UsePrivateFolders();
    Say(L"ZynCmn example host");

    CString computer;
    if (SysInfo::GetComputerNameW(computer, false, false))
        Say(L"Computer: " + computer);

    // ACS.INI [Polling] DBCheckSeconds, 60 when absent.
    const UINT seconds = GetPrivateProfileIntW(L"Polling", L"DBCheckSeconds", 60, L"ACS.INI");
    CString line;
    line.Format(L"Database check every %u seconds (ACS.INI [Polling])", seconds);
    Say(line);
    WritePrivateProfileStringW(L"Polling", L"DBCheckSeconds", L"60", L"ACS.INI");

    // HKLM SOFTWARE\Orvan\Tessora.
    {
        CZynRegistry settings(true);
        if (!settings.IsOpen()) {
            Say(L"The registry store cannot be opened.");
            return 1;
        }
        CString product;
        if (!settings.GetString(L"InstalledProductName", product)) {
            settings.SetString(L"InstalledProductName", L"Access Control");
            product = L"Access Control (set now)";
        }
        Say(L"Installed product: " + product);
    }

    // The machine's zone and the archive's fixed time text.
    CZynDateTime now;
    const CZynDateTime utc = now.GetUTC();
    Say(L"Local time:  " + ZynFormatArchiveTime(now.GetAsOleDateTime()));
    Say(L"UTC:         " + ZynFormatArchiveTime(utc.GetAsOleDateTime()));

    // One archive-style line written and read back.
    const CString path = CLogger::GetLogDir() + L"/demo-archive.txt";
    {
        CStdioFileUnicode out;
        if (!out.Open(path, CFile::modeCreate | CFile::modeWrite)) {
            Say(L"Cannot write " + path);
            return 1;
        }
        out.WriteString(L"1\t" + ZynFormatArchiveTime(utc.GetAsOleDateTime()) + L"\tFront door");
        out.Close();
    }
    CStdioFileUnicode in;
    if (in.Open(path, CFile::modeRead)) {
        CString read;
        while (in.ReadString(read))
            Say(L"Archive line: " + read);
    }
    // The embedded default database: an SQLite file created from the schema on first run.
    {
        const auto dbFile = std::filesystem::temp_directory_path() / "zyn-demo" / "orvan.db";
        const CString dbPath(zyn::base::FromUtf8(dbFile.string()).c_str());
        try {
            if (!std::filesystem::exists(dbFile)) {
                const int statements = zyn::db::CreateDatabase(dbPath, zyn::db::SchemaEngine::SQLite);
                line.Format(L"Created %s from the schema (%d statements)", dbPath.GetString(), statements);
                Say(line);
            }
            CZynDatabase db;
            db.OpenEx(zyn::db::SqliteConnectString(dbPath));
            int64_t events = 0;
            db.QueryInt64(L"SELECT COUNT(*) FROM EVENTS", {}, events);
            line.Format(L"Database %s: EVENTS table %s with %I64d rows", db.GetDBMSName().GetString(),
                ZynTableExists(&db, L"EVENTS") ? L"present" : L"missing", events);
            Say(line);
        } catch (CException* e) {
            Say(L"Database error: " + e->GetMessageText());
            e->Delete();
            return 1;
        }
    }
    CLogger::LogDebug(L"Example host ran");
    Say(L"Logs in " + CLogger::GetLogDir());
    if (!RunWindows())
        return 1;
    Say(L"Windows closed");
    return 0;
}
