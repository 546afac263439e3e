// The tab skins' pixels: the XP and 2003 strip, separators and the selected tab drawn last,
// tabs cut at the arrows, the arrows by position and their hot border, the page-rectangle
// widening, and an empty control painted whole; Classic painting any tab control as the
// system does, and the probe for its vertical-text repair on a faked system release.
// Expected values follow the skins' drawing rules worked by hand on the tab control's own
// geometry (TCM_GETITEMRECT, TCM_ADJUSTRECT).
#include <cstdlib>
#include <map>
#include <string>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/window_dc.h"
#include "platform/base/module.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/afx/mdi.h"
#include "tests/docking/skin_table_scope.h"
#include "tests/docking/tab_test_support.h"
#include "toolkit/docking/tab_client.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_table.h"
#include "toolkit/skins/skin_xp.h"
#include "toolkit/skins/tab_skin.h"

namespace docktest {
namespace {

// The standard skins with the named one current, the XP skin in reach.
class CurrentSkin : public StandardSkinScope {
public:
    using StandardSkinScope::StandardSkinScope;
    COXSkinXP* Xp() { return dynamic_cast<COXSkinXP*>(table.GetCurrentSkin()); }
};

// The XP skin with its protected steps in reach.
class OpenXp : public COXTabSkinXP {
public:
    using COXTabSkinXP::AdjustItemRect;
    using COXTabSkinXP::COXTabSkinXP;
    using COXTabSkinXP::DrawArrowBorder;
    using COXTabSkinXP::DrawDownArrow;
    using COXTabSkinXP::DrawUpArrow;
};

// A tab control that is not a skinned one, painted by a Classic skin.
class ForeignTab : public CTabCtrl {
public:
    afx_msg void OnPaint() { skin.OnPaintTabCtrl(this); }
    COXTabSkinClassic skin;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ForeignTab, CTabCtrl)
    ON_WM_PAINT()
END_MESSAGE_MAP()

// Classic with the system release it reads set by the test.
class VersionedClassic : public COXTabSkinClassic {
public:
    DWORD major = 6, minor = 1;

protected:
    BOOL GetSystemVersion(OSVERSIONINFO* info) const override
    {
        info->dwMajorVersion = major;
        info->dwMinorVersion = minor;
        return TRUE;
    }
};

BOOL g_appThemed = TRUE, g_themeActive = TRUE;
BOOL AppThemed() { return g_appThemed; }
BOOL ThemeActive() { return g_themeActive; }

class TabSkin : public DockTabTest {
protected:
    void TearDown() override
    {
        if (parent && ::IsWindow(parent))
            ::DestroyWindow(parent);
        DockTabTest::TearDown();
    }
    HWND MakeParent() { return parent = MakePlainWindow(WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 300)); }
    static void AddTabs(HWND tab, int count, int selected)
    {
        const wchar_t* texts[] = {L"One", L"Two", L"Three", L"Four", L"Five"};
        for (int i = 0; i < count; ++i) {
            TCITEMW item{TCIF_TEXT, 0, 0, const_cast<wchar_t*>(texts[i]), 0, -1, 0};
            ::SendMessageW(tab, TCM_INSERTITEMW, 99, reinterpret_cast<LPARAM>(&item));
        }
        ::SendMessageW(tab, TCM_SETCURSEL, static_cast<WPARAM>(selected), 0);
    }
    // At (x, y) of the parent, which sits at the screen origin.
    bool Make(COXSkinnedTabCtrl& tab, DWORD style, int x, int y, int cx, int cy, int tabs = 3, int selected = 1)
    {
        if (!tab.Create(WS_VISIBLE | style, CRect(x, y, x + cx, y + cy), CWnd::FromHandle(parent), 101))
            return false;
        AddTabs(tab.m_hWnd, tabs, selected);
        tab.Invalidate();
        Pump();
        return true;
    }
    static COLORREF At(int x, int y)
    {
        HDC screen = ::GetDC(nullptr);
        const COLORREF c = ::GetPixel(screen, x, y);
        ::ReleaseDC(nullptr, screen);
        return c;
    }
    static CRect ItemRect(CTabCtrl& tab, int i)
    {
        CRect r;
        tab.GetItemRect(i, &r);
        return r;
    }
    static CRect Display(CTabCtrl& tab)
    {
        CRect r;
        tab.GetClientRect(&r);
        tab.AdjustRect(FALSE, &r);
        return r;
    }
    HWND parent = nullptr;
};

TEST_F(TabSkin, StripSeparatorsAndTheSelectedTabFollowTheFlatLook)
{
    struct Row {
        const char* what;
        const wchar_t* skin;
        DWORD style;
    };
    const Row rows[] = {
        {"XP, top", L"Office XP", 0},
        {"XP, bottom", L"Office XP", TCS_BOTTOM},
        {"2003, top", L"Office 2003", 0},
        {"2003, bottom", L"Office 2003", TCS_BOTTOM},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CurrentSkin skin(row.skin);
        COXSkinXP* xp = skin.Xp();
        ASSERT_NE(xp, nullptr);
        auto* s2003 = dynamic_cast<COXSkin2003*>(xp);
        MakeParent();
        COXSkinnedTabCtrl tab;
        ASSERT_TRUE(Make(tab, row.style, 0, 0, 400, 80));
        const CRect display = Display(tab);
        const CRect last = ItemRect(tab, 2), selected = ItemRect(tab, 1);
        const bool bottom = row.style & TCS_BOTTOM;
        const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);

        // The strip right of the tabs: the tab-buttons colour (2003: a vertical gradient,
        // dark to light for top tabs) and its line, white over top tabs, black under bottom ones.
        const int stripX = 390;
        const int lineY = bottom ? display.bottom + 2 : display.top - 3;
        EXPECT_EQ(At(stripX, lineY), bottom ? RGB(0, 0, 0) : RGB(255, 255, 255));
        if (!s2003) {
            EXPECT_EQ(At(stripX, bottom ? 78 : 0), xp->GetTabButtonsBackgroundColor());
        } else if (!bottom) {
            // The gradient's first line is its first colour (the library may round one
            // level down).
            const COLORREF dark = s2003->GetTabBackgroundDarkColor(), got = At(stripX, 0);
            EXPECT_LE(std::abs(GetRValue(got) - GetRValue(dark)) + std::abs(GetGValue(got) - GetGValue(dark)) +
                    std::abs(GetBValue(got) - GetBValue(dark)),
                3);
        }

        // The last tab is not selected and nothing after it is pressed: its separator runs
        // 3 pixels clear of both ends, one column inside its right edge.
        const COLORREF separator = s2003 ? xp->GetBorderColor() : shadow;
        EXPECT_EQ(At(last.right - 1, last.top + 3), separator);
        EXPECT_EQ(At(last.right - 1, last.bottom - 4), separator);
        EXPECT_NE(At(last.right - 1, last.top + 1), separator);

        // The selected tab: white along its outer edge, black down its right side.
        if (!bottom) {
            EXPECT_EQ(At(selected.left, selected.top + 5), RGB(255, 255, 255));
            EXPECT_EQ(At(selected.left + 5, selected.top), RGB(255, 255, 255));
            EXPECT_EQ(At(selected.right - 1, selected.top + 5), RGB(0, 0, 0));
        } else {
            EXPECT_EQ(At(selected.left, selected.top + 5), RGB(255, 255, 255));
            EXPECT_EQ(At(selected.left + 5, selected.bottom - 1), RGB(0, 0, 0));
            EXPECT_EQ(At(selected.right - 1, selected.top + 1), RGB(0, 0, 0));
        }
        // Its face: button face (2003: the item gradient), the others the unselected fill.
        if (!s2003) {
            EXPECT_EQ(At(selected.left + 4, selected.top + 4), ::GetSysColor(COLOR_BTNFACE));
            EXPECT_EQ(At(last.left + 1, (last.top + last.bottom) / 2 - 4), xp->GetTabButtonsBackgroundColor());
        }
        // The page's border: one pixel of button shadow.
        EXPECT_EQ(At(display.left + 20, bottom ? display.top : display.top), shadow);
        tab.DestroyWindow();
        ::DestroyWindow(parent);
    }
}

TEST_F(TabSkin, TabsStopAtTheArrowsAndAreCutAtTheirEdge)
{
    CurrentSkin skin(L"Office XP");
    MakeParent();
    COXSkinnedTabCtrl tab;
    ASSERT_TRUE(Make(tab, 0, 0, 0, 120, 60, 4, 0));
    COXSkinnedSpinCtrl* spin = tab.GetSpinCtrl();
    ASSERT_NE(spin->m_hWnd, nullptr) << "four tabs overflow 120 pixels";
    CRect spinClient;
    spin->GetClientRect(&spinClient);
    const int limit = 120 - spinClient.Width();

    OpenXp xp(skin.Xp());
    struct Row {
        RECT in;
        BOOL allowed;
        LONG right;   // after the call
    };
    const Row rows[] = {
        {{limit + 1, 2, limit + 40, 20}, FALSE, limit + 40},   // wholly behind the arrows
        {{limit, 2, limit + 40, 20}, TRUE, limit},             // starts at their edge: cut to nothing
        {{limit - 30, 2, limit + 10, 20}, TRUE, limit},        // crosses their edge: cut there
        {{10, 2, limit - 1, 20}, TRUE, limit - 1},             // clear of them
        {{-40, 2, 3, 20}, FALSE, 3},                           // ends within 3 pixels of the left edge
        {{-40, 2, 4, 20}, TRUE, 4},
    };
    for (const Row& row : rows) {
        RECT r = row.in;
        EXPECT_EQ(xp.AdjustItemRect(0, &r, &tab), row.allowed) << row.in.left << ".." << row.in.right;
        EXPECT_EQ(r.right, row.right) << row.in.left << ".." << row.in.right;
    }
    spin->ShowWindow(SW_HIDE);
    RECT behind{limit + 1, 2, limit + 40, 20};
    EXPECT_TRUE(xp.AdjustItemRect(0, &behind, &tab)) << "hidden arrows cut nothing";
    spin->ShowWindow(SW_SHOW);
}

TEST_F(TabSkin, ArrowsAreFilledOnlyWhereTheyCanMoveAndTheHotOneIsRaised)
{
    CurrentSkin skin(L"Office XP");
    OpenXp xp(skin.Xp());
    const COLORREF ink = skin.Xp()->GetInactiveTabTextColor();
    const COLORREF paper = RGB(255, 255, 255);
    CClientDC screen(nullptr);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 40, 20));
    CBitmap* old = dc.SelectObject(&bitmap);
    struct Row {
        const char* what;
        bool up;          // right-pointing
        BOOL enabled;
        COLORREF inside;  // a pixel inside the triangle, off its outline
    };
    // A 16 x 16 half: x = 0 + (16 - 4) / 2 = 6, y = (16 - 8) / 2 = 4; the left arrow's tip
    // is at (6, 7), its base the column x = 10 from y = 3 to 11.
    const Row rows[] = {
        {"left, can move", false, TRUE, ink},
        {"left, at position 0", false, FALSE, paper},
        {"right, can move", true, TRUE, ink},
        {"right, at the maximum", true, FALSE, paper},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        dc.FillSolidRect(0, 0, 40, 20, paper);
        dc.SelectStockObject(WHITE_BRUSH);
        const RECT half{0, 0, 16, 16};
        if (row.up)
            xp.DrawUpArrow(&dc, &half, row.enabled);
        else
            xp.DrawDownArrow(&dc, &half, row.enabled);
        EXPECT_EQ(dc.GetPixel(row.up ? 10 : 6, 7), ink) << "the tip";
        EXPECT_EQ(dc.GetPixel(row.up ? 6 : 10, 4), ink) << "the base";
        EXPECT_EQ(dc.GetPixel(8, 7), row.inside) << "the inside";
        EXPECT_EQ(dc.GetPixel(3, 7), paper) << "outside";
    }
    // Raised while the button is up: white top-left, black bottom-right, 1 pixel in.
    dc.FillSolidRect(0, 0, 40, 20, paper);
    const RECT half{0, 0, 16, 16};
    xp.DrawArrowBorder(&dc, &half);
    EXPECT_EQ(dc.GetPixel(1, 5), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(14, 5), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetPixel(5, 14), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetPixel(0, 5), paper);
    dc.SelectObject(old);
}

// The two arrows split the spin's area (2 pixels in at the sides and on the tabs' side)
// into halves that meet without overlap and reach its right end: with W the spin's width
// and h = (W - 4) / 2, the left arrow takes columns 2 .. 2 + h - 1 and the right one
// 2 + h .. W - 3. The half under the mouse gets the raised border one pixel in: white on
// its left column, black on its right one.
TEST_F(TabSkin, TheHotBorderFramesTheArrowUnderTheMouse)
{
    for (const wchar_t* name : {L"Office XP", L"Office 2003"}) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        CurrentSkin skin(name);
        MakeParent();
        COXSkinnedTabCtrl tab;
        ASSERT_TRUE(Make(tab, 0, 0, 0, 120, 60, 4, 0));
        COXSkinnedSpinCtrl* spin = tab.GetSpinCtrl();
        ASSERT_NE(spin->m_hWnd, nullptr) << "four tabs overflow 120 pixels";
        spin->SetPos32(1); // both arrows can move
        CRect client;
        spin->GetClientRect(&client);
        const int w = client.Width(), h = (w - 4) / 2, y = (2 + client.Height()) / 2;
        ASSERT_GE(h, 6);
        struct Row {
            const char* what;
            int x;      // the mouse's column in the spin
            bool right; // the right arrow is the hot one
        };
        const Row rows[] = {
            {"the left arrow's first column", 2, false},
            {"its last column", 2 + h - 1, false},
            {"the right arrow's first column", 2 + h, true},
            {"its last column", w - 3, true},
        };
        for (const Row& row : rows) {
            SCOPED_TRACE(row.what);
            CPoint mouse(row.x, y);
            spin->ClientToScreen(&mouse);
            ASSERT_TRUE(::SetCursorPos(mouse.x, mouse.y));
            spin->Invalidate();
            spin->UpdateWindow();
            const int left = row.right ? 2 + h : 2, right = row.right ? w - 2 : 2 + h;
            CPoint at(0, y);
            spin->ClientToScreen(&at);
            EXPECT_EQ(At(at.x + left + 1, at.y), RGB(255, 255, 255)) << "the hot arrow's left edge";
            EXPECT_EQ(At(at.x + right - 2, at.y), RGB(0, 0, 0)) << "the hot arrow's right edge";
            const int other = row.right ? 2 + 1 : 2 + h + 1;
            EXPECT_NE(At(at.x + other, at.y), RGB(255, 255, 255)) << "no border on the other arrow";
        }
        tab.DestroyWindow();
        ::DestroyWindow(parent);
        parent = nullptr;
    }
}

TEST_F(TabSkin, PageRectanglesWidenOnlyWhereTheMarginIsNarrow)
{
    CurrentSkin skin(L"Office XP");
    MakeParent();
    struct Row {
        const char* what;
        DWORD style;
    };
    const Row rows[] = {{"top", 0}, {"bottom", TCS_BOTTOM}, {"left", TCS_VERTICAL | TCS_MULTILINE}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        COXSkinnedTabCtrl tab;
        ASSERT_TRUE(Make(tab, row.style, 0, 0, 300, 200));
        CRect client;
        tab.GetClientRect(&client);
        const CRect display = Display(tab);
        // Each side moves out by the amount where the display area lies under 8 pixels in.
        RECT r{50, 50, 100, 100};
        tab.GetTabSkin()->AdjustChildItemRect(&r, 5, &tab);
        EXPECT_EQ(r.left, display.left - client.left < 8 ? 45 : 50);
        EXPECT_EQ(r.top, display.top - client.top < 8 ? 45 : 50);
        EXPECT_EQ(r.right, client.right - display.right < 8 ? 105 : 100);
        EXPECT_EQ(r.bottom, client.bottom - display.bottom < 8 ? 105 : 100);
        // The tabs' side has a wide margin and stays.
        EXPECT_EQ(row.style == 0 ? r.top : row.style == TCS_BOTTOM ? r.bottom : r.left,
            row.style == 0 ? 50 : row.style == TCS_BOTTOM ? 100 : 50);
        COXTabSkinClassic classic;
        RECT same{50, 50, 100, 100};
        classic.AdjustChildItemRect(&same, 5, &tab);
        EXPECT_TRUE(::EqualRect(&same, CRect(50, 50, 100, 100))) << "Classic keeps the page";
        tab.DestroyWindow();
    }
}

TEST_F(TabSkin, AControlWithoutTabsIsPaintedWholeAndClassicPaintsAnyTabControl)
{
    for (const wchar_t* name : {L"Office XP", L"Office 2003"}) {
        SCOPED_TRACE(testing::Message() << "skin " << (name[7] == 'X' ? "XP" : "2003"));
        CurrentSkin skin(name);
        MakeParent();
        COXSkinnedTabCtrl emptied, fresh;
        ASSERT_TRUE(Make(emptied, 0, 0, 0, 300, 60));
        ASSERT_TRUE(fresh.Create(WS_VISIBLE, CRect(0, 100, 300, 160), CWnd::FromHandle(parent), 102));
        emptied.DeleteAllItems();
        emptied.Invalidate();
        fresh.Invalidate();
        Pump();
        EXPECT_TRUE(ScreenPixels(CRect(0, 0, 300, 60)) == ScreenPixels(CRect(0, 100, 300, 160)))
            << "tabs left behind after all were deleted";
        EXPECT_NE(At(150, 130), RGB(255, 255, 255)) << "the empty control shows the parent";
        emptied.DestroyWindow();
        fresh.DestroyWindow();
        ::DestroyWindow(parent);
    }
    MakeParent();
    HWND plain = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 60, parent, nullptr,
        nullptr, nullptr);
    AddTabs(plain, 3, 1);
    ForeignTab foreign;
    ASSERT_TRUE(foreign.Create(WS_VISIBLE, CRect(0, 100, 300, 160), CWnd::FromHandle(parent), 103));
    AddTabs(foreign.m_hWnd, 3, 1);
    Pump();
    EXPECT_TRUE(ScreenPixels(CRect(0, 0, 300, 60)) == ScreenPixels(CRect(0, 100, 300, 160)))
        << "a tab control that is not skinned is left unpainted";
    foreign.DestroyWindow();
}

TEST_F(TabSkin, VerticalTextIsRepairedOnlyOnTheOneReleaseWithVisualStyles)
{
    struct Row {
        const char* what;
        DWORD major, minor;
        bool module;        // "uxtheme.dll" present
        BOOL themed, active;
        BOOL repair;
    };
    const Row rows[] = {
        {"the platform's own release", 6, 1, true, TRUE, TRUE, FALSE},
        {"5.1 with visual styles active", 5, 1, true, TRUE, TRUE, TRUE},
        {"5.1 without the theme library", 5, 1, false, TRUE, TRUE, FALSE},
        {"5.1, application not themed", 5, 1, true, FALSE, TRUE, FALSE},
        {"5.1, theme not active", 5, 1, true, TRUE, FALSE, FALSE},
        {"5.0", 5, 0, true, TRUE, TRUE, FALSE},
        {"5.2", 5, 2, true, TRUE, TRUE, FALSE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        g_appThemed = row.themed;
        g_themeActive = row.active;
        HMODULE theme = nullptr;
        zyn::base::UnregisterBuiltinModule(L"uxtheme.dll");
        if (row.module) {
            theme = zyn::base::RegisterBuiltinModule(L"uxtheme.dll",
                {{"IsAppThemed", zyn::base::ExportAddress(&AppThemed)},
                    {"IsThemeActive", zyn::base::ExportAddress(&ThemeActive)}});
            ASSERT_NE(theme, nullptr);
        }
        VersionedClassic classic;
        classic.major = row.major;
        classic.minor = row.minor;
        EXPECT_EQ(classic.IsVerticalTextRepairNeeded(), row.repair);
        if (theme)
            zyn::base::UnregisterBuiltinModule(theme);
        zyn::gdi::RegisterDrawingModules();
    }
    COXTabSkinClassic real;
    EXPECT_FALSE(real.IsVerticalTextRepairNeeded()) << "the platform reports 6.1";
}

TEST_F(TabSkin, TheWorkspaceBorderAndTheTabClientFrameFollowTheSkin)
{
    struct Row {
        const wchar_t* skin;
        // The workspace's window edge, top-left and bottom-right; 0: the XP border colour.
        COLORREF borderTopLeft, borderBottomRight;
        // The MDI client's outer two rings; CLR_INVALID: its own sunken client edge.
        COLORREF outer, inner;
    };
    const Row rows[] = {
        {L"Classic", ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT), CLR_INVALID, CLR_INVALID},
        {L"Office XP", 0, 0, ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_3DDKSHADOW)},
        {L"Office 2003", 0, 0, ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_3DDKSHADOW)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "skin " << (row.skin[0] == L'C' ? "Classic" : row.skin[7] == L'X' ? "XP" : "2003"));
        CurrentSkin skin(row.skin);
        auto* main = new CMDIFrameWnd; // deletes itself with its window
        ASSERT_TRUE(main->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300)));
        COXTabClientWnd client;
        ASSERT_TRUE(client.Attach(main, TCS_MULTILINE));
        client.GetTabCtrl()->SetOffset(3, TRUE);
        main->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        CRect ws, mdi;
        client.GetTabCtrl()->GetWindowRect(&ws);
        ::GetWindowRect(main->m_hWndMDIClient, &mdi);
        const COLORREF border = skin.Xp() ? skin.Xp()->GetBorderColor() : 0;
        EXPECT_EQ(At(ws.left, ws.top + 40), row.borderTopLeft ? row.borderTopLeft : border) << "left edge";
        EXPECT_EQ(At(ws.right - 1, ws.bottom - 20), row.borderBottomRight ? row.borderBottomRight : border)
            << "right edge";
        EXPECT_EQ(At(ws.left + 1, ws.top + 40), ::GetSysColor(COLOR_BTNFACE)) << "the margin inside the border";
        const int y = (mdi.top + mdi.bottom) / 2;
        if (row.outer == CLR_INVALID) {
            EXPECT_EQ(At(mdi.left, y), ::GetSysColor(COLOR_BTNSHADOW)) << "the client edge";
        } else {
            for (int x : {mdi.left, mdi.right - 1})
                EXPECT_EQ(At(x, y), row.outer) << "outer ring at " << x - mdi.left;
            EXPECT_EQ(At(mdi.left + 1, y), row.inner);
            EXPECT_EQ(At(mdi.right - 2, y), row.inner);
        }
        client.Detach();
        main->DestroyWindow();
    }
}

} // namespace
} // namespace docktest

namespace docktest {
namespace {

// A paint of part of the control (a covered control, a tab that changed) shows exactly
// what a paint of the whole control shows there: the off-screen picture covers only the
// part to paint, and patterns (the focus rectangle's dots) stay on the same pixels.
TEST_F(TabSkin, APartialPaintShowsWhatTheWholePaintShows)
{
    const struct {
        const char* what;
        const wchar_t* skin;
        DWORD style;
    } rows[] = {
        {"XP, top", L"Office XP", 0},
        {"XP, bottom", L"Office XP", TCS_BOTTOM},
        {"2003, top", L"Office 2003", 0},
        {"2003, bottom", L"Office 2003", TCS_BOTTOM},
    };
    // Odd corners and sizes, one across the selected tab, one over the page's edge, one
    // through the strip's end, one a single pixel.
    const RECT parts[] = {{13, 3, 77, 19}, {5, 17, 203, 61}, {301, 1, 397, 29}, {41, 9, 42, 10}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CurrentSkin skin(row.skin);
        MakeParent();
        COXSkinnedTabCtrl tab;
        ASSERT_TRUE(Make(tab, row.style | TCS_FOCUSONBUTTONDOWN, 7, 5, 400, 80, 4, 1));
        const CRect whole(7, 5, 407, 85);
        const std::vector<COLORREF> painted = ScreenPixels(whole);
        for (const RECT& part : parts) {
            // Something else on the screen there first.
            HDC screen = ::GetDC(nullptr);
            HBRUSH magenta = ::CreateSolidBrush(RGB(255, 0, 255));
            const RECT onScreen{part.left + 7, part.top + 5, part.right + 7, part.bottom + 5};
            ::FillRect(screen, &onScreen, magenta);
            ::DeleteObject(magenta);
            ::ReleaseDC(nullptr, screen);
            tab.InvalidateRect(&part, TRUE);
            tab.UpdateWindow();
            EXPECT_EQ(ScreenPixels(whole), painted)
                << "part (" << part.left << ", " << part.top << ")-(" << part.right << ", " << part.bottom << ")";
        }
        tab.DestroyWindow();
        ::DestroyWindow(parent);
    }
}

} // namespace
} // namespace docktest
