// The tab control's classic painting, checked by geometry: each tab's raised edges, the
// selected tab 2 pixels larger and joined to the pane (whose edge shows under the other
// tabs), on every side; pressed and raised buttons; the highlighted state; owner drawing.
#include "platform/gdi/imagelist.h"
#include "tests/comctl/tab_updown_support.h"

namespace zyn::test {
namespace {

using namespace comctl::tabgeo;

class TabPaint : public TabUpDownTest {
protected:
    // The tab control sits at (10, 10) of a parent whose client origin is the screen's.
    static COLORREF At(int x, int y) { return ScreenPixel(10 + x, 10 + y); }
    static COLORREF Hi() { return GetSysColor(COLOR_3DHIGHLIGHT); }
    static COLORREF Dk() { return GetSysColor(COLOR_3DDKSHADOW); }
    static COLORREF Sh() { return GetSysColor(COLOR_3DSHADOW); }
    static COLORREF Face() { return GetSysColor(COLOR_3DFACE); }
    HWND MakeThree(DWORD style, int selected)
    {
        HWND tab = MakeTab(style, 10, 10, 300, 200);
        SendMessageW(tab, TCM_SETMINTABWIDTH, 0, 60);
        for (int i = 0; i < 3; ++i)
            Insert(tab, i, L"");
        SendMessageW(tab, TCM_SETCURSEL, static_cast<WPARAM>(selected), 0);
        return tab;
    }
};

TEST_F(TabPaint, TopTabsAndTheSelectedOneJoinedToThePane)
{
    HWND tab = MakeThree(0, 1);
    const RECT r0 = ItemRect(tab, 0), r1 = ItemRect(tab, 1), r2 = ItemRect(tab, 2);
    const int midY = (r0.top + r0.bottom) / 2;
    const int mid0 = (r0.left + r0.right) / 2, mid1 = (r1.left + r1.right) / 2;
    const int paneTop = r0.bottom;
    struct Px {
        const char* what;
        int x, y;
        COLORREF want;
    };
    const Px px[] = {
        {"tab 0 left edge", r0.left, midY, Hi()},
        {"tab 0 top edge", mid0, r0.top, Hi()},
        {"above tab 0", mid0, r0.top - 1, Face()},
        {"tab 0 rounded corner", r0.left + 1, r0.top + 1, Hi()},
        {"tab 0 corner's outside", r0.left, r0.top, Face()},
        {"tab 2 right edge", r2.right - 1, midY, Dk()},
        {"tab 2 inner right edge", r2.right - 2, midY, Sh()},
        {"pane edge under tab 0", mid0, paneTop, Hi()},
        {"selected top edge, 2 higher", mid1, r1.top - 2, Hi()},
        {"selected left edge, 2 further", r1.left - 2, midY, Hi()},
        {"selected right edge, 2 further", r1.right + 1, midY, Dk()},
        {"selected joined: no pane edge", mid1, paneTop, Face()},
        {"selected left edge into the pane", r1.left - 2, paneTop, Hi()},
        {"pane left edge", 0, 150, Hi()},
        {"pane right edge", 299, 150, Dk()},
        {"pane bottom edge", 150, 199, Dk()},
        {"inside the pane", 150, 150, Face()},
    };
    for (const Px& p : px)
        EXPECT_EQ(At(p.x, p.y), p.want) << p.what << " at (" << p.x << ", " << p.y << ")";
}

TEST_F(TabPaint, OtherSidesMirrorTheEdges)
{
    struct Px {
        const char* what;
        int x, y;    // relative: see the lambdas below
        COLORREF want;
    };
    // Bottom: tab 1 selected.
    {
        HWND tab = MakeThree(TCS_BOTTOM, 1);
        const RECT r0 = ItemRect(tab, 0), r1 = ItemRect(tab, 1);
        const int mid0 = (r0.left + r0.right) / 2, mid1 = (r1.left + r1.right) / 2;
        const int midY = (r0.top + r0.bottom) / 2, paneBottom = r0.top;
        const Px px[] = {
            {"tab 0 bottom edge", mid0, r0.bottom - 1, Dk()},
            {"tab 0 inner bottom edge", mid0, r0.bottom - 2, Sh()},
            {"tab 0 left edge", r0.left, midY, Hi()},
            {"pane edge above tab 0", mid0, paneBottom - 1, Dk()},
            {"selected bottom edge, 2 lower", mid1, r1.bottom + 1, Dk()},
            {"selected joined", mid1, paneBottom - 1, Face()},
        };
        for (const Px& p : px)
            EXPECT_EQ(At(p.x, p.y), p.want) << "bottom: " << p.what;
        DestroyWindow(tab);
    }
    // Left: tab 0 selected (item 1 touches the enlarged selected tab, so item 2 is checked).
    {
        HWND tab = MakeThree(TCS_VERTICAL, 0);
        const RECT r0 = ItemRect(tab, 0), r2 = ItemRect(tab, 2);
        const int midX = (r2.left + r2.right) / 2, mid0 = (r0.top + r0.bottom) / 2, mid2 = (r2.top + r2.bottom) / 2;
        const int paneLeft = r2.right;
        const Px px[] = {
            {"tab 2 top edge", midX, r2.top, Hi()},
            {"tab 2 left edge", r2.left, mid2, Hi()},
            {"tab 2 bottom edge", midX, r2.bottom - 1, Dk()},
            {"pane edge beside tab 2", paneLeft, mid2, Hi()},
            {"selected left edge, 2 further", r0.left - 2, mid0, Hi()},
            {"selected joined", paneLeft, mid0, Face()},
        };
        for (const Px& p : px)
            EXPECT_EQ(At(p.x, p.y), p.want) << "left: " << p.what;
        DestroyWindow(tab);
    }
    // Right: tab 0 selected.
    {
        HWND tab = MakeThree(TCS_VERTICAL | TCS_RIGHT, 0);
        const RECT r0 = ItemRect(tab, 0), r2 = ItemRect(tab, 2);
        const int midX = (r2.left + r2.right) / 2, mid0 = (r0.top + r0.bottom) / 2, mid2 = (r2.top + r2.bottom) / 2;
        const int paneRight = r2.left;
        const Px px[] = {
            {"tab 2 right edge", r2.right - 1, mid2, Dk()},
            {"tab 2 top edge", midX, r2.top, Hi()},
            {"pane edge beside tab 2", paneRight - 1, mid2, Dk()},
            {"selected right edge, 2 further", r0.right + 1, mid0, Dk()},
            {"selected joined", paneRight - 1, mid0, Face()},
        };
        for (const Px& p : px)
            EXPECT_EQ(At(p.x, p.y), p.want) << "right: " << p.what;
        DestroyWindow(tab);
    }
}

TEST_F(TabPaint, ButtonsRaisedAndPressed)
{
    HWND tab = MakeThree(TCS_BUTTONS, 1);
    TCITEMW press{};
    press.mask = TCIF_STATE;
    press.dwState = press.dwStateMask = TCIS_BUTTONPRESSED;
    SendMessageW(tab, TCM_SETITEMW, 2, reinterpret_cast<LPARAM>(&press));
    const RECT r0 = ItemRect(tab, 0), r1 = ItemRect(tab, 1), r2 = ItemRect(tab, 2);
    // Raised: light top-left, dark bottom-right; pressed (selected or TCIS_BUTTONPRESSED): sunken.
    EXPECT_EQ(At(r0.left, r0.top + 5), Hi());
    EXPECT_EQ(At(r0.right - 1, r0.top + 5), Dk());
    for (const RECT& r : {r1, r2}) {
        EXPECT_EQ(At(r.left, r.top + 5), Dk());
        EXPECT_EQ(At(r.right - 1, r.top + 5), Hi());
    }
    EXPECT_EQ(At(r0.right + 1, r0.top + 5), Face()) << "the gap between buttons";
    EXPECT_EQ(At(150, 150), Face()) << "no pane for buttons";
}

TEST_F(TabPaint, FlatButtonsShowAnEdgeOnlyWhenHotOrPressed)
{
    HWND tab = MakeThree(TCS_BUTTONS | TCS_FLATBUTTONS | TCS_HOTTRACK, 0);
    SendMessageW(tab, TCM_SETEXTENDEDSTYLE, 0, TCS_EX_FLATSEPARATORS);
    const RECT r1 = ItemRect(tab, 1), r0 = ItemRect(tab, 0);
    const int midY = (r1.top + r1.bottom) / 2;
    EXPECT_EQ(At(r1.left, midY), Face()) << "flat at rest";
    EXPECT_EQ(At(r0.left, midY), Sh()) << "the selected one is sunken (thin)";
    EXPECT_EQ(At(r0.right + 1, midY), Sh()) << "separator, dark half";
    EXPECT_EQ(At(r0.right + 2, midY), Hi()) << "separator, light half";
    const POINT over = ScreenOf(tab, POINT{(r1.left + r1.right) / 2, midY});
    MoveTo(over.x, over.y);
    EXPECT_EQ(At(r1.left, midY), Hi()) << "hot: a thin raised edge";
    EXPECT_EQ(At(r1.right - 1, midY), Sh());
    MoveTo(500, 380); // over the parent: the mouse left the control
    EXPECT_EQ(At(r1.left, midY), Face()) << "flat again";
}

TEST_F(TabPaint, ImagesGoWhereTheHitTestSaysTheyAre)
{
    // A 16 x 16 image of one colour, drawn from the list into the item's image place.
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 16, 16);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    const COLORREF red = RGB(200, 0, 0);
    HBRUSH brush = CreateSolidBrush(red);
    const RECT all{0, 0, 16, 16};
    FillRect(mem, &all, brush);
    SelectObject(mem, old);
    DeleteObject(brush);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(ImageList_Add(list, bmp, nullptr), 0);
    DeleteObject(bmp);

    HWND tab = MakeTab(0, 10, 10, 300, 200);
    SendMessageW(tab, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    Insert(tab, 0, L"Pic", 0);
    Insert(tab, 1, L"None");
    const RECT r = ItemRect(tab, 0);
    const int h = r.bottom - r.top;
    const int iconX = r.left + kDefaultPadX, iconY = r.top + kEdge + (h - kEdge - 16) / 2;
    UINT flags = 0;
    ASSERT_EQ(HitTest(tab, POINT{iconX, iconY}, &flags), 0);
    EXPECT_EQ(flags, TCHT_ONITEMICON);
    EXPECT_EQ(At(iconX, iconY), red);
    EXPECT_EQ(At(iconX + 15, iconY + 15), red);
    EXPECT_NE(At(iconX - 1, iconY + 8), red);
    EXPECT_NE(At(iconX + 16, iconY + 8), red) << "then the gap before the text";
    DestroyWindow(tab);
    ImageList_Destroy(list);
}

TEST_F(TabPaint, HighlightedItemIsFilled)
{
    HWND tab = MakeThree(0, 0);
    SendMessageW(tab, TCM_HIGHLIGHTITEM, 2, MAKELPARAM(TRUE, 0));
    const RECT r2 = ItemRect(tab, 2), r1 = ItemRect(tab, 1);
    EXPECT_EQ(At(r2.left + 3, r2.top + 3), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(At(r2.left, r2.top + 5), Hi()) << "its edge stays";
    EXPECT_EQ(At(r1.left + 3, r1.top + 3), Face());
}

TEST_F(TabPaint, OwnerDrawingGetsEveryItemWithTheSelectedLast)
{
    HWND tab = MakeTab(TCS_OWNERDRAWFIXED, 10, 10, 300, 200, 55);
    for (int i = 0; i < 3; ++i) {
        TCITEMW w{};
        w.mask = TCIF_PARAM;
        w.lParam = 100 + i;
        SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&w));
    }
    SendMessageW(tab, TCM_SETITEMSIZE, 0, MAKELPARAM(70, 24));
    SendMessageW(tab, TCM_SETCURSEL, 1, 0);
    Pump();
    heard.clear();
    RedrawWindow(tab, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    std::vector<DRAWITEMSTRUCT> draws;
    for (const TabHeard& e : heard) {
        if (e.msg == WM_DRAWITEM)
            draws.push_back(e.draw);
    }
    ASSERT_EQ(draws.size(), 3u);
    const UINT order[] = {0, 2, 1};
    for (size_t k = 0; k < 3; ++k) {
        const DRAWITEMSTRUCT& d = draws[k];
        EXPECT_EQ(d.itemID, order[k]);
        EXPECT_EQ(d.CtlType, ODT_TAB);
        EXPECT_EQ(d.CtlID, 55u);
        EXPECT_EQ(d.hwndItem, tab);
        EXPECT_EQ(d.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
        EXPECT_EQ(d.itemData, 100u + d.itemID);
        EXPECT_EQ((d.itemState & ODS_SELECTED) != 0, d.itemID == 1) << d.itemID;
        const RECT r = ItemRect(tab, static_cast<int>(d.itemID));
        EXPECT_TRUE(EqualRect(&d.rcItem, &r)) << d.itemID;
        EXPECT_EQ(r.right - r.left, 70);
        EXPECT_EQ(r.bottom - r.top, 24);
    }
}

TEST_F(TabPaint, OwnerChangingTheItemsWhileDrawing)
{
    HWND tab = MakeTab(TCS_OWNERDRAWFIXED, 10, 10, 300, 200);
    for (int i = 0; i < 4; ++i)
        Insert(tab, i, L"o");
    SendMessageW(tab, TCM_SETCURSEL, 3, 0);
    Pump();
    onHeard = [&](const TabHeard& e) {
        if (e.msg == WM_DRAWITEM)
            SendMessageW(tab, TCM_DELETEALLITEMS, 0, 0);
    };
    heard.clear();
    RedrawWindow(tab, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    onHeard = nullptr;
    EXPECT_EQ(CountHeard(WM_DRAWITEM, 0), 1u) << "the items went with the first drawing";
    EXPECT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 0);
}

} // namespace
} // namespace zyn::test
