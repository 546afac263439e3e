#pragma once
// The font faces text is drawn with and the table that maps Windows face names onto them.
//
// Host dialog templates and window code were laid out for the Windows faces' metrics, so
// the faces they name map onto files with those metrics where they are installed: Tahoma
// ("MS Shell Dlg", the dialog and GUI font) and the MS Sans Serif bitmap strikes from the
// Windows-compatible font package (in its own folder, which fontconfig does not know),
// and Liberation Sans, Serif and Mono for Arial, Times New Roman and Courier New. Every
// other face, and each of those whose files are missing, falls back to DejaVu Sans, Serif
// or Sans Mono. Only these files are looked for: the DejaVu and Liberation families
// through fontconfig, the others at their known paths, once, the first time text is
// measured or drawn; each file is opened as one FreeType face on first use and kept for
// the life of the process. A style whose file is missing is synthesised from the nearest
// file of the same face (emboldened and/or slanted); with no file of a family at all
// another family stands in; with no file anywhere, text still measures and draws with a
// built-in box face (see font_realize.h), so a missing font never fails a caller.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/gdi/gdi_types.h"

struct FT_FaceRec_;

namespace zyn::gdi {

enum class FaceFamily : uint8_t { Sans, Serif, Mono, Marlett };

// The Windows faces that have metric-compatible files; None for every other face.
enum class MetricFace : uint8_t { None, Tahoma, MsSansSerif, Arial, CourierNew, TimesNewRoman };

// What a LOGFONT asks for once its face name went through the substitution table: the
// metric face when it names one, and the DejaVu family that stands in for it otherwise.
struct FaceChoice {
    FaceFamily family = FaceFamily::Sans;
    MetricFace metric = MetricFace::None;
    bool bold = false;
    bool italic = false;
};

// The substitution table:
//   - "MS Shell Dlg", "MS Shell Dlg 2" and "Tahoma" to the Tahoma metric face, "MS Sans
//     Serif" to its bitmap strikes, "Arial" to Liberation Sans, "Times New Roman" to
//     Liberation Serif, "Courier New" to Liberation Mono (each with the DejaVu family of
//     its kind behind it);
//   - the other Windows UI faces ("Verdana", "Segoe UI", "Microsoft Sans Serif", "System",
//     an empty name and their relatives) map to DejaVu Sans;
//   - serif faces ("Times", "MS Serif", "Georgia"...) to DejaVu Serif;
//   - fixed faces ("Courier", "Lucida Console", "Fixedsys", "Terminal", "Consolas"...) to
//     DejaVu Sans Mono;
//   - "Marlett" to the built-in symbol font;
//   - a style word at the end of a face name ("Tahoma BOLD", "Arial Italic", "Segoe UI
//     Semibold", "Arial Black") means that style, and the rest of the name is looked up;
//   - an unknown face goes by the LOGFONT's pitch and family: fixed pitch or FF_MODERN to
//     DejaVu Sans Mono, FF_ROMAN to DejaVu Serif, anything else to DejaVu Sans.
// Names compare case-insensitively, ignoring surrounding blanks and a leading '@'.
// Weight 600 (FW_SEMIBOLD) and above is bold.
FaceChoice ChooseFace(const LOGFONTW& lf);

// The DejaVu family name of a face family ("DejaVu Sans"...; "Marlett").
const wchar_t* FamilyName(FaceFamily family);
// The Windows name of a metric face ("Tahoma", "Arial"...; null for None).
const wchar_t* MetricFaceName(MetricFace metric);

// Design metrics of a face file, in font units.
struct FaceMetrics {
    int unitsPerEm = 2048;
    int winAscent = 0;        // the cell above the baseline
    int winDescent = 0;       // the cell below the baseline (positive)
    int externalLeading = 0;  // extra line gap beyond the cell
    int maxAdvance = 0;
    int xAdvance = 0;         // advance of 'x' (the average character width's basis)
    int underlinePosition = 0; // top of the underline, negative below the baseline
    int underlineThickness = 0;
    int strikeoutPosition = 0; // bottom of the strike-out line above the baseline
    int strikeoutSize = 0;
};

// One bitmap size of a face without outlines: its FreeType strike index and its cell.
struct Strike {
    int index = 0;
    int ascent = 0;
    int descent = 0;
};

// One font file opened as a FreeType face. The face, its sizes and its glyph slot are
// used under `mutex` only.
class FontFace {
public:
    FontFace(std::string path, FaceFamily family, MetricFace metric, bool bold, bool italic);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const std::string& Path() const { return m_path; }
    FaceFamily Family() const { return m_family; }
    MetricFace Metric() const { return m_metric; }
    bool Bold() const { return m_bold; }
    bool Italic() const { return m_italic; }

    // Opens the file on first call; false (with the reason in Error()) when it cannot be
    // read as a scalable face. Thread-safe.
    bool Open();
    const std::string& Error() const { return m_error; }
    const FaceMetrics& Metrics() const { return m_metrics; }
    // A face of bitmaps only: its strikes, smallest cell first (empty for outline faces).
    // Valid after a successful Open().
    const std::vector<Strike>& Strikes() const { return m_strikes; }
    bool BitmapOnly() const { return !m_strikes.empty(); }

    std::mutex mutex;
    FT_FaceRec_* Face() const { return m_face; }

private:
    std::string m_path;
    FaceFamily m_family;
    MetricFace m_metric;
    bool m_bold;
    bool m_italic;
    std::once_flag m_once;
    bool m_ok = false;
    std::atomic<bool> m_reported{false};
    std::string m_error;
    FaceMetrics m_metrics;
    std::vector<Strike> m_strikes;
    FT_FaceRec_* m_face = nullptr;
};

// The face for a choice, with the styles the caller must synthesise: the metric face's
// own file, else the DejaVu file of its family, else another family's. `face` is null when
// no file could be opened at all.
struct FaceMatch {
    std::shared_ptr<FontFace> face;
    bool synthBold = false;
    bool synthItalic = false;
};
FaceMatch FindFace(const FaceChoice& choice);

// Whether the file of a metric face's regular style is installed and opens (tests that
// hold Windows metrics say that they need it).
bool MetricFaceInstalled(MetricFace metric);

// Serialises FreeType calls that touch the library itself (opening and closing faces).
std::mutex& FreeTypeLibraryMutex();

// Tests: replaces the located files by `files` (classified by their own family and style
// names; files that are missing or of no family we use are ignored), or with null goes back to
// locating through fontconfig. Realised fonts made before keep their faces until
// FlushRealizedFontCache() (font_realize.h) makes every font realise again.
void SetFaceFilesForTesting(const std::vector<std::string>* files);

} // namespace zyn::gdi
