// DrawEdge outlines, pixel by pixel, with each 3-D colour made distinct.
#include "tests/gdishapes/shapes_fixture.h"

namespace zyn::test {
namespace {

class EdgeTest : public ShapesTest {
protected:
    void SetUp() override
    {
        ShapesTest::SetUp();
        DistinctColors();
    }
    // Draws an edge on a fresh white canvas the size of the rectangle (plus `pad` to the
    // right and below) and returns the picture: F face, S shadow, H highlight, D dark
    // shadow, L light, W window, M window frame, '.' untouched.
    std::string Edge(RECT r, UINT edge, UINT flags, RECT* adjusted = nullptr)
    {
        Canvas c(r.right, r.bottom);
        EXPECT_TRUE(DrawEdge(c.dc(), &r, edge, flags));
        if (adjusted)
            *adjusted = r;
        return c.Picture(RECT{0, 0, c.width(), c.height()}, Legend());
    }
    static std::vector<std::pair<COLORREF, char>> Legend()
    {
        return {{kFace, 'F'}, {kShadow, 'S'}, {kHilite, 'H'}, {kDkShadow, 'D'}, {kLight, 'L'}, {kWindow, 'W'},
            {kFrame, 'M'}, {kWhite, '.'}};
    }
};

// Outer raised: 3DLIGHT top-left, 3DDKSHADOW bottom-right; inner raised: 3DHIGHLIGHT,
// 3DSHADOW. The bottom-right lines are drawn last and own the two odd corners.
TEST_F(EdgeTest, RaisedEdge)
{
    EXPECT_EQ(Edge(RECT{0, 0, 6, 5}, EDGE_RAISED, BF_RECT),
        "LLLLLD\n"
        "LHHHSD\n"
        "LH..SD\n"
        "LSSSSD\n"
        "DDDDDD\n");
    // The smallest rectangle whose two layers keep four separate columns.
    EXPECT_EQ(Edge(RECT{0, 0, 4, 4}, EDGE_RAISED, BF_RECT),
        "LLLD\n"
        "LHSD\n"
        "LSSD\n"
        "DDDD\n");
}

TEST_F(EdgeTest, SunkenEdge)
{
    EXPECT_EQ(Edge(RECT{0, 0, 6, 5}, EDGE_SUNKEN, BF_RECT),
        "SSSSSH\n"
        "SDDDLH\n"
        "SD..LH\n"
        "SLLLLH\n"
        "HHHHHH\n");
}

TEST_F(EdgeTest, EtchedAndBumpEdges)
{
    EXPECT_EQ(Edge(RECT{0, 0, 6, 5}, EDGE_ETCHED, BF_RECT),
        "SSSSSH\n"
        "SHHHSH\n"
        "SH..SH\n"
        "SSSSSH\n"
        "HHHHHH\n");
    EXPECT_EQ(Edge(RECT{0, 0, 6, 5}, EDGE_BUMP, BF_RECT),
        "LLLLLD\n"
        "LDDDLD\n"
        "LD..LD\n"
        "LLLLLD\n"
        "DDDDDD\n");
}

TEST_F(EdgeTest, MiddleFillsAndAdjustShrinksByTheLayersDrawn)
{
    RECT adj{};
    EXPECT_EQ(Edge(RECT{0, 0, 6, 5}, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST, &adj),
        "LLLLLD\n"
        "LHHHSD\n"
        "LHFFSD\n"
        "LSSSSD\n"
        "DDDDDD\n");
    EXPECT_EQ(adj.left, 2);
    EXPECT_EQ(adj.top, 2);
    EXPECT_EQ(adj.right, 4);
    EXPECT_EQ(adj.bottom, 3);
    // One layer shrinks by one.
    Edge(RECT{0, 0, 6, 5}, BDR_RAISEDINNER, BF_RECT | BF_ADJUST, &adj);
    EXPECT_EQ(adj.left, 1);
    EXPECT_EQ(adj.bottom, 4);
    // Only the sides drawn shrink.
    Edge(RECT{0, 0, 6, 5}, EDGE_SUNKEN, BF_BOTTOMRIGHT | BF_ADJUST, &adj);
    EXPECT_EQ(adj.left, 0);
    EXPECT_EQ(adj.top, 0);
    EXPECT_EQ(adj.right, 4);
    EXPECT_EQ(adj.bottom, 3);
}

TEST_F(EdgeTest, SoftSwapsTheTopLeftColoursOfTheLayers)
{
    EXPECT_EQ(Edge(RECT{0, 0, 6, 5}, EDGE_RAISED, BF_RECT | BF_SOFT),
        "HHHHHD\n"
        "HLLLSD\n"
        "HL..SD\n"
        "HSSSSD\n"
        "DDDDDD\n");
    EXPECT_EQ(Edge(RECT{0, 0, 6, 5}, EDGE_SUNKEN, BF_RECT | BF_SOFT),
        "DDDDDH\n"
        "DSSSLH\n"
        "DS..LH\n"
        "DLLLLH\n"
        "HHHHHH\n");
}

TEST_F(EdgeTest, FlatAndMonoUseOneColourPerLayer)
{
    EXPECT_EQ(Edge(RECT{0, 0, 6, 5}, EDGE_SUNKEN, BF_RECT | BF_FLAT),
        "SSSSSS\n"
        "SFFFFS\n"
        "SF..FS\n"
        "SFFFFS\n"
        "SSSSSS\n");
    EXPECT_EQ(Edge(RECT{0, 0, 6, 5}, EDGE_RAISED, BF_RECT | BF_MONO | BF_MIDDLE),
        "MMMMMM\n"
        "MWWWWM\n"
        "MWWWWM\n"
        "MWWWWM\n"
        "MMMMMM\n");
}

TEST_F(EdgeTest, PartialSidesDrawOnlyTheirLines)
{
    RECT adj{};
    EXPECT_EQ(Edge(RECT{0, 0, 6, 5}, EDGE_RAISED, BF_TOPLEFT | BF_ADJUST, &adj),
        "LLLLLL\n"
        "LHHHHH\n"
        "LH....\n"
        "LH....\n"
        "LH....\n");
    EXPECT_EQ(adj.left, 2);
    EXPECT_EQ(adj.top, 2);
    EXPECT_EQ(adj.right, 6);
    EXPECT_EQ(adj.bottom, 5);
    EXPECT_EQ(Edge(RECT{0, 0, 6, 5}, EDGE_SUNKEN, BF_BOTTOMRIGHT),
        "....LH\n"
        "....LH\n"
        "....LH\n"
        "LLLLLH\n"
        "HHHHHH\n");
}

// A diagonal ending at the top right uses the top-left colours; the figure lies towards
// the start corner's vertical side (here the left), the inner line one pixel into it,
// and BF_MIDDLE fills the figure beyond it.
TEST_F(EdgeTest, DiagonalEdges)
{
    EXPECT_EQ(Edge(RECT{0, 0, 5, 5}, EDGE_RAISED, BF_DIAGONAL_ENDTOPRIGHT | BF_MIDDLE),
        "FFFHL\n"
        "FFHL.\n"
        "FHL..\n"
        "HL...\n"
        "L....\n");
    // Ending at the bottom right: bottom-right colours, the figure below the line.
    EXPECT_EQ(Edge(RECT{0, 0, 5, 5}, EDGE_RAISED, BF_DIAGONAL_ENDBOTTOMRIGHT),
        "D....\n"
        "SD...\n"
        ".SD..\n"
        "..SD.\n"
        "...SD\n");
    RECT r{0, 0, 5, 5};
    Edge(r, EDGE_RAISED, BF_DIAGONAL_ENDTOPLEFT | BF_ADJUST, &r);
    EXPECT_EQ(r.right, 5); // diagonals leave the rectangle alone
}

// On a rectangle that is not square the line is min(width, height) pixels long from the
// start corner (the corner opposite the one named), so it stops short of the end corner;
// the middle is the triangle between the line and the start corner's vertical side.
TEST_F(EdgeTest, DiagonalsOfOblongRectanglesRunFromTheStartCorner)
{
    struct Case {
        const char* name;
        RECT r;
        UINT flags;
        const char* picture;
    };
    const Case cases[] = {
        {"end top right, wide", {0, 0, 7, 4}, BF_DIAGONAL_ENDTOPRIGHT,
            "FFHL...\n"
            "FHL....\n"
            "HL.....\n"
            "L......\n"},
        {"end bottom right, wide", {0, 0, 7, 4}, BF_DIAGONAL_ENDBOTTOMRIGHT,
            "D......\n"
            "SD.....\n"
            "FSD....\n"
            "FFSD...\n"},
        {"end top left, wide", {0, 0, 7, 4}, BF_DIAGONAL_ENDTOPLEFT,
            "...LHFF\n"
            "....LHF\n"
            ".....LH\n"
            "......L\n"},
        {"end bottom left, wide", {0, 0, 7, 4}, BF_DIAGONAL_ENDBOTTOMLEFT,
            "......D\n"
            ".....DS\n"
            "....DSF\n"
            "...DSFF\n"},
        {"end top right, tall", {0, 0, 3, 5}, BF_DIAGONAL_ENDTOPRIGHT,
            "...\n"
            "...\n"
            "FHL\n"
            "HL.\n"
            "L..\n"},
        {"end bottom left, tall", {0, 0, 3, 5}, BF_DIAGONAL_ENDBOTTOMLEFT,
            "..D\n"
            ".DS\n"
            "DSF\n"
            "...\n"
            "...\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Edge(c.r, EDGE_RAISED, c.flags | BF_MIDDLE), c.picture) << c.name;
    // One layer only: the line itself, and the middle right up to it.
    EXPECT_EQ(Edge(RECT{0, 0, 4, 3}, BDR_SUNKENINNER, BF_DIAGONAL_ENDBOTTOMRIGHT | BF_MIDDLE),
        "L...\n"
        "FL..\n"
        "FFL.\n");
}

// {3,3,25,21}, 22 by 18: the raised outer line ending top right runs 18 pixels from
// (3,20) to (20,3); ending bottom right with the middle it fills the lower-left triangle.
TEST_F(EdgeTest, DiagonalOfTheReferenceRectangle)
{
    Canvas c(30, 25);
    RECT r{3, 3, 25, 21};
    ASSERT_TRUE(DrawEdge(c.dc(), &r, EDGE_RAISED, BF_DIAGONAL_ENDTOPRIGHT));
    PixelSet outer, inner;
    for (int k = 0; k < 18; ++k) {
        outer.insert({3 + k, 20 - k});
        if (k > 0)
            inner.insert({2 + k, 20 - k}); // (2, 20) lies outside the rectangle
    }
    EXPECT_EQ(c.Where(kLight), outer);
    EXPECT_EQ(c.Where(kHilite), inner);
    EXPECT_EQ(c.At(20, 3), kLight);
    EXPECT_EQ(c.At(24, 3), kWhite);
    EXPECT_EQ(c.At(21, 2), kWhite);

    c.Clear(kWhite);
    ASSERT_TRUE(DrawEdge(c.dc(), &r, EDGE_RAISED, BF_DIAGONAL_ENDBOTTOMRIGHT | BF_MIDDLE));
    PixelSet dark, shadow, face;
    for (int k = 0; k < 18; ++k) {
        dark.insert({3 + k, 3 + k});
        if (k > 0)
            shadow.insert({2 + k, 3 + k});
        for (int x = 3; x < 2 + k; ++x)
            face.insert({x, 3 + k});
    }
    EXPECT_EQ(c.Where(kDkShadow), dark);
    EXPECT_EQ(c.Where(kShadow), shadow);
    EXPECT_EQ(c.Where(kFace), face);
    EXPECT_EQ(face.size(), 136u); // 1 + 2 + ... + 16
    EXPECT_EQ(c.At(3, 20), kFace);
    EXPECT_EQ(c.At(24, 20), kWhite);
    EXPECT_EQ(c.At(21, 10), kWhite);
}

// A rectangle far beyond the surface: only the visible steps are walked, and they land
// where the whole line would put them.
TEST_F(EdgeTest, HugeDiagonalsDrawTheirVisiblePart)
{
    const int big = 1 << 26;
    Canvas c(6, 6);
    RECT down{0, 0, big, big};
    ASSERT_TRUE(DrawEdge(c.dc(), &down, EDGE_RAISED, BF_DIAGONAL_ENDBOTTOMRIGHT | BF_MIDDLE));
    EXPECT_EQ(c.Picture(RECT{0, 0, 6, 6}, Legend()),
        "D.....\n"
        "SD....\n"
        "FSD...\n"
        "FFSD..\n"
        "FFFSD.\n"
        "FFFFSD\n");
    c.Clear(kWhite);
    RECT up{0, 6 - big, big, 6}; // starts at (0, 5) and climbs
    ASSERT_TRUE(DrawEdge(c.dc(), &up, EDGE_RAISED, BF_DIAGONAL_ENDTOPRIGHT));
    EXPECT_EQ(c.Picture(RECT{0, 0, 6, 6}, Legend()),
        "....HL\n"
        "...HL.\n"
        "..HL..\n"
        ".HL...\n"
        "HL....\n"
        "L.....\n");
}

// The second row's clip keeps only the inner one of each side's two columns.
TEST_F(EdgeTest, EdgesAreClippedAndFollowTheOrigin)
{
    const struct {
        const char* what;
        POINT origin;
        RECT clip; // logical
        const char* picture;
    } rows[] = {
        {"device columns 2..4", {2, 1}, {0, 0, 3, 10},
            "..........\n"
            "..LLL.....\n"
            "..LHH.....\n"
            "..LH......\n"
            "..LSS.....\n"
            "..DDD.....\n"
            "..........\n"},
        {"outer columns cut off", {0, 0}, {1, 0, 5, 5},
            ".LLLL.....\n"
            ".HHHS.....\n"
            ".H..S.....\n"
            ".SSSS.....\n"
            ".DDDD.....\n"
            "..........\n"
            "..........\n"},
    };
    for (const auto& row : rows) {
        Canvas c(10, 8);
        SetViewportOrgEx(c.dc(), row.origin.x, row.origin.y, nullptr);
        IntersectClipRect(c.dc(), row.clip.left, row.clip.top, row.clip.right, row.clip.bottom);
        RECT r{0, 0, 6, 5};
        DrawEdge(c.dc(), &r, EDGE_RAISED, BF_RECT);
        EXPECT_EQ(c.Picture(RECT{0, 0, 10, 7}, Legend()), row.picture) << row.what;
    }
}

TEST_F(EdgeTest, BadArguments)
{
    Canvas c(4, 4);
    EXPECT_FALSE(DrawEdge(c.dc(), nullptr, EDGE_RAISED, BF_RECT));
    RECT r{0, 0, 4, 4};
    EXPECT_FALSE(DrawEdge(nullptr, &r, EDGE_RAISED, BF_RECT));
    // No layer: nothing but the middle.
    EXPECT_TRUE(DrawEdge(c.dc(), &r, 0, BF_RECT | BF_MIDDLE | BF_ADJUST));
    EXPECT_EQ(c.Where(kFace).size(), 16u);
    EXPECT_EQ(r.left, 0);
}

} // namespace
} // namespace zyn::test
