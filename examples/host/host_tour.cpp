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
#include "operator_login.h"
#include "platform/afx/afxres.h"
#include "platform/afx/mdi.h"
#include "platform/base/utf16.h"
#include "platform/gdi/png_export.h"
#include "platform/gdi/printer.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/user/acs_user.h"
#include "platform/user/driver.h"
#include "platform/user/edit.h"
#include "platform/user/modal.h"
#include "platform/user/vkeys.h"
#include "platform/user/winuser.h"
#include "resources/resource.h"
#include "toolkit/docking/shb_list.h"
#include "toolkit/docking/size_dock_bar.h"
#include "toolkit/menus/menu_bar.h"
#include "toolkit/skins/skin.h"
#include "tour_input.h"

namespace fs = std::filesystem;

namespace tour {

struct LoginSeen {
    bool opened = false;          // the dialog showed, the focus in the operator's name
    bool passwordHidden = false;  // the password field shows no characters
    bool refusedShown = false;    // the wrong password's message box appeared over the dialog
    bool stayed = false;          // after it the dialog stayed, the password emptied and focused
    bool cancelClicked = false;   // (cancel run) the click on Cancel was made
    std::string pictureError;     // a picture that could not be written
};

std::optional<Kind> KindFromName(const std::string& name)
{
    if (name == "full")
        return Kind::Full;
    if (name == "persist-save")
        return Kind::PersistSave;
    if (name == "persist-check")
        return Kind::PersistCheck;
    if (name == "cancel")
        return Kind::Cancel;
    return std::nullopt;
}

namespace {

const wchar_t* const kLoginTitle = L"Log in to the console";
const wchar_t* const kRefusal = L"The operator name or the password is not right.";

HWND LoginDialog() { return ::FindWindowW(L"#32770", kLoginTitle); }

void Picture(const fs::path& pictures, const char* name, std::string& error)
{
    zyn::user::PaintPendingWindows();
    const auto png = pictures / (std::string(name) + ".png");
    if (!zyn::user::SnapshotDesktopPng(png.string()))
        error = png.filename().string();
}

// The full run's log-in: the name, a wrong password (Enter), the message answered with
// Enter, then the right password (Enter). Each part waits for the previous one to be
// handled, as a person waits for the screen.
void ScriptFullLogin(const std::shared_ptr<LoginSeen>& seen, const fs::path& pictures)
{
    WhenIdle([seen, pictures] {
        const HWND dlg = LoginDialog();
        const HWND name = dlg ? ::GetDlgItem(dlg, IDC_LOGIN_NAME) : nullptr;
        const HWND password = dlg ? ::GetDlgItem(dlg, IDC_LOGIN_PASSWORD) : nullptr;
        seen->opened = name && ::GetFocus() == name;
        seen->passwordHidden = password && (::GetWindowLongW(password, GWL_STYLE) & ES_PASSWORD);
        Type(host::kInitialAdminName);
        Press(VK_TAB);
        Type(L"not-the-password");
        WhenIdle([seen, pictures] {
            Picture(pictures, "00-login", seen->pictureError);
            Press(VK_RETURN);
            WhenIdle([seen, pictures] { // the message box's loop
                const HWND box = ::GetActiveWindow();
                seen->refusedShown = box && box != LoginDialog() && ::IsWindowVisible(box);
                Picture(pictures, "00-login-refused", seen->pictureError);
                Press(VK_RETURN);
                WhenIdle([seen] { // the dialog's loop again
                    const HWND dlg = LoginDialog();
                    const HWND password = dlg ? ::GetDlgItem(dlg, IDC_LOGIN_PASSWORD) : nullptr;
                    seen->stayed = password && ::GetFocus() == password && ::GetWindowTextLengthW(password) == 0;
                    Type(host::kInitialAdminPassword);
                    Press(VK_RETURN);
                });
            });
        });
    });
}

class Tour {
public:
    Tour(CHostApp& app, fs::path pictures) : m_app(app), m_pictures(std::move(pictures)) {}

    // One step: its check, then its picture.
    void Step(const char* picture, const std::string& what, bool ok)
    {
        Settle(m_app);
        std::string line = std::string(ok ? "tour ok: " : "tour FAILED: ") + what;
        if (picture) {
            const auto png = m_pictures / (std::string(picture) + ".png");
            if (!zyn::user::SnapshotDesktopPng(png.string())) {
                ok = false;
                line = "tour FAILED: " + what + " (no picture)";
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
    void Settled() { Settle(m_app); }

private:
    CHostApp& m_app;
    fs::path m_pictures;
    int m_failures = 0;
};

CZynAcConfigView* ViewOf(UINT command)
{
    CViewInfo* info = HostApp().GetViewInfo(command);
    CFrameWnd* frame = info ? info->GetOpenFrame() : nullptr;
    return frame ? dynamic_cast<CZynAcConfigView*>(frame->GetActiveView()) : nullptr;
}

CNamePage* PageOfView(UINT command)
{
    CZynAcConfigView* view = ViewOf(command);
    CZynAcConfigSheet* sheet = view ? view->GetSheet() : nullptr;
    return sheet ? dynamic_cast<CNamePage*>(sheet->GetPage(0)) : nullptr;
}

int64_t AuditRows(CZynDatabase& db, int objectType)
{
    int64_t n = -1;
    CString sql;
    sql.Format(L"SELECT COUNT(*) FROM USER_TRANSACTION WHERE OBJECT_TYPE = %d", objectType);
    db.QueryInt64(sql, {}, n);
    return n;
}

bool HasName(CNamePage& page, const CString& name)
{
    const auto names = page.Names();
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The top-level index of a menu-bar popup holding the command; -1 when none does.
int MenuIndexOf(COXMenuBar& bar, UINT command)
{
    const HMENU menu = bar.GetHMenu();
    const int count = menu ? ::GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        const HMENU popup = ::GetSubMenu(menu, i);
        for (int j = 0; popup && j < ::GetMenuItemCount(popup); ++j)
            if (::GetMenuItemID(popup, j) == command)
                return i;
    }
    return -1;
}

bool Choose(CHostFrame& frame, UINT command)
{
    COXMenuBar& bar = frame.GetMenuBar();
    const int index = MenuIndexOf(bar, command);
    if (index < 0)
        return false;
    bool found = false;
    ChooseMenuCommand(bar, index, command, &found);
    Settle(HostApp());
    return found;
}

bool ChooseSkin(CHostFrame& frame, UINT command)
{
    return Choose(frame, command) && HostApp().GetCurrentSkin()->GetName() == HostSkinName(command);
}

UINT SideOf(CControlBar& bar)
{
    CWnd* dock = bar.IsFloating() ? nullptr : bar.GetParent();
    return dock ? static_cast<UINT>(dock->GetDlgCtrlID()) : 0;
}

// The point a press on the bar's gripper takes: its middle, in screen coordinates.
CPoint GripperOf(COXSizeControlBar& bar)
{
    CRect grip = bar.m_rectGripper;
    bar.ClientToScreen(&grip);
    return grip.CenterPoint();
}

// A point just inside the frame's client area on one side, level with its middle: a bar
// dropped there docks on that side.
CPoint SidePoint(CHostFrame& frame, UINT side)
{
    CRect client;
    frame.GetClientRect(&client);
    frame.ClientToScreen(&client);
    const CPoint mid = client.CenterPoint();
    switch (side) {
    case AFX_IDW_DOCKBAR_LEFT: return CPoint(client.left + 3, mid.y);
    case AFX_IDW_DOCKBAR_RIGHT: return CPoint(client.right - 3, mid.y);
    case AFX_IDW_DOCKBAR_TOP: {
        CWnd* top = frame.GetControlBar(AFX_IDW_DOCKBAR_TOP);
        CRect r;
        if (top)
            top->GetWindowRect(&r);
        return CPoint(mid.x, top ? r.bottom - 3 : client.top + 3);
    }
    default: {
        CRect status;
        frame.Status().GetWindowRect(&status);
        // Far enough up that an outline hanging below the cursor (a floating frame's,
        // taken by its caption) still reaches the side.
        return CPoint(mid.x, status.top - 20);
    }
    }
}

// Drags the docked bar by its gripper to a side of the frame.
bool DragToSide(Tour& tour, CHostFrame& frame, COXSizeControlBar& bar, UINT side)
{
    DragFromTo(GripperOf(bar), SidePoint(frame, side));
    tour.Settled();
    return !bar.IsFloating() && SideOf(bar) == side;
}

// Drags a floating bar by its frame's caption to a side of the frame.
bool DragFloatingToSide(Tour& tour, CHostFrame& frame, COXSizeControlBar& bar, UINT side)
{
    CWnd* mini = bar.IsFloating() ? bar.GetParentFrame() : nullptr;
    CPoint caption;
    if (!mini || !FindHitPoint(mini->m_hWnd, HTCAPTION, caption))
        return false;
    DragFromTo(caption, SidePoint(frame, side));
    tour.Settled();
    return !bar.IsFloating() && SideOf(bar) == side;
}

bool Maximised(CHostFrame& frame, CMDIChildWnd* child)
{
    BOOL max = FALSE;
    return frame.MDIGetActive(&max) == child && max;
}

// Clicks one of the buttons the menu bar shows for a maximised child.
bool ClickMdiButton(CHostFrame& frame, CRect (COXMenuBar::*which)() const)
{
    COXMenuBar& bar = frame.GetMenuBar();
    bar.CalcButtonRects();
    CRect r = (bar.*which)();
    if (r.IsRectEmpty())
        return false;
    CRect window;
    bar.GetWindowRect(&window);
    r.OffsetRect(window.TopLeft());
    ClickAt(r.CenterPoint());
    Settle(HostApp());
    return true;
}

// Clicks the child's own caption button (maximise or restore, by its hit code).
bool ClickCaptionButton(CMDIChildWnd& child, int code)
{
    CPoint at;
    if (!FindHitPoint(child.m_hWnd, code, at))
        return false;
    ClickAt(at);
    Settle(HostApp());
    return true;
}

// Clicks a button of the configuration view by its ID.
bool ClickViewButton(CZynAcConfigView& view, UINT id)
{
    CWnd* button = view.GetDlgItem(static_cast<int>(id));
    const bool clicked = button && button->IsWindowEnabled() && ClickWindow(button->m_hWnd);
    Settle(HostApp());
    return clicked;
}

// Replaces the text of the page's name field as a person does: click in it, select all
// of it (Home, Shift+End), type over it (Delete for nothing).
void TypeName(CNamePage& page, UINT idcName, const CString& text)
{
    CWnd* field = page.GetDlgItem(static_cast<int>(idcName));
    if (!field || !ClickWindow(field->m_hWnd))
        return;
    Press(VK_HOME);
    PressShifted(VK_END);
    if (text.IsEmpty())
        Press(VK_DELETE);
    else
        Type(text.GetString());
    Settle(HostApp());
}

void DoorSteps(Tour& tour, CHostFrame& frame)
{
    CHostApp& app = tour.App();
    // The doors from the shortcut bar: a click on the first item of its first group.
    COXSHBListCtrl* list = frame.Shortcuts().ItemList(0);
    CRect item;
    bool clicked = false;
    if (list && list->GetItemRect(0, &item, LVIR_LABEL)) {
        list->ClientToScreen(&item);
        ClickAt(item.CenterPoint());
        clicked = true;
    }
    tour.Settled();
    CNamePage* doors = PageOfView(ID_VIEW_HOST_DOORS);
    CZynAcConfigView* view = ViewOf(ID_VIEW_HOST_DOORS);
    tour.Step("03-doors", "a click on the shortcut bar opens the doors", clicked && doors && view);
    if (!doors || !view)
        return;

    // A door added, then renamed, through the form; each writes its audit row.
    CZynDatabase& db = app.Database();
    const int64_t auditBefore = AuditRows(db, host::kObjectDoor);
    CString name;
    name.Format(L"Door %d", static_cast<int>(host::CountRows(db, L"HOST_DOOR")) + 1);
    bool pressed = ClickViewButton(*view, IDC_ZYN_CFG_ADD);
    TypeName(*doors, IDC_DOOR_NAME, name);
    pressed = ClickViewButton(*view, IDOK) && pressed;
    tour.Step("04-door-added", "a door added by typing into the form",
        pressed && HasName(*doors, name) && doors->GetState() == AcCfgStateView);
    pressed = ClickViewButton(*view, IDC_ZYN_CFG_MODIFY);
    CWnd* field = doors->GetDlgItem(IDC_DOOR_NAME);
    if (field && ClickWindow(field->m_hWnd)) {
        Press(VK_END);
        Type(L" (lobby)");
    }
    pressed = ClickViewButton(*view, IDOK) && pressed;
    tour.Step(nullptr, "the door renamed by typing", pressed && HasName(*doors, name + L" (lobby)"));
    tour.Step(nullptr, "two audit rows", AuditRows(db, host::kObjectDoor) == auditBefore + 2);

    // Names the form refuses, each with its message and nothing stored: an empty one,
    // blanks only, one over 64 characters, the renamed door's own in other case; then
    // Cancel. The message box takes its default answer when the script has no more input.
    const size_t doorsBefore = doors->Names().size();
    const struct {
        CString name;
        const char* what;
    } refused[] = {{CString(), "an empty name"}, {CString(L"   "), "blanks only"},
        {CString(L'x', 65), "a name of 65 characters"}, {name + L" (LOBBY)", "a name taken (any case)"}};
    ClickViewButton(*view, IDC_ZYN_CFG_ADD);
    for (const auto& row : refused) {
        const size_t shown = zyn::user::AnswerScript::Shown().size();
        TypeName(*doors, IDC_DOOR_NAME, row.name);
        ClickViewButton(*view, IDOK);
        const bool said = zyn::user::AnswerScript::Shown().size() == shown + 1;
        tour.Step(nullptr, std::string("the form refuses ") + row.what,
            said && doors->GetState() == AcCfgStateAdd && doors->Names().size() == doorsBefore);
    }
    ClickViewButton(*view, IDCANCEL);
    tour.Step(nullptr, "Cancel leaves the doors as they were",
        doors->GetState() == AcCfgStateView && doors->Names().size() == doorsBefore &&
            AuditRows(db, host::kObjectDoor) == auditBefore + 2);
}

// An operator added through the form with a password, which the log-in check (the one
// the log-in dialog runs) then accepts; a missing password and a confirmation that
// differs are refused first, and a rename with the password fields left blank keeps it.
void OperatorSteps(Tour& tour, CNamePage& page, CZynAcConfigView& view)
{
    CZynDatabase& db = tour.App().Database();
    CString name;
    name.Format(L"Operator %d", static_cast<int>(host::CountRows(db, L"HOST_OPERATOR")) + 1);
    const CString password = L"night shift 7", other = L"night shift 8";
    const auto refused = [&](const char* what) {
        const size_t shown = zyn::user::AnswerScript::Shown().size();
        ClickViewButton(view, IDOK);
        const bool said = zyn::user::AnswerScript::Shown().size() == shown + 1;
        tour.Step(nullptr, std::string("the operators' form refuses ") + what,
            said && page.GetState() == AcCfgStateAdd && !HasName(page, name));
    };
    ClickViewButton(view, IDC_ZYN_CFG_ADD);
    TypeName(page, IDC_OPER_NAME, name);
    refused("a new operator without a password");
    TypeName(page, IDC_OPER_PASSWORD, password);
    TypeName(page, IDC_OPER_CONFIRM, other);
    refused("a confirmation that differs");
    TypeName(page, IDC_OPER_PASSWORD, password);
    TypeName(page, IDC_OPER_CONFIRM, password);
    const bool pressed = ClickViewButton(view, IDOK);
    const auto who = host::CheckOperatorLogin(db, name, password.GetString());
    tour.Step("05-operator-added", "an operator added with a password can log in with it",
        pressed && HasName(page, name) && page.GetState() == AcCfgStateView && who && who->name == name &&
            !host::CheckOperatorLogin(db, name, other.GetString()) &&
            page.GetDlgItem(IDC_OPER_PASSWORD)->GetWindowTextLength() == 0);
    ClickViewButton(view, IDC_ZYN_CFG_MODIFY);
    CWnd* field = page.GetDlgItem(IDC_OPER_NAME);
    if (field && ClickWindow(field->m_hWnd)) {
        Press(VK_END);
        Type(L" (nights)");
    }
    ClickViewButton(view, IDOK);
    tour.Step(nullptr, "renamed with the password left blank, the operator logs in as before",
        HasName(page, name + L" (nights)") &&
            host::CheckOperatorLogin(db, name + L" (nights)", password.GetString()).has_value());
}

void MaximiseSteps(Tour& tour, CHostFrame& frame)
{
    CHostApp& app = tour.App();
    const bool chosen = Choose(frame, ID_VIEW_HOST_OPERATORS);
    CViewInfo* operators = app.GetViewInfo(ID_VIEW_HOST_OPERATORS);
    auto* child = dynamic_cast<CMDIChildWnd*>(operators ? operators->GetOpenFrame() : nullptr);
    tour.Step(nullptr, "the operators' screen from the Console menu", chosen && child);
    if (!child)
        return;
    // The operator logged in cannot be deleted: Delete, OK, the message, Cancel.
    CNamePage* operatorsPage = PageOfView(ID_VIEW_HOST_OPERATORS);
    CZynAcConfigView* operatorsView = ViewOf(ID_VIEW_HOST_OPERATORS);
    if (operatorsPage && operatorsView) {
        const size_t shown = zyn::user::AnswerScript::Shown().size();
        const bool pressed = ClickViewButton(*operatorsView, IDC_ZYN_CFG_DELETE) && ClickViewButton(*operatorsView, IDOK);
        const bool said = zyn::user::AnswerScript::Shown().size() == shown + 1;
        ClickViewButton(*operatorsView, IDCANCEL);
        tour.Step(nullptr, "the operator logged in cannot delete itself",
            pressed && said && HasName(*operatorsPage, host::kInitialAdminName) &&
                operatorsPage->GetState() == AcCfgStateView);
        OperatorSteps(tour, *operatorsPage, *operatorsView);
    } else {
        tour.Step(nullptr, "the operators' form", false);
    }
    const HWND hChild = child->m_hWnd;
    bool clicked = ClickCaptionButton(*child, HTMAXBUTTON);
    tour.Step("05-operators-maximised", "the operators' screen maximised by its caption button",
        clicked && Maximised(frame, child));
    clicked = ClickMdiButton(frame, &COXMenuBar::GetRestoreRect);
    tour.Step(nullptr, "the menu bar's restore button", clicked && !Maximised(frame, child) && !child->IsIconic());
    clicked = ClickCaptionButton(*child, HTMAXBUTTON) && ClickMdiButton(frame, &COXMenuBar::GetMinimizeRect);
    tour.Step(nullptr, "the menu bar's minimise button", clicked && ::IsWindow(hChild) && child->IsIconic());
    // A double click on the icon (all of it is caption) restores it; its caption button
    // maximises it again.
    const CPoint icon = CentreOf(hChild);
    zyn::user::InjectClick(icon.x, icon.y);
    zyn::user::InjectClick(icon.x, icon.y);
    Pause();
    tour.Settled();
    const bool restored = ::IsWindow(hChild) && !child->IsIconic();
    clicked = restored && ClickCaptionButton(*child, HTMAXBUTTON);
    tour.Step(nullptr, "the icon restored by a double click and maximised again", clicked && Maximised(frame, child));
    clicked = ClickMdiButton(frame, &COXMenuBar::GetCloseRect);
    tour.Step(nullptr, "the menu bar's close button", clicked && !::IsWindow(hChild) &&
        !(operators && operators->GetOpenFrame()));
}

void BarSteps(Tour& tour, CHostFrame& frame)
{
    CEventsBar& events = frame.Events();
    static const struct {
        UINT dock;
        const char* side;
        const char* picture;
    } sides[] = {{AFX_IDW_DOCKBAR_RIGHT, "right", "06-events-right"}, {AFX_IDW_DOCKBAR_TOP, "top", nullptr},
        {AFX_IDW_DOCKBAR_LEFT, "left", nullptr}, {AFX_IDW_DOCKBAR_BOTTOM, "bottom", nullptr}};
    for (const auto& side : sides)
        tour.Step(side.picture, std::string("the events bar dragged by its gripper to the ") + side.side,
            DragToSide(tour, frame, events, side.dock));

    // Floated: dropped in the middle of the MDI client area, where no side is near.
    CRect client;
    frame.GetClientRect(&client);
    frame.ClientToScreen(&client);
    DragFromTo(GripperOf(events), client.CenterPoint());
    tour.Settled();
    tour.Step("07-events-floating", "the events bar dragged off to float", events.IsFloating() != FALSE);
    tour.Step(nullptr, "the floating events bar dragged by its caption to the left",
        DragFloatingToSide(tour, frame, events, AFX_IDW_DOCKBAR_LEFT));

    // Tabbed with the shortcut bar above it. No drag reaches this in the console: a bar
    // dropped at the end of the outline drag is docked by the frame, which makes no tabs
    // (only a live drag, on a frame that snaps, joins a tab strip), so the first tab is
    // made through the dock bar as its context menu does.
    CShortcutsBar& shortcuts = frame.Shortcuts();
    auto* leftDock = dynamic_cast<COXSizeDockBar*>(events.GetParent());
    if (leftDock)
        leftDock->TabAllDockedControlBars(&events);
    frame.RecalcLayout();
    tour.Step("08-bars-tabbed", "the events and shortcut bars tabbed on the left",
        SideOf(events) == AFX_IDW_DOCKBAR_LEFT && events.GetDockTabCtrl() && shortcuts.GetDockTabCtrl());
    // The events bar dragged by its gripper back to the bottom: it leaves the tab strip,
    // and both bars are back where they began, neither tabbed.
    DragFromTo(GripperOf(events), SidePoint(frame, AFX_IDW_DOCKBAR_BOTTOM));
    tour.Settled();
    tour.Step(nullptr, "the events bar dragged out of the tabs back to the bottom",
        SideOf(events) == AFX_IDW_DOCKBAR_BOTTOM && SideOf(shortcuts) == AFX_IDW_DOCKBAR_LEFT &&
            !events.GetDockTabCtrl() && !shortcuts.GetDockTabCtrl() && events.IsVisible() && shortcuts.IsVisible());
}

void WorkSteps(Tour& tour, const fs::path& pictures)
{
    CHostApp& app = tour.App();
    CHostFrame& frame = *app.Frame();
    // The archive pass and its restore, from the Console menu.
    const int64_t before = host::CountRows(app.Database(), L"EVENTS");
    const bool archived = Choose(frame, ID_HOST_ARCHIVE);
    const int64_t after = host::CountRows(app.Database(), L"EVENTS");
    tour.Step("09-archive", "archive pass and restore from the menu",
        archived && after + app.LastArchive().archived == before &&
            app.LastArchive().restored + app.LastArchive().duplicates >= app.LastArchive().archived);

    tour.Step(nullptr, "the recording server answers",
        Choose(frame, ID_HOST_RECORDER) && app.LastRecorder().started && app.LastRecorder().purgeState != E_FAIL);

    const bool opened = Choose(frame, ID_HOST_LOGVIEWER);
    tour.Step("10-session-log", "the session log viewer from the menu",
        opened && app.LogViewer() && app.LogViewer()->IsCreated());
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
}

int FullTour(Tour& tour, const fs::path& pictures)
{
    CHostApp& app = tour.App();
    CHostFrame& frame = *app.Frame();
    tour.Step("01-console", "the console opens with its bars",
        frame.Events().LineCount() > 0 || host::CountRows(app.Database(), L"EVENTS") == 0);

    // Every skin from the Skins menu, the one the run began with last, so the steps after
    // show that skin; the run ends on the next one, which the next run must open with.
    static const UINT skins[] = {ID_HOST_SKIN_CLASSIC, ID_HOST_SKIN_XP, ID_HOST_SKIN_2003};
    static const char* const shots[] = {"02-skin-classic", "02-skin-officexp", "02-skin-office2003"};
    const CString began = app.GetCurrentSkin()->GetName();
    int first = 0;
    for (int i = 0; i < 3; ++i)
        if (began == HostSkinName(skins[i]))
            first = (i + 1) % 3;
    for (int k = 0; k < 3; ++k) {
        const int i = (first + k) % 3;
        tour.Step(shots[i], std::string("skin ") + zyn::base::ToUtf8(HostSkinName(skins[i])) + " from the menu",
            ChooseSkin(frame, skins[i]));
    }
    const int next = first;
    DoorSteps(tour, frame);
    MaximiseSteps(tour, frame);
    BarSteps(tour, frame);
    WorkSteps(tour, pictures);
    tour.Step(nullptr, "the skin for the next run", ChooseSkin(frame, skins[next]));
    return tour.Failures();
}

} // namespace

std::shared_ptr<LoginSeen> ScriptLogin(Kind kind, const fs::path& pictures)
{
    fs::create_directories(pictures);
    auto seen = std::make_shared<LoginSeen>();
    switch (kind) {
    case Kind::Full:
        ScriptFullLogin(seen, pictures);
        break;
    case Kind::Cancel:
        WhenIdle([seen] {
            Type(host::kInitialAdminName);
            WhenIdle([seen] {
                const HWND dlg = LoginDialog();
                seen->opened = dlg != nullptr;
                seen->cancelClicked = dlg && ClickWindow(::GetDlgItem(dlg, IDCANCEL));
            });
        });
        break;
    default:
        WhenIdle([seen] {
            seen->opened = LoginDialog() != nullptr;
            Type(host::kInitialAdminName);
            Press(VK_TAB);
            Type(host::kInitialAdminPassword);
            Press(VK_RETURN);
        });
        break;
    }
    return seen;
}

int Run(CHostApp& app, Kind kind, const LoginSeen& login, const fs::path& pictures)
{
    Tour tour(app, pictures);
    const CAcsUser* user = app.GetAcsUser();
    if (kind == Kind::Cancel) {
        tour.Step(nullptr, "Cancel in the log-in dialog ends the console before its window opens",
            login.opened && login.cancelClicked && !user && !app.Frame() && !LoginDialog());
        return tour.Failures();
    }
    tour.Step(nullptr, "the log-in dialog opened with the focus on the operator's name",
        login.opened && login.pictureError.empty());
    if (kind == Kind::Full) {
        tour.Step(nullptr, "the password field hides what is typed", login.passwordHidden);
        const auto shown = zyn::user::AnswerScript::Shown();
        const bool said = std::any_of(shown.begin(), shown.end(), [](const zyn::user::ShownRecord& r) {
            return r.kind == zyn::user::AnswerKind::MessageBox && r.text == kRefusal;
        });
        tour.Step(nullptr, "a wrong password is refused with a message", login.refusedShown && said);
        tour.Step(nullptr, "the dialog stays, the password emptied for another try", login.stayed);
    }
    tour.Step(nullptr, "the operator admin is logged in",
        user && user->GetUserName() == host::kInitialAdminName && app.Frame());
    if (!app.Frame())
        return tour.Failures();
    CHostFrame& frame = *app.Frame();
    switch (kind) {
    case Kind::PersistSave:
        tour.Step(nullptr, "the Classic skin from the menu", ChooseSkin(frame, ID_HOST_SKIN_CLASSIC));
        tour.Step(nullptr, "the events bar dragged to the right",
            DragToSide(tour, frame, frame.Events(), AFX_IDW_DOCKBAR_RIGHT));
        break;
    case Kind::PersistCheck:
        tour.Step(nullptr, "the skin of the last run came back", app.GetCurrentSkin()->GetName() == L"Classic");
        tour.Step(nullptr, "the events bar is on the right again",
            !frame.Events().IsFloating() && SideOf(frame.Events()) == AFX_IDW_DOCKBAR_RIGHT);
        tour.Step(nullptr, "the shortcut and filter bars kept their places",
            SideOf(frame.Shortcuts()) == AFX_IDW_DOCKBAR_LEFT && SideOf(frame.Filter()) == AFX_IDW_DOCKBAR_TOP &&
                frame.Shortcuts().IsVisible() && frame.Filter().IsVisible());
        break;
    default:
        FullTour(tour, pictures);
        break;
    }
    return tour.Failures();
}

} // namespace tour
