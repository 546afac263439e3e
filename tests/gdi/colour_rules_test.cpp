// Where a colour comes from and how it lands: the standard hatch bitmaps and their
// alignment to the brush origin, palette-index colours, and SetPixel through the binary
// mix. Expected pixels are worked from the documented bitmaps and formulas written here.
#include "tests/gdi/gdi_test_support.h"

using namespace zyn::test;

namespace {

class ColourRules : public GdiTest {};

// The standard 8x8 hatch bitmaps, top row first, bit 7 the leftmost column.
struct HatchBitmap {
    int style;
    const char* name;
    BYTE rows[8];
};
const HatchBitmap kHatches[] = {
    {HS_HORIZONTAL, "horizontal", {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00}},
    {HS_VERTICAL, "vertical", {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08}},
    {HS_FDIAGONAL, "forward diagonal", {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}},
    {HS_BDIAGONAL, "backward diagonal", {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}},
    {HS_CROSS, "cross", {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08}},
    {HS_DIAGCROSS, "diagonal cross", {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}},
};

int Mod8(int v) { return ((v % 8) + 8) % 8; }

} // namespace

// Every style against its bitmap over a rectangle that starts mid-cell, for the default
// brush origin and a moved one; opaque gaps take the background colour.
TEST_F(ColourRules, HatchBrushesPaintTheStandardBitmapsFromTheBrushOrigin)
{
    const COLORREF hatch = RGB(200, 0, 0), back = RGB(0, 0, 200), before = RGB(9, 9, 9);
    const RECT area{24, 3, 43, 22};
    const POINT origins[] = {{0, 0}, {3, 5}, {-2, 9}};
    for (const HatchBitmap& h : kHatches) {
        for (const POINT& org : origins) {
            MemDc dc(48, 26);
            dc.Fill(before);
            Obj<HBRUSH> brush(CreateHatchBrush(h.style, hatch));
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, back);
            SetBrushOrgEx(dc, org.x, org.y, nullptr);
            ASSERT_TRUE(FillRect(dc, &area, brush));
            for (int y = 0; y < 26; ++y)
                for (int x = 0; x < 48; ++x) {
                    COLORREF expected = before;
                    if (x >= area.left && x < area.right && y >= area.top && y < area.bottom) {
                        const BYTE row = h.rows[Mod8(y - org.y)];
                        expected = ((row >> (7 - Mod8(x - org.x))) & 1) ? hatch : back;
                    }
                    ASSERT_EQ(GetPixel(dc, x, y), expected)
                        << h.name << " at " << x << "," << y << " origin " << org.x << "," << org.y;
                }
        }
    }
}

// The vertical stroke sits in column 4 of the cell: with the origin at 0, x = 28 is a
// hatch pixel and x = 27 a gap; transparent mode leaves the gaps alone.
TEST_F(ColourRules, VerticalHatchSitsInColumnFour)
{
    MemDc dc(48, 26);
    dc.Fill(RGB(255, 255, 255));
    Obj<HBRUSH> vertical(CreateHatchBrush(HS_VERTICAL, RGB(200, 0, 0)));
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(0, 0, 200));
    const RECT r{24, 3, 43, 22};
    FillRect(dc, &r, vertical);
    EXPECT_EQ(GetPixel(dc, 28, 3), RGB(200, 0, 0));
    EXPECT_EQ(GetPixel(dc, 27, 3), RGB(0, 0, 200));
    EXPECT_EQ(GetPixel(dc, 36, 21), RGB(200, 0, 0));
    EXPECT_EQ(GetPixel(dc, 24, 3), RGB(0, 0, 200));

    dc.Fill(RGB(255, 255, 255));
    Obj<HBRUSH> cross(CreateHatchBrush(HS_CROSS, RGB(200, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    FillRect(dc, &r, cross);
    EXPECT_EQ(GetPixel(dc, 28, 5), RGB(200, 0, 0)) << "vertical stroke";
    EXPECT_EQ(GetPixel(dc, 25, 11), RGB(200, 0, 0)) << "horizontal stroke in row 3";
    EXPECT_EQ(GetPixel(dc, 27, 5), RGB(255, 255, 255)) << "a transparent gap";
    EXPECT_EQ(CreateHatchBrush(HS_DIAGCROSS + 1, 0), nullptr);
}

// PALETTEINDEX(n) names entry n of the default palette wherever a colour is taken.
TEST_F(ColourRules, PaletteIndexesResolveThroughTheDefaultPalette)
{
    struct Entry {
        WORD index;
        COLORREF colour;
    };
    // The documented default palette, sampled across its range; an index past its 20
    // entries names entry 0.
    const Entry entries[] = {{0, RGB(0, 0, 0)}, {1, RGB(128, 0, 0)}, {3, RGB(128, 128, 0)}, {7, RGB(192, 192, 192)},
        {8, RGB(192, 220, 192)}, {9, RGB(166, 202, 240)}, {10, RGB(255, 251, 240)}, {11, RGB(160, 160, 164)},
        {12, RGB(128, 128, 128)}, {13, RGB(255, 0, 0)}, {16, RGB(0, 0, 255)}, {19, RGB(255, 255, 255)},
        {20, RGB(0, 0, 0)}, {0x1234, RGB(0, 0, 0)}};
    for (const Entry& e : entries) {
        MemDc dc(4, 1);
        dc.Fill(RGB(7, 7, 7));
        EXPECT_EQ(SetPixel(dc, 0, 0, PALETTEINDEX(e.index)), e.colour) << e.index;
        EXPECT_EQ(GetPixel(dc, 0, 0), e.colour) << e.index;
        Obj<HBRUSH> brush(CreateSolidBrush(PALETTEINDEX(e.index)));
        const RECT r{1, 0, 2, 1};
        FillRect(dc, &r, brush);
        EXPECT_EQ(GetPixel(dc, 1, 0), e.colour) << "brush " << e.index;
        Obj<HPEN> pen(CreatePen(PS_SOLID, 1, PALETTEINDEX(e.index)));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, 2, 0, nullptr);
        LineTo(dc, 3, 0);
        SelectObject(dc, old);
        EXPECT_EQ(GetPixel(dc, 2, 0), e.colour) << "pen " << e.index;
    }
    // PALETTERGB is the colour itself.
    MemDc dc(8, 2);
    EXPECT_EQ(SetPixel(dc, 0, 0, PALETTERGB(1, 2, 3)), RGB(1, 2, 3));

    // Text and background colours: a mono source draws 0 in the text colour and 1 in
    // the background colour; an opaque hatch fills its gaps with the background colour.
    MemDc mono(2, 1, true);
    const BYTE bits[2] = {0x80, 0};
    SetBitmapBits(mono.bitmap(), 2, bits);
    SetTextColor(dc, PALETTEINDEX(13));
    SetBkColor(dc, PALETTEINDEX(4));
    ASSERT_TRUE(BitBlt(dc, 0, 1, 2, 1, mono, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0, 0, 128));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 0, 0));
    Obj<HBRUSH> hatch(CreateHatchBrush(HS_HORIZONTAL, PALETTEINDEX(6)));
    SetBkMode(dc, OPAQUE);
    const RECT cell{2, 0, 8, 2}; // rows 0 and 1 of the cell are gaps
    FillRect(dc, &cell, hatch);
    EXPECT_EQ(GetPixel(dc, 5, 0), RGB(0, 0, 128));
    // ExtTextOut's opaque rectangle takes the background colour; the DC brush colour.
    SetBkColor(dc, PALETTEINDEX(5));
    const RECT box{0, 0, 2, 1};
    ASSERT_TRUE(ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &box, L"", 0, nullptr));
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(128, 0, 128));
    SetDCBrushColor(dc, PALETTEINDEX(15));
    const RECT dcb{7, 1, 8, 2};
    FillRect(dc, &dcb, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    EXPECT_EQ(GetPixel(dc, 7, 1), RGB(255, 255, 0));
    EXPECT_EQ(GetTextColor(dc), PALETTEINDEX(13)) << "the DC keeps the value it was given";

    // Text: the strokes of a large bold letter cover whole pixels in the text colour.
    MemDc page(60, 60);
    page.Fill(RGB(255, 255, 255));
    Obj<HFONT> font(CreateFontW(-48, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    HGDIOBJ oldFont = SelectObject(page, font);
    SetTextColor(page, PALETTEINDEX(4));
    SetBkMode(page, TRANSPARENT);
    ASSERT_TRUE(TextOutW(page, 4, 2, L"M", 1));
    SelectObject(page, oldFont);
    int full = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            full += GetPixel(page, x, y) == RGB(0, 0, 128);
    EXPECT_GT(full, 50) << "pixels wholly in PALETTEINDEX(4), dark blue";
}

// SetPixel mixes like a one-pixel pen and answers the colour it drew with.
TEST_F(ColourRules, SetPixelDrawsThroughTheBinaryMix)
{
    struct Mix {
        int rop2;
        COLORREF pen, before, after;
    };
    const COLORREF white = RGB(255, 255, 255);
    const Mix mixes[] = {
        {R2_COPYPEN, RGB(255, 0, 0), white, RGB(255, 0, 0)},
        {R2_XORPEN, RGB(255, 0, 0), white, RGB(0, 255, 255)},              // P ^ D
        {R2_XORPEN, RGB(0x0F, 0xF0, 0x33), RGB(0xFF, 0x0F, 0x30), RGB(0xF0, 0xFF, 0x03)},
        {R2_NOT, RGB(1, 2, 3), RGB(0x12, 0x34, 0x56), RGB(0xED, 0xCB, 0xA9)}, // ~D
        {R2_MASKPEN, RGB(0xF0, 0x0F, 0xFF), RGB(0x3C, 0x3C, 0x81), RGB(0x30, 0x0C, 0x81)}, // P & D
        {R2_MERGEPEN, RGB(0xF0, 0x0F, 0x00), RGB(0x0C, 0x30, 0x81), RGB(0xFC, 0x3F, 0x81)}, // P | D
        {R2_NOP, RGB(255, 0, 0), RGB(5, 6, 7), RGB(5, 6, 7)},
        {R2_NOTCOPYPEN, RGB(0xFF, 0x00, 0x0F), white, RGB(0x00, 0xFF, 0xF0)}, // ~P
    };
    for (const Mix& m : mixes) {
        MemDc dc(2, 1);
        dc.Fill(m.before);
        SetROP2(dc, m.rop2);
        EXPECT_EQ(SetPixel(dc, 0, 0, m.pen), m.pen) << "mix " << m.rop2;
        EXPECT_EQ(GetPixel(dc, 0, 0), m.after) << "mix " << m.rop2;
        EXPECT_EQ(GetPixel(dc, 1, 0), m.before) << "mix " << m.rop2;
        dc.Fill(m.before);
        EXPECT_TRUE(SetPixelV(dc, 0, 0, m.pen));
        EXPECT_EQ(GetPixel(dc, 0, 0), m.after) << "SetPixelV, mix " << m.rop2;
    }
    // On a mono bitmap white XOR white is 0 (black); the answer is still the drawn colour.
    MemDc mono(1, 1, true);
    mono.Fill(RGB(255, 255, 255));
    SetROP2(mono, R2_XORPEN);
    EXPECT_EQ(SetPixel(mono, 0, 0, RGB(250, 250, 250)), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(mono, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(SetPixel(mono, 5, 5, 0), CLR_INVALID) << "outside the bitmap";
}
