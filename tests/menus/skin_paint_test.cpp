// The menu skins' paint steps by their pixels: backgrounds and image strips (hidden items
// among them), the checked button, default-list images, separators, the customised item,
// the insert mark and the edges of a run of hidden items.
#include "platform/afx/gdi/dc.h"
#include "tests/menus/menu_test_support.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_xp.h"

namespace zyn::test {
namespace {

using SkinPaintTest = MenuTest;

// A memory DC over a 32-bit bitmap, filled with a colour no skin paints.
class Canvas {
public:
    Canvas(int cx, int cy)
    {
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateBitmap(cx, cy, 1, 32, nullptr);
        m_old = ::SelectObject(m_dc.GetSafeHdc(), m_bitmap);
        m_dc.FillSolidRect(0, 0, cx, cy, kUntouched);
    }
    ~Canvas()
    {
        ::SelectObject(m_dc.GetSafeHdc(), m_old);
        ::DeleteObject(m_bitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    CDC* dc() { return &m_dc; }
    COLORREF at(int x, int y) { return m_dc.GetPixel(x, y); }
    static constexpr COLORREF kUntouched = RGB(1, 2, 3);

private:
    CDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

// A menu with one 16-wide image, so the image column is 16.
struct OneItemMenu {
    MenuImages images;
    COXImageInfo image{&images.images, 0, FALSE, -1};
    COXBitmapMenu menu;
    OneItemMenu()
    {
        menu.CreatePopupMenu();
        AppendOwnerDrawn(menu, 0, 1, &image, L"&Item");
        menu.CalcExtents();
    }
};

struct Probe {
    const char* what;
    int x, y;
    COLORREF expected;
};

void ExpectProbes(Canvas& canvas, const std::vector<Probe>& probes, const std::string& context)
{
    for (const Probe& p : probes)
        EXPECT_EQ(canvas.at(p.x, p.y), p.expected) << context << ": " << p.what << " at (" << p.x << ", " << p.y << ")";
}

TEST_F(SkinPaintTest, XPBackgroundsAndStrip)
{
    CurrentSkin current(SkinKind::XP);
    auto* skin = dynamic_cast<COXSkinXP*>(current.skin());
    OneItemMenu m;
    RECT item{0, 0, 100, 20};
    RECT button{1, 1, 21, 19};
    // The strip runs to 3 + 16 + 5 = 24.
    struct Row {
        const char* what;
        UINT state;
        std::vector<Probe> probes;
    };
    const Row rows[] = {
        {"plain", 0,
            {{"strip", 0, 10, skin->GetBackgroundColor()}, {"strip end", 23, 10, skin->GetBackgroundColor()},
                {"face", 24, 10, skin->GetMenuFaceColor()}, {"face right", 99, 19, skin->GetMenuFaceColor()}}},
        {"hidden", OXODS_HIDDEN,
            {{"strip", 0, 10, skin->GetHiddenItemBackgroundColor()}, {"face", 24, 10, skin->GetMenuFaceColor()}}},
        {"selected", ODS_SELECTED,
            {{"frame", 0, 0, skin->GetActiveBorderColor()}, {"frame right", 99, 10, skin->GetActiveBorderColor()},
                {"inside", 1, 1, skin->GetHotItemColor()}, {"inside strip", 10, 10, skin->GetHotItemColor()}}},
        {"selected but disabled: as plain", ODS_SELECTED | ODS_GRAYED,
            {{"strip", 0, 10, skin->GetBackgroundColor()}, {"face", 24, 10, skin->GetMenuFaceColor()}}},
    };
    for (const Row& r : rows) {
        Canvas canvas(100, 20);
        current.menuSkin()->DrawBackground(canvas.dc(), r.state, &m.image, &item, &button, &m.menu);
        ExpectProbes(canvas, r.probes, r.what);
    }
}

TEST_F(SkinPaintTest, XPButtonsImagesSeparatorAndMarks)
{
    CurrentSkin current(SkinKind::XP);
    auto* skin = dynamic_cast<COXSkinXP*>(current.skin());
    COXMenuSkin* menuSkin = current.menuSkin();
    OneItemMenu m;
    {
        // A checked button: framed, filled with the checked colour; selected: hot-selected.
        Canvas canvas(30, 30);
        RECT button{1, 1, 21, 19};
        menuSkin->DrawButton(canvas.dc(), ODS_CHECKED, &m.image, &button, &m.menu);
        ExpectProbes(canvas, {{"frame", 1, 1, skin->GetActiveBorderColor()}, {"fill", 2, 2, skin->GetCheckedItemColor()},
                                 {"outside", 21, 10, Canvas::kUntouched}},
            "checked");
        menuSkin->DrawButton(canvas.dc(), ODS_CHECKED | ODS_SELECTED, &m.image, &button, &m.menu);
        ExpectProbes(canvas, {{"fill", 2, 2, skin->GetHotSelectedItemColor()}}, "checked selected");
        Canvas unchecked(30, 30);
        menuSkin->DrawButton(unchecked.dc(), ODS_SELECTED, &m.image, &button, &m.menu);
        ExpectProbes(unchecked, {{"nothing", 2, 2, Canvas::kUntouched}}, "unchecked");
    }
    {
        // A default-list image shows only when checked.
        COXImageInfo check(&m.images.defaults, 0, TRUE, -1);
        RECT image{0, 0, 16, 16};
        Canvas unchecked(16, 16);
        menuSkin->DrawImage(unchecked.dc(), 0, &check, &image, &m.menu);
        Canvas checked(16, 16);
        menuSkin->DrawImage(checked.dc(), ODS_CHECKED, &check, &image, &m.menu);
        // The first stroke of the check mark starts at (4, 7).
        ExpectProbes(unchecked, {{"no mark", 4, 7, Canvas::kUntouched}}, "unchecked default image");
        ExpectProbes(checked, {{"mark", 4, 7, RGB(0, 0, 0)}, {"transparent", 0, 0, Canvas::kUntouched}},
            "checked default image");
    }
    {
        // A selected, enabled, unchecked image is lifted: its silhouette in the shadow
        // colour one pixel right and down, the image one pixel up and left.
        RECT image{2, 2, 18, 18};
        Canvas canvas(20, 20);
        menuSkin->DrawImage(canvas.dc(), ODS_SELECTED, &m.image, &image, &m.menu);
        // Image 0: blue 1..14, so drawn at (1, 1) its blue spans 2..15; the silhouette at
        // (3, 3) shows at 16 and 17.
        ExpectProbes(canvas, {{"image", 2, 2, RGB(0, 0, 200)}, {"silhouette", 17, 17, ::GetSysColor(COLOR_BTNSHADOW)},
                                 {"silhouette edge", 16, 5, ::GetSysColor(COLOR_BTNSHADOW)},
                                 {"left of the shadow", 3, 17, Canvas::kUntouched}},
            "lifted image");
    }
    {
        // The separator: face and strip, a line from the text column (3 + 16 + 15 = 34).
        Canvas canvas(100, 3);
        RECT item{0, 0, 100, 3};
        menuSkin->DrawSeparator(canvas.dc(), &item, &m.menu);
        ExpectProbes(canvas, {{"strip", 0, 1, skin->GetBackgroundColor()}, {"before the line", 33, 1, skin->GetMenuFaceColor()},
                                 {"line", 34, 1, skin->GetSeparatorColor()}, {"line end", 99, 1, skin->GetSeparatorColor()},
                                 {"above the line", 50, 0, skin->GetMenuFaceColor()}},
            "separator");
    }
    {
        // The customised item: two nested frames of the button text colour.
        Canvas canvas(40, 20);
        RECT item{0, 0, 40, 20};
        menuSkin->DrawCustomized(canvas.dc(), &item, &m.menu);
        ExpectProbes(canvas, {{"outer", 0, 0, ::GetSysColor(COLOR_BTNTEXT)}, {"inner", 1, 1, ::GetSysColor(COLOR_BTNTEXT)},
                                 {"inside", 2, 2, Canvas::kUntouched}},
            "customised");
    }
}

TEST_F(SkinPaintTest, TheInsertMarkOutlinesABarAboveOrBelowTheItem)
{
    CurrentSkin current(SkinKind::Classic);
    OneItemMenu m;
    // r = item less 2 = {2, 12, 98, 28}. Before: top 10, bottom 13; after: bottom 29, top 26.
    struct Row {
        BOOL before;
        int top;
        int bottom;
    };
    for (const Row& r : {Row{TRUE, 10, 13}, Row{FALSE, 26, 29}}) {
        Canvas canvas(100, 40);
        ::SelectObject(canvas.dc()->GetSafeHdc(), ::GetStockObject(BLACK_PEN));
        RECT item{0, 10, 100, 30};
        current.menuSkin()->DrawInsertMark(canvas.dc(), &item, r.before, &m.menu);
        const std::string name = r.before ? "before" : "after";
        ExpectProbes(canvas,
            {{"left end top", 2, r.top, RGB(0, 0, 0)}, {"left end bottom", 2, r.bottom, RGB(0, 0, 0)},
                {"upper line", 50, r.top + 1, RGB(0, 0, 0)}, {"lower line", 50, r.bottom - 1, RGB(0, 0, 0)},
                {"right end", 98, r.top + 1, RGB(0, 0, 0)}, {"notch", 50, r.top, Canvas::kUntouched},
                {"outside", 1, r.top, Canvas::kUntouched}},
            name);
    }
}

TEST_F(SkinPaintTest, ClassicDitherAndHiddenRuns)
{
    CurrentSkin current(SkinKind::Classic);
    COXMenuSkin* menuSkin = current.menuSkin();
    OneItemMenu m;
    const COLORREF menu = ::GetSysColor(COLOR_MENU), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    ASSERT_NE(menu, light);
    RECT item{0, 0, 100, 20};
    RECT button{0, 1, 20, 19};
    {
        // Checked and not selected: a checkerboard behind the button; the text area starts
        // at max(20, 2 + 16 + 2) = 20 and stops one row short.
        Canvas canvas(100, 20);
        menuSkin->DrawBackground(canvas.dc(), ODS_CHECKED, &m.image, &item, &button, &m.menu);
        ExpectProbes(canvas, {{"dither even", 0, 2, light}, {"dither odd", 1, 2, menu}, {"dither odd row", 0, 3, menu},
                                 {"text area", 20, 5, menu}, {"last row untouched", 50, 19, Canvas::kUntouched}},
            "checked");
        // Selected: the text area highlighted, the button (a real image) in the menu colour.
        menuSkin->DrawBackground(canvas.dc(), ODS_SELECTED, &m.image, &item, &button, &m.menu);
        ExpectProbes(canvas, {{"button", 1, 2, menu}, {"text", 30, 5, ::GetSysColor(COLOR_HIGHLIGHT)}}, "selected");
    }
    {
        // A hidden, unselected item between two recently used ones: dithered all over, a
        // shadow line on top and a highlight line at the bottom.
        Canvas canvas(100, 20);
        menuSkin->DrawBackground(
            canvas.dc(), OXODS_HIDDEN | OXODS_HIDDENFIRST | OXODS_HIDDENLAST, nullptr, &item, &button, &m.menu);
        ExpectProbes(canvas, {{"top line", 50, 0, ::GetSysColor(COLOR_BTNSHADOW)}, {"bottom line", 50, 19, light},
                                 {"dither", 50, 5, (50 + 5) % 2 == 0 ? light : menu},
                                 {"dither next", 51, 5, (51 + 5) % 2 == 0 ? light : menu}},
            "hidden run");
    }
    {
        // The separator: a 2-pixel band one above the middle (8 high: rows 3 and 4), 2 in.
        Canvas canvas(100, 8);
        RECT sep{0, 0, 100, 8};
        menuSkin->DrawSeparator(canvas.dc(), &sep, &m.menu);
        ExpectProbes(canvas, {{"shadow row", 50, 3, ::GetSysColor(COLOR_BTNSHADOW)}, {"light row", 50, 4, light},
                                 {"left margin", 1, 3, Canvas::kUntouched}, {"band start", 2, 3, ::GetSysColor(COLOR_BTNSHADOW)},
                                 {"right margin", 98, 4, Canvas::kUntouched}, {"above", 50, 2, Canvas::kUntouched}},
            "classic separator");
    }
}

TEST_F(SkinPaintTest, A2003HiddenItemStripIsSevenPercentDarker)
{
    CurrentSkin current(SkinKind::Office2003);
    OneItemMenu m;
    RECT item{0, 0, 100, 20};
    RECT button{1, 1, 21, 19};
    Canvas used(100, 20), hidden(100, 20);
    current.menuSkin()->DrawBackground(used.dc(), 0, &m.image, &item, &button, &m.menu);
    current.menuSkin()->DrawBackground(hidden.dc(), OXODS_HIDDEN, &m.image, &item, &button, &m.menu);
    // The gradient interpolates darkened ends, so each strip pixel is 93 % of the recently
    // used one, give or take the gradient's own rounding of a level or two.
    for (int x : {0, 10, 23}) {
        const COLORREF a = used.at(x, 10), b = hidden.at(x, 10);
        for (int shift : {0, 8, 16}) {
            const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
            EXPECT_NEAR(cb, ca * 93 / 100, 2) << "x " << x << " channel " << shift;
        }
    }
    EXPECT_EQ(used.at(24, 10), dynamic_cast<COXSkin2003*>(current.skin())->GetMenuFaceColor());
}

} // namespace
} // namespace zyn::test
