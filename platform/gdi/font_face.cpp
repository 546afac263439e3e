// Locating the font files, opening them as FreeType faces, and the face-name table.
#include "platform/gdi/font_face.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <iterator>
#include <optional>
#include <string_view>
#include <sys/stat.h>

namespace zyn::gdi {

namespace {

// ---- FreeType ---------------------------------------------------------------------------
FT_Library Library()
{
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (const FT_Error e = FT_Init_FreeType(&l)) {
            std::fprintf(stderr, "zyn gdi: FreeType failed to start (error %d); text uses the box face\n", e);
            return static_cast<FT_Library>(nullptr);
        }
        return l;
    }();
    return lib;
}

// ---- the substitution table -------------------------------------------------------------
struct NameEntry {
    std::wstring_view name; // lower case
    FaceFamily family;
    MetricFace metric = MetricFace::None;
};
constexpr NameEntry kNames[] = {
    {L"", FaceFamily::Sans},
    {L"ms sans serif", FaceFamily::Sans, MetricFace::MsSansSerif},
    {L"ms shell dlg", FaceFamily::Sans, MetricFace::Tahoma},
    {L"ms shell dlg 2", FaceFamily::Sans, MetricFace::Tahoma},
    {L"tahoma", FaceFamily::Sans, MetricFace::Tahoma},
    {L"verdana", FaceFamily::Sans},
    {L"arial", FaceFamily::Sans, MetricFace::Arial},
    {L"arial narrow", FaceFamily::Sans},
    {L"arial unicode ms", FaceFamily::Sans},
    {L"segoe ui", FaceFamily::Sans},
    {L"microsoft sans serif", FaceFamily::Sans},
    {L"system", FaceFamily::Sans},
    {L"small fonts", FaceFamily::Sans},
    {L"helv", FaceFamily::Sans},
    {L"helvetica", FaceFamily::Sans},
    {L"trebuchet ms", FaceFamily::Sans},
    {L"lucida sans", FaceFamily::Sans},
    {L"lucida sans unicode", FaceFamily::Sans},
    {L"calibri", FaceFamily::Sans},
    {L"franklin gothic medium", FaceFamily::Sans},
    {L"century gothic", FaceFamily::Sans},
    {L"sans", FaceFamily::Sans},
    {L"sans serif", FaceFamily::Sans},
    {L"sans-serif", FaceFamily::Sans},
    {L"dejavu sans", FaceFamily::Sans},
    {L"times new roman", FaceFamily::Serif, MetricFace::TimesNewRoman},
    {L"times", FaceFamily::Serif},
    {L"tms rmn", FaceFamily::Serif},
    {L"ms serif", FaceFamily::Serif},
    {L"roman", FaceFamily::Serif},
    {L"georgia", FaceFamily::Serif},
    {L"garamond", FaceFamily::Serif},
    {L"book antiqua", FaceFamily::Serif},
    {L"palatino linotype", FaceFamily::Serif},
    {L"century schoolbook", FaceFamily::Serif},
    {L"cambria", FaceFamily::Serif},
    {L"serif", FaceFamily::Serif},
    {L"dejavu serif", FaceFamily::Serif},
    {L"courier new", FaceFamily::Mono, MetricFace::CourierNew},
    {L"courier", FaceFamily::Mono},
    {L"lucida console", FaceFamily::Mono},
    {L"fixedsys", FaceFamily::Mono},
    {L"terminal", FaceFamily::Mono},
    {L"consolas", FaceFamily::Mono},
    {L"monospace", FaceFamily::Mono},
    {L"dejavu sans mono", FaceFamily::Mono},
    {L"marlett", FaceFamily::Marlett},
};

// Style words that may end a face name, and what they mean.
enum class StyleWord : uint8_t { Bold, Italic, Plain };
struct StyleEntry {
    std::wstring_view word;
    StyleWord style;
};
constexpr StyleEntry kStyles[] = {
    {L"bold", StyleWord::Bold},       {L"semibold", StyleWord::Bold},   {L"demibold", StyleWord::Bold},
    {L"demi", StyleWord::Bold},       {L"extrabold", StyleWord::Bold},  {L"ultrabold", StyleWord::Bold},
    {L"black", StyleWord::Bold},      {L"heavy", StyleWord::Bold},      {L"italic", StyleWord::Italic},
    {L"oblique", StyleWord::Italic},  {L"regular", StyleWord::Plain},   {L"normal", StyleWord::Plain},
    {L"book", StyleWord::Plain},      {L"roman", StyleWord::Plain},     {L"medium", StyleWord::Plain},
    {L"light", StyleWord::Plain},     {L"semilight", StyleWord::Plain}, {L"condensed", StyleWord::Plain},
};

const NameEntry* LookUp(std::wstring_view name)
{
    for (const NameEntry& e : kNames) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

std::wstring NormalisedName(const LOGFONTW& lf)
{
    size_t n = 0;
    while (n < static_cast<size_t>(LF_FACESIZE) && lf.lfFaceName[n])
        ++n;
    std::wstring s(lf.lfFaceName, n);
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    // Blanks around the name and a vertical-font '@' do not change the face.
    auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!s.empty() && blank(s.back()))
        s.pop_back();
    size_t b = 0;
    while (b < s.size() && blank(s[b]))
        ++b;
    if (b < s.size() && s[b] == L'@')
        ++b;
    while (b < s.size() && blank(s[b]))
        ++b;
    s.erase(0, b);
    // Runs of blanks inside count as one.
    std::wstring out;
    for (wchar_t c : s) {
        if (blank(c) && !out.empty() && out.back() == L' ')
            continue;
        out.push_back(blank(c) ? L' ' : c);
    }
    return out;
}

// ---- the located files --------------------------------------------------------------------
struct FaceTable {
    std::mutex mutex;
    bool located = false;
    std::vector<std::shared_ptr<FontFace>> faces;
    std::vector<std::string> override;
    bool useOverride = false;
};
FaceTable& Table()
{
    static FaceTable* t = new FaceTable; // lives for the process: faces outlive static destruction
    return *t;
}

// The families we use, by the names their files give themselves. Those fontconfig knows
// are asked of it; the rest are at known paths.
struct FamilyEntry {
    const char* name;
    FaceFamily family;
    MetricFace metric;
    bool fontconfig;
};
constexpr FamilyEntry kFamilies[] = {
    {"DejaVu Sans", FaceFamily::Sans, MetricFace::None, true},
    {"DejaVu Serif", FaceFamily::Serif, MetricFace::None, true},
    {"DejaVu Sans Mono", FaceFamily::Mono, MetricFace::None, true},
    {"Liberation Sans", FaceFamily::Sans, MetricFace::Arial, true},
    {"Liberation Serif", FaceFamily::Serif, MetricFace::TimesNewRoman, true},
    {"Liberation Mono", FaceFamily::Mono, MetricFace::CourierNew, true},
    {"Tahoma", FaceFamily::Sans, MetricFace::Tahoma, false},
    {"MS Sans Serif", FaceFamily::Sans, MetricFace::MsSansSerif, false},
};

// Where the Windows-compatible font package puts the faces fontconfig is not told of.
constexpr const char* kWindowsFaceFiles[] = {
    "/usr/share/wine/fonts/tahoma.ttf",
    "/usr/share/wine/fonts/tahomabd.ttf",
    "/usr/share/wine/fonts/ms_sans_serif.ttf",
};

bool HaveStyle(const std::vector<std::shared_ptr<FontFace>>& faces, FaceFamily f, MetricFace m, bool bold, bool italic)
{
    return std::any_of(faces.begin(), faces.end(), [&](const std::shared_ptr<FontFace>& p) {
        return p->Family() == f && p->Metric() == m && p->Bold() == bold && p->Italic() == italic;
    });
}

// Asks fontconfig for the regular-width regular/bold, upright/slanted files of our families.
void LocateThroughFontconfig(std::vector<std::shared_ptr<FontFace>>& out)
{
    FcConfig* cfg = FcInitLoadConfigAndFonts();
    if (!cfg) {
        std::fprintf(stderr, "zyn gdi: fontconfig could not load its configuration\n");
        return;
    }
    for (const FamilyEntry& fe : kFamilies) {
        if (!fe.fontconfig)
            continue;
        const char* name = fe.name;
        FcPattern* pat = FcPatternCreate();
        FcObjectSet* os = FcObjectSetBuild(FC_FILE, FC_FAMILY, FC_WEIGHT, FC_SLANT, FC_WIDTH, static_cast<char*>(nullptr));
        if (!pat || !os) {
            if (pat)
                FcPatternDestroy(pat);
            if (os)
                FcObjectSetDestroy(os);
            continue;
        }
        FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(name));
        FcFontSet* set = FcFontList(cfg, pat, os);
        if (set) {
            // Sort by file name so the choice among duplicates is stable.
            std::vector<std::tuple<std::string, bool, bool>> found;
            for (int i = 0; i < set->nfont; ++i) {
                FcPattern* f = set->fonts[i];
                FcChar8* file = nullptr;
                FcChar8* fam = nullptr;
                int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN, width = FC_WIDTH_NORMAL;
                if (FcPatternGetString(f, FC_FILE, 0, &file) != FcResultMatch || !file)
                    continue;
                if (FcPatternGetString(f, FC_FAMILY, 0, &fam) != FcResultMatch || !fam ||
                    std::strcmp(reinterpret_cast<const char*>(fam), name) != 0)
                    continue;
                FcPatternGetInteger(f, FC_WEIGHT, 0, &weight);
                FcPatternGetInteger(f, FC_SLANT, 0, &slant);
                FcPatternGetInteger(f, FC_WIDTH, 0, &width);
                if (width != FC_WIDTH_NORMAL)
                    continue;
                bool bold;
                if (weight >= FC_WEIGHT_DEMIBOLD)
                    bold = true;
                else if (weight >= FC_WEIGHT_BOOK && weight <= FC_WEIGHT_MEDIUM)
                    bold = false;
                else
                    continue; // light and thin variants
                found.emplace_back(reinterpret_cast<const char*>(file), bold, slant != FC_SLANT_ROMAN);
            }
            std::sort(found.begin(), found.end());
            for (const auto& [file, bold, italic] : found) {
                if (!HaveStyle(out, fe.family, fe.metric, bold, italic))
                    out.push_back(std::make_shared<FontFace>(file, fe.family, fe.metric, bold, italic));
            }
            FcFontSetDestroy(set);
        }
        FcObjectSetDestroy(os);
        FcPatternDestroy(pat);
    }
    FcConfigDestroy(cfg);
}

// Classifies a file by the family and style it names itself (used for test lists and when
// fontconfig finds nothing).
void ClassifyFiles(const std::vector<std::string>& files, std::vector<std::shared_ptr<FontFace>>& out)
{
    FT_Library lib = Library();
    if (!lib)
        return;
    for (const std::string& path : files) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        FT_Face face = nullptr;
        {
            std::lock_guard<std::mutex> lock(FreeTypeLibraryMutex());
            if (FT_New_Face(lib, path.c_str(), 0, &face) != 0)
                continue;
        }
        const std::string familyName = face->family_name ? face->family_name : "";
        const std::string styleName = face->style_name ? face->style_name : "";
        const bool bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
        const bool italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        const bool normalWidth = !os2 || os2->version == 0xFFFF || os2->usWidthClass == 5;
        const bool light = styleName.find("Light") != std::string::npos || styleName.find("Thin") != std::string::npos;
        {
            std::lock_guard<std::mutex> lock(FreeTypeLibraryMutex());
            FT_Done_Face(face);
        }
        if (!normalWidth || light || styleName.find("Condensed") != std::string::npos)
            continue;
        for (const FamilyEntry& fe : kFamilies) {
            if (familyName == fe.name && !HaveStyle(out, fe.family, fe.metric, bold, italic))
                out.push_back(std::make_shared<FontFace>(path, fe.family, fe.metric, bold, italic));
        }
    }
}

void Locate(FaceTable& t)
{
    t.faces.clear();
    if (t.useOverride) {
        ClassifyFiles(t.override, t.faces);
    } else {
        LocateThroughFontconfig(t.faces);
        if (t.faces.empty()) {
            // fontconfig knows nothing: look where the font packages put the files.
            std::vector<std::string> probe;
            for (const char* dir : {"/usr/share/fonts/truetype/dejavu/", "/usr/share/fonts/dejavu/",
                     "/usr/share/fonts/TTF/", "/usr/local/share/fonts/"}) {
                for (const char* file : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSans-Oblique.ttf",
                         "DejaVuSans-BoldOblique.ttf", "DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf",
                         "DejaVuSerif-Italic.ttf", "DejaVuSerif-BoldItalic.ttf", "DejaVuSansMono.ttf",
                         "DejaVuSansMono-Bold.ttf", "DejaVuSansMono-Oblique.ttf", "DejaVuSansMono-BoldOblique.ttf"})
                    probe.push_back(std::string(dir) + file);
            }
            for (const char* style : {"Regular", "Bold", "Italic", "BoldItalic"}) {
                for (const char* family : {"Sans", "Serif", "Mono"})
                    probe.push_back(std::string("/usr/share/fonts/truetype/liberation2/Liberation") + family + "-" +
                        style + ".ttf");
            }
            ClassifyFiles(probe, t.faces);
        }
        ClassifyFiles(std::vector<std::string>(std::begin(kWindowsFaceFiles), std::end(kWindowsFaceFiles)), t.faces);
        if (t.faces.empty())
            std::fprintf(stderr, "zyn gdi: no font file found; text uses the box face\n");
    }
    t.located = true;
}

} // namespace

std::mutex& FreeTypeLibraryMutex()
{
    static std::mutex* m = new std::mutex;
    return *m;
}

FaceChoice ChooseFace(const LOGFONTW& lf)
{
    FaceChoice c;
    c.bold = lf.lfWeight >= FW_SEMIBOLD;
    c.italic = lf.lfItalic != 0;
    std::wstring name = NormalisedName(lf);
    for (;;) {
        if (const NameEntry* e = LookUp(name)) {
            c.family = e->family;
            c.metric = e->metric;
            return c;
        }
        // Take one style word off the end and try again.
        const size_t sp = name.rfind(L' ');
        if (sp == std::wstring::npos)
            break;
        const std::wstring_view last = std::wstring_view(name).substr(sp + 1);
        const StyleEntry* hit = nullptr;
        for (const StyleEntry& s : kStyles) {
            if (s.word == last)
                hit = &s;
        }
        if (!hit)
            break;
        if (hit->style == StyleWord::Bold)
            c.bold = true;
        else if (hit->style == StyleWord::Italic)
            c.italic = true;
        name.erase(sp);
    }
    // Unknown face: pitch and family decide.
    const BYTE pitch = lf.lfPitchAndFamily & 0x03;
    const BYTE fam = lf.lfPitchAndFamily & 0xF0;
    if (pitch == FIXED_PITCH || fam == FF_MODERN)
        c.family = FaceFamily::Mono;
    else if (fam == FF_ROMAN)
        c.family = FaceFamily::Serif;
    else
        c.family = FaceFamily::Sans;
    return c;
}

const wchar_t* FamilyName(FaceFamily family)
{
    switch (family) {
    case FaceFamily::Sans: return L"DejaVu Sans";
    case FaceFamily::Serif: return L"DejaVu Serif";
    case FaceFamily::Mono: return L"DejaVu Sans Mono";
    case FaceFamily::Marlett: return L"Marlett";
    }
    return L"DejaVu Sans";
}

const wchar_t* MetricFaceName(MetricFace metric)
{
    switch (metric) {
    case MetricFace::None: return nullptr;
    case MetricFace::Tahoma: return L"Tahoma";
    case MetricFace::MsSansSerif: return L"MS Sans Serif";
    case MetricFace::Arial: return L"Arial";
    case MetricFace::CourierNew: return L"Courier New";
    case MetricFace::TimesNewRoman: return L"Times New Roman";
    }
    return nullptr;
}

// ---- FontFace ---------------------------------------------------------------------------------
FontFace::FontFace(std::string path, FaceFamily family, MetricFace metric, bool bold, bool italic)
    : m_path(std::move(path)), m_family(family), m_metric(metric), m_bold(bold), m_italic(italic)
{
}

FontFace::~FontFace()
{
    if (m_face) {
        std::lock_guard<std::mutex> lock(FreeTypeLibraryMutex());
        FT_Done_Face(m_face);
    }
}

bool FontFace::Open()
{
    std::call_once(m_once, [this] {
        FT_Library lib = Library();
        if (!lib) {
            m_error = "FreeType is not available";
            return;
        }
        FT_Face face = nullptr;
        FT_Error e;
        {
            std::lock_guard<std::mutex> lock(FreeTypeLibraryMutex());
            e = FT_New_Face(lib, m_path.c_str(), 0, &face);
        }
        if (e != 0 || !face) {
            m_error = "cannot open " + m_path + " (FreeType error " + std::to_string(e) + ")";
            return;
        }
        if (!FT_IS_SCALABLE(face) && face->num_fixed_sizes > 0) {
            // Bitmaps only: each strike's cell, as its own size metrics give it.
            std::lock_guard<std::mutex> lock(mutex);
            for (int i = 0; i < face->num_fixed_sizes; ++i) {
                if (FT_Select_Size(face, i) != 0)
                    continue;
                const Strike st{i, static_cast<int>((face->size->metrics.ascender + 32) >> 6),
                    static_cast<int>((-face->size->metrics.descender + 32) >> 6)};
                if (st.ascent > 0 && st.descent >= 0)
                    m_strikes.push_back(st);
            }
            std::sort(m_strikes.begin(), m_strikes.end(),
                [](const Strike& a, const Strike& b) { return a.ascent + a.descent < b.ascent + b.descent; });
        }
        if ((!FT_IS_SCALABLE(face) && m_strikes.empty()) || face->units_per_EM == 0) {
            m_error = m_path + " is neither a scalable font nor one with bitmap sizes";
            std::lock_guard<std::mutex> lock(FreeTypeLibraryMutex());
            FT_Done_Face(face);
            m_strikes.clear();
            return;
        }
        FaceMetrics& m = m_metrics;
        m.unitsPerEm = face->units_per_EM;
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
        const int hAsc = hhea ? hhea->Ascender : face->ascender;
        const int hDesc = hhea ? -hhea->Descender : -face->descender;
        const int hGap = hhea ? hhea->Line_Gap : 0;
        if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
            m.winAscent = os2->usWinAscent;
            m.winDescent = os2->usWinDescent;
            m.strikeoutPosition = os2->yStrikeoutPosition;
            m.strikeoutSize = os2->yStrikeoutSize;
        } else {
            m.winAscent = hAsc;
            m.winDescent = hDesc;
        }
        if (m.winAscent + m.winDescent <= 0) {
            m.winAscent = m.unitsPerEm * 4 / 5;
            m.winDescent = m.unitsPerEm / 5;
        }
        if (m.strikeoutSize <= 0) {
            m.strikeoutSize = std::max(1, m.unitsPerEm / 20);
            m.strikeoutPosition = m.winAscent / 3;
        }
        m.externalLeading = std::max(0, hGap - ((m.winAscent + m.winDescent) - (hAsc + hDesc)));
        m.maxAdvance = face->max_advance_width;
        m.underlineThickness = face->underline_thickness > 0 ? face->underline_thickness : m.unitsPerEm / 20;
        // FreeType gives the centre of the underline stroke; keep its top.
        m.underlinePosition = face->underline_position + m.underlineThickness / 2;
        FT_Fixed adv = 0;
        const FT_UInt gx = FT_Get_Char_Index(face, 'x');
        if (gx && FT_Get_Advance(face, gx, FT_LOAD_NO_SCALE, &adv) == 0 && adv > 0)
            m.xAdvance = static_cast<int>(adv);
        else if (os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0)
            m.xAdvance = os2->xAvgCharWidth;
        else
            m.xAdvance = std::max(1, m.maxAdvance / 2);
        m_face = face;
        m_ok = true;
    });
    if (!m_ok && !m_reported.exchange(true))
        std::fprintf(stderr, "zyn gdi: %s; using another face\n", m_error.c_str());
    return m_ok;
}

namespace {

std::vector<std::shared_ptr<FontFace>> LocatedFaces()
{
    FaceTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    if (!t.located)
        Locate(t);
    return t.faces;
}

// The first face among `faces` that `accept` takes, in the style asked for or one the
// caller can synthesise it from (a regular request never uses a bold or slanted file:
// those cannot be undone).
template <class Accept>
std::optional<FaceMatch> FirstOpening(const std::vector<std::shared_ptr<FontFace>>& faces, bool bold, bool italic,
    Accept accept)
{
    struct Want {
        bool bold, italic;
    };
    std::vector<Want> order{{bold, italic}};
    if (bold && italic)
        order.insert(order.end(), {{true, false}, {false, true}, {false, false}});
    else if (bold || italic)
        order.push_back({false, false});
    for (const Want& w : order) {
        for (const std::shared_ptr<FontFace>& p : faces) {
            if (!accept(*p) || p->Bold() != w.bold || p->Italic() != w.italic || !p->Open())
                continue;
            return FaceMatch{p, bold && !p->Bold(), italic && !p->Italic()};
        }
    }
    return std::nullopt;
}

} // namespace

FaceMatch FindFace(const FaceChoice& choice)
{
    const std::vector<std::shared_ptr<FontFace>> faces = LocatedFaces();
    const bool bold = choice.bold, italic = choice.italic;
    if (choice.metric != MetricFace::None) {
        if (auto m = FirstOpening(faces, bold, italic, [&](FontFace& p) { return p.Metric() == choice.metric; }))
            return *m;
    }
    // The DejaVu family, then the other families in the order Sans, Serif, Mono; within a
    // family the outline metric faces stand in when its DejaVu files are missing.
    const FaceFamily family = choice.family == FaceFamily::Marlett ? FaceFamily::Sans : choice.family;
    std::vector<FaceFamily> families{family};
    for (FaceFamily f : {FaceFamily::Sans, FaceFamily::Serif, FaceFamily::Mono}) {
        if (f != family)
            families.push_back(f);
    }
    for (FaceFamily f : families) {
        if (auto m = FirstOpening(faces, bold, italic,
                [&](FontFace& p) { return p.Family() == f && p.Metric() == MetricFace::None; }))
            return *m;
        if (auto m = FirstOpening(faces, bold, italic, [&](FontFace& p) {
                return p.Family() == f && p.Metric() != MetricFace::None && p.Open() && !p.BitmapOnly();
            }))
            return *m;
    }
    // Only files of other styles exist: take any that opens rather than no face at all.
    for (const std::shared_ptr<FontFace>& p : faces) {
        if (p->Open())
            return FaceMatch{p, bold && !p->Bold(), italic && !p->Italic()};
    }
    return FaceMatch{};
}

bool MetricFaceInstalled(MetricFace metric)
{
    for (const std::shared_ptr<FontFace>& p : LocatedFaces()) {
        if (p->Metric() == metric && !p->Bold() && !p->Italic() && p->Open())
            return true;
    }
    return false;
}

void SetFaceFilesForTesting(const std::vector<std::string>* files)
{
    FaceTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    t.useOverride = files != nullptr;
    t.override = files ? *files : std::vector<std::string>{};
    t.located = false;
    t.faces.clear();
}

} // namespace zyn::gdi
