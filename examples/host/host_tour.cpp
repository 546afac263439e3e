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
#include "platform/user/popup_menu.h"
#include "toolkit/menus/menu_bar.h"
#include "toolkit/menus/organizer.h"
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

std::optional<Plan> PlanFromName(const std::string& name)
{
    static const struct {
        const char* name;
        Kind kind;
    } kinds[] = {{"full", Kind::Full}, {"persist-save", Kind::PersistSave}, {"persist-check", Kind::PersistCheck},
        {"cancel", Kind::Cancel}};
    for (const auto& k : kinds)
        if (name == k.name)
            return Plan{k.kind, {}};
    for (const char* layout : kLayouts)
        if (name == std::string("layout-") + layout)
            return Plan{Kind::Layout, layout};
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

// A screen's windows, looked up afresh at each use: its MDI child, with the view and the
// page in it, can be gone by the next step (closed by a click, or destroyed with the
// child), so the tour never keeps them. A screen is named by the command opening it.
CZynAcConfigView* ViewOf(UINT screen)
{
    CViewInfo* info = HostApp().GetViewInfo(screen);
    CFrameWnd* frame = info ? info->GetOpenFrame() : nullptr;
    return frame ? dynamic_cast<CZynAcConfigView*>(frame->GetActiveView()) : nullptr;
}

CNamePage* PageOf(UINT screen)
{
    CZynAcConfigView* view = ViewOf(screen);
    CZynAcConfigSheet* sheet = view ? view->GetSheet() : nullptr;
    return sheet ? dynamic_cast<CNamePage*>(sheet->GetPage(0)) : nullptr;
}

// A control of the screen's page; null when the screen is not open.
HWND PageControl(UINT screen, UINT idc)
{
    CNamePage* page = PageOf(screen);
    CWnd* control = page ? page->GetDlgItem(static_cast<int>(idc)) : nullptr;
    return control ? control->m_hWnd : nullptr;
}

bool InState(UINT screen, AcCfgFormState state)
{
    CNamePage* page = PageOf(screen);
    return page && page->GetState() == state;
}

std::vector<CString> NamesOf(UINT screen)
{
    CNamePage* page = PageOf(screen);
    return page ? page->Names() : std::vector<CString>{};
}

std::wstring CaptionOf(HWND hwnd)
{
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd, text, 256);
    return text;
}

// Whether the window and every window in it show in the dialogs' font (what a template's
// FONT 8, "MS Shell Dlg" gives), not the bold system font a control starts with.
bool InDialogFont(HWND hwnd)
{
    const auto one = [](HWND w) {
        const auto font = reinterpret_cast<HFONT>(::SendMessageW(w, WM_GETFONT, 0, 0));
        LOGFONTW face{};
        return font && ::GetObjectW(font, sizeof face, &face) == sizeof face &&
            std::wstring(face.lfFaceName) == L"MS Shell Dlg" && face.lfWeight < FW_BOLD;
    };
    if (!hwnd || !one(hwnd))
        return false;
    for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (!InDialogFont(child))
            return false;
    return true;
}

// The message boxes shown so far (the record holds the dialogs too).
size_t MessageBoxesShown()
{
    const auto shown = zyn::user::AnswerScript::Shown();
    return static_cast<size_t>(std::count_if(shown.begin(), shown.end(),
        [](const zyn::user::ShownRecord& r) { return r.kind == zyn::user::AnswerKind::MessageBox; }));
}

bool HasName(UINT screen, const CString& name)
{
    const auto names = NamesOf(screen);
    return std::find(names.begin(), names.end(), name) != names.end();
}

// "Door 3": the first of the numbered names that neither it nor its renamed form (with
// `renamed` appended) is taken, whatever earlier runs left in the table.
CString FreeName(UINT screen, const wchar_t* stem, const wchar_t* renamed)
{
    const auto names = NamesOf(screen);
    const auto taken = [&](const CString& name) {
        return std::any_of(names.begin(), names.end(), [&](const CString& n) { return n.CompareNoCase(name) == 0; });
    };
    for (int n = static_cast<int>(names.size()) + 1;; ++n) {
        CString name;
        name.Format(L"%s %d", stem, n);
        if (!taken(name) && !taken(name + renamed))
            return name;
    }
}

int64_t AuditRows(CZynDatabase& db, int objectType)
{
    int64_t n = -1;
    CString sql;
    sql.Format(L"SELECT COUNT(*) FROM USER_TRANSACTION WHERE OBJECT_TYPE = %d", objectType);
    db.QueryInt64(sql, {}, n);
    return n;
}

// The top-level index of a menu-bar popup holding the command; -1 when none does.
int MenuIndexOf(COXMenuBar& bar, UINT command)
{
    const HMENU menu = bar.GetHMenu();
    const int count = menu ? ::GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        const HMENU popup = ::GetSubMenu(menu, i);
        for (int j = 0; popup && j < ::GetMenuItemCount(popup); ++j) {
            const HMENU sub = ::GetSubMenu(popup, j);
            for (int k = 0; sub && k < ::GetMenuItemCount(sub); ++k)
                if (::GetMenuItemID(sub, k) == command)
                    return i;
            if (::GetMenuItemID(popup, j) == command)
                return i;
        }
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
        // Between the side dock bars (the bottom of one is its tab band, where a bar
        // dropped joins its tabs), far enough up that an outline hanging below the cursor
        // (a floating frame's, taken by its caption) still reaches the side.
        RECT mdi{};
        ::GetWindowRect(frame.m_hWndMDIClient, &mdi);
        return CPoint((mdi.left + mdi.right) / 2, status.top - 20);
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

// Opens the menu-bar popup holding the command, pictures it and closes it again; true
// when the popup showed and its picture was written.
bool PictureMenu(CHostFrame& frame, UINT command, const fs::path& pictures, const char* name)
{
    COXMenuBar& bar = frame.GetMenuBar();
    const int index = MenuIndexOf(bar, command);
    if (index < 0)
        return false;
    CRect button;
    bar.GetItemRect(index, &button);
    bar.ClientToScreen(&button);
    bool pictured = false;
    WhenIdle([&pictured, &pictures, name] {
        std::string failed;
        pictured = !zyn::user::OpenPopupMenuWindows().empty();
        Picture(pictures, name, failed);
        pictured = pictured && failed.empty();
        Press(VK_ESCAPE);
        Press(VK_ESCAPE);
    });
    ClickAt(button.CenterPoint());
    Settle(HostApp());
    return pictured && zyn::user::OpenPopupMenuWindows().empty();
}

// The console's commands with their icons, as the toolbar, the menus and the shortcut
// bar show them.
const struct {
    UINT command;
    const wchar_t* shortcut;
} kPictured[] = {{ID_VIEW_HOST_DOORS, L"Doors"}, {ID_VIEW_HOST_OPERATORS, L"Operators"}, {ID_HOST_ARCHIVE, L"Archive"},
    {ID_HOST_RECORDER, L"Recording server"}, {ID_HOST_LOGVIEWER, L"Session log"}};

// Whether every command has its picture in the menus, and every shortcut its large and
// small picture.
bool CommandsPictured(CHostFrame& frame)
{
    CShortcutsBar& shortcuts = frame.Shortcuts();
    for (const auto& c : kPictured) {
        const COXImageInfo* menu = frame.GetMenuOrganizer().GetMenuItemImageInfo(c.command);
        if (!menu || menu->GetIndex() < 0)
            return false;
        bool found = false;
        for (int g = 0; g < shortcuts.GroupCount() && !found; ++g) {
            COXSHBListCtrl* list = shortcuts.ItemList(g);
            LVFINDINFO find{};
            find.flags = LVFI_STRING;
            find.psz = c.shortcut;
            const int item = list ? list->FindItem(&find) : -1;
            if (item < 0)
                continue;
            LVITEMW info{};
            info.mask = LVIF_IMAGE;
            info.iItem = item;
            CImageList* large = list->GetImageList(LVSIL_NORMAL);
            CImageList* small = list->GetImageList(LVSIL_SMALL);
            found = list->GetItem(&info) && large && small && info.iImage >= 0 &&
                info.iImage < large->GetImageCount() && info.iImage < small->GetImageCount();
        }
        if (!found)
            return false;
    }
    return true;
}

CRect BarRect(CWnd& bar)
{
    CRect r;
    bar.GetWindowRect(&r);
    return r;
}

// Both toolbars' buttons as high (so their labels, under the pictures, are level), and
// each toolbar whole inside the frame's top side.
bool ToolbarsLevelAndWhole(CHostFrame& frame)
{
    CWnd* top = frame.GetControlBar(AFX_IDW_DOCKBAR_TOP);
    if (!top)
        return false;
    const CRect side = BarRect(*top);
    CRect first, other;
    frame.MainToolbar().GetItemRect(0, &first);
    frame.HostToolbar().GetItemRect(0, &other);
    for (CToolBar* bar : {static_cast<CToolBar*>(&frame.MainToolbar()), static_cast<CToolBar*>(&frame.HostToolbar())}) {
        const CRect r = BarRect(*bar);
        // (A docked bar's window starts a border's width before its side's.)
        if (!bar->IsWindowVisible() || r.left < side.left - 2 || r.right > side.right)
            return false;
    }
    return !first.IsRectEmpty() && first.Height() == other.Height();
}

// The bars where SetDefaultBarLocations puts them, none tabbed or hidden.
bool DefaultLayout(CHostFrame& frame)
{
    return SideOf(frame.Events()) == AFX_IDW_DOCKBAR_BOTTOM && SideOf(frame.Shortcuts()) == AFX_IDW_DOCKBAR_LEFT &&
        SideOf(frame.Filter()) == AFX_IDW_DOCKBAR_TOP && !frame.Events().GetDockTabCtrl() &&
        !frame.Shortcuts().GetDockTabCtrl() && frame.Events().IsVisible() && frame.Shortcuts().IsVisible() &&
        frame.Filter().IsVisible();
}

// Whether the MDI client area holds a configuration screen whole (its form is some 560
// by 360 pixels).
bool RoomForScreens(CHostFrame& frame)
{
    RECT client{};
    ::GetClientRect(frame.m_hWndMDIClient, &client);
    return client.right - client.left >= 600 && client.bottom - client.top >= 400;
}

bool Maximised(CHostFrame& frame, HWND child)
{
    BOOL max = FALSE;
    CMDIChildWnd* active = frame.MDIGetActive(&max);
    return child && active && active->m_hWnd == child && max;
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
bool ClickCaptionButton(HWND child, int code)
{
    CPoint at;
    if (!child || !::IsWindow(child) || !FindHitPoint(child, code, at))
        return false;
    ClickAt(at);
    Settle(HostApp());
    return true;
}

// Clicks a button of the screen's view by its ID.
bool ClickViewButton(UINT screen, UINT id)
{
    CZynAcConfigView* view = ViewOf(screen);
    CWnd* button = view ? view->GetDlgItem(static_cast<int>(id)) : nullptr;
    const bool clicked = button && button->IsWindowEnabled() && ClickWindow(button->m_hWnd);
    Settle(HostApp());
    return clicked;
}

// Clicks the row of the screen's list that shows the text, found by its text wherever
// the list's order puts it (scrolled into view first, as a person scrolls to it); true
// when that row is then selected.
bool ClickRow(UINT screen, UINT idcList, const CString& text)
{
    const HWND list = PageControl(screen, idcList);
    if (!list)
        return false;
    const LRESULT at = ::SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
        reinterpret_cast<LPARAM>(text.GetString()));
    if (at == LB_ERR)
        return false;
    ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(at), 0);
    RECT row{};
    if (::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&row)) == LB_ERR)
        return false;
    POINT centre{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
    ::ClientToScreen(list, &centre);
    ClickAt(CPoint(centre.x, centre.y));
    Settle(HostApp());
    return ::IsWindow(list) && ::SendMessageW(list, LB_GETCURSEL, 0, 0) == at;
}

// Replaces the text of the page's field as a person does: click in it, select all of it
// (Home, Shift+End), type over it (Delete for nothing).
void TypeName(UINT screen, UINT idcField, const CString& text)
{
    const HWND field = PageControl(screen, idcField);
    if (!field || !ClickWindow(field))
        return;
    Press(VK_HOME);
    PressShifted(VK_END);
    if (text.IsEmpty())
        Press(VK_DELETE);
    else
        Type(text.GetString());
    Settle(HostApp());
}

// Types at the end of the page's field after a click in it.
void TypeAtEnd(UINT screen, UINT idcField, const wchar_t* text)
{
    const HWND field = PageControl(screen, idcField);
    if (field && ClickWindow(field)) {
        Press(VK_END);
        Type(text);
    }
    Settle(HostApp());
}

// Clicks the shortcut bar's item showing the text, found by its text; its group's header
// first when another group is open, as a person opens it.
bool ClickShortcut(CHostFrame& frame, const wchar_t* text)
{
    CShortcutsBar& shortcuts = frame.Shortcuts();
    COXShortcutBar& bar = shortcuts.Shortcuts();
    for (int g = 0; g < shortcuts.GroupCount(); ++g) {
        COXSHBListCtrl* list = shortcuts.ItemList(g);
        LVFINDINFO find{};
        find.flags = LVFI_STRING;
        find.psz = text;
        const int item = list ? list->FindItem(&find) : -1;
        if (item < 0)
            continue;
        if (bar.GetExpandedGroup() != shortcuts.Group(g)) {
            CRect header;
            if (!bar.GetGroupHeaderRect(shortcuts.Group(g), &header))
                return false;
            bar.ClientToScreen(&header);
            ClickAt(header.CenterPoint());
            Settle(HostApp());
        }
        CRect label;
        if (!list->m_hWnd || !list->IsWindowVisible() || !list->GetItemRect(item, &label, LVIR_LABEL))
            return false;
        list->ClientToScreen(&label);
        ClickAt(label.CenterPoint());
        return true;
    }
    return false;
}

void DoorSteps(Tour& tour, CHostFrame& frame)
{
    constexpr UINT kDoors = ID_VIEW_HOST_DOORS;
    CHostApp& app = tour.App();
    // The doors from the shortcut bar: a click on its item named "Doors".
    const bool clicked = ClickShortcut(frame, L"Doors");
    tour.Settled();
    CZynAcConfigView* view = ViewOf(kDoors);
    CFrameWnd* screen = view ? view->GetParentFrame() : nullptr;
    tour.Step("04-doors", "a click on the shortcut bar opens the doors, titled Doors",
        clicked && PageOf(kDoors) && screen && CaptionOf(screen->m_hWnd) == L"Doors" &&
            CaptionOf(frame.m_hWnd) == L"ZynCmn Console - Doors");
    tour.Step(nullptr, "the doors' page, the filter bar and the recent events in the dialogs' font",
        PageOf(kDoors) && InDialogFont(PageOf(kDoors)->m_hWnd) && InDialogFont(frame.Filter().m_hWnd) &&
            InDialogFont(frame.Events().List().m_hWnd));
    if (!PageOf(kDoors))
        return;

    // A door added, then renamed, through the form; each writes its audit row. After Add
    // the focus is in the name field: the name is typed at once, no click first.
    CZynDatabase& db = app.Database();
    const int64_t auditBefore = AuditRows(db, host::kObjectDoor);
    const CString name = FreeName(kDoors, L"Door", L" (lobby)");
    bool pressed = ClickViewButton(kDoors, IDC_ZYN_CFG_ADD);
    const HWND nameField = PageControl(kDoors, IDC_DOOR_NAME);
    tour.Step(nullptr, "after Add the focus is in the name field", pressed && nameField && ::GetFocus() == nameField);
    Type(name.GetString());
    tour.Settled();
    pressed = ClickViewButton(kDoors, IDOK) && pressed;
    tour.Step("05-door-added", "a door added by typing into the form",
        pressed && HasName(kDoors, name) && InState(kDoors, AcCfgStateView));
    pressed = ClickViewButton(kDoors, IDC_ZYN_CFG_MODIFY);
    TypeAtEnd(kDoors, IDC_DOOR_NAME, L" (lobby)");
    pressed = ClickViewButton(kDoors, IDOK) && pressed;
    tour.Step(nullptr, "the door renamed by typing", pressed && HasName(kDoors, name + L" (lobby)"));
    tour.Step(nullptr, "two audit rows", AuditRows(db, host::kObjectDoor) == auditBefore + 2);

    // Names the form refuses, each with its message and nothing stored: an empty one,
    // blanks only, one over 64 characters, the renamed door's own in other case; then
    // Escape. The message box takes its default answer when the script has no more input.
    const size_t doorsBefore = NamesOf(kDoors).size();
    const struct {
        CString name;
        const char* what;
    } refused[] = {{CString(), "an empty name"}, {CString(L"   "), "blanks only"},
        {CString(L'x', 65), "a name of 65 characters"}, {name + L" (LOBBY)", "a name taken (any case)"}};
    ClickViewButton(kDoors, IDC_ZYN_CFG_ADD);
    for (const auto& row : refused) {
        const size_t shown = zyn::user::AnswerScript::Shown().size();
        TypeName(kDoors, IDC_DOOR_NAME, row.name);
        ClickViewButton(kDoors, IDOK);
        const bool said = zyn::user::AnswerScript::Shown().size() == shown + 1;
        tour.Step(nullptr, std::string("the form refuses ") + row.what,
            said && InState(kDoors, AcCfgStateAdd) && NamesOf(kDoors).size() == doorsBefore);
    }
    // Escape in the name field cancels the edit, and the focus goes back to the list.
    if (const HWND field = PageControl(kDoors, IDC_DOOR_NAME); field && ClickWindow(field))
        Press(VK_ESCAPE);
    tour.Settled();
    const HWND list = PageControl(kDoors, IDC_DOOR_LIST);
    tour.Step(nullptr, "Escape leaves the doors as they were, the focus back in the list",
        InState(kDoors, AcCfgStateView) && NamesOf(kDoors).size() == doorsBefore &&
            AuditRows(db, host::kObjectDoor) == auditBefore + 2 && list && ::GetFocus() == list);
}

// An operator added through the form with a password, which the log-in check (the one
// the log-in dialog runs) then accepts; a missing password and a confirmation that
// differs are refused first, and a rename with the password fields left blank keeps it.
void OperatorSteps(Tour& tour)
{
    constexpr UINT kOperators = ID_VIEW_HOST_OPERATORS;
    CZynDatabase& db = tour.App().Database();
    const CString name = FreeName(kOperators, L"Operator", L" (nights)");
    const CString password = L"night shift 7", other = L"night shift 8";
    const auto refused = [&](const char* what) {
        const size_t shown = zyn::user::AnswerScript::Shown().size();
        ClickViewButton(kOperators, IDOK);
        const bool said = zyn::user::AnswerScript::Shown().size() == shown + 1;
        tour.Step(nullptr, std::string("the operators' form refuses ") + what,
            said && InState(kOperators, AcCfgStateAdd) && !HasName(kOperators, name));
    };
    ClickViewButton(kOperators, IDC_ZYN_CFG_ADD);
    TypeName(kOperators, IDC_OPER_NAME, name);
    refused("a new operator without a password");
    TypeName(kOperators, IDC_OPER_PASSWORD, password);
    TypeName(kOperators, IDC_OPER_CONFIRM, other);
    refused("a confirmation that differs");
    TypeName(kOperators, IDC_OPER_PASSWORD, password);
    TypeName(kOperators, IDC_OPER_CONFIRM, password);
    const bool pressed = ClickViewButton(kOperators, IDOK);
    const auto who = host::CheckOperatorLogin(db, name, password.GetString());
    const HWND passwordField = PageControl(kOperators, IDC_OPER_PASSWORD);
    tour.Step("06-operator-added", "an operator added with a password can log in with it",
        pressed && HasName(kOperators, name) && InState(kOperators, AcCfgStateView) && who && who->name == name &&
            !host::CheckOperatorLogin(db, name, other.GetString()) && passwordField &&
            ::GetWindowTextLengthW(passwordField) == 0);
    ClickViewButton(kOperators, IDC_ZYN_CFG_MODIFY);
    TypeAtEnd(kOperators, IDC_OPER_NAME, L" (nights)");
    ClickViewButton(kOperators, IDOK);
    tour.Step(nullptr, "renamed with the password left blank, the operator logs in as before",
        HasName(kOperators, name + L" (nights)") &&
            host::CheckOperatorLogin(db, name + L" (nights)", password.GetString()).has_value());
}

void MaximiseSteps(Tour& tour, CHostFrame& frame)
{
    constexpr UINT kOperators = ID_VIEW_HOST_OPERATORS;
    CHostApp& app = tour.App();
    const bool chosen = Choose(frame, kOperators);
    const auto child = [&app] {
        CViewInfo* operators = app.GetViewInfo(kOperators);
        return dynamic_cast<CMDIChildWnd*>(operators ? operators->GetOpenFrame() : nullptr);
    };
    tour.Step(nullptr, "the operators' screen from the Console menu, its page in the dialogs' font",
        chosen && child() && PageOf(kOperators) && InDialogFont(PageOf(kOperators)->m_hWnd));
    if (!child())
        return;
    // The operator logged in cannot be deleted: its row clicked, Delete, OK, the message,
    // Cancel.
    if (PageOf(kOperators)) {
        const size_t shown = zyn::user::AnswerScript::Shown().size();
        const bool selected = ClickRow(kOperators, IDC_OPER_LIST, host::kInitialAdminName);
        const bool pressed = selected && ClickViewButton(kOperators, IDC_ZYN_CFG_DELETE) &&
            ClickViewButton(kOperators, IDOK);
        const bool said = zyn::user::AnswerScript::Shown().size() == shown + 1;
        ClickViewButton(kOperators, IDCANCEL);
        tour.Step(nullptr, "the operator logged in cannot delete itself",
            pressed && said && HasName(kOperators, host::kInitialAdminName) && InState(kOperators, AcCfgStateView));
        OperatorSteps(tour);
    } else {
        tour.Step(nullptr, "the operators' form", false);
    }
    const HWND hChild = child() ? child()->m_hWnd : nullptr;
    const auto iconic = [hChild] { return ::IsWindow(hChild) && ::IsIconic(hChild); };
    bool clicked = ClickCaptionButton(hChild, HTMAXBUTTON);
    tour.Step("07-operators-maximised", "the operators' screen maximised by its caption button",
        clicked && Maximised(frame, hChild));
    clicked = ClickMdiButton(frame, &COXMenuBar::GetRestoreRect);
    tour.Step(nullptr, "the menu bar's restore button", clicked && !Maximised(frame, hChild) && !iconic());
    clicked = ClickCaptionButton(hChild, HTMAXBUTTON) && ClickMdiButton(frame, &COXMenuBar::GetMinimizeRect);
    tour.Step(nullptr, "the menu bar's minimise button", clicked && iconic());
    // A double click on the icon (all of it is caption) restores it; its caption button
    // maximises it again.
    const CPoint icon = CentreOf(hChild);
    zyn::user::InjectClick(icon.x, icon.y);
    zyn::user::InjectClick(icon.x, icon.y);
    Pause();
    tour.Settled();
    const bool restored = ::IsWindow(hChild) && !iconic();
    clicked = restored && ClickCaptionButton(hChild, HTMAXBUTTON);
    tour.Step(nullptr, "the icon restored by a double click and maximised again", clicked && Maximised(frame, hChild));
    clicked = ClickMdiButton(frame, &COXMenuBar::GetCloseRect);
    tour.Step(nullptr, "the menu bar's close button", clicked && !::IsWindow(hChild) && !child());
}

// The bars dragged through every layout of kLayouts in turn; with `stopAt`, the steps end
// once that layout is reached. True when they ran to the end.
bool BarSteps(Tour& tour, CHostFrame& frame, const std::string& stopAt = {})
{
    CEventsBar& events = frame.Events();
    static const struct {
        UINT dock;
        const char* side;
        const char* picture;
    } sides[] = {{AFX_IDW_DOCKBAR_RIGHT, "right", "08-events-right"}, {AFX_IDW_DOCKBAR_TOP, "top", nullptr},
        {AFX_IDW_DOCKBAR_LEFT, "left", nullptr}, {AFX_IDW_DOCKBAR_BOTTOM, "bottom", nullptr}};
    for (const auto& side : sides) {
        tour.Step(side.picture, std::string("the events bar dragged by its gripper to the ") + side.side,
            DragToSide(tour, frame, events, side.dock));
        if (stopAt == side.side)
            return false;
    }

    // Floated: dropped in the middle of the MDI client area, where no side is near.
    CRect client;
    frame.GetClientRect(&client);
    frame.ClientToScreen(&client);
    DragFromTo(GripperOf(events), client.CenterPoint());
    tour.Settled();
    tour.Step("09-events-floating", "the events bar dragged off to float", events.IsFloating() != FALSE);
    if (stopAt == "floating")
        return false;
    tour.Step(nullptr, "the floating events bar dragged by its caption to the left",
        DragFloatingToSide(tour, frame, events, AFX_IDW_DOCKBAR_LEFT));
    if (stopAt == "floating-left")
        return false;

    // Tabbed with the shortcut bar: the events bar dragged by its gripper onto the bottom
    // band of the left side, where the shortcut bar is.
    CShortcutsBar& shortcuts = frame.Shortcuts();
    if (CWnd* leftDock = frame.GetControlBar(AFX_IDW_DOCKBAR_LEFT)) {
        CRect left;
        leftDock->GetWindowRect(&left);
        DragFromTo(GripperOf(events), CPoint(left.CenterPoint().x, left.bottom - 20));
        tour.Settled();
    }
    tour.Step("10-bars-tabbed", "the events bar dropped on the left side's tab band, tabbed with the shortcut bar",
        SideOf(events) == AFX_IDW_DOCKBAR_LEFT && events.GetDockTabCtrl() && shortcuts.GetDockTabCtrl() &&
            events.IsVisible() && !shortcuts.IsVisible());
    if (stopAt == "tabbed")
        return false;
    // The events bar dragged by its gripper back to the bottom: it leaves the tab strip,
    // and both bars are back where they began, neither tabbed.
    DragFromTo(GripperOf(events), SidePoint(frame, AFX_IDW_DOCKBAR_BOTTOM));
    tour.Settled();
    tour.Step(nullptr, "the events bar dragged out of the tabs back to the bottom",
        SideOf(events) == AFX_IDW_DOCKBAR_BOTTOM && SideOf(shortcuts) == AFX_IDW_DOCKBAR_LEFT &&
            !events.GetDockTabCtrl() && !shortcuts.GetDockTabCtrl() && events.IsVisible() && shortcuts.IsVisible());

    // The toolbars' labels, on and off again from the View menu.
    bool chosen = Choose(frame, CZynMainFrame::ID_VIEW_TOOLBAR_LABELS);
    tour.Step("11-toolbar-labels", "the toolbars' labels from the View menu, level, each toolbar whole on the screen",
        chosen && frame.ToolbarLabelsShown() && ToolbarsLevelAndWhole(frame));
    if (stopAt == "labels")
        return false;
    chosen = Choose(frame, CZynMainFrame::ID_VIEW_TOOLBAR_LABELS);
    // A toolbar the labels pushed to a row of its own keeps that row, as a docked bar does.
    tour.Step(nullptr, "the toolbars' labels off again, each toolbar whole on the screen",
        chosen && !frame.ToolbarLabelsShown() && ToolbarsLevelAndWhole(frame));
    return stopAt.empty();
}

void WorkSteps(Tour& tour, const fs::path& pictures)
{
    CHostApp& app = tour.App();
    CHostFrame& frame = *app.Frame();
    // The archive pass and its restore, from the Console menu.
    const int64_t before = host::CountRows(app.Database(), L"EVENTS");
    const bool archived = Choose(frame, ID_HOST_ARCHIVE);
    const int64_t after = host::CountRows(app.Database(), L"EVENTS");
    tour.Step("12-archive", "archive pass and restore from the menu",
        archived && after + app.LastArchive().archived == before &&
            app.LastArchive().restored + app.LastArchive().duplicates >= app.LastArchive().archived);

    tour.Step(nullptr, "the recording server answers",
        Choose(frame, ID_HOST_RECORDER) && app.LastRecorder().started && app.LastRecorder().purgeState != E_FAIL);

    // The session log from the menu; closed each way a person closes it (Escape, its
    // close box, its Log > Exit), it opens again each time, shown and taking the keys,
    // with no question over it.
    const auto shownViewer = [&app] {
        CDistLogViewer* viewer = app.LogViewer();
        return viewer && viewer->IsCreated() && viewer->IsWindowVisible() && ::GetActiveWindow() == viewer->m_hWnd;
    };
    const auto viewerWindow = [&app] { return app.LogViewer() ? app.LogViewer()->m_hWnd : nullptr; };
    bool opened = Choose(frame, ID_HOST_LOGVIEWER);
    tour.Step("13-session-log", "the session log viewer from the menu", opened && shownViewer());
    static const struct {
        const char* how;
        int way; // 0 Escape, 1 the close box, 2 Log > Exit
    } closes[] = {{"Escape", 0}, {"its close box", 1}, {"Log > Exit", 2}};
    for (const auto& close : closes) {
        bool closed = false;
        if (const HWND viewer = viewerWindow()) {
            CPoint box;
            if (close.way == 0) {
                Press(VK_ESCAPE);
                closed = true;
            } else if (close.way == 1) {
                closed = FindHitPoint(viewer, HTCLOSE, box);
                if (closed)
                    ClickAt(box);
            } else {
                closed = ChooseWindowMenuCommand(viewer, ID_LOGVIEWER_EXIT);
            }
        }
        tour.Settled();
        const bool gone = !viewerWindow() && ::GetActiveWindow() == frame.m_hWnd;
        const size_t questions = MessageBoxesShown();
        opened = Choose(frame, ID_HOST_LOGVIEWER);
        tour.Step(nullptr, std::string("the session log closed by ") + close.how + " and opened again",
            closed && gone && opened && shownViewer() && MessageBoxesShown() == questions);
    }
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
            (pictures / "14-printed-page.png").string());
    tour.Step(nullptr, "the session log printed", pictured);
}

int FullTour(Tour& tour, const fs::path& pictures)
{
    CHostApp& app = tour.App();
    CHostFrame& frame = *app.Frame();
    tour.Step("01-console", "the console opens with its bars",
        frame.Events().LineCount() > 0 || host::CountRows(app.Database(), L"EVENTS") == 0);
    // From whatever layout the last run left (a bar floating, tabbed, hidden, or so wide
    // the screens have no room), the bars go back to their places, as a person puts them
    // back with View > Toolbars > Default Places (answering its question yes).
    tour.Step(nullptr, "the bars back in their default places from the View menu",
        Choose(frame, CZynMainFrame::ID_VIEW_TOOLBAR_DEFAULTS) && DefaultLayout(frame));
    tour.Step(nullptr, "the console's commands with their pictures in the menus and the shortcut bar",
        CommandsPictured(frame) && PictureMenu(frame, ID_HOST_ARCHIVE, pictures, "02-console-menu"));
    // A window left too small for the screens is maximised by its caption button.
    if (!RoomForScreens(frame))
        ClickCaptionButton(frame.m_hWnd, HTMAXBUTTON);
    tour.Step(nullptr, "room for the screens", RoomForScreens(frame));

    // Every skin from the Skins menu, the one the run began with last, so the steps after
    // show that skin; the run ends on the next one, which the next run must open with.
    static const UINT skins[] = {ID_HOST_SKIN_CLASSIC, ID_HOST_SKIN_XP, ID_HOST_SKIN_2003};
    static const char* const shots[] = {"03-skin-classic", "03-skin-officexp", "03-skin-office2003"};
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

std::shared_ptr<LoginSeen> ScriptLogin(const Plan& plan, const fs::path& pictures)
{
    fs::create_directories(pictures);
    auto seen = std::make_shared<LoginSeen>();
    switch (plan.kind) {
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

int Run(CHostApp& app, const Plan& plan, const LoginSeen& login, const fs::path& pictures)
{
    const Kind kind = plan.kind;
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
    case Kind::Layout:
        BarSteps(tour, frame, plan.layout);
        break;
    default:
        FullTour(tour, pictures);
        break;
    }
    return tour.Failures();
}

} // namespace tour
