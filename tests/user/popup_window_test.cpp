// The "#32768" popup windows: a module's own registration of the class sees every
// message of every popup, the screen under a popup is untouched until its first
// WM_NCPAINT, the classic frame and items by their pixels, the layout of items by the
// documented rules, owner-drawn items measured once and drawn, and WM_PRINT.
#include <functional>

#include "platform/gdi/gdi_types.h"
#include "platform/user/menu.h"
#include "platform/user/popup_menu.h"
#include "tests/user/msglog.h"
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

using zyn::base::Clock;

class PopupWindowTest : public UserTest {
protected:
    void SetUp() override
    {
        UserTest::SetUp();
        Clock::UseVirtual(10000);
        user::SetScriptedMode(true);
    }
    // A visible owner that paints its client area in `color`.
    HWND MakeOwner(COLORREF color, int x = 100, int y = 100, int cx = 600, int cy = 500)
    {
        HWND h = CreateWindowExW(0, kSolidClass, L"", WS_POPUP | WS_VISIBLE, x, y, cx, cy, nullptr, nullptr, nullptr,
            nullptr);
        SetWindowLongPtrW(h, GWLP_USERDATA, static_cast<LONG_PTR>(color));
        InvalidateRect(h, nullptr, TRUE);
        Pump();
        return h;
    }
    static HWND OnlyPopup()
    {
        const auto popups = user::OpenPopupMenuWindows();
        EXPECT_EQ(popups.size(), 1u);
        return popups.empty() ? nullptr : popups.front();
    }
};

// The menu font's height, as the documented layout uses it.
int MenuTextHeight()
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT f = CreateFontIndirectW(&ncm.lfMenuFont);
    HGDIOBJ old = SelectObject(dc, f);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteObject(f);
    DeleteDC(dc);
    return tm.tmHeight;
}

// The width DrawText gives a label in the menu font (bold for a default item).
int LabelWidth(const std::wstring& s, bool bold = false)
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    if (bold)
        ncm.lfMenuFont.lfWeight = FW_BOLD;
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT f = CreateFontIndirectW(&ncm.lfMenuFont);
    HGDIOBJ old = SelectObject(dc, f);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(f);
    DeleteDC(dc);
    return r.right - r.left;
}

int CxCheck() { return GetSystemMetrics(SM_CXMENUCHECK); }
int TextItemHeight() { return std::max(MenuTextHeight() + 4, GetSystemMetrics(SM_CYMENUCHECK) + 4); }

// ---- a module's own "#32768" ----------------------------------------------------------------------------------

WNDPROC g_systemProc = nullptr;
std::vector<UINT> g_seen;
std::vector<COLORREF> g_underAtFirstNcPaint;
RECT g_requested{};

LRESULT SkinProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m != WM_NCHITTEST && m != WM_SETCURSOR && m != WM_GETICON && m != WM_GETTEXT && m != WM_GETTEXTLENGTH)
        g_seen.push_back(m);
    if (m == WM_WINDOWPOSCHANGING) {
        // A shadow strip: the popup grows four pixels right and down.
        auto* p = reinterpret_cast<WINDOWPOS*>(lp);
        if (!(p->flags & SWP_NOSIZE)) {
            g_requested = RECT{p->x, p->y, p->x + p->cx, p->y + p->cy};
            p->cx += 4;
            p->cy += 4;
        }
    }
    if (m == WM_NCPAINT && g_underAtFirstNcPaint.empty()) {
        RECT r;
        GetWindowRect(h, &r);
        HDC screen = GetDC(nullptr);
        for (POINT p : {POINT{r.left, r.top}, POINT{r.right - 1, r.top}, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2},
                 POINT{r.left, r.bottom - 1}, POINT{r.right - 1, r.bottom - 1}})
            g_underAtFirstNcPaint.push_back(GetPixel(screen, p.x, p.y));
        ReleaseDC(nullptr, screen);
    }
    return CallWindowProcW(g_systemProc, h, m, wp, lp);
}

TEST_F(PopupWindowTest, AModulesOwnClassSeesEveryMessageOfEveryPopup)
{
    // The class the system registered is there before anyone asks for it.
    WNDCLASSW wc{};
    ASSERT_TRUE(GetClassInfoW(nullptr, kPopupMenuClassName, &wc));
    EXPECT_EQ(wc.style & (CS_SAVEBITS | CS_DBLCLKS), CS_SAVEBITS | CS_DBLCLKS);
    g_systemProc = wc.lpfnWndProc;
    wc.lpfnWndProc = &SkinProc;
    wc.hInstance = nullptr; // the executable
    ASSERT_TRUE(RegisterClassW(&wc));
    g_seen.clear();
    g_underAtFirstNcPaint.clear();

    const COLORREF under = RGB(10, 200, 30);
    const HWND owner = MakeOwner(under);
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"&First");
    AppendMenuW(menu, MF_STRING, 2, L"&Second");
    RECT window{}, client{};
    user::QueueIdleAction([&] {
        const HWND popup = OnlyPopup();
        // Made by the class's integer atom, owned by the window the menu serves.
        EXPECT_EQ(GetClassLongW(popup, GCW_ATOM), 0x8000u);
        EXPECT_EQ(GetWindow(popup, GW_OWNER), owner);
        GetWindowRect(popup, &window);
        GetClientRect(popup, &client);
        EXPECT_EQ(reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)), menu);
        user::InjectKeyPress(VK_DOWN);
        user::InjectKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 160, 0, owner, nullptr), 0);
    // Created (a popup hears its size at once), positioned and shown (painted only from
    // WM_NCPAINT on; DefWindowProc tells it where it went), painted, asked for its menu (by
    // the test), then released from the capture and destroyed.
    const std::vector<UINT> expected{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_WINDOWPOSCHANGING,
        WM_NCCALCSIZE, WM_NCPAINT, WM_ERASEBKGND, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE, WM_PAINT, MN_GETHMENU, WM_CAPTURECHANGED,
        WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_DESTROY, WM_NCDESTROY};
    EXPECT_EQ(g_seen, expected);
    // The growth the subclass asked for is where the popup went; the client keeps the
    // three-pixel frame on every side.
    EXPECT_EQ(g_requested.left, 150);
    EXPECT_EQ(g_requested.top, 160);
    EXPECT_EQ(window.left, 150);
    EXPECT_EQ(window.top, 160);
    EXPECT_EQ(window.right - window.left, g_requested.right - g_requested.left + 4);
    EXPECT_EQ(window.bottom - window.top, g_requested.bottom - g_requested.top + 4);
    EXPECT_EQ(client.right, window.right - window.left - 6);
    EXPECT_EQ(client.bottom, window.bottom - window.top - 6);
    // At its first WM_NCPAINT the screen under the popup still showed the owner.
    EXPECT_EQ(g_underAtFirstNcPaint, std::vector<COLORREF>(5, under));
    DestroyMenu(menu);
    DestroyWindow(owner);
}

// ---- the classic look -----------------------------------------------------------------------------------------

TEST_F(PopupWindowTest, TheFrameIsThreeRaisedRingsAndTheHighlightFollowsTheKeys)
{
    // Distinct colours for each part, so every pixel says which part painted it.
    const int parts[] = {COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DHILIGHT, COLOR_3DSHADOW, COLOR_MENU, COLOR_HIGHLIGHT};
    const COLORREF colors[] = {RGB(250, 0, 0), RGB(0, 120, 0), RGB(0, 0, 250), RGB(90, 90, 0), RGB(250, 250, 0),
        RGB(200, 0, 200)};
    ASSERT_TRUE(SetSysColors(6, parts, colors));
    const COLORREF light = colors[0], dark = colors[1], hilite = colors[2], shadow = colors[3], face = colors[4],
                   selected = colors[5];
    const HWND owner = MakeOwner(RGB(255, 255, 255));
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"&First");
    AppendMenuW(menu, MF_STRING, 2, L"&Second");
    struct Probe {
        const char* what;
        int dx, dy;   // from the left/top (>= 0) or right/bottom (< 0) edge
        COLORREF before, after;
    };
    std::vector<std::string> failures;
    auto check = [&](HWND popup, bool afterDown) {
        RECT r;
        GetWindowRect(popup, &r);
        const int mx = (r.left + r.right) / 2, my = r.top + 6;
        const int firstItemY = r.top + 3 + TextItemHeight() / 2;
        const Probe probes[] = {
            {"outer top", 0, 0, light, light},             // top-left corner: top-left colour
            {"outer right corner", -1, 0, dark, dark},      // the bottom-right colour owns it
            {"outer left corner", 0, -1, dark, dark},
            {"outer bottom-right", -1, -1, dark, dark},
            {"inner top-left", 1, 1, hilite, hilite},
            {"inner top-right", -2, 1, shadow, shadow},
            {"inner bottom", -2, -2, shadow, shadow},
            {"face ring top-left", 2, 2, face, face},
            {"face ring bottom-right", -3, -3, face, face},
        };
        HDC screen = GetDC(nullptr);
        for (const Probe& p : probes) {
            const int x = p.dx >= 0 ? r.left + p.dx : r.right + p.dx;
            const int y = p.dy >= 0 ? r.top + p.dy : r.bottom + p.dy;
            const COLORREF want = afterDown ? p.after : p.before;
            if (GetPixel(screen, x, y) != want)
                failures.push_back(std::string(p.what) + (afterDown ? " after Down" : ""));
        }
        // The edges between the corners.
        if (GetPixel(screen, mx, r.top) != light || GetPixel(screen, r.left, my) != light)
            failures.push_back("outer top/left edge");
        if (GetPixel(screen, mx, r.bottom - 1) != dark || GetPixel(screen, r.right - 1, my) != dark)
            failures.push_back("outer bottom/right edge");
        // The first item's left margin: the menu's face, or the highlight once selected.
        if (GetPixel(screen, r.left + 4, firstItemY) != (afterDown ? selected : face))
            failures.push_back(std::string("first item margin") + (afterDown ? " after Down" : ""));
        ReleaseDC(nullptr, screen);
    };
    user::QueueIdleAction([&] {
        check(OnlyPopup(), false);
        user::InjectKeyPress(VK_DOWN);
        user::QueueIdleAction([&] {
            check(OnlyPopup(), true);
            user::InjectKeyPress(VK_ESCAPE);
        });
    });
    TrackPopupMenu(menu, 0, 200, 200, 0, owner, nullptr);
    EXPECT_EQ(failures, std::vector<std::string>{});
    // Closed, the popup leaves the owner's pixels behind.
    Pump();
    EXPECT_EQ(Pixel(205, 205), RGB(255, 255, 255));
    DestroyMenu(menu);
    DestroyWindow(owner);
}

TEST_F(PopupWindowTest, AMenuBackgroundBrushFillsTheItemsButNotTheFrame)
{
    const HWND owner = MakeOwner(RGB(255, 255, 255));
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"&First");
    const HBRUSH back = CreateSolidBrush(RGB(0, 90, 180));
    MENUINFO mi{sizeof mi, MIM_BACKGROUND, 0, 0, back, 0, 0};
    ASSERT_TRUE(SetMenuInfo(menu, &mi));
    COLORREF item = 0, ring = 0;
    user::QueueIdleAction([&] {
        RECT r;
        GetWindowRect(OnlyPopup(), &r);
        item = Pixel(r.left + 4, r.top + 4);
        ring = Pixel(r.left + 2, r.top + 2);
        EndMenu();
    });
    TrackPopupMenu(menu, 0, 200, 200, 0, owner, nullptr);
    EXPECT_EQ(item, RGB(0, 90, 180));
    EXPECT_EQ(ring, GetSysColor(COLOR_MENU));
    DestroyMenu(menu);
    DeleteObject(back);
    DestroyWindow(owner);
}

TEST_F(PopupWindowTest, PrintPaintsWhatTheScreenShows)
{
    const HWND owner = MakeOwner(RGB(255, 255, 255));
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING | MF_CHECKED, 1, L"&Checked");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 2, L"&Grayed\tCtrl+G");
    int mismatches = -1;
    user::QueueIdleAction([&] {
        const HWND popup = OnlyPopup();
        RECT r;
        GetWindowRect(popup, &r);
        const int cx = r.right - r.left, cy = r.bottom - r.top;
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP bm = CreateCompatibleBitmap(screen, cx, cy);
        HGDIOBJ old = SelectObject(mem, bm);
        SendMessageW(popup, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        mismatches = 0;
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
                mismatches += GetPixel(mem, x, y) != GetPixel(screen, r.left + x, r.top + y) ? 1 : 0;
        SelectObject(mem, old);
        DeleteObject(bm);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        EndMenu();
    });
    TrackPopupMenu(menu, 0, 200, 200, 0, owner, nullptr);
    EXPECT_EQ(mismatches, 0);
    DestroyMenu(menu);
    DestroyWindow(owner);
}

// ---- layout -------------------------------------------------------------------------------------------------

TEST_F(PopupWindowTest, ItemsAreLaidOutInColumnsByTheDocumentedRules)
{
    const HWND owner = MakeOwner(RGB(255, 255, 255), 0, 0, 1000, 800);
    const int cx = CxCheck(), itemH = TextItemHeight();
    const int pad = 2, gap = 4, accelGap = 12, sepH = 8, barGap = 6;
    // A text column: pad, check column, gap, labels, accelerator gap and column, gap,
    // arrow column, pad.
    auto textColumn = [&](int label, int accel, int leftCols) {
        return pad + leftCols + gap + label + (accel ? accelGap + accel : 0) + gap + cx + pad;
    };
    struct Row {
        const char* name;
        std::function<HMENU()> build;
        std::vector<RECT> expected; // client coordinates of each item
    };
    const int open = LabelWidth(L"&Open"), save = LabelWidth(L"Save &As..."), accel = LabelWidth(L"Ctrl+O");
    const int w1 = textColumn(std::max(open, save), accel, cx);
    const int bold = LabelWidth(L"&Bold", true), plain = LabelWidth(L"&Plain");
    const int w2 = textColumn(std::max(bold, plain), 0, cx);
    const int a = LabelWidth(L"&A"), b = LabelWidth(L"&B"), c = LabelWidth(L"&C");
    const int colA = textColumn(a, 0, cx), colB = textColumn(b, 0, cx), colC = textColumn(c, 0, cx);
    const int noCheck = textColumn(LabelWidth(L"&Item"), 0, 0);
    // A 20 x 20 picture beside the text: its own column after the check column (2 pixels
    // apart), or under MNS_CHECKORBMP one column as wide as the wider of the two; an item
    // with a picture is as high as the picture plus 2.
    const int pic = LabelWidth(L"&Picture");
    const int withBitmap = textColumn(pic, 0, cx + 2 + 20), checkOrBmp = textColumn(pic, 0, std::max(cx, 20));
    const int picH = std::max(itemH, 22);
    const Row rows[] = {
        {"AcceleratorsLineUpInTheirOwnColumn",
            [] {
                HMENU m = CreatePopupMenu();
                AppendMenuW(m, MF_STRING, 1, L"&Open\tCtrl+O");
                AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
                AppendMenuW(m, MF_STRING, 2, L"Save &As...");
                return m;
            },
            {{0, 0, w1, itemH}, {0, itemH, w1, itemH + sepH}, {0, itemH + sepH, w1, 2 * itemH + sepH}}},
        {"TheDefaultItemIsMeasuredBold",
            [] {
                HMENU m = CreatePopupMenu();
                AppendMenuW(m, MF_STRING | MF_DEFAULT, 1, L"&Bold");
                AppendMenuW(m, MF_STRING, 2, L"&Plain");
                return m;
            },
            {{0, 0, w2, itemH}, {0, itemH, w2, 2 * itemH}}},
        {"BreaksStartColumnsAndABarBreakLeavesRoomForItsLine",
            [] {
                HMENU m = CreatePopupMenu();
                AppendMenuW(m, MF_STRING, 1, L"&A");
                AppendMenuW(m, MF_STRING | MF_MENUBREAK, 2, L"&B");
                AppendMenuW(m, MF_STRING | MF_MENUBARBREAK, 3, L"&C");
                return m;
            },
            {{0, 0, colA, itemH}, {colA, 0, colA + colB, itemH},
                {colA + colB + barGap, 0, colA + colB + barGap + colC, itemH}}},
        {"NoCheckDropsTheCheckColumn",
            [] {
                HMENU m = CreatePopupMenu();
                AppendMenuW(m, MF_STRING, 1, L"&Item");
                MENUINFO mi{sizeof mi, MIM_STYLE, MNS_NOCHECK, 0, nullptr, 0, 0};
                SetMenuInfo(m, &mi);
                return m;
            },
            {{0, 0, noCheck, itemH}}},
        {"APictureHasAColumnOfItsOwn",
            [] {
                HMENU m = CreatePopupMenu();
                AppendMenuW(m, MF_STRING, 1, L"&Picture");
                MENUITEMINFOW mii{};
                mii.cbSize = sizeof mii;
                mii.fMask = MIIM_BITMAP;
                mii.hbmpItem = CreateBitmap(20, 20, 1, 32, nullptr);
                SetMenuItemInfoW(m, 0, TRUE, &mii);
                return m;
            },
            {{0, 0, withBitmap, picH}}},
        {"CheckOrBmpSharesTheCheckColumn",
            [] {
                HMENU m = CreatePopupMenu();
                AppendMenuW(m, MF_STRING, 1, L"&Picture");
                MENUITEMINFOW mii{};
                mii.cbSize = sizeof mii;
                mii.fMask = MIIM_BITMAP;
                mii.hbmpItem = CreateBitmap(20, 20, 1, 32, nullptr);
                SetMenuItemInfoW(m, 0, TRUE, &mii);
                MENUINFO mi{sizeof mi, MIM_STYLE, MNS_CHECKORBMP, 0, nullptr, 0, 0};
                SetMenuInfo(m, &mi);
                return m;
            },
            {{0, 0, checkOrBmp, picH}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const HMENU menu = row.build();
        std::vector<RECT> got;
        RECT window{};
        user::QueueIdleAction([&] {
            const HWND popup = OnlyPopup();
            GetWindowRect(popup, &window);
            POINT origin{0, 0};
            ClientToScreen(popup, &origin);
            for (UINT i = 0; i < row.expected.size(); ++i) {
                RECT r{};
                EXPECT_TRUE(GetMenuItemRect(owner, menu, i, &r));
                OffsetRect(&r, -origin.x, -origin.y);
                got.push_back(r);
                // The item is found again under its centre.
                const POINT centre{origin.x + (r.left + r.right) / 2, origin.y + (r.top + r.bottom) / 2};
                EXPECT_EQ(MenuItemFromPoint(nullptr, menu, centre), static_cast<int>(i));
            }
            EndMenu();
        });
        TrackPopupMenu(menu, 0, 50, 50, 0, owner, nullptr);
        ASSERT_EQ(got.size(), row.expected.size());
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_TRUE(EqualRect(&got[i], &row.expected[i]))
                << "item " << i << ": got {" << got[i].left << "," << got[i].top << "," << got[i].right << ","
                << got[i].bottom << "} want {" << row.expected[i].left << "," << row.expected[i].top << ","
                << row.expected[i].right << "," << row.expected[i].bottom << "}";
        // The window is the items plus the frame.
        const RECT& last = row.expected.back();
        int right = 0, bottom = 0;
        for (const RECT& r : row.expected) {
            right = std::max<int>(right, r.right);
            bottom = std::max<int>(bottom, r.bottom);
        }
        (void)last;
        EXPECT_EQ(window.right - window.left, right + 6);
        EXPECT_EQ(window.bottom - window.top, bottom + 6);
        // Pictures belong to whoever made them.
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_BITMAP;
        if (GetMenuItemInfoW(menu, 0, TRUE, &mii) && mii.hbmpItem)
            DeleteObject(mii.hbmpItem);
        DestroyMenu(menu);
    }
    DestroyWindow(owner);
}

TEST_F(PopupWindowTest, AMenuTallerThanItsLimitScrollsToTheSelection)
{
    const HWND owner = MakeOwner(RGB(255, 255, 255));
    const HMENU menu = CreatePopupMenu();
    for (int i = 0; i < 30; ++i)
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(100 + i), (L"Item " + std::to_wstring(i)).c_str());
    MENUINFO mi{sizeof mi, MIM_MAXHEIGHT, 0, 200, nullptr, 0, 0};
    ASSERT_TRUE(SetMenuInfo(menu, &mi));
    RECT window{}, lastBefore{}, lastAfter{};
    user::QueueIdleAction([&] {
        GetWindowRect(OnlyPopup(), &window);
        GetMenuItemRect(nullptr, menu, 29, &lastBefore);
        user::InjectKeyPress(VK_END);
        user::QueueIdleAction([&] {
            GetMenuItemRect(nullptr, menu, 29, &lastAfter);
            EndMenu();
        });
    });
    TrackPopupMenu(menu, 0, 100, 100, 0, owner, nullptr);
    // The window keeps to the limit; the last item starts below it, and End scrolls it up
    // to just above the bottom arrow band (12 pixels).
    EXPECT_EQ(window.bottom - window.top, 200);
    EXPECT_GE(lastBefore.top, window.bottom);
    EXPECT_EQ(lastAfter.bottom, window.bottom - 3 - 12);
    DestroyMenu(menu);
    DestroyWindow(owner);
}

// ---- owner-drawn items ---------------------------------------------------------------------------------------

struct Drawn {
    UINT id, action, state;
    RECT rc;
};
std::vector<UINT> g_measured;
std::vector<Drawn> g_drawn;
WNDPROC g_solidProc = nullptr;

LRESULT OwnerDrawProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        g_measured.push_back(mis->itemID);
        mis->itemWidth = mis->itemID == 301 ? 80 : 120;
        mis->itemHeight = mis->itemID == 301 ? 20 : 25;
        return TRUE;
    }
    if (m == WM_DRAWITEM) {
        const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        EXPECT_EQ(d->CtlType, ODT_MENU);
        g_drawn.push_back(Drawn{d->itemID, d->itemAction, d->itemState, d->rcItem});
        return TRUE;
    }
    return CallWindowProcW(g_solidProc, h, m, wp, lp);
}

TEST_F(PopupWindowTest, OwnerDrawnItemsAreMeasuredOnceAndDrawnWithTheirState)
{
    const HWND owner = MakeOwner(RGB(255, 255, 255));
    g_solidProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerDrawProc)));
    g_measured.clear();
    g_drawn.clear();
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_OWNERDRAW, 301, reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(0x1234)));
    AppendMenuW(menu, MF_OWNERDRAW | MF_CHECKED, 302, nullptr);
    AppendMenuW(menu, MF_STRING, 303, L"&Text");
    std::vector<Drawn> atFirstPaint;
    user::QueueIdleAction([&] {
        atFirstPaint = g_drawn;
        g_drawn.clear();
        user::InjectKeyPress(VK_DOWN);
        user::InjectKeyPress(VK_DOWN);
        user::InjectKeyPress(VK_ESCAPE);
    });
    TrackPopupMenu(menu, 0, 100, 100, 0, owner, nullptr);
    // The widest item plus the check column less one is every item's width.
    const int w = 120 + CxCheck() - 1;
    EXPECT_EQ(g_measured, (std::vector<UINT>{301, 302}));
    ASSERT_EQ(atFirstPaint.size(), 2u);
    const RECT first{0, 0, w, 20}, second{0, 20, w, 45};
    EXPECT_EQ(atFirstPaint[0].id, 301u);
    EXPECT_EQ(atFirstPaint[0].action, ODA_DRAWENTIRE);
    EXPECT_EQ(atFirstPaint[0].state, 0u);
    EXPECT_TRUE(EqualRect(&atFirstPaint[0].rc, &first));
    EXPECT_EQ(atFirstPaint[1].id, 302u);
    EXPECT_EQ(atFirstPaint[1].state, static_cast<UINT>(ODS_CHECKED));
    EXPECT_TRUE(EqualRect(&atFirstPaint[1].rc, &second));
    // Each highlight change redraws the items it concerns with ODA_SELECT.
    ASSERT_EQ(g_drawn.size(), 3u);
    EXPECT_EQ(g_drawn[0].id, 301u);
    EXPECT_EQ(g_drawn[0].action, ODA_SELECT);
    EXPECT_EQ(g_drawn[0].state, static_cast<UINT>(ODS_SELECTED));
    EXPECT_EQ(g_drawn[1].id, 301u);
    EXPECT_EQ(g_drawn[1].state, 0u);
    EXPECT_EQ(g_drawn[2].id, 302u);
    EXPECT_EQ(g_drawn[2].state, static_cast<UINT>(ODS_SELECTED | ODS_CHECKED));
    DestroyMenu(menu);
    SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_solidProc));
    DestroyWindow(owner);
}

} // namespace
} // namespace zyn::test
