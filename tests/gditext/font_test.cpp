// Realised fonts through DCs: heights, metrics, substitution seen from GetTextFace, extents,
// the symbol font's fixed metrics, missing font files and concurrent measuring.
#include <atomic>
#include <thread>
#include <vector>

#include "platform/gdi/font_face.h"
#include "tests/gditext/text_test_support.h"
#include "tests/support/font_extent.h"

using namespace zyn::test;

namespace {
class Font : public GdiTest {};

std::wstring Face(HDC dc)
{
    wchar_t buf[LF_FACESIZE] = {};
    const int n = GetTextFaceW(dc, LF_FACESIZE, buf);
    EXPECT_EQ(n, static_cast<int>(std::wcslen(buf)) + 1);
    return buf;
}
} // namespace

TEST_F(Font, HeightsFollowTheNinetySixDpiConvention)
{
    MemDc dc(4, 4);
    {
        Obj<HFONT> f(MakeFont(-13));
        HGDIOBJ old = SelectObject(dc, f);
        const TEXTMETRICW tm = Metrics(dc);
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 13); // the em is 13 pixels
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        EXPECT_GT(tm.tmInternalLeading, 0);
        SelectObject(dc, old);
    }
    for (int cell : {8, 13, 16, 20, 37}) {
        Obj<HFONT> f(MakeFont(cell));
        HGDIOBJ old = SelectObject(dc, f);
        EXPECT_EQ(Metrics(dc).tmHeight, cell) << "cell height " << cell;
        SelectObject(dc, old);
    }
    {
        Obj<HFONT> f(MakeFont(0));
        HGDIOBJ old = SelectObject(dc, f);
        EXPECT_EQ(Metrics(dc).tmHeight, 16); // the documented default
        SelectObject(dc, old);
    }
    for (int h : {INT32_MIN, INT32_MAX, -100000}) {
        Obj<HFONT> f(MakeFont(h));
        HGDIOBJ old = SelectObject(dc, f);
        const TEXTMETRICW tm = Metrics(dc);
        EXPECT_GT(tm.tmHeight, 0);
        EXPECT_LE(tm.tmHeight - tm.tmInternalLeading, zyn::gdi::kMaxFontEm);
        SelectObject(dc, old);
    }
}

TEST_F(Font, MetricsDescribeTheFace)
{
    MemDc dc(4, 4);
    Obj<HFONT> sans(MakeFont(-11, L"MS Shell Dlg"));
    Obj<HFONT> mono(MakeFont(-11, L"Courier New"));
    Obj<HFONT> serif(MakeFont(-11, L"Times New Roman"));
    HGDIOBJ old = SelectObject(dc, sans);
    TEXTMETRICW tm = Metrics(dc);
    EXPECT_EQ(tm.tmAveCharWidth, Extent(dc, L"x").cx);
    EXPECT_GE(tm.tmMaxCharWidth, Extent(dc, L"W").cx);
    EXPECT_EQ(tm.tmWeight, FW_NORMAL);
    EXPECT_EQ(tm.tmItalic, 0);
    EXPECT_EQ(tm.tmPitchAndFamily & 0xF0, FF_SWISS);
    EXPECT_EQ(tm.tmPitchAndFamily & 0x0F, TMPF_FIXED_PITCH | TMPF_VECTOR | TMPF_TRUETYPE); // variable pitch
    EXPECT_EQ(tm.tmCharSet, ANSI_CHARSET);
    EXPECT_EQ(tm.tmDigitizedAspectY, 96);
    const bool metric = MetricFacesInstalled();
    EXPECT_EQ(Face(dc), metric ? L"Tahoma" : L"DejaVu Sans");

    SelectObject(dc, mono);
    tm = Metrics(dc);
    EXPECT_EQ(tm.tmPitchAndFamily & 0xF0, FF_MODERN);
    EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0); // fixed pitch: the bit is clear
    EXPECT_EQ(Extent(dc, L"iiii").cx, Extent(dc, L"WWWW").cx);
    EXPECT_EQ(Face(dc), metric ? L"Courier New" : L"DejaVu Sans Mono");

    SelectObject(dc, serif);
    EXPECT_EQ(Metrics(dc).tmPitchAndFamily & 0xF0, FF_ROMAN);
    EXPECT_EQ(Face(dc), metric ? L"Times New Roman" : L"DejaVu Serif");
    SelectObject(dc, old);
}

// The faces hosts' templates name, with the metrics their files give: cells worked by hand
// from each file's Windows ascent and descent (round(em * usWinAscent / unitsPerEm) and the
// same for the descent: Tahoma 2049/423, Liberation Sans 1854/434, Serif 1825/443, Mono
// 1705/615, all over 2048), the MS Sans Serif strikes as their raster originals' headers
// give them (cell/ascent/internal leading/maximum: 13/11/2/11, 16/13/3/14, 20/16/4/16, and
// at 8 points an average of 5; the larger strikes' 'x' is narrower than those headers'
// averages, so theirs is not held), and the dialog base units of the 8-point dialog faces,
// documented as 6 x 13.
TEST_F(Font, NamedFacesHaveTheWindowsMetrics)
{
    ZYN_SKIP_WITHOUT_METRIC_FACES();
    struct Row {
        const wchar_t* face;
        int height, weight;
        int cell, ascent, internal, ave, max; // ave, max 0: not held
        int baseX;                            // 0: not held
        bool raster;
    };
    const Row rows[] = {
        {L"MS Shell Dlg", -11, FW_NORMAL, 13, 11, 2, 0, 0, 6, false},
        {L"Tahoma", -11, FW_NORMAL, 13, 11, 2, 0, 0, 6, false},
        {L"MS Shell Dlg 2", -11, FW_BOLD, 13, 11, 2, 0, 0, 0, false},
        {L"Tahoma", -13, FW_NORMAL, 16, 13, 3, 0, 0, 0, false},
        {L"MS Sans Serif", -11, FW_NORMAL, 13, 11, 2, 5, 11, 6, true},
        {L"MS Sans Serif", -13, FW_NORMAL, 16, 13, 3, 0, 14, 0, true},
        {L"MS Sans Serif", -16, FW_NORMAL, 20, 16, 4, 0, 16, 0, true},
        {L"MS Sans Serif", 12, FW_NORMAL, 13, 11, 2, 5, 11, 0, true}, // below the smallest: the smallest
        {L"MS Sans Serif", -40, FW_NORMAL, 20, 16, 4, 0, 16, 0, true}, // above the largest: the largest
        {L"MS Sans Serif", 15, FW_NORMAL, 13, 11, 2, 5, 11, 0, true},  // the largest cell not above 15
        {L"Arial", -11, FW_NORMAL, 12, 10, 1, 0, 0, 0, false},
        {L"Arial", -13, FW_NORMAL, 15, 12, 2, 0, 0, 0, false},
        {L"Times New Roman", -11, FW_NORMAL, 12, 10, 1, 0, 0, 0, false},
        {L"Courier New", -11, FW_NORMAL, 12, 9, 1, 7, 7, 0, false}, // every advance 1229/2048 of the em
    };
    MemDc dc(4, 4);
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << std::string(row.face, row.face + std::wcslen(row.face)) << " "
                                          << row.height << " weight " << row.weight);
        Obj<HFONT> f(MakeFont(row.height, row.face, row.weight));
        HGDIOBJ old = SelectObject(dc, f);
        const TEXTMETRICW tm = Metrics(dc);
        const int baseX = (Extent(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz").cx / 26 + 1) / 2;
        EXPECT_EQ((std::vector<int>{tm.tmHeight, tm.tmAscent, tm.tmInternalLeading, row.ave ? int(tm.tmAveCharWidth) : 0,
                      row.max ? int(tm.tmMaxCharWidth) : 0, row.baseX ? baseX : 0}),
            (std::vector<int>{row.cell, row.ascent, row.internal, row.ave, row.max, row.baseX}))
            << "cell, ascent, internal leading, average, maximum, base unit";
        EXPECT_EQ((tm.tmPitchAndFamily & TMPF_TRUETYPE) == 0, row.raster);
        SelectObject(dc, old);
    }
    // The stock GUI font is the 8-point dialog face.
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(Metrics(dc).tmHeight, 13);
    EXPECT_EQ(Face(dc), L"Tahoma");
    // The bitmap face has no bold or italic strikes: bold is drawn again a pixel to the
    // right, one more pixel a character; italic keeps the advances.
    Obj<HFONT> plain(MakeFont(-11, L"MS Sans Serif"));
    Obj<HFONT> bold(MakeFont(-11, L"MS Sans Serif", FW_BOLD));
    Obj<HFONT> italic(MakeFont(-11, L"MS Sans Serif", FW_NORMAL, 0, DEFAULT_QUALITY, true));
    SelectObject(dc, plain);
    const LONG w = Extent(dc, L"Raster").cx;
    SelectObject(dc, bold);
    EXPECT_EQ(Extent(dc, L"Raster").cx, w + 6);
    EXPECT_EQ(Metrics(dc).tmWeight, FW_BOLD);
    SelectObject(dc, italic);
    EXPECT_EQ(Extent(dc, L"Raster").cx, w);
    EXPECT_EQ(Metrics(dc).tmItalic, 0xFF);
    SelectObject(dc, old);
    for (HFONT f : {static_cast<HFONT>(bold), static_cast<HFONT>(italic)}) {
        Canvas c(80, 20, f);
        SetBkMode(c, TRANSPARENT);
        EXPECT_TRUE(TextOutW(c, 2, 2, L"Raster", 6));
        EXPECT_TRUE(Inside(c.Painted(), RECT{0, 2, 2 + w + 8, 2 + 13})) << "drawn within its cell";
    }
}

TEST_F(Font, StyleWordInFaceNameGivesBold)
{
    MemDc dc(4, 4);
    Obj<HFONT> plain(MakeFont(-11, L"Tahoma"));
    Obj<HFONT> odd(MakeFont(-11, L"Tahoma BOLD"));
    Obj<HFONT> weighted(MakeFont(-11, L"Tahoma", FW_BOLD));
    HGDIOBJ old = SelectObject(dc, plain);
    const LONG plainWidth = Extent(dc, L"Docking window caption").cx;
    SelectObject(dc, odd);
    EXPECT_EQ(Metrics(dc).tmWeight, FW_BOLD);
    const LONG oddWidth = Extent(dc, L"Docking window caption").cx;
    SelectObject(dc, weighted);
    EXPECT_EQ(Metrics(dc).tmWeight, FW_BOLD);
    EXPECT_EQ(Extent(dc, L"Docking window caption").cx, oddWidth);
    EXPECT_GT(oddWidth, plainWidth);
    SelectObject(dc, old);
}

TEST_F(Font, ExtentsAreAdditiveAndIncludeCharacterExtra)
{
    MemDc dc(4, 4);
    Obj<HFONT> f(MakeFont(-13, L"Arial"));
    HGDIOBJ old = SelectObject(dc, f);
    const std::wstring a = L"Hello, ", b = L"wonderful World!";
    const SIZE sa = Extent(dc, a), sb = Extent(dc, b), sab = Extent(dc, a + b);
    EXPECT_EQ(sa.cx + sb.cx, sab.cx);
    EXPECT_EQ(sab.cy, Metrics(dc).tmHeight);
    const SIZE empty = Extent(dc, L"");
    EXPECT_EQ(empty.cx, 0);
    EXPECT_EQ(empty.cy, Metrics(dc).tmHeight);

    // GetCharWidth32 gives the same advances.
    std::vector<INT> widths(128);
    ASSERT_TRUE(GetCharWidth32W(dc, 0, 127, widths.data()));
    LONG sum = 0;
    for (wchar_t c : a + b)
        sum += widths[c];
    EXPECT_EQ(sum, sab.cx);

    // GetTextExtentExPoint: cumulative extents and how many characters fit.
    std::vector<INT> dx(b.size());
    INT fit = -1;
    SIZE sz{};
    ASSERT_TRUE(GetTextExtentExPointW(dc, b.c_str(), static_cast<int>(b.size()), 0, nullptr, dx.data(), &sz));
    ASSERT_TRUE(GetTextExtentExPointW(dc, b.c_str(), static_cast<int>(b.size()), dx[4], &fit, dx.data(), &sz));
    EXPECT_EQ(fit, 5);
    EXPECT_EQ(dx.back(), sb.cx);
    EXPECT_EQ(dx[0], widths[b[0]]);
    ASSERT_TRUE(GetTextExtentExPointW(dc, b.c_str(), static_cast<int>(b.size()), dx[4] - 1, &fit, nullptr, &sz));
    EXPECT_EQ(fit, 4);

    EXPECT_EQ(SetTextCharacterExtra(dc, 3), 0);
    EXPECT_EQ(Extent(dc, a + b).cx, sab.cx + 3 * static_cast<LONG>((a + b).size()));
    SetTextCharacterExtra(dc, 0);
    SelectObject(dc, old);
}

TEST_F(Font, WidthAndRotationOfTheLogfont)
{
    MemDc dc(4, 4);
    Obj<HFONT> normal(MakeFont(-13));
    Obj<HFONT> narrow(MakeFont(-13, L"Tahoma", FW_NORMAL, 0, DEFAULT_QUALITY, false, false, false, 4));
    Obj<HFONT> wide(MakeFont(-13, L"Tahoma", FW_NORMAL, 0, DEFAULT_QUALITY, false, false, false, 12));
    Obj<HFONT> turned(MakeFont(-13, L"Tahoma", FW_NORMAL, 900));
    HGDIOBJ old = SelectObject(dc, normal);
    const LONG w = Extent(dc, L"Rotated caption").cx;
    SelectObject(dc, narrow);
    EXPECT_NEAR(Metrics(dc).tmAveCharWidth, 4, 1);
    EXPECT_LT(Extent(dc, L"Rotated caption").cx, w);
    SelectObject(dc, wide);
    EXPECT_NEAR(Metrics(dc).tmAveCharWidth, 12, 1);
    EXPECT_GT(Extent(dc, L"Rotated caption").cx, w);
    // Extents of rotated text are along the baseline, as if unrotated.
    SelectObject(dc, turned);
    EXPECT_EQ(Extent(dc, L"Rotated caption").cx, w);
    SelectObject(dc, old);
}

TEST_F(Font, StockAndNonClientFontsRealise)
{
    MemDc dc(4, 4);
    for (int stock : {SYSTEM_FONT, DEFAULT_GUI_FONT, ANSI_VAR_FONT, ANSI_FIXED_FONT, OEM_FIXED_FONT, SYSTEM_FIXED_FONT,
             DEVICE_DEFAULT_FONT}) {
        HGDIOBJ old = SelectObject(dc, GetStockObject(stock));
        EXPECT_GT(Extent(dc, L"Abc").cx, 0) << stock;
        SelectObject(dc, old);
    }
    // A fresh DC draws with the system font.
    EXPECT_EQ(Metrics(dc).tmHeight, 16);
    EXPECT_EQ(Metrics(dc).tmWeight, FW_BOLD);

    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
    Obj<HFONT> menu(CreateFontIndirectW(&ncm.lfMenuFont));
    Obj<HFONT> caption(CreateFontIndirectW(&ncm.lfCaptionFont));
    HGDIOBJ old = SelectObject(dc, menu);
    EXPECT_EQ(Metrics(dc).tmHeight - Metrics(dc).tmInternalLeading, -ncm.lfMenuFont.lfHeight);
    SelectObject(dc, caption);
    EXPECT_EQ(Metrics(dc).tmWeight, FW_BOLD);
    SelectObject(dc, old);
}

TEST_F(Font, EqualFontsShareOneRealisation)
{
    Obj<HFONT> a(MakeFont(-14, L"Tahoma"));
    Obj<HFONT> b(MakeFont(-14, L"MS Shell Dlg")); // the same face after substitution
    Obj<HFONT> other(MakeFont(-15, L"Tahoma"));
    auto fa = zyn::gdi::RealizedFontOf(*zyn::gdi::FontFromHandle(a));
    auto fb = zyn::gdi::RealizedFontOf(*zyn::gdi::FontFromHandle(b));
    auto fo = zyn::gdi::RealizedFontOf(*zyn::gdi::FontFromHandle(other));
    EXPECT_EQ(fa, fb);
    EXPECT_NE(fa, fo);
    EXPECT_EQ(zyn::gdi::RealizedFontOf(*zyn::gdi::FontFromHandle(a)), fa); // kept on the object
    EXPECT_GE(zyn::gdi::RealizedFontCacheSize(), 2u);
}

TEST_F(Font, GetTextFaceBuffers)
{
    MemDc dc(4, 4);
    Obj<HFONT> f(MakeFont(-11, L"Verdana"));
    HGDIOBJ old = SelectObject(dc, f);
    EXPECT_EQ(GetTextFaceW(dc, 0, nullptr), 12); // "DejaVu Sans" and its terminator
    wchar_t small[7];
    for (wchar_t& c : small)
        c = L'#';
    EXPECT_EQ(GetTextFaceW(dc, 6, small), 6);
    EXPECT_STREQ(small, L"DejaV");
    EXPECT_EQ(small[6], L'#'); // nothing written past the given size
    EXPECT_EQ(GetTextFaceW(dc, 0, small), 0);
    EXPECT_EQ(GetTextFaceW(nullptr, 6, small), 0);
    SelectObject(dc, old);
}

TEST_F(Font, BadArgumentsFailCleanly)
{
    MemDc dc(4, 4);
    SIZE sz{};
    TEXTMETRICW tm{};
    INT w[2];
    EXPECT_FALSE(GetTextExtentPoint32W(dc, nullptr, 3, &sz));
    EXPECT_FALSE(GetTextExtentPoint32W(dc, L"abc", -1, &sz));
    EXPECT_FALSE(GetTextExtentPoint32W(dc, L"abc", 3, nullptr));
    EXPECT_FALSE(GetTextExtentPoint32W(nullptr, L"abc", 3, &sz));
    EXPECT_FALSE(GetTextMetricsW(dc, nullptr));
    EXPECT_FALSE(GetTextMetricsW(reinterpret_cast<HDC>(static_cast<uintptr_t>(0x7777777)), &tm));
    EXPECT_FALSE(GetCharWidth32W(dc, 5, 4, w));
    EXPECT_FALSE(GetCharWidth32W(dc, 0, 1, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

// ---- the symbol font ------------------------------------------------------------------------------
TEST_F(Font, MarlettHasFixedSquareMetrics)
{
    MemDc dc(4, 4);
    for (int h : {-8, -13, 13, 16, 24}) {
        Obj<HFONT> f(CreateFontW(h, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, L"Marlett"));
        HGDIOBJ old = SelectObject(dc, f);
        const int em = h < 0 ? -h : h;
        const TEXTMETRICW tm = Metrics(dc);
        EXPECT_EQ(tm.tmHeight, em);
        EXPECT_EQ(tm.tmAscent, em);
        EXPECT_EQ(tm.tmDescent, 0);
        EXPECT_EQ(tm.tmInternalLeading, 0);
        EXPECT_EQ(tm.tmAveCharWidth, em);
        EXPECT_EQ(tm.tmMaxCharWidth, em);
        EXPECT_EQ(tm.tmCharSet, SYMBOL_CHARSET);
        EXPECT_EQ(tm.tmPitchAndFamily & 0xF0, FF_DECORATIVE);
        EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
        INT widths[128];
        ASSERT_TRUE(GetCharWidth32W(dc, 0, 127, widths));
        for (INT w : widths)
            EXPECT_EQ(w, em);
        EXPECT_EQ(Face(dc), L"Marlett");
        EXPECT_EQ(Extent(dc, L"6").cx, em);
        SelectObject(dc, old);
    }
}

// ---- missing files ----------------------------------------------------------------------------------
namespace {
// Restores the real font files however the test ends.
struct FaceFilesOverride {
    explicit FaceFilesOverride(const std::vector<std::string>& files)
    {
        zyn::gdi::SetFaceFilesForTesting(&files);
        zyn::gdi::FlushRealizedFontCache();
    }
    ~FaceFilesOverride()
    {
        zyn::gdi::SetFaceFilesForTesting(nullptr);
        zyn::gdi::FlushRealizedFontCache();
    }
};

std::string DejaVuRegular()
{
    for (const char* p : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "/usr/share/fonts/dejavu/DejaVuSans.ttf",
             "/usr/share/fonts/TTF/DejaVuSans.ttf"}) {
        if (FILE* f = std::fopen(p, "rb")) {
            std::fclose(f);
            return p;
        }
    }
    return {};
}
} // namespace

TEST_F(Font, MissingFilesFallBackWithinWhatExists)
{
    const std::string sans = DejaVuRegular();
    if (sans.empty())
        GTEST_SKIP() << "DejaVuSans.ttf is not at a known path";
    FaceFilesOverride only({sans, "/nonexistent/DejaVuSerif.ttf", "/etc/hostname"});
    MemDc dc(4, 4);
    Obj<HFONT> serif(MakeFont(-13, L"Times New Roman"));
    Obj<HFONT> regular(MakeFont(-13, L"Arial"));
    Obj<HFONT> bold(MakeFont(-13, L"Arial", FW_BOLD));
    Obj<HFONT> italic(MakeFont(-13, L"Arial", FW_NORMAL, 0, DEFAULT_QUALITY, true));
    Obj<HFONT> dialog(MakeFont(-11, L"MS Shell Dlg"));
    HGDIOBJ old = SelectObject(dc, serif);
    EXPECT_EQ(Face(dc), L"DejaVu Sans"); // the serif file is missing
    SelectObject(dc, dialog);
    EXPECT_EQ(Face(dc), L"DejaVu Sans"); // without the metric faces, DejaVu stands in
    EXPECT_EQ(Metrics(dc).tmHeight - Metrics(dc).tmInternalLeading, 11);
    SelectObject(dc, regular);
    const LONG w = Extent(dc, L"Synthesised").cx;
    SelectObject(dc, bold);
    EXPECT_EQ(Metrics(dc).tmWeight, FW_BOLD);
    EXPECT_EQ(Extent(dc, L"Synthesised").cx, w + 11); // emboldened by one pixel a character
    SelectObject(dc, italic);
    EXPECT_EQ(Extent(dc, L"Synthesised").cx, w); // slanting keeps the advances
    EXPECT_EQ(Metrics(dc).tmItalic, 0xFF);
    SelectObject(dc, old);
}

TEST_F(Font, NoFontFileAtAllStillMeasuresAndDraws)
{
    Obj<HFONT> f(MakeFont(-13, L"Tahoma"));
    MemDc dc(4, 4);
    HGDIOBJ old = SelectObject(dc, f);
    const LONG real = Extent(dc, L"Boxes").cx;
    SelectObject(dc, old);
    {
        FaceFilesOverride none({});
        Canvas c(120, 30, f);
        const SIZE sz = Extent(c, L"Boxes");
        EXPECT_GT(sz.cx, 0);
        EXPECT_EQ(sz.cy, Metrics(c).tmHeight);
        EXPECT_EQ(Metrics(c).tmHeight - Metrics(c).tmInternalLeading, 13);
        SetBkMode(c, TRANSPARENT);
        EXPECT_TRUE(TextOutW(c, 2, 2, L"Boxes", 5));
        const RECT ink = c.Painted();
        EXPECT_GT(ink.right, ink.left);
        EXPECT_TRUE(Inside(ink, RECT{2, 2, 2 + sz.cx, 2 + sz.cy}));
    }
    // The same font object finds the real face again once the files are back.
    old = SelectObject(dc, f);
    EXPECT_EQ(Extent(dc, L"Boxes").cx, real);
    EXPECT_EQ(Face(dc), MetricFacesInstalled() ? L"Tahoma" : L"DejaVu Sans");
    SelectObject(dc, old);
}

// ---- threads ------------------------------------------------------------------------------------------
TEST_F(Font, ConcurrentMeasuringAgrees)
{
    // A size no other case uses, so the threads fill a cold glyph cache together.
    Obj<HFONT> f(MakeFont(-17, L"Segoe UI"));
    const std::wstring text = L"Measured from several threads \x00e9\x00e8\x4e2d\x6587";
    std::vector<LONG> first(4, -1);
    std::atomic<int> unstable{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            HDC dc = CreateCompatibleDC(nullptr);
            HGDIOBJ o = SelectObject(dc, f);
            for (int i = 0; i < 200; ++i) {
                SIZE sz{};
                GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &sz);
                if (i == 0)
                    first[static_cast<size_t>(t)] = sz.cx;
                else if (sz.cx != first[static_cast<size_t>(t)])
                    ++unstable;
                SetBkMode(dc, TRANSPARENT);
                TextOutW(dc, 0, 0, text.c_str(), static_cast<int>(text.size())); // renders glyphs too
            }
            SelectObject(dc, o);
            DeleteDC(dc);
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(unstable.load(), 0);
    MemDc ref(4, 4);
    HGDIOBJ old = SelectObject(ref, f);
    const LONG expected = Extent(ref, text).cx;
    SelectObject(ref, old);
    for (LONG w : first)
        EXPECT_EQ(w, expected);
}
