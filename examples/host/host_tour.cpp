#include "host_tour.h"

#include <string>

#include "frames/acconfig_sheet.h"
#include "frames/acconfig_view.h"
#include "frames/log_viewer.h"
#include "host_app.h"
#include "host_frame.h"
#include "host_ids.h"
#include "host_views.h"
#include "platform/afx/mdi.h"
#include "platform/base/utf16.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/user/driver.h"
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

    // The archive pass and its restore.
    const int64_t before = host::CountRows(app.Database(), L"EVENTS");
    const bool archived = app.RunArchive();
    const int64_t after = host::CountRows(app.Database(), L"EVENTS");
    tour.Step("06-archive", "archive pass and restore",
        archived && after + app.LastArchive().archived == before &&
            app.LastArchive().restored + app.LastArchive().duplicates >= app.LastArchive().archived);

    // The recording server.
    tour.Step(nullptr, "the recording server answers", app.AskRecorder() && app.LastRecorder().purgeState != E_FAIL);

    // The session log.
    const bool opened = app.OpenLogViewer();
    tour.Step("07-session-log", "the session log viewer", opened && app.LogViewer() && app.LogViewer()->IsCreated());
    app.CloseLogViewer();

    // The skin after the one the run began with stays for the next run.
    frame.SendMessage(WM_COMMAND, skins[next], 0);
    tour.Step(nullptr, "the skin for the next run", app.GetCurrentSkin()->GetName() == HostSkinName(skins[next]));
    return tour.Failures();
}
