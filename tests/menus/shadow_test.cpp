// The drop shadows by their pixels: darkening over a known background by the documented
// amounts, recording and replaying (also when the popup's size changed since the
// recording), the drop-from rectangle left alone, and the shadowed item window's forms.
#include "tests/menus/menu_test_support.h"
#include "toolkit/skins/skin_xp.h"

namespace zyn::test {
namespace {

using ShadowTest = MenuTest;

// Fills a screen rectangle with a colour.
void PaintScreen(const RECT& r, COLORREF colour)
{
    const HDC screen = ::GetDC(nullptr);
    const HBRUSH b = ::CreateSolidBrush(colour);
    ::FillRect(screen, &r, b);
    ::DeleteObject(b);
    ::ReleaseDC(nullptr, screen);
}

// A memory DC of a window's size that the shadow is drawn into.
class Target {
public:
    Target(int cx, int cy)
    {
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateBitmap(cx, cy, 1, 32, nullptr);
        m_old = ::SelectObject(m_dc, m_bitmap);
        const RECT all{0, 0, cx, cy};
        const HBRUSH b = ::CreateSolidBrush(kUntouched);
        ::FillRect(m_dc, &all, b);
        ::DeleteObject(b);
    }
    ~Target()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;
    HDC dc() const { return m_dc; }
    COLORREF at(int x, int y) const { return ::GetPixel(m_dc, x, y); }
    static constexpr COLORREF kUntouched = RGB(1, 2, 3);

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

COLORREF Grey(int v) { return RGB(v, v, v); }
// 255 darkened by s: MulDiv(255, 255 - s, 255) = 255 - s.
COLORREF White(int s) { return Grey(255 - s); }

struct Pixel {
    const char* what;
    int x, y;
    COLORREF expected;
};

std::string Check(const Target& t, const std::vector<Pixel>& pixels)
{
    std::string wrong;
    for (const Pixel& p : pixels)
        if (t.at(p.x, p.y) != p.expected) {
            char buf[128];
            std::snprintf(buf, sizeof buf, "%s (%d, %d): #%06X; ", p.what, p.x, p.y, t.at(p.x, p.y));
            wrong += buf;
        }
    return wrong;
}

// A 60 x 40 popup at (100, 100) over white: w - i for the columns, h - j for the rows.
const std::vector<Pixel> kOverWhite = {
    {"right keep", 59, 0, White(0)},
    {"right keep last", 56, 3, White(0)},
    {"upper fade i1 j4", 59, 7, White(12)},
    {"upper fade i4 j1", 56, 4, White(12)},
    {"upper fade i4 j4", 56, 7, White(48)},
    {"body nearest", 56, 8, White(60)},
    {"body nearest end", 56, 35, White(60)},
    {"body outermost", 59, 20, White(15)},
    {"lower fade corner i1 j1", 59, 39, White(3)},
    {"lower fade i4 j4", 56, 36, White(48)},
    {"bottom keep", 0, 39, White(0)},
    {"bottom keep last", 3, 36, White(0)},
    {"bottom fade i4 j1", 4, 39, White(3)},
    {"bottom fade i1 j4", 7, 36, White(48)},
    {"bottom body j1", 8, 39, White(15)},
    {"bottom body j4", 55, 36, White(60)},
    {"the popup itself", 30, 20, Target::kUntouched},
    {"above the bottom strip", 30, 35, Target::kUntouched},
};

TEST_F(ShadowTest, OverWhiteTheShadowDarkensByTheDocumentedAmounts)
{
    CurrentSkin skin(SkinKind::XP);
    auto* menuSkin = dynamic_cast<COXMenuSkinXP*>(skin.menuSkin());
    ASSERT_NE(menuSkin, nullptr);
    RECT window{100, 100, 160, 140};
    PaintScreen(window, RGB(255, 255, 255));
    Target target(60, 40);
    menuSkin->DrawMenuShadow(target.dc(), &window, nullptr, nullptr);
    EXPECT_EQ(Check(target, kOverWhite), "");
}

TEST_F(ShadowTest, RecordedColoursAreReplayedNotDarkenedAgain)
{
    CurrentSkin skin(SkinKind::XP);
    auto* menuSkin = dynamic_cast<COXMenuSkinXP*>(skin.menuSkin());
    RECT window{100, 100, 160, 140};
    PaintScreen(window, RGB(255, 255, 255));
    CArray<COLORREF, COLORREF> saved;
    {
        Target target(60, 40);
        RECT empty{0, 0, 0, 0};
        menuSkin->DrawMenuShadow(target.dc(), &window, &empty, &saved);
        EXPECT_EQ(Check(target, kOverWhite), "");
    }
    // Right: 4 columns of 4 + 4 + (40 - 12) + 4; bottom: 4 rows of 4 + 4 + (60 - 12).
    EXPECT_EQ(saved.GetSize(), 4 * (4 + 4 + 28 + 4) + 4 * (4 + 4 + 48));
    // The screen under it has changed (it shows the popup now): the replay ignores it.
    PaintScreen(window, RGB(0, 0, 0));
    {
        Target target(60, 40);
        menuSkin->DrawMenuShadow(target.dc(), &window, nullptr, &saved);
        EXPECT_EQ(Check(target, kOverWhite), "");
    }
    // A popup that has grown since: the saved colours no longer fit, so they are recorded
    // anew from the screen instead of being read past their end.
    RECT taller{100, 100, 160, 150};
    PaintScreen(taller, RGB(255, 255, 255));
    Target target(60, 50);
    menuSkin->DrawMenuShadow(target.dc(), &taller, nullptr, &saved);
    EXPECT_EQ(saved.GetSize(), 4 * (4 + 4 + 38 + 4) + 4 * (4 + 4 + 48));
    EXPECT_EQ(Check(target, {{"body", 56, 40, White(60)}, {"corner", 59, 49, White(3)}, {"bottom", 30, 46, White(60)}}), "");
}

TEST_F(ShadowTest, TheDropFromRectangleKeepsItsPixels)
{
    CurrentSkin skin(SkinKind::XP);
    auto* menuSkin = dynamic_cast<COXMenuSkinXP*>(skin.menuSkin());
    auto* colours = dynamic_cast<COXSkinXP*>(skin.skin());
    RECT window{100, 100, 160, 140};
    PaintScreen(window, RGB(255, 255, 255));
    // A button to the right of the popup's top: it covers the shadow's upper fade
    // (x 156..159, y 104..107) but not the keep rows above it (they are always painted).
    RECT dropFrom{156, 90, 200, 106};
    Target target(60, 40);
    CArray<COLORREF, COLORREF> saved;
    menuSkin->DrawMenuShadow(target.dc(), &window, &dropFrom, &saved);
    // The overlap {56, 0, 60, 6} is filled with the strip colour and, being higher than
    // wide, gets border lines on its top and bottom rows.
    EXPECT_EQ(Check(target, {{"overlap", 57, 2, colours->GetBackgroundColor()},
                                {"overlap top line", 57, 0, colours->GetMenuBorderColor()},
                                {"overlap bottom line", 57, 5, colours->GetMenuBorderColor()},
                                {"fade outside the button", 57, 6, White(27)}, {"body", 56, 8, White(60)}}),
        "");
    // Two of the sixteen fade pixels lie inside the button and are neither painted nor recorded.
    EXPECT_EQ(saved.GetSize(), 4 * (4 + 4 + 28 + 4) + 4 * (4 + 4 + 48) - 2 * 4);
}

TEST_F(ShadowTest, TheShadowedItemWindowsFourForms)
{
    CurrentSkin skin(SkinKind::XP);
    auto* menuSkin = dynamic_cast<COXMenuSkinXP*>(skin.menuSkin());
    RECT rect{200, 200, 240, 230}; // w 40, h 30
    struct Row {
        const char* what;
        UINT mode;
        std::vector<Pixel> pixels;
    };
    const Row rows[] = {
        {"popup below: no bottom edge, no lower fade", 1,
            {{"body", 36, 20, White(60)}, {"lower fade", 36, 27, Target::kUntouched},
                {"bottom", 20, 29, Target::kUntouched}}},
        {"popup right: no right edge", 2,
            {{"right", 36, 20, Target::kUntouched}, {"bottom", 20, 29, White(15)}, {"bottom keep", 0, 29, White(0)}}},
        {"popup left: one bottom run from x 1", 3,
            {{"run start", 1, 29, White(15)}, {"run start j4", 1, 26, White(60)}, {"x 0", 0, 29, Target::kUntouched},
                {"right body", 36, 20, White(60)}}},
        {"popup above: one right run from y 1", 4,
            {{"run start", 39, 1, White(15)}, {"run start nearest", 36, 1, White(60)}, {"y 0", 36, 0, Target::kUntouched},
                {"lower fade", 39, 29, White(3)}}},
    };
    for (const Row& r : rows) {
        PaintScreen(rect, RGB(255, 255, 255));
        Target target(40, 30);
        menuSkin->DrawMenuItemShadow(target.dc(), &rect, r.mode);
        EXPECT_EQ(Check(target, r.pixels), "") << r.what;
    }
}

} // namespace
} // namespace zyn::test
