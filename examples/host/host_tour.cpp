#include "host_tour.h"

#include <algorithm>
#include <string>

#include "frames/acconfig_sheet.h"
#include "frames/acconfig_view.h"
#include "frames/log_viewer.h"
#include "host_app.h"
#include "host_frame.h"
#include "host_ids.h"
#include "host_views.h"
#include "platform/afx/afxres.h"
#include "platform/afx/mdi.h"
#include "platform/gdi/png_export.h"
#include "platform/gdi/printer.h"
#include "toolkit/docking/size_dock_bar.h"
#include "platform/base/utf16.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"
#include "toolkit/skins/skin.h"

namespace {

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
            if (!app.PreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        for (LONG count = 0; app.OnIdle(count); ++count) {
        }
        zyn::user::PaintPendingWindows();
        if (!any && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            return;
    }
}

class Tour {
public:
    Tour(CHostApp& app, std::filesystem::path pictures) : m_app(app), m_pictures(std::move(pictures)) {}

    // One step: its check, then its picture.
    void Step(const char* picture, const char* what, bool ok)
    {
        RunUntilIdle(m_app);
        std::string line = std::string(ok ? "tour ok: " : "tour FAILED: ") + what;
        if (picture) {
            const auto png = m_pictures / (std::string(picture) + ".png");
            if (!zyn::user::SnapshotDesktopPng(png.string())) {
                ok = false;
                line += " (no picture)";
            } else {
                line += " [" + png.filename().string() + "]";
            }
        }
        if (!ok)
            ++m_failures;
        m_app.Say(CString(zyn::base::FromUtf8(line).c_str()));
    }
    int Failures() const { return m_failures; }
    CHostApp& App() { return m_app; }

private:
    CHostApp& m_app;
    std::filesystem::path m_pictures;
    int m_failures = 0;
};

CNamePage* PageOfView(UINT command)
{
    CViewInfo* info = HostApp().GetViewInfo(command);
    CFrameWnd* frame = info ? info->GetOpenFrame() : nullptr;
    auto* view = frame ? dynamic_cast<CZynAcConfigView*>(frame->GetActiveView()) : nullptr;
    CZynAcConfigSheet* sheet = view ? view->GetSheet() : nullptr;
    return sheet ? dynamic_cast<CNamePage*>(sheet->GetPage(0)) : nullptr;
}

CZynAcConfigView* ViewOf(UINT command)
{
    CViewInfo* info = HostApp().GetViewInfo(command);
    CFrameWnd* frame = info ? info->GetOpenFrame() : nullptr;
    return frame ? dynamic_cast<CZynAcConfigView*>(frame->GetActiveView()) : nullptr;
}

int64_t AuditRows(CZynDatabase& db, int objectType)
{
    int64_t n = -1;
    CString sql;
    sql.Format(L"SELECT COUNT(*) FROM USER_TRANSACTION WHERE OBJECT_TYPE = %d", objectType);
    db.QueryInt64(sql, {}, n);
    return n;
}

// Presses a form button as a click does.
void Press(CZynAcConfigView* view, UINT id)
{
    if (view)
        view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

} // namespace

int RunTour(CHostApp& app, const std::filesystem::path& pictures)
{
    std::filesystem::create_directories(pictures);
    Tour tour(app, pictures);
    CHostFrame& frame = *app.Frame();
    tour.Step("01-console", "the console opens with its bars", frame.Events().LineCount() > 0 || host::CountRows(app.Database(), L"EVENTS") == 0);

    // Every skin, from the menu; the run ends on the skin after the one it began with.
    static const UINT skins[] = {ID_HOST_SKIN_CLASSIC, ID_HOST_SKIN_XP, ID_HOST_SKIN_2003};
    static const char* const shots[] = {"02-skin-classic", "02-skin-officexp", "02-skin-office2003"};
    const CString began = app.GetCurrentSkin()->GetName();
    int next = 0;
    for (int i = 0; i < 3; ++i) {
        frame.SendMessage(WM_COMMAND, skins[i], 0);
        const bool ok = app.GetCurrentSkin()->GetName() == HostSkinName(skins[i]);
        tour.Step(shots[i], (std::string("skin ") + zyn::base::ToUtf8(HostSkinName(skins[i]))).c_str(), ok);
        if (began == HostSkinName(skins[i]))
            next = (i + 1) % 3;
    }

    // Doors from the shortcut bar.
    const bool clicked = frame.Shortcuts().ActivateItem(0, 0);
    RunUntilIdle(app);
    CNamePage* doors = PageOfView(ID_VIEW_HOST_DOORS);
    tour.Step("03-doors", "the shortcut bar opens the doors", clicked && doors != nullptr);

    // A door added, then renamed, through the form; each writes its audit row.
    CZynAcConfigView* view = ViewOf(ID_VIEW_HOST_DOORS);
    if (doors && view) {
        CZynDatabase& db = app.Database();
        const int64_t auditBefore = AuditRows(db, host::kObjectDoor);
        CString name;
        name.Format(L"Door %d", static_cast<int>(host::CountRows(db, L"HOST_DOOR")) + 1);
        Press(view, 10012);  // Add
        RunUntilIdle(app);
        doors->SetNameField(name);
        Press(view, IDOK);
        RunUntilIdle(app);
        bool added = false;
        for (const CString& n : doors->Names())
            added = added || n == name;
        tour.Step("04-door-added", "a door added through the form", added && doors->GetState() == AcCfgStateView);
        Press(view, 10013);  // Modify
        RunUntilIdle(app);
        doors->SetNameField(name + L" (lobby)");
        Press(view, IDOK);
        RunUntilIdle(app);
        bool renamed = false;
        for (const CString& n : doors->Names())
            renamed = renamed || n == name + L" (lobby)";
        tour.Step(nullptr, "the door renamed", renamed);
        tour.Step(nullptr, "two audit rows", AuditRows(db, host::kObjectDoor) == auditBefore + 2);

        // Names the form refuses, each with its message and nothing stored: an empty one,
        // blanks only, one over 64 characters, the renamed door's own; then Cancel.
        const size_t doorsBefore = doors->Names().size();
        const struct {
            CString name;
            const char* what;
        } refused[] = {{CString(), "an empty name"}, {CString(L"   "), "blanks only"},
            {CString(L'x', 65), "a name of 65 characters"}, {name + L" (LOBBY)", "a name taken (any case)"}};
        Press(view, 10012);
        RunUntilIdle(app);
        for (const auto& row : refused) {
            const size_t shown = zyn::user::AnswerScript::Shown().size();
            doors->SetNameField(row.name);
            Press(view, IDOK);
            RunUntilIdle(app);
            const bool said = zyn::user::AnswerScript::Shown().size() == shown + 1;
            tour.Step(nullptr, (std::string("the form refuses ") + row.what).c_str(),
                said && doors->GetState() == AcCfgStateAdd && doors->Names().size() == doorsBefore);
        }
        Press(view, IDCANCEL);
        RunUntilIdle(app);
        tour.Step(nullptr, "Cancel leaves the doors as they were",
            doors->GetState() == AcCfgStateView && doors->Names().size() == doorsBefore &&
                AuditRows(db, host::kObjectDoor) == auditBefore + 2);
    } else {
        tour.Step(nullptr, "the door form", false);
    }

    // Operators from the menu, maximised.
    frame.SendMessage(WM_COMMAND, ID_VIEW_HOST_OPERATORS, 0);
    RunUntilIdle(app);
    CViewInfo* operators = app.GetViewInfo(ID_VIEW_HOST_OPERATORS);
    CFrameWnd* child = operators ? operators->GetOpenFrame() : nullptr;
    if (auto* mdiChild = dynamic_cast<CMDIChildWnd*>(child))
        mdiChild->MDIMaximize();
    BOOL maximised = FALSE;
    frame.MDIGetActive(&maximised);
    tour.Step("05-operators-maximised", "the operators' screen, maximised", child != nullptr && maximised);
    if (auto* mdiChild = dynamic_cast<CMDIChildWnd*>(child))
        frame.MDIRestore(mdiChild);

    // The events bar on each side, floating and back; then tabbed with the shortcut bar.
    CEventsBar& events = frame.Events();
    static const struct {
        UINT dock;
        const char* side;
    } sides[] = {{AFX_IDW_DOCKBAR_RIGHT, "right"}, {AFX_IDW_DOCKBAR_TOP, "top"}, {AFX_IDW_DOCKBAR_LEFT, "left"},
        {AFX_IDW_DOCKBAR_BOTTOM, "bottom"}};
    for (const auto& side : sides) {
        frame.DockControlBar(&events, side.dock);
        frame.RecalcLayout();
        CWnd* dock = events.GetParent();
        const bool ok = !events.IsFloating() && dock && static_cast<UINT>(dock->GetDlgCtrlID()) == side.dock;
        tour.Step(side.dock == AFX_IDW_DOCKBAR_RIGHT ? "06-events-right" : nullptr,
            (std::string("the events bar docked ") + side.side).c_str(), ok);
    }
    frame.FloatControlBar(&events, CPoint(420, 300));
    frame.RecalcLayout();
    tour.Step("07-events-floating", "the events bar floating", events.IsFloating() != FALSE);
    frame.DockControlBar(&events, AFX_IDW_DOCKBAR_LEFT);
    frame.RecalcLayout();
    auto* leftDock = dynamic_cast<COXSizeDockBar*>(events.GetParent());
    if (leftDock)
        leftDock->TabAllDockedControlBars(&events);
    frame.RecalcLayout();
    tour.Step("08-bars-tabbed", "the events and shortcut bars tabbed on the left",
        !events.IsFloating() && leftDock && events.GetDockTabCtrl() && frame.Shortcuts().GetDockTabCtrl());
    frame.DockControlBar(&events, AFX_IDW_DOCKBAR_BOTTOM);
    frame.RecalcLayout();
    CWnd* bottom = events.GetParent();
    tour.Step(nullptr, "the events bar back at the bottom",
        !events.IsFloating() && bottom && static_cast<UINT>(bottom->GetDlgCtrlID()) == AFX_IDW_DOCKBAR_BOTTOM);

    // The archive pass and its restore.
    const int64_t before = host::CountRows(app.Database(), L"EVENTS");
    const bool archived = app.RunArchive();
    const int64_t after = host::CountRows(app.Database(), L"EVENTS");
    tour.Step("09-archive", "archive pass and restore",
        archived && after + app.LastArchive().archived == before &&
            app.LastArchive().restored + app.LastArchive().duplicates >= app.LastArchive().archived);

    // The recording server.
    tour.Step(nullptr, "the recording server answers", app.AskRecorder() && app.LastRecorder().purgeState != E_FAIL);

    // The session log.
    const bool opened = app.OpenLogViewer();
    tour.Step("10-session-log", "the session log viewer", opened && app.LogViewer() && app.LogViewer()->IsCreated());
    app.CloseLogViewer();

    // The session log printed on the recording printer: one document, its pages kept as
    // pictures.
    const size_t documents = zyn::gdi::PrintedDocuments().size();
    const int pages = app.PrintSessionLog();
    const auto printed = zyn::gdi::PrintedDocuments();
    bool pictured = pages > 0 && printed.size() == std::min(documents + 1, zyn::gdi::kPrintedDocumentsKept) &&
        !printed.back()->pages.empty();
    if (pictured)
        pictured = zyn::gdi::SaveSurfacePng(*printed.back()->pages[0].image, nullptr,
            (pictures / "11-printed-page.png").string());
    tour.Step(nullptr, "the session log printed", pictured);

    // The skin after the one the run began with stays for the next run.
    frame.SendMessage(WM_COMMAND, skins[next], 0);
    tour.Step(nullptr, "the skin for the next run", app.GetCurrentSkin()->GetName() == HostSkinName(skins[next]));
    return tour.Failures();
}
