// Every ternary raster operation over whole rows of random pixels, against the rop's
// definition worked bit by bit here: bit i of the truth byte (bits 16-23 of the code) is
// the result for i = (P << 2) | (S << 1) | D. The cases cover clipped rows of odd
// lengths, solid and tiled pattern brushes with a moved brush origin, colour and mono
// surfaces in every pairing (with the conversion rules of the colour/mono blits), fills
// without a source, and sources that end inside the destination (the pixels beyond are
// left alone by the rops that read the source).
#include <cstring>
#include <random>
#include <vector>

#include "tests/gdi/gdi_test_support.h"

using namespace zyn::test;

namespace {

class RopRows : public GdiTest {};

// The definition, on the low 24 bits of three raw values (colour channels or mono bits).
uint32_t RopByDefinition(unsigned table, uint32_t p, uint32_t s, uint32_t d)
{
    uint32_t out = 0;
    for (int b = 0; b < 24; ++b) {
        const unsigned i = (((p >> b) & 1) << 2) | (((s >> b) & 1) << 1) | ((d >> b) & 1);
        out |= static_cast<uint32_t>((table >> i) & 1) << b;
    }
    return out;
}

DWORD RopCode(unsigned table) { return static_cast<DWORD>(table) << 16; }

bool RopUsesS(unsigned t) { return ((t >> 2) & 0x33) != (t & 0x33); }

// The raw pixels of a bitmap: 0x00RRGGBB-with-alpha words for 32-bit, 0/1 for mono.
class Pixels {
public:
    Pixels(int w, int h, bool mono) : w(w), h(h), mono(mono), v(static_cast<size_t>(w) * h) {}
    uint32_t& at(int x, int y) { return v[static_cast<size_t>(y) * w + x]; }
    uint32_t at(int x, int y) const { return v[static_cast<size_t>(y) * w + x]; }

    void Randomise(std::mt19937& rng)
    {
        for (auto& p : v)
            p = mono ? (rng() & 1u) : static_cast<uint32_t>(rng());
    }
    void Write(HBITMAP bm) const
    {
        std::vector<BYTE> bytes(Stride() * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                BYTE* row = &bytes[y * Stride()];
                if (mono) {
                    if (at(x, y))
                        row[x >> 3] = static_cast<BYTE>(row[x >> 3] | (0x80 >> (x & 7)));
                } else {
                    std::memcpy(row + 4 * x, &v[static_cast<size_t>(y) * w + x], 4);
                }
            }
        SetBitmapBits(bm, static_cast<DWORD>(bytes.size()), bytes.data());
    }
    void Read(HBITMAP bm)
    {
        std::vector<BYTE> bytes(Stride() * h);
        GetBitmapBits(bm, static_cast<LONG>(bytes.size()), bytes.data());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const BYTE* row = &bytes[y * Stride()];
                if (mono)
                    at(x, y) = (row[x >> 3] >> (7 - (x & 7))) & 1u;
                else
                    std::memcpy(&v[static_cast<size_t>(y) * w + x], row + 4 * x, 4);
            }
    }

    int w, h;
    bool mono;

private:
    size_t Stride() const { return mono ? static_cast<size_t>((w + 15) / 16) * 2 : static_cast<size_t>(w) * 4; }
    std::vector<uint32_t> v;
};

uint32_t Bgrx(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

// One blit of a case: a destination with random pixels, a clip of two rectangles (so
// rows are cut into pieces of odd lengths), a brush and an optional source; then every
// pixel of the destination against the definition.
struct Pairing {
    bool dstMono = false;
    bool srcMono = false;
    bool patterned = false; // an 8x8 tiled pattern brush (colour; mono on a mono target)
    bool fill = false;      // PatBlt: no source
};

void CheckRop(unsigned t, const Pairing& k, std::mt19937& rng)
{
    constexpr int W = 45, H = 7;
    const RECT blit{3, 1, 42, 7}; // 39 x 6 at (3, 1)
    const POINT srcAt{10, 0}; // the source's pixel under blit's top-left: its last 4 columns lie beyond
    const POINT brushOrg{3, 5};
    MemDc dst(W, H, k.dstMono), src(W, H, k.srcMono);
    Pixels before(W, H, k.dstMono), source(W, H, k.srcMono);
    before.Randomise(rng);
    source.Randomise(rng);
    before.Write(dst.bitmap());
    source.Write(src.bitmap());

    // The brush: solid, or a pattern of random pixels whose raw values are known.
    Pixels pattern(8, 8, k.dstMono);
    pattern.Randomise(rng);
    const uint32_t solidRaw = k.dstMono ? 1u : (static_cast<uint32_t>(rng()) & 0xFFFFFFu);
    HBRUSH brush = nullptr;
    HBITMAP patBm = nullptr;
    if (k.patterned) {
        patBm = CreateBitmap(8, 8, 1, k.dstMono ? 1 : 32, nullptr);
        pattern.Write(patBm);
        brush = CreatePatternBrush(patBm);
        // A mono pattern draws 1 with the background colour and 0 with the text colour:
        // white and black, the mono table's own entries.
        SetTextColor(dst, RGB(0, 0, 0));
        SetBkColor(dst, RGB(255, 255, 255));
    } else {
        const COLORREF c = k.dstMono ? RGB(255, 255, 255)
                                     : RGB((solidRaw >> 16) & 0xFF, (solidRaw >> 8) & 0xFF, solidRaw & 0xFF);
        brush = CreateSolidBrush(c);
    }
    Obj<HBRUSH> ownBrush(brush);
    Obj<HBITMAP> ownPat(patBm);
    HGDIOBJ oldBrush = SelectObject(dst, brush);
    SetBrushOrgEx(dst, brushOrg.x, brushOrg.y, nullptr);

    // Conversion colours: mono sources take the destination's text (0) and background
    // (1) colours; colour sources on mono compare with the source's background.
    const COLORREF text = RGB(0x12, 0x9A, 0xF0), back = RGB(0xC3, 0x05, 0x7E);
    if (k.srcMono && !k.dstMono) {
        SetTextColor(dst, text);
        SetBkColor(dst, back);
    }
    COLORREF srcBk = 0;
    if (!k.srcMono && k.dstMono) {
        // Make some source pixels equal the background colour.
        const uint32_t key = static_cast<uint32_t>(rng()) & 0xFFFFFFu;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; x += 3)
                source.at(x, y) = key | (static_cast<uint32_t>(rng()) & 0xFF000000u);
        source.Write(src.bitmap());
        srcBk = RGB((key >> 16) & 0xFF, (key >> 8) & 0xFF, key & 0xFF);
        SetBkColor(src, srcBk);
    }

    Obj<HRGN> clip(CreateRectRgn(0, 0, 17, 5));
    Obj<HRGN> second(CreateRectRgn(20, 2, 40, 7));
    CombineRgn(clip, clip, second, RGN_OR);
    SelectClipRgn(dst, clip);

    const int width = blit.right - blit.left, height = blit.bottom - blit.top;
    if (k.fill)
        ASSERT_TRUE(PatBlt(dst, blit.left, blit.top, width, height, RopCode(t))) << t;
    else
        ASSERT_TRUE(BitBlt(dst, blit.left, blit.top, width, height, src, srcAt.x, srcAt.y, RopCode(t))) << t;
    SelectObject(dst, oldBrush);

    Pixels after(W, H, k.dstMono);
    after.Read(dst.bitmap());
    auto inClip = [](int x, int y) { return (x < 17 && y < 5) || (x >= 20 && x < 40 && y >= 2); };
    const int srcDx = srcAt.x - blit.left, srcDy = srcAt.y - blit.top;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int sx = x + srcDx, sy = y + srcDy;
            const bool drawn = x >= blit.left && x < blit.right && y >= blit.top && y < blit.bottom && inClip(x, y) &&
                (k.fill || !RopUsesS(t) || (sx < W && sy < H));
            uint32_t expected = before.at(x, y);
            if (drawn) {
                uint32_t s = 0;
                if (!k.fill && sx < W) {
                    const uint32_t raw = source.at(sx, sy);
                    if (k.srcMono == k.dstMono)
                        s = raw;
                    else if (k.srcMono)
                        s = Bgrx(raw ? back : text);
                    else
                        s = (raw & 0xFFFFFFu) == Bgrx(srcBk) ? 1u : 0u;
                }
                const uint32_t p = k.patterned
                    ? pattern.at(((x - brushOrg.x) % 8 + 8) % 8, ((y - brushOrg.y) % 8 + 8) % 8) & 0xFFFFFFu
                    : solidRaw;
                const uint32_t mask = k.dstMono ? 1u : 0xFFFFFFu;
                const bool copiesAlpha = t == 0xCC && !k.dstMono && !k.srcMono && !k.fill;
                expected = copiesAlpha ? s : RopByDefinition(t, p, s, before.at(x, y)) & mask;
            }
            ASSERT_EQ(after.at(x, y), expected) << "rop 0x" << std::hex << t << std::dec << " at " << x << "," << y
                                                << (k.patterned ? " patterned" : " solid")
                                                << (k.dstMono ? " onto mono" : " onto colour")
                                                << (k.fill ? " (fill)" : k.srcMono ? " from mono" : " from colour");
        }
}

} // namespace

TEST_F(RopRows, All256RopsOverClippedRowsOfRandomPixels)
{
    std::mt19937 rng(20240521);
    const Pairing setups[] = {
        {false, false, false, false}, // colour to colour, solid brush
        {false, false, true, false},  // colour to colour, tiled pattern
        {false, true, true, false},   // mono source onto colour
        {true, false, true, false},   // colour source onto mono
        {true, true, false, false},   // mono to mono
        {true, true, true, false},
    };
    for (const Pairing& k : setups)
        for (unsigned t = 0; t < 256; ++t) {
            CheckRop(t, k, rng);
            if (HasFatalFailure())
                return;
        }
}

// PatBlt takes every rop that reads no source: sixteen truth bytes.
TEST_F(RopRows, TheSixteenSourcelessRopsFillClippedRows)
{
    std::mt19937 rng(7);
    int count = 0;
    for (unsigned t = 0; t < 256; ++t) {
        if (RopUsesS(t))
            continue;
        ++count;
        for (bool mono : {false, true})
            for (bool patterned : {false, true}) {
                CheckRop(t, Pairing{mono, mono, patterned, true}, rng);
                if (HasFatalFailure())
                    return;
            }
    }
    EXPECT_EQ(count, 16);
}

// A blit from a bitmap onto itself reads the pixels as they were before it started,
// whichever way the rectangles overlap.
TEST_F(RopRows, OverlappingBlitsReadTheSourceAsItWas)
{
    constexpr int W = 40, H = 6;
    std::mt19937 rng(5);
    for (int shift : {-3, 3}) {
        Pixels before(W, H, false);
        before.Randomise(rng);
        MemDc dc(W, H);
        before.Write(dc.bitmap());
        ASSERT_TRUE(BitBlt(dc, 5, 1, 30, 4, dc, 5 + shift, 0, SRCINVERT));
        Pixels after(W, H, false);
        after.Read(dc.bitmap());
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const bool drawn = x >= 5 && x < 35 && y >= 1 && y < 5;
                const uint32_t expected =
                    drawn ? (before.at(x + shift, y - 1) ^ before.at(x, y)) & 0xFFFFFFu : before.at(x, y);
                ASSERT_EQ(after.at(x, y), expected) << "shift " << shift << " at " << x << "," << y;
            }
    }
}

// Copies of whole rows (which may move as one block) keep every row in its place: a
// vertical offset, a clip band taken out of the middle, and the source ending early.
TEST_F(RopRows, WholeRowCopiesKeepEveryRowInItsPlace)
{
    constexpr int W = 16, H = 12;
    std::mt19937 rng(11);
    Pixels src(W, H, false), before(W, H, false);
    src.Randomise(rng);
    before.Randomise(rng);
    MemDc s(W, H), d(W, H);
    src.Write(s.bitmap());
    before.Write(d.bitmap());
    Obj<HRGN> top(CreateRectRgn(0, 0, W, 5));
    Obj<HRGN> bottom(CreateRectRgn(0, 7, W, H));
    CombineRgn(top, top, bottom, RGN_OR);
    SelectClipRgn(d, top);
    // Destination rows 2.. take source rows 3..; source row 12 does not exist.
    ASSERT_TRUE(BitBlt(d, 0, 2, W, H, s, 0, 3, SRCCOPY));
    Pixels after(W, H, false);
    after.Read(d.bitmap());
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const bool drawn = y >= 2 && (y < 5 || y >= 7) && y + 1 < H;
            ASSERT_EQ(after.at(x, y), drawn ? src.at(x, y + 1) : before.at(x, y)) << x << "," << y;
        }
}
