// The Button control: each kind clicked by mouse, Space and BM_CLICK and read back through
// its messages and notifications; presses, focus and double clicks; owner drawing; the
// classic look checked by geometry against DrawFrameControl drawn on its own.
#include "platform/gdi/icon.h"
#include "platform/user/custom_draw.h"
#include "tests/user/dialog_test_support.h"
#include "tests/user/msglog.h"

namespace zyn::test {
namespace {

class ButtonTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        log.Install();
        log.NameNext("parent");
        parent = CreateWindowExW(0, MsgLog::kClass, L"", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
            nullptr, nullptr);
        SetActiveWindow(parent);
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        log.Uninstall();
        DialogTest::TearDown();
    }
    HWND Button(DWORD style, const wchar_t* text = L"", int x = 10, int y = 10, int cx = 80, int cy = 24)
    {
        log.NameNext("btn");
        return CreateWindowExW(0, L"Button", text, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, parent,
            reinterpret_cast<HMENU>(7), nullptr, nullptr);
    }
    void ClickMouse(HWND b)
    {
        RECT r;
        GetWindowRect(b, &r);
        base::Clock::Advance(1000); // never a double click
        user::InjectClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        Pump();
    }
    void ClickSpace(HWND b)
    {
        SetFocus(b);
        user::InjectKeyPress(VK_SPACE);
        Pump();
    }
    // The notification codes the parent got, in order.
    std::vector<int> Codes() const
    {
        std::vector<int> out;
        for (const auto& l : log.Lines())
            if (l.rfind("parent WM_COMMAND 7 ", 0) == 0)
                out.push_back(std::stoi(l.substr(20)));
        return out;
    }
    MsgLog log;
    HWND parent = nullptr;
};

TEST_F(ButtonTest, EachKindClickedAndReadBack)
{
    struct Row {
        const char* name;
        DWORD style;
        std::vector<UINT> checks; // BM_GETCHECK after each of three clicks (mouse, Space, BM_CLICK)
    };
    const Row rows[] = {
        {"push", BS_PUSHBUTTON, {0, 0, 0}},
        {"check box", BS_CHECKBOX, {0, 0, 0}},
        {"automatic check box", BS_AUTOCHECKBOX, {1, 0, 1}},
        {"3-state", BS_3STATE, {0, 0, 0}},
        {"automatic 3-state", BS_AUTO3STATE, {1, 2, 0}},
        {"radio", BS_RADIOBUTTON, {0, 0, 0}},
        {"automatic radio", BS_AUTORADIOBUTTON, {1, 1, 1}},
        {"push-like automatic check box", BS_AUTOCHECKBOX | BS_PUSHLIKE, {1, 0, 1}},
    };
    for (const Row& row : rows) {
        HWND b = Button(row.style, L"Go");
        log.Start();
        std::vector<UINT> checks;
        ClickMouse(b);
        checks.push_back(static_cast<UINT>(SendMessageW(b, BM_GETCHECK, 0, 0)));
        ClickSpace(b);
        checks.push_back(static_cast<UINT>(SendMessageW(b, BM_GETCHECK, 0, 0)));
        SendMessageW(b, BM_CLICK, 0, 0);
        checks.push_back(static_cast<UINT>(SendMessageW(b, BM_GETCHECK, 0, 0)));
        log.Stop();
        EXPECT_EQ(checks, row.checks) << row.name;
        EXPECT_EQ(Codes(), (std::vector<int>{BN_CLICKED, BN_CLICKED, BN_CLICKED})) << row.name;
        EXPECT_EQ(SendMessageW(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0) << row.name;
        EXPECT_EQ(GetCapture(), nullptr) << row.name;
        DestroyWindow(b);
    }
}

TEST_F(ButtonTest, AutomaticRadioButtonsUncheckTheirGroupOnly)
{
    HWND r[5];
    r[0] = Button(BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, L"a", 10, 10);
    r[1] = Button(BS_AUTORADIOBUTTON, L"b", 10, 40);
    r[2] = Button(BS_RADIOBUTTON, L"c", 10, 70);
    r[3] = Button(BS_AUTORADIOBUTTON | WS_GROUP, L"d", 10, 100); // another group
    r[4] = Button(BS_AUTORADIOBUTTON, L"e", 10, 130);
    SendMessageW(r[0], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(r[2], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(r[3], BM_SETCHECK, BST_CHECKED, 0);
    ClickMouse(r[1]);
    const UINT expected[] = {0, 1, 0, 1, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(SendMessageW(r[i], BM_GETCHECK, 0, 0), static_cast<LRESULT>(expected[i])) << i;
        // Checked radio buttons are the tab stops.
        EXPECT_EQ((GetWindowLongPtrW(r[i], GWL_STYLE) & WS_TABSTOP) != 0, expected[i] == 1) << i;
    }
    // A two-state box clamps the indeterminate state; a push button has no check state.
    HWND box = Button(BS_CHECKBOX, L"x", 120, 10);
    SendMessageW(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    HWND push = Button(BS_PUSHBUTTON, L"p", 120, 40);
    SendMessageW(push, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageW(push, BM_GETCHECK, 0, 0), 0);
    // Images: the previous one of the same kind comes back; the caller keeps owning them.
    const auto icon = reinterpret_cast<LPARAM>(LoadIconW(nullptr, IDI_ASTERISK));
    const auto other = reinterpret_cast<LPARAM>(LoadIconW(nullptr, IDI_HAND));
    SetWindowLongPtrW(push, GWL_STYLE, GetWindowLongPtrW(push, GWL_STYLE) | BS_ICON);
    EXPECT_EQ(SendMessageW(push, BM_SETIMAGE, IMAGE_ICON, icon), 0);
    EXPECT_EQ(SendMessageW(push, BM_SETIMAGE, IMAGE_ICON, other), icon);
    EXPECT_EQ(SendMessageW(push, BM_GETIMAGE, IMAGE_ICON, 0), other);
    EXPECT_EQ(SendMessageW(push, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(SendMessageW(push, BM_SETIMAGE, IMAGE_CURSOR + 5, icon), 0) << "an unknown kind changes nothing";
    EXPECT_EQ(SendMessageW(push, BM_GETIMAGE, IMAGE_ICON, 0), other);
    // The style message changes the button type and keeps the window styles.
    SendMessageW(box, BM_SETSTYLE, BS_AUTOCHECKBOX, FALSE);
    EXPECT_EQ(GetWindowLongPtrW(box, GWL_STYLE) & (BS_TYPEMASK | WS_CHILD | WS_VISIBLE),
        static_cast<LONG_PTR>(BS_AUTOCHECKBOX | WS_CHILD | WS_VISIBLE));
}

TEST_F(ButtonTest, APressShowsOnlyInsideAndEndsWithoutAClickElsewhere)
{
    HWND b = Button(BS_PUSHBUTTON, L"Hold");
    HWND other = Button(BS_PUSHBUTTON, L"Other", 150, 10);
    RECT r;
    GetWindowRect(b, &r);
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    auto pushed = [&] { return (SendMessageW(b, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; };
    log.Start();
    user::InjectMouseMove(cx, cy);
    user::InjectMouseButton(user::MouseButton::Left, true);
    Pump();
    EXPECT_TRUE(pushed());
    EXPECT_EQ(GetCapture(), b);
    EXPECT_EQ(GetFocus(), b);
    user::InjectMouseMove(r.right + 20, cy);
    Pump();
    EXPECT_FALSE(pushed());
    user::InjectMouseMove(cx, cy);
    Pump();
    EXPECT_TRUE(pushed());
    user::InjectMouseMove(cx, r.bottom + 30);
    user::InjectMouseButton(user::MouseButton::Left, false);
    Pump();
    EXPECT_FALSE(pushed());
    EXPECT_EQ(GetCapture(), nullptr);
    // Losing the capture or the focus cancels a press; Space released afterwards clicks nothing.
    base::Clock::Advance(1000);
    user::InjectMouseMove(cx, cy);
    user::InjectMouseButton(user::MouseButton::Left, true);
    Pump();
    SetCapture(other);
    EXPECT_FALSE(pushed());
    ReleaseCapture();
    user::InjectMouseButton(user::MouseButton::Left, false);
    Pump();
    SetFocus(b);
    user::InjectKey(VK_SPACE, true);
    Pump();
    EXPECT_TRUE(pushed());
    SetFocus(other);
    EXPECT_FALSE(pushed());
    user::InjectKey(VK_SPACE, false);
    Pump();
    // Disabled: neither the mouse nor BM_CLICK clicks.
    EnableWindow(b, FALSE);
    ClickMouse(b);
    SendMessageW(b, BM_CLICK, 0, 0);
    log.Stop();
    EXPECT_TRUE(Codes().empty());
}

TEST_F(ButtonTest, FocusAndDoubleClickNotifications)
{
    struct Row {
        const char* name;
        DWORD style;
        std::vector<int> codes; // focus in, double click, focus out
    };
    const Row rows[] = {
        {"BS_NOTIFY push", BS_PUSHBUTTON | BS_NOTIFY,
            {BN_SETFOCUS, BN_CLICKED, BN_DOUBLECLICKED, BN_CLICKED, BN_KILLFOCUS}},
        {"plain push: two clicks", BS_PUSHBUTTON, {BN_CLICKED, BN_CLICKED}},
        {"radio: double clicks always", BS_AUTORADIOBUTTON, {BN_CLICKED, BN_DOUBLECLICKED, BN_CLICKED}},
        {"owner-drawn: double clicks always", BS_OWNERDRAW, {BN_CLICKED, BN_DOUBLECLICKED, BN_CLICKED}},
    };
    for (const Row& row : rows) {
        HWND b = Button(row.style, L"Twice");
        RECT r;
        GetWindowRect(b, &r);
        base::Clock::Advance(1000);
        log.Start();
        SetFocus(b);
        user::InjectClick(r.left + 5, r.top + 5);
        user::InjectClick(r.left + 5, r.top + 5);
        Pump();
        SetFocus(parent);
        log.Stop();
        EXPECT_EQ(Codes(), row.codes) << row.name;
        DestroyWindow(b);
    }
}

TEST_F(ButtonTest, OwnerDrawnButtonsDrawOnRequest)
{
    HWND b = Button(BS_OWNERDRAW, L"Own");
    user::PaintPendingWindows();
    log.Start({WM_CTLCOLORBTN});
    InvalidateRect(b, nullptr, TRUE);
    UpdateWindow(b);
    SetFocus(b);
    SendMessageW(b, BM_SETSTATE, TRUE, 0);
    SendMessageW(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE); // an owner-drawn button stays one; redrawn
    EnableWindow(b, FALSE);                               // redrawn
    log.Stop();
    std::vector<std::string> lines;
    for (const auto& l : log.Lines())
        if (l.find("WM_DRAWITEM") != std::string::npos || l.find("WM_CTLCOLORBTN") != std::string::npos)
            lines.push_back(l);
    // Actions: ODA_DRAWENTIRE 1, ODA_SELECT 2, ODA_FOCUS 4; states: ODS_SELECTED 1,
    // ODS_DISABLED 4, ODS_FOCUS 0x10. Disabling takes the focus away first.
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "parent WM_CTLCOLORBTN", "parent WM_DRAWITEM 7 action 0x1 state 0x0",
                         "parent WM_DRAWITEM 7 action 0x4 state 0x10",
                         "parent WM_DRAWITEM 7 action 0x2 state 0x11",
                         "parent WM_CTLCOLORBTN", "parent WM_DRAWITEM 7 action 0x1 state 0x11",
                         "parent WM_DRAWITEM 7 action 0x4 state 0x1",
                         "parent WM_CTLCOLORBTN", "parent WM_DRAWITEM 7 action 0x1 state 0x5",
                     }));
    EXPECT_EQ(GetWindowLongPtrW(b, GWL_STYLE) & BS_TYPEMASK, static_cast<LONG_PTR>(BS_OWNERDRAW));
}

// Custom drawing: every paint of a push button, check box or radio button asks the parent
// first (CDDS_PREPAINT with the CDIS_ state) and, when the answer says so, again after it
// (CDDS_POSTPAINT); CDRF_SKIPDEFAULT leaves the button unpainted. Group boxes and owner-
// drawn buttons have their own ways and take no part.
LRESULT g_customDrawAnswer = CDRF_DODEFAULT;
WNDPROC g_parentProc = nullptr;
LRESULT CustomDrawAnswering(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    const LRESULT r = CallWindowProcW(g_parentProc, h, m, wp, lp);
    if (m == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lp)->code == NM_CUSTOMDRAW &&
        reinterpret_cast<const NMCUSTOMDRAW*>(lp)->dwDrawStage == CDDS_PREPAINT)
        return g_customDrawAnswer;
    return r;
}

TEST_F(ButtonTest, CustomDrawAsksTheParentOnEveryPaint)
{
    struct Row {
        const char* name;
        DWORD style;
        std::function<void(HWND)> state;
        LRESULT answer;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"push", BS_PUSHBUTTON, [](HWND) {}, CDRF_DODEFAULT, {"parent WM_NOTIFY 7 NM_CUSTOMDRAW PREPAINT 0"}},
        {"default push with the focus", BS_DEFPUSHBUTTON, [](HWND b) { SetFocus(b); }, CDRF_DODEFAULT,
            {"parent WM_NOTIFY 7 NM_CUSTOMDRAW PREPAINT FOCUS|DEFAULT"}},
        {"pressed", BS_PUSHBUTTON, [](HWND b) { SendMessageW(b, BM_SETSTATE, TRUE, 0); }, CDRF_DODEFAULT,
            {"parent WM_NOTIFY 7 NM_CUSTOMDRAW PREPAINT SELECTED"}},
        {"disabled check box", BS_AUTOCHECKBOX, [](HWND b) { EnableWindow(b, FALSE); }, CDRF_DODEFAULT,
            {"parent WM_NOTIFY 7 NM_CUSTOMDRAW PREPAINT DISABLED"}},
        {"radio asking for the post-paint", BS_AUTORADIOBUTTON, [](HWND) {}, CDRF_NOTIFYPOSTPAINT,
            {"parent WM_NOTIFY 7 NM_CUSTOMDRAW PREPAINT 0", "parent WM_NOTIFY 7 NM_CUSTOMDRAW POSTPAINT 0"}},
        {"push drawn by the parent", BS_PUSHBUTTON, [](HWND) {}, CDRF_SKIPDEFAULT,
            {"parent WM_NOTIFY 7 NM_CUSTOMDRAW PREPAINT 0"}},
        {"group box", BS_GROUPBOX, [](HWND) {}, CDRF_DODEFAULT, {}},
        {"owner-drawn", BS_OWNERDRAW, [](HWND) {}, CDRF_DODEFAULT, {}},
    };
    g_parentProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CustomDrawAnswering)));
    for (const Row& row : rows) {
        HWND b = Button(row.style, L"Skin");
        row.state(b);
        user::PaintPendingWindows();
        // A marker under the button: what the button does not paint keeps it.
        RECT r;
        GetWindowRect(b, &r);
        HDC screen = GetDC(nullptr);
        HBRUSH marker = CreateSolidBrush(RGB(1, 2, 3));
        FillRect(screen, &r, marker);
        DeleteObject(marker);
        g_customDrawAnswer = row.answer;
        log.Start({WM_NOTIFY});
        InvalidateRect(b, nullptr, FALSE);
        UpdateWindow(b);
        log.Stop();
        std::vector<std::string> lines;
        for (const auto& l : log.Lines())
            if (l.find("WM_NOTIFY") != std::string::npos)
                lines.push_back(l);
        EXPECT_EQ(lines, row.expected) << row.name;
        const bool untouched = GetPixel(screen, (r.left + r.right) / 2, r.top + 1) == RGB(1, 2, 3);
        EXPECT_EQ(untouched, row.answer == CDRF_SKIPDEFAULT) << row.name;
        ReleaseDC(nullptr, screen);
        g_customDrawAnswer = CDRF_DODEFAULT;
        DestroyWindow(b);
    }
    SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_parentProc));
}

// ---- pixels ----------------------------------------------------------------------------------------

std::vector<COLORREF> Grab(HDC dc, const RECT& r)
{
    std::vector<COLORREF> out;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            out.push_back(GetPixel(dc, x, y));
    return out;
}

// What DrawFrameControl paints into `size` over a background colour, independently of the
// button.
std::vector<COLORREF> Reference(SIZE size, COLORREF back, RECT frame, UINT type, UINT state)
{
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bm = CreateCompatibleBitmap(screen, size.cx, size.cy);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, bm);
    HBRUSH b = CreateSolidBrush(back);
    RECT all{0, 0, size.cx, size.cy};
    FillRect(mem, &all, b);
    DeleteObject(b);
    DrawFrameControl(mem, &frame, type, state);
    auto px = Grab(mem, all);
    SelectObject(mem, old);
    DeleteObject(bm);
    DeleteDC(mem);
    return px;
}

std::vector<COLORREF> OnScreen(HWND w)
{
    user::PaintPendingWindows();
    RECT r;
    GetWindowRect(w, &r);
    HDC dc = GetDC(nullptr);
    auto px = Grab(dc, r);
    ReleaseDC(nullptr, dc);
    return px;
}

TEST_F(ButtonTest, PushButtonFramesAndTheFocusRectangleByGeometry)
{
    const SIZE size{60, 20};
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    HWND b = Button(BS_PUSHBUTTON, L"", 10, 10, size.cx, size.cy);
    EXPECT_EQ(OnScreen(b), Reference(size, face, RECT{0, 0, 60, 20}, DFC_BUTTON, DFCS_BUTTONPUSH));
    SendMessageW(b, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(OnScreen(b), Reference(size, face, RECT{0, 0, 60, 20}, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED));
    SendMessageW(b, BM_SETSTATE, FALSE, 0);
    // The default button: a one-pixel COLOR_WINDOWFRAME ring round the same frame.
    SendMessageW(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    auto def = OnScreen(b);
    auto ref = Reference(size, GetSysColor(COLOR_WINDOWFRAME), RECT{1, 1, 59, 19}, DFC_BUTTON, DFCS_BUTTONPUSH);
    EXPECT_EQ(def, ref);
    // Focus: the dotted rectangle 3 pixels inside the frame control, nothing else.
    const auto before = OnScreen(b);
    SetFocus(b);
    const auto after = OnScreen(b);
    const RECT focus{1 + 3, 1 + 3, 59 - 3, 19 - 3};
    int onEdge = 0, elsewhere = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            if (before[static_cast<size_t>(y * size.cx + x)] == after[static_cast<size_t>(y * size.cx + x)])
                continue;
            const bool inside = x >= focus.left && x < focus.right && y >= focus.top && y < focus.bottom;
            const bool edge = inside && (x == focus.left || x == focus.right - 1 || y == focus.top || y == focus.bottom - 1);
            (edge ? onEdge : elsewhere)++;
        }
    EXPECT_EQ(elsewhere, 0);
    // Dots on every other pixel of the perimeter (2 * (52 + 12) - 4 = 124 pixels).
    EXPECT_GE(onEdge, 60);
}

TEST_F(ButtonTest, CheckBoxGlyphsSitWhereTheStylesPutThem)
{
    const int cx = GetSystemMetrics(SM_CXMENUCHECK), cy = GetSystemMetrics(SM_CYMENUCHECK);
    const SIZE size{100, 30};
    struct Row {
        const char* name;
        DWORD style;
        UINT check;
        RECT box;     // where the box goes, in client coordinates
        UINT dfcs;
    };
    const int mid = (30 - cy) / 2;
    const Row rows[] = {
        {"check box, centred at the left", BS_CHECKBOX, BST_CHECKED, {0, mid, cx, mid + cy}, DFCS_BUTTONCHECK | DFCS_CHECKED},
        {"indeterminate", BS_3STATE, BST_INDETERMINATE, {0, mid, cx, mid + cy},
            DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_BUTTON3STATE},
        {"left text: box at the right", BS_CHECKBOX | BS_LEFTTEXT, 0, {100 - cx, mid, 100, mid + cy}, DFCS_BUTTONCHECK},
        {"top", BS_RADIOBUTTON | BS_TOP, BST_CHECKED, {0, 0, cx, cy}, DFCS_BUTTONRADIO | DFCS_CHECKED},
        {"bottom", BS_RADIOBUTTON | BS_BOTTOM, 0, {0, 30 - cy, cx, 30}, DFCS_BUTTONRADIO},
        {"disabled", BS_CHECKBOX | WS_DISABLED, BST_CHECKED, {0, mid, cx, mid + cy},
            DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE},
    };
    for (const Row& row : rows) {
        HWND b = Button(row.style, L"", 10, 10, size.cx, size.cy);
        SendMessageW(b, BM_SETCHECK, row.check, 0);
        EXPECT_EQ(OnScreen(b), Reference(size, GetSysColor(COLOR_3DFACE), row.box, DFC_BUTTON, row.dfcs)) << row.name;
        DestroyWindow(b);
    }
}

TEST_F(ButtonTest, TextStaysWithinItsExtentAndTheParentsBrushFillsTheBack)
{
    const COLORREF green = RGB(0, 200, 0);
    HBRUSH brush = CreateSolidBrush(green);
    // The parent's procedure is the log class's: answer WM_CTLCOLORSTATIC through a subclass.
    static HBRUSH s_brush;
    static WNDPROC s_old;
    s_brush = brush;
    s_old = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(
        +[](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_CTLCOLORSTATIC || m == WM_CTLCOLORBTN) {
                SetBkColor(reinterpret_cast<HDC>(wp), RGB(0, 200, 0));
                return reinterpret_cast<LRESULT>(s_brush);
            }
            return CallWindowProcW(s_old, h, m, wp, lp);
        })));
    HWND box = Button(BS_AUTOCHECKBOX, L"Wide label", 10, 10, 150, 24);
    HWND push = Button(BS_PUSHBUTTON, L"Push", 10, 50, 80, 24);
    const auto px = OnScreen(box);
    const int boxRight = GetSystemMetrics(SM_CXMENUCHECK);
    // Text pixels (neither the brush nor the box) lie inside the text's extent.
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SIZE ext{};
    GetTextExtentPoint32W(dc, L"Wide label", 10, &ext);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    const int textLeft = boxRight + 4, textTop = (24 - ext.cy) / 2;
    int text = 0, stray = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = boxRight; x < 150; ++x) {
            if (px[static_cast<size_t>(y * 150 + x)] == green)
                continue;
            const bool in = x >= textLeft && x < textLeft + ext.cx && y >= textTop && y < textTop + ext.cy;
            (in ? text : stray)++;
        }
    EXPECT_GT(text, 20);
    EXPECT_EQ(stray, 0);
    // A push button keeps its 3D face whatever brush the parent gives.
    EXPECT_EQ(OnScreen(push)[static_cast<size_t>(12 * 80 + 4)], GetSysColor(COLOR_3DFACE));
    DestroyWindow(box);
    DestroyWindow(push);
    SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_old));
    DeleteObject(brush);
}

TEST_F(ButtonTest, PushButtonTextFollowsTheAlignmentStyles)
{
    const int W = 200, H = 60;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SIZE e{};
    GetTextExtentPoint32W(dc, L"Go", 2, &e);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    // The content rectangle is 3 pixels inside the frame control: (3, 3) - (197, 57).
    const int cx = 3 + (194 - e.cx) / 2, cy = 3 + (54 - e.cy) / 2;
    struct Row {
        const char* name;
        DWORD style;
        bool pressed;
        RECT extent;
    };
    const Row rows[] = {
        {"centred", 0, false, {cx, cy, cx + e.cx, cy + e.cy}},
        {"pressed: one pixel right and down", 0, true, {cx + 1, cy + 1, cx + 1 + e.cx, cy + 1 + e.cy}},
        {"left", BS_LEFT, false, {3, cy, 3 + e.cx, cy + e.cy}},
        {"right", BS_RIGHT, false, {197 - e.cx, cy, 197, cy + e.cy}},
        {"top", BS_TOP, false, {cx, 3, cx + e.cx, 3 + e.cy}},
        {"bottom right", BS_BOTTOM | BS_RIGHT, false, {197 - e.cx, 57 - e.cy, 197, 57}},
    };
    for (const Row& row : rows) {
        HWND b = Button(BS_PUSHBUTTON | row.style, L"Go", 10, 10, W, H);
        if (row.pressed)
            SendMessageW(b, BM_SETSTATE, TRUE, 0);
        const auto px = OnScreen(b);
        const COLORREF face = GetSysColor(COLOR_3DFACE);
        RECT ink{W, H, 0, 0};
        for (int y = 4; y < H - 4; ++y)
            for (int x = 4; x < W - 4; ++x)
                if (px[static_cast<size_t>(y * W + x)] != face)
                    ink = RECT{std::min<int>(ink.left, x), std::min<int>(ink.top, y), std::max<int>(ink.right, x + 1),
                        std::max<int>(ink.bottom, y + 1)};
        EXPECT_TRUE(ink.left >= row.extent.left && ink.right <= row.extent.right && ink.top >= row.extent.top &&
            ink.bottom <= row.extent.bottom && ink.left < ink.right)
            << row.name << ": ink " << ink.left << "," << ink.top << "," << ink.right << "," << ink.bottom;
        DestroyWindow(b);
    }
    // BS_MULTILINE wraps a long label onto more lines; without it the label keeps one.
    for (DWORD style : {BS_PUSHBUTTON, BS_PUSHBUTTON | BS_MULTILINE}) {
        HWND b = Button(style, L"a label far too long for one line", 10, 10, 80, 60);
        const auto px = OnScreen(b);
        int top = 60, bottom = 0;
        for (int y = 4; y < 56; ++y)
            for (int x = 4; x < 76; ++x)
                if (px[static_cast<size_t>(y * 80 + x)] != GetSysColor(COLOR_3DFACE)) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y + 1);
                }
        EXPECT_EQ(bottom - top > e.cy, (style & BS_MULTILINE) != 0) << "style " << style;
        DestroyWindow(b);
    }
}

} // namespace
} // namespace zyn::test
