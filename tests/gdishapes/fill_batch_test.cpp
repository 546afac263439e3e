// The batched system-colour fill: the same pixels as one FillRect per rectangle in order,
// with the DC's origins, clip and the usual refusals.
#include "platform/gdi/shapes.h"
#include "tests/gdishapes/shapes_fixture.h"

namespace zyn::test {
namespace {

using zyn::gdi::SysColorRect;

class FillBatchTest : public ShapesTest {};

TEST_F(FillBatchTest, PaintsTheRectanglesInOrderWithTheirColours)
{
    DistinctColors();
    const std::vector<std::pair<COLORREF, char>> legend{
        {kWhite, '.'}, {kFace, 'f'}, {kHilite, 'h'}, {kDkShadow, 'd'}, {kShadow, 's'}};
    struct Case {
        const char* name;
        std::vector<SysColorRect> rects;
        POINT viewportOrg;
        RECT clip; // empty: no clip
        const char* picture;
    };
    const Case cases[] = {
        {"a face square, then edges over it (the later rectangle wins)",
            {{{1, 1, 5, 5}, COLOR_3DFACE}, {{1, 1, 2, 5}, COLOR_3DHIGHLIGHT}, {{4, 1, 5, 5}, COLOR_3DDKSHADOW},
                {{2, 1, 4, 2}, COLOR_3DHIGHLIGHT}},
            {0, 0}, {}, "......\n.hhhd.\n.hffd.\n.hffd.\n.hffd.\n......\n"},
        {"one colour again after another keeps its own brush",
            {{{0, 0, 6, 1}, COLOR_3DSHADOW}, {{0, 1, 6, 2}, COLOR_3DFACE}, {{0, 2, 3, 3}, COLOR_3DSHADOW}},
            {0, 0}, {}, "ssssss\nffffff\nsss...\n......\n......\n......\n"},
        {"empty and inverted rectangles fill nothing and stop nothing",
            {{{2, 2, 2, 5}, COLOR_3DFACE}, {{4, 4, 1, 1}, COLOR_3DFACE}, {{0, 5, 6, 6}, COLOR_3DDKSHADOW}},
            {0, 0}, {}, "......\n......\n......\n......\n......\ndddddd\n"},
        {"logical coordinates go through the viewport origin",
            {{{0, 0, 2, 2}, COLOR_3DFACE}, {{-1, -1, 0, 0}, COLOR_3DSHADOW}}, {3, 3}, {},
            "......\n......\n..s...\n...ff.\n...ff.\n......\n"},
        {"the clip holds for every rectangle",
            {{{0, 0, 6, 6}, COLOR_3DFACE}, {{0, 2, 6, 3}, COLOR_3DSHADOW}}, {0, 0}, {1, 1, 4, 4},
            "......\n.fff..\n.sss..\n.fff..\n......\n......\n"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Canvas c(6, 6);
        SetViewportOrgEx(c.dc(), k.viewportOrg.x, k.viewportOrg.y, nullptr);
        if (k.clip.right > k.clip.left) {
            HRGN rgn = CreateRectRgnIndirect(&k.clip);
            SelectClipRgn(c.dc(), rgn);
            DeleteObject(rgn);
        }
        EXPECT_TRUE(zyn::gdi::FillSysColorRects(c.dc(), k.rects.data(), k.rects.size()));
        EXPECT_EQ(c.Picture(RECT{0, 0, 6, 6}, legend), k.picture);
    }
}

TEST_F(FillBatchTest, RefusesABadDcOrColourAndKeepsWhatWasFilledBefore)
{
    DistinctColors();
    Canvas c(4, 4);
    const SysColorRect good{{0, 0, 4, 1}, COLOR_3DFACE};
    SetLastError(0);
    EXPECT_FALSE(zyn::gdi::FillSysColorRects(reinterpret_cast<HDC>(c.bitmap()), &good, 1));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    SetLastError(0);
    EXPECT_FALSE(zyn::gdi::FillSysColorRects(c.dc(), nullptr, 1));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(zyn::gdi::FillSysColorRects(c.dc(), nullptr, 0));
    EXPECT_TRUE(c.Not(kWhite).empty());
    // A colour index past the table: the rectangles before it are filled, none after.
    const SysColorRect mixed[] = {good, {{0, 1, 4, 2}, 9999}, {{0, 2, 4, 3}, COLOR_3DSHADOW}};
    SetLastError(0);
    EXPECT_FALSE(zyn::gdi::FillSysColorRects(c.dc(), mixed, 3));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(c.Where(kFace), RectPixels(0, 0, 4, 1));
    EXPECT_EQ(c.Not(kWhite), RectPixels(0, 0, 4, 1));
}

} // namespace
} // namespace zyn::test
