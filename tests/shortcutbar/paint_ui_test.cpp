// The shortcut bar's pixels, read off the screen after painting: the header border in each
// of its seven states, the drop marker and the inverted dragged header, the bold expanded
// title, the placeholder's wedges and arrows with their pen colour, item frames in the
// three skins, one 2003 gradient across the bar and its lists, and a list's own colour.
#include <string>
#include <vector>

#include "platform/afx/gdi/dc.h"
#include "platform/afx/ole/oledataobject.h"
#include "platform/afx/ole/oledatasource.h"
#include "platform/base/globalmem.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"
#include "tests/shortcutbar/shb_bar_support.h"
#include "tests/support/golden.h"
#include "toolkit/docking/shb_drag_data.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_lookup.h"
#include "toolkit/skins/skin_xp.h"

namespace shbtest {
namespace {

std::string Rgb(COLORREF c)
{
    return "(" + std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," + std::to_string(GetBValue(c)) +
        ")";
}

class PaintTest : public BarTest {
protected:
    // The colour on the screen at a client point of a window (painted first).
    static std::string At(HWND in, int x, int y)
    {
        zyn::user::PaintPendingWindows();
        POINT p{x, y};
        ClientToScreen(in, &p);
        HDC screen = GetDC(nullptr);
        const COLORREF c = GetPixel(screen, p.x, p.y);
        ReleaseDC(nullptr, screen);
        return Rgb(c);
    }
    std::string Bar(int x, int y) const { return At(bar->m_hWnd, x, y); }
    // Groups A (expanded), B at 264..282, C at 282..300 with header background `face`.
    std::vector<HSHBGROUP> ThreeGroups(DWORD style, COLORREF face = RGB(100, 120, 140))
    {
        MakeBar(style, 200, 300);
        const auto g = AddGroups({L"A", L"B", L"C"});
        bar->SetGroupHeaderBkColor(nullptr, face);
        bar->ExpandGroup(g[0]);
        Pump();
        return g;
    }
};

TEST_F(PaintTest, TheHeaderBorderFollowsItsSevenStates)
{
    const COLORREF face = RGB(100, 120, 140);
    const std::string bg = Rgb(face), light = Rgb(RGB(164, 184, 204)), dark = Rgb(RGB(0, 0, 12));
    // Dragged: the inverted face (155, 135, 115) and its own edges.
    const std::string ibg = Rgb(RGB(155, 135, 115)), ilight = Rgb(RGB(219, 199, 179)), idark = Rgb(RGB(27, 7, 0));
    struct Row {
        const char* name;
        DWORD style;
        std::function<void()> set;   // brings header B into the state
        std::string outerTL, outerBR, innerTL, innerBR, fill;
    };
    constexpr DWORD kFlat = SHBS_FLATGROUPBUTTON | SHBS_DISABLEDRAGDROPHEADER;
    const Row rows[] = {
        {"raised", SHBS_DISABLEDRAGDROPHEADER, [] {}, light, dark, light, dark, bg},
        {"flat, dragged", SHBS_FLATGROUPBUTTON, [this] {
             Press(100, 270);
             Wait(100);
             MoveTo(100, 271);
         },
            ilight, idark, ibg, ibg, ibg},
        {"flat, pressed, the mouse away", kFlat, [this] {
             Press(100, 270);
             MoveTo(2, 100);
         },
            light, dark, bg, dark, bg},
        {"flat, pressed, the mouse over it", kFlat, [this] { Press(100, 270); }, dark, bg, dark, light, bg},
        {"flat, another header pressed", kFlat, [this] { Press(100, 290); }, light, dark, bg, bg, bg},
        {"flat, nothing pressed, the mouse over it", kFlat, [this] { MoveTo(100, 270); }, light, dark, bg, dark, bg},
        {"flat, nothing pressed, the mouse elsewhere", kFlat, [this] { MoveTo(2, 100); }, light, dark, bg, bg, bg},
    };
    for (const Row& r : rows) {
        ThreeGroups(r.style, face);
        r.set();
        EXPECT_EQ(Bar(0, 264), r.outerTL) << r.name;
        EXPECT_EQ(Bar(199, 281), r.outerBR) << r.name;
        EXPECT_EQ(Bar(1, 265), r.innerTL) << r.name;
        EXPECT_EQ(Bar(198, 280), r.innerBR) << r.name;
        EXPECT_EQ(Bar(3, 272), r.fill) << r.name;
        zyn::user::InjectMouseButton(zyn::user::MouseButton::Left, false);
        Pump();
        bar.reset();
    }
}

TEST_F(PaintTest, TheDropMarkerIsRedUnlessTheHeaderIsRedAndPointsWhereTheGroupComesFrom)
{
    struct Row {
        const char* name;
        COLORREF face;
        int dragFromY;   // the header dragged
        int targetY;     // on B (264..282)
        std::string marker;
        int arrowY;      // the arrow rows' edge: 4 in from the side the group comes from
        int direction;
    };
    const Row rows[] = {
        {"from above, red", RGB(100, 120, 140), 9, 270, Rgb(RGB(255, 0, 0)), 277, -1},
        {"from below, red", RGB(100, 120, 140), 290, 270, Rgb(RGB(255, 0, 0)), 268, 1},
        {"on a reddish header, blue", RGB(230, 30, 30), 9, 270, Rgb(RGB(0, 0, 255)), 277, -1},
    };
    for (const Row& r : rows) {
        ThreeGroups(SHBS_FLATGROUPBUTTON, r.face); // flat: a press expands nothing
        Press(100, r.dragFromY);
        Wait(100);
        MoveTo(100, r.dragFromY + 1);
        MoveTo(100, r.targetY);
        ASSERT_NE(bar->GetDropHilightGroup(), nullptr) << r.name;
        // The frame around B, and the arrows 4 pixels in at both ends: rows of 7, 5, 3, 1.
        for (const auto& [x, y] : {std::pair{0, 264}, std::pair{199, 264}, std::pair{0, 281}, std::pair{199, 281}})
            EXPECT_EQ(Bar(x, y), r.marker) << r.name << " frame " << x << "," << y;
        for (int i = 0; i < 4; ++i) {
            const int y = r.arrowY + r.direction * i;
            for (int left : {4, 189}) {
                EXPECT_EQ(Bar(left + i, y), r.marker) << r.name << " arrow row " << i;
                EXPECT_EQ(Bar(left + 6 - i, y), r.marker) << r.name << " arrow row " << i;
                EXPECT_NE(Bar(left + 7 - i, y), r.marker) << r.name << " arrow row " << i;
            }
        }
        // The dragged header is drawn inverted.
        CRect dragged;
        bar->GetGroupHeaderRect(bar->GetDragGroup(), &dragged);
        const COLORREF face = r.face;
        EXPECT_EQ(Bar(3, dragged.top + 8), Rgb(RGB(255 - GetRValue(face), 255 - GetGValue(face), 255 - GetBValue(face))))
            << r.name;
        Release(2, 150);
        bar.reset();
    }
}

TEST_F(PaintTest, TheExpandedTitleIsBoldWithTheStyle)
{
    // Dark pixels of a header's title: a bold title has more ink than the same title plain.
    const auto ink = [this](int top) {
        zyn::user::PaintPendingWindows();
        POINT origin{0, top};
        ClientToScreen(bar->m_hWnd, &origin);
        const auto picture = zyn::test::CaptureScreen(RECT{origin.x + 2, origin.y + 2, origin.x + 198, origin.y + 16});
        int n = 0;
        for (uint32_t p : picture.pixels)
            n += (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3 < 100;
        return n;
    };
    for (const DWORD style : {DWORD{0}, SHBS_BOLDEXPANDEDGROUP}) {
        MakeBar(style | SHBS_DISABLEDRAGDROPHEADER, 200, 300);
        const auto g = AddGroups({L"Wwwwww", L"Wwwwww"});
        bar->ExpandGroup(g[0]);
        const int expanded = ink(0), collapsed = ink(282);
        if (style)
            EXPECT_GT(expanded, collapsed) << "bold";
        else
            EXPECT_EQ(expanded, collapsed) << "plain";
        bar.reset();
    }
}

TEST_F(PaintTest, ThePlaceholderDrawsWedgesAndArrowsInAPenThatShows)
{
    struct Row {
        const char* name;
        CPoint over;   // where the drag is in the list
        std::vector<CPoint> pen, background;
        COLORREF listColour;
        bool ownColour;
    };
    // Items at 2..24, 30..52, 58..80 in a list 190 wide.
    const std::vector<CPoint> firstPen{{0, 0}, {189, 0}, {8, 1}, {181, 1}, {0, 9}, {189, 9}};
    const std::vector<CPoint> firstBg{{9, 1}, {180, 1}, {100, 1}};
    const std::vector<CPoint> middlePen{{0, 27}, {189, 27}, {5, 28}, {5, 26}, {184, 28}, {189, 26}};
    const std::vector<CPoint> middleBg{{6, 28}, {183, 28}, {6, 26}, {100, 28}, {100, 25}};
    const std::vector<CPoint> lastPen{{0, 81}, {189, 81}, {8, 80}, {181, 80}};
    const std::vector<CPoint> lastBg{{9, 80}, {180, 80}, {100, 80}, {100, 82}};
    const Row rows[] = {
        {"first place: wedges below the line", {100, 0}, firstPen, firstBg, 0, false},
        {"between items: arrows", {100, 27}, middlePen, middleBg, 0, false},
        {"last place: wedges above the line", {100, 120}, lastPen, lastBg, 0, false},
        {"a dark list takes a white pen", {100, 27}, middlePen, middleBg, RGB(30, 30, 30), true},
    };
    for (const Row& r : rows) {
        MakeBar(0, 200, 300);
        const HSHBGROUP g = AddGroups({L"G"})[0];
        bar->SetGroupView(g, SHB_SMALLICON);
        imageLists.push_back(std::make_unique<CImageList>());
        imageLists.back()->Attach(SolidImages(16, 16, {RGB(200, 0, 0)}));
        bar->SetLCImageList(g, imageLists.back().get(), LVSIL_SMALL);
        for (const wchar_t* t : {L"one", L"two", L"three"})
            bar->InsertLCItem(g, bar->GetLCItemCount(g), t, 0);
        if (r.ownColour)
            bar->SetGroupBkColor(g, r.listColour);
        bar->ExpandGroup(g);
        COXSHBListCtrl* list = bar->GetGroupListCtrl(g);
        // Data of the bar's item format dragged over the list.
        auto* source = new COleDataSource;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 16);
        source->CacheGlobalData(static_cast<CLIPFORMAT>(zyn::toolkit::shb::ChildWndItemFormat()), block);
        COleDataObject data;
        data.Attach(source->GetDataObject(), FALSE);
        SHBDROPTARGETACTION action{};
        action.pWnd = list;
        action.pDataObject = &data;
        action.point = r.over;
        SendMessageW(list->m_hWnd, SHBDTM_DRAGENTER, 0, reinterpret_cast<LPARAM>(&action));
        ASSERT_GE(list->GetPlaceHolder(), 0) << r.name;
        const std::string pen = r.ownColour ? Rgb(RGB(255, 255, 255)) : Rgb(RGB(0, 0, 0));
        const std::string background = Rgb(list->GetBkColor());
        for (const CPoint& p : r.pen)
            EXPECT_EQ(At(list->m_hWnd, p.x, p.y), pen) << r.name << " at " << p.x << "," << p.y;
        for (const CPoint& p : r.background)
            EXPECT_EQ(At(list->m_hWnd, p.x, p.y), background) << r.name << " at " << p.x << "," << p.y;
        SendMessageW(list->m_hWnd, SHBDTM_DRAGLEAVE, 0, reinterpret_cast<LPARAM>(&action));
        EXPECT_EQ(list->GetPlaceHolder(), -1);
        EXPECT_EQ(At(list->m_hWnd, 5, 28), background) << r.name << ": gone with the drag";
        source->InternalRelease();
        bar.reset();
    }
}

// One expanded group of three small-icon items; item 1 hot, item 2 active.
class SkinPaintTest : public PaintTest {
protected:
    COXSHBListCtrl* HotAndActive(const wchar_t* skin)
    {
        UseSkin(skin);
        MakeBar(SHBS_SHOWACTIVEALWAYS | SHBS_DISABLEDRAGITEM, 200, 300);
        group = AddGroups({L"G"})[0];
        bar->SetGroupView(group, SHB_SMALLICON);
        imageLists.push_back(std::make_unique<CImageList>());
        imageLists.back()->Attach(SolidImages(16, 16, {RGB(200, 0, 0)}));
        bar->SetLCImageList(group, imageLists.back().get(), LVSIL_SMALL);
        for (const wchar_t* t : {L"one", L"two", L"three"})
            bar->InsertLCItem(group, bar->GetLCItemCount(group), t, 0);
        bar->ExpandGroup(group);
        COXSHBListCtrl* list = bar->GetGroupListCtrl(group);
        list->ActivateItem(2);
        MoveTo(10, 40, list->m_hWnd); // item 1's image
        EXPECT_EQ(list->GetHotItem(), 1);
        return list;
    }
    HSHBGROUP group = nullptr;
};

TEST_F(SkinPaintTest, ItemFramesInTheThreeSkins)
{
    // Image rectangles (0, 30, 22, 52) and (0, 58, 22, 80), framed one pixel in.
    {
        COXSHBListCtrl* list = HotAndActive(L"Classic");
        const COLORREF back = GetSysColor(COLOR_BTNSHADOW);
        const std::string light = Rgb(RGB(std::min(255, GetRValue(back) + 64), std::min(255, GetGValue(back) + 64),
                                       std::min(255, GetBValue(back) + 64))),
                          dark = Rgb(RGB(std::max(0, GetRValue(back) - 128), std::max(0, GetGValue(back) - 128),
                                      std::max(0, GetBValue(back) - 128)));
        EXPECT_EQ(At(list->m_hWnd, 1, 31), light) << "hot: raised";
        EXPECT_EQ(At(list->m_hWnd, 20, 50), dark) << "hot: raised";
        EXPECT_EQ(At(list->m_hWnd, 1, 59), dark) << "active: sunken";
        EXPECT_EQ(At(list->m_hWnd, 20, 78), light) << "active: sunken";
        EXPECT_EQ(At(list->m_hWnd, 0, 30), Rgb(back)) << "outside the frame";
        bar.reset();
    }
    for (const wchar_t* name : {L"Office XP", L"Office 2003"}) {
        COXSHBListCtrl* list = HotAndActive(name);
        auto* skin = dynamic_cast<COXSkinXP*>(OXGetCurrentSkin());
        ASSERT_NE(skin, nullptr);
        const std::string border = Rgb(skin->GetActiveBorderColor());
        EXPECT_EQ(At(list->m_hWnd, 1, 31), border);
        EXPECT_EQ(At(list->m_hWnd, 20, 50), border);
        EXPECT_EQ(At(list->m_hWnd, 2, 32), Rgb(skin->GetHotItemColor())) << "hot";
        EXPECT_EQ(At(list->m_hWnd, 2, 60), Rgb(skin->GetCheckedItemColor())) << "active";
        // The active item hot too: the hot-and-pressed fill.
        MoveTo(10, 68, list->m_hWnd);
        EXPECT_EQ(At(list->m_hWnd, 2, 60), Rgb(skin->GetHotSelectedItemColor())) << "active and hot";
        bar.reset();
    }
}

TEST_F(SkinPaintTest, The2003GradientRunsOnAcrossTheBarAndItsList)
{
    UseSkin(L"Office 2003");
    MakeBar(0, 200, 300);
    const auto g = AddGroups({L"A", L"B"});
    bar->ExpandGroup(g[0]);
    COXSHBListCtrl* list = bar->GetGroupListCtrl(g[0]);
    // The expected picture: one gradient over the bar's client area.
    auto* skin = dynamic_cast<COXSkin2003*>(OXGetCurrentSkin());
    ASSERT_NE(skin, nullptr);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 300);
    HGDIOBJ old = SelectObject(memory, bitmap);
    {
        CDC dc;
        dc.Attach(memory);
        const RECT all{0, 0, 200, 300};
        skin->FourPointGradientFill(&dc, &all, skin->GetShortcutBarLightColor(), skin->GetShortcutBarDarkColor(),
            skin->GetShortcutBarDarkColor(), skin->GetShortcutBarDarkColor());
        dc.Detach();
    }
    const auto expected = [&](int x, int y) { return Rgb(GetPixel(memory, x, y)); };
    // The bar's own background (the margins) and the list's, at bar points.
    for (const auto& [x, y] : {std::pair{2, 40}, std::pair{197, 250}, std::pair{100, 20}, std::pair{100, 280}})
        EXPECT_EQ(Bar(x, y), expected(x, y)) << "bar at " << x << "," << y;
    for (const auto& [x, y] : {std::pair{10, 40}, std::pair{150, 100}, std::pair{100, 270}})
        EXPECT_EQ(At(list->m_hWnd, x - 5, y - 23), expected(x, y)) << "list at bar " << x << "," << y;
    EXPECT_NE(expected(10, 40), expected(100, 270)) << "the premise: a gradient, not one colour";
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST_F(SkinPaintTest, AKeptPictureStartsEachPaintAfreshAndGoesWhenTheListIsHidden)
{
    COXSHBListCtrl* list = HotAndActive(L"Classic");
    const COLORREF back = GetSysColor(COLOR_BTNSHADOW);
    const std::string dark = Rgb(RGB(std::max(0, GetRValue(back) - 128), std::max(0, GetGValue(back) - 128),
        std::max(0, GetBValue(back) - 128)));
    ASSERT_EQ(At(list->m_hWnd, 1, 59), dark) << "the premise: item 2 sunken";
    // A parent that draws item 0 itself and leaves a one-pixel clip region and a moved
    // origin behind: that paint is the parent's, the next one must not inherit either.
    onNotify = [](NMSHORTCUTBAR& nm, LRESULT& r) {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(nm.lParam);
        if (nm.hdr.code != SHBN_DRAWITEM || dis->itemID != 0)
            return false;
        IntersectClipRect(dis->hDC, 0, 0, 1, 1);
        SetViewportOrgEx(dis->hDC, 40, 40, nullptr);
        r = 1;
        return true;
    };
    InvalidateRect(list->m_hWnd, nullptr, FALSE);
    zyn::user::PaintPendingWindows();
    onNotify = nullptr;
    InvalidateRect(list->m_hWnd, nullptr, FALSE);
    const struct {
        int x, y;
        std::string colour;
    } points[] = {{1, 59, dark}, {10, 40, Rgb(RGB(200, 0, 0))}, {10, 68, Rgb(RGB(200, 0, 0))}, {0, 30, Rgb(back)}};
    for (const auto& p : points)
        EXPECT_EQ(At(list->m_hWnd, p.x, p.y), p.colour) << "at " << p.x << "," << p.y;

    // Painting again makes nothing new; hiding the list frees its picture (a DC and a
    // bitmap), and showing it paints again as before.
    const size_t dcs = zyn::gdi::LiveDcCount(), objects = zyn::gdi::LiveObjectCount();
    InvalidateRect(list->m_hWnd, nullptr, FALSE);
    zyn::user::PaintPendingWindows();
    EXPECT_EQ(zyn::gdi::LiveDcCount(), dcs);
    EXPECT_EQ(zyn::gdi::LiveObjectCount(), objects);
    list->ShowWindow(SW_HIDE);
    EXPECT_EQ(zyn::gdi::LiveDcCount(), dcs - 1);
    EXPECT_EQ(zyn::gdi::LiveObjectCount(), objects - 1);
    list->ShowWindow(SW_SHOW);
    EXPECT_EQ(At(list->m_hWnd, 1, 59), dark);
    EXPECT_EQ(zyn::gdi::LiveDcCount(), dcs);
}

TEST_F(SkinPaintTest, AListsOwnColourIsFlatInEverySkin)
{
    for (const wchar_t* name : {L"Classic", L"Office XP", L"Office 2003"}) {
        UseSkin(name);
        MakeBar(0, 200, 300);
        const auto g = AddGroups({L"A", L"B"});
        bar->SetGroupBkColor(g[0], RGB(0, 128, 0));
        bar->ExpandGroup(g[0]);
        const HWND list = bar->GetGroupChildWndHandle(g[0]);
        for (const auto& [x, y] : {std::pair{1, 1}, std::pair{100, 100}, std::pair{189, 235}})
            EXPECT_EQ(At(list, x, y), Rgb(RGB(0, 128, 0))) << "at " << x << "," << y;
        bar.reset();
    }
}

} // namespace
} // namespace shbtest
