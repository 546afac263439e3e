// The face-name substitution table and the shapes of the built-in symbol font, without DCs.
#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

#include "platform/gdi/font_face.h"
#include "platform/gdi/marlett.h"

using namespace zyn::gdi;

namespace {

LOGFONTW Lf(const wchar_t* face, LONG weight = FW_NORMAL, BYTE italic = 0, BYTE pitchFamily = 0)
{
    LOGFONTW lf{};
    lf.lfHeight = -11;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfPitchAndFamily = pitchFamily;
    std::wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

void ExpectFace(const wchar_t* face, FaceFamily family, bool bold, bool italic, LONG weight = FW_NORMAL,
    BYTE pitchFamily = 0)
{
    const FaceChoice c = ChooseFace(Lf(face, weight, 0, pitchFamily));
    EXPECT_EQ(c.family, family) << "face '" << face << "'";
    EXPECT_EQ(c.bold, bold) << "face '" << face << "'";
    EXPECT_EQ(c.italic, italic) << "face '" << face << "'";
}

} // namespace

TEST(FaceTable, WindowsUiFacesMapToSans)
{
    for (const wchar_t* f : {L"MS Sans Serif", L"MS Shell Dlg", L"MS Shell Dlg 2", L"Tahoma", L"Verdana", L"Arial",
             L"Segoe UI", L"Microsoft Sans Serif", L"System", L"", L"tahoma", L"  ARIAL  ", L"@Arial"})
        ExpectFace(f, FaceFamily::Sans, false, false);
}

// The faces with metric-compatible files, whatever the case, blanks and style words; the
// rest have none and go to DejaVu.
TEST(FaceTable, NamedFacesMapToTheirMetricFaces)
{
    const struct {
        const wchar_t* face;
        MetricFace metric;
    } rows[] = {
        {L"MS Shell Dlg", MetricFace::Tahoma},
        {L"MS Shell Dlg 2", MetricFace::Tahoma},
        {L"Tahoma", MetricFace::Tahoma},
        {L"tahoma bold", MetricFace::Tahoma},
        {L"MS Sans Serif", MetricFace::MsSansSerif},
        {L"Arial", MetricFace::Arial},
        {L"  ARIAL  ", MetricFace::Arial},
        {L"Arial Bold Italic", MetricFace::Arial},
        {L"Courier New", MetricFace::CourierNew},
        {L"Times New Roman", MetricFace::TimesNewRoman},
        {L"Verdana", MetricFace::None},
        {L"Microsoft Sans Serif", MetricFace::None},
        {L"Courier", MetricFace::None},
        {L"Times", MetricFace::None},
        {L"System", MetricFace::None},
        {L"", MetricFace::None},
        {L"Marlett", MetricFace::None},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ChooseFace(Lf(row.face)).metric, row.metric) << "face '" << row.face << "'";
}

TEST(FaceTable, SerifFixedAndSymbolFaces)
{
    for (const wchar_t* f : {L"Times New Roman", L"Times", L"MS Serif", L"Georgia"})
        ExpectFace(f, FaceFamily::Serif, false, false);
    for (const wchar_t* f : {L"Courier New", L"Courier", L"Lucida Console", L"Fixedsys", L"Terminal"})
        ExpectFace(f, FaceFamily::Mono, false, false);
    ExpectFace(L"Marlett", FaceFamily::Marlett, false, false);
    ExpectFace(L"marlett", FaceFamily::Marlett, false, false);
}

TEST(FaceTable, StyleWordsInTheNameSetTheStyle)
{
    ExpectFace(L"Tahoma BOLD", FaceFamily::Sans, true, false);
    ExpectFace(L"Arial Bold Italic", FaceFamily::Sans, true, true);
    ExpectFace(L"Segoe UI Semibold", FaceFamily::Sans, true, false);
    ExpectFace(L"Times New Roman Italic", FaceFamily::Serif, false, true);
    ExpectFace(L"Courier New  Bold", FaceFamily::Mono, true, false);
    ExpectFace(L"Arial Black", FaceFamily::Sans, true, false);
    ExpectFace(L"Segoe UI Light", FaceFamily::Sans, false, false);
    // A style word alone is not a face: the default face in that style.
    ExpectFace(L"Bold", FaceFamily::Sans, false, false);
    // An unknown face keeps the style its name asks for.
    ExpectFace(L"Frobnicator Bold", FaceFamily::Sans, true, false);
}

TEST(FaceTable, WeightThresholdIsSemibold)
{
    ExpectFace(L"Tahoma", FaceFamily::Sans, false, false, 599);
    ExpectFace(L"Tahoma", FaceFamily::Sans, true, false, FW_SEMIBOLD);
    ExpectFace(L"Tahoma", FaceFamily::Sans, true, false, FW_HEAVY);
    EXPECT_TRUE(ChooseFace(Lf(L"Tahoma", FW_NORMAL, 1)).italic);
}

TEST(FaceTable, UnknownFacesGoByPitchAndFamily)
{
    ExpectFace(L"No Such Face", FaceFamily::Sans, false, false, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
    ExpectFace(L"No Such Face", FaceFamily::Serif, false, false, FW_NORMAL, VARIABLE_PITCH | FF_ROMAN);
    ExpectFace(L"No Such Face", FaceFamily::Mono, false, false, FW_NORMAL, FIXED_PITCH | FF_DONTCARE);
    ExpectFace(L"No Such Face", FaceFamily::Mono, false, false, FW_NORMAL, DEFAULT_PITCH | FF_MODERN);
    ExpectFace(L"No Such Face", FaceFamily::Sans, false, false, FW_NORMAL, DEFAULT_PITCH | FF_DECORATIVE);
}

TEST(FaceTable, UnterminatedFaceNameIsReadWithinItsField)
{
    LOGFONTW lf{};
    for (wchar_t& c : lf.lfFaceName)
        c = L'x';
    EXPECT_EQ(ChooseFace(lf).family, FaceFamily::Sans);
}

// ---- the symbol font ---------------------------------------------------------------------------
namespace {

struct Ink {
    int em = 0;
    std::vector<uint8_t> px;
    bool at(int x, int y) const { return px[static_cast<size_t>(y) * em + x] != 0; }
    int count() const
    {
        int n = 0;
        for (uint8_t p : px)
            n += p ? 1 : 0;
        return n;
    }
};

Ink Render(char32_t c, int em)
{
    Ink k;
    k.em = em;
    RenderMarlettGlyph(c, em, k.px);
    return k;
}

} // namespace

TEST(Marlett, EmFromHeight)
{
    EXPECT_EQ(MarlettEm(-13), 13);
    EXPECT_EQ(MarlettEm(13), 13);
    EXPECT_EQ(MarlettEm(0), 16);
    EXPECT_EQ(MarlettEm(INT32_MIN), kMaxMarlettEm);
    EXPECT_EQ(MarlettEm(INT32_MAX), kMaxMarlettEm);
}

TEST(Marlett, EveryTableGlyphHasInkInsideTheCellAndOthersAreBlank)
{
    for (int em : {5, 8, 9, 13, 16, 24, 40}) {
        for (char32_t c : U"012345678aghijklmnopqrs") {
            if (!c)
                continue;
            const Ink k = Render(c, em);
            ASSERT_EQ(k.px.size(), static_cast<size_t>(em) * em);
            EXPECT_GT(k.count(), 0) << "glyph " << static_cast<char>(c) << " at " << em;
            EXPECT_LT(k.count(), em * em) << "glyph " << static_cast<char>(c) << " fills its cell at " << em;
        }
        std::vector<uint8_t> px;
        EXPECT_FALSE(RenderMarlettGlyph(U'Z', em, px));
        EXPECT_EQ(px.size(), static_cast<size_t>(em) * em);
        for (uint8_t p : px)
            EXPECT_EQ(p, 0);
    }
}

TEST(Marlett, ArrowsAreSymmetricAndMirrorEachOther)
{
    for (int em : {8, 9, 13, 16, 21}) {
        const Ink up = Render(U'5', em), down = Render(U'6', em), left = Render(U'3', em), right = Render(U'4', em);
        // Up/down and left/right are the same triangle turned and flipped.
        for (int y = 0; y < em; ++y) {
            for (int x = 0; x < em; ++x) {
                EXPECT_EQ(down.at(x, y), right.at(y, x)) << em;
                EXPECT_EQ(up.at(x, y), left.at(y, x)) << em;
            }
        }
        // The down arrow: rows of b, b - 2, ... 1 pixels, each centred on the same column.
        const int b = 2 * ((em + 1) * 7 / 32) + 1;
        const int h = (b + 1) / 2;
        EXPECT_EQ(down.count(), h * h) << em;
        int expectLen = b, centre2 = -1;
        for (int y = 0; y < em; ++y) {
            int x0 = em, x1 = -1, n = 0;
            for (int x = 0; x < em; ++x) {
                if (down.at(x, y)) {
                    x0 = std::min(x0, x);
                    x1 = std::max(x1, x);
                    ++n;
                }
            }
            if (n == 0)
                continue;
            EXPECT_EQ(n, expectLen) << em;
            EXPECT_EQ(x1 - x0 + 1, n) << em;
            if (centre2 < 0)
                centre2 = x0 + x1;
            EXPECT_EQ(x0 + x1, centre2) << em;
            expectLen -= 2;
        }
        EXPECT_EQ(expectLen, -1) << em;
        // Odd sizes centre the arrow in the cell exactly.
        if (em % 2 == 1) {
            EXPECT_EQ(centre2, em - 1) << em;
        }
        EXPECT_EQ(up.count(), down.count()) << em;
    }
}

TEST(Marlett, CloseCrossIsMirrorSymmetric)
{
    for (int em : {9, 13, 16}) {
        const Ink r = Render(U'r', em);
        for (int y = 0; y < em; ++y)
            for (int x = 0; x < em; ++x)
                EXPECT_EQ(r.at(x, y), r.at(em - 1 - x, y)) << em;
    }
}

TEST(Marlett, SameSizeGivesSamePixels)
{
    for (char32_t c : U"0126ar") {
        if (!c)
            continue;
        EXPECT_EQ(Render(c, 13).px, Render(c, 13).px);
    }
}

TEST(Marlett, SizeGripPartsSplitTheWholeGrip)
{
    const Ink light = Render(U'o', 16), dark = Render(U'p', 16), all = Render(U'q', 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            EXPECT_FALSE(light.at(x, y) && dark.at(x, y));
            EXPECT_EQ(all.at(x, y), light.at(x, y) || dark.at(x, y));
        }
    }
    // The grip lives in the bottom-right corner.
    EXPECT_FALSE(all.at(0, 0));
    EXPECT_TRUE(all.at(15, 14) || all.at(14, 15));
}
