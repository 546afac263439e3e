#pragma once
// The tab control's picture cache (internal to platform/comctl): each tab keeps the pixels
// its classic painting last produced, and a paint that finds nothing changed about a tab
// copies them instead of drawing it again. A multi-line selection moves rows, so every
// click repaints every tab; with the pictures only the two tabs whose state changed are
// drawn.
//
// A tab's pixels depend only on what its key holds (the drawn rectangle's size, where the
// image and the text go inside it, side, button style and state, text and image index)
// and on what all tabs share (the system colours, the font, the image list and what it
// holds: TabPictureEnv). The key is compared at every paint, so a change of any of them,
// however it was made, draws the tab again; a change of the shared part drops every
// picture. Each tab keeps its last two pictures, so a tab that goes back to its previous
// look (a click selects one tab and deselects another) is copied too. A picture is made by drawing the tab into a scratch bitmap and is used only when
// the drawing stayed inside the tab's rectangle: a text wider than a fixed-width tab, or
// a glyph reaching past it, paints over its neighbours, which a copy of the rectangle
// cannot repeat, so such a tab is drawn directly every time (remembered in its picture, so
// it is not tried again until its key changes).
//
// A control's pictures hold at most 16 MB, and a tab larger than 64K pixels is always drawn.
// Pictures are used only for WM_PAINT (a DC the control owns for the paint) on a 32-bit
// surface; the scratch DC takes the paint DC's drawing modes (an erase handler may have
// changed its colours), which belong to what all tabs share. Never for owner-drawn tabs,
// which the owner paints. Pictures hold no GDI object between paints.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/base/wintypes.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/imagelist.h"

namespace zyn::gdi {
class Surface;
class Dc;
}

namespace zyn::comctl::detail {

struct TabState;
struct TabItem;
struct TabLook;

// What a tab's pixels depend on besides TabPictureEnv. Rectangles are relative to the
// drawn rectangle's top-left corner.
struct TabPictureKey {
    std::wstring text;
    int image = -1;         // -1: none drawn
    SIZE size{};
    RECT icon{};
    RECT label{};
    uint32_t flags = 0;     // TabLook's side, style and state bits
};

struct TabPicture {
    TabPictureKey key;
    std::shared_ptr<const zyn::gdi::Surface> pixels; // null: none made yet, or `direct`
    bool direct = false;    // this key's drawing cannot be kept: draw the tab every time
};

// A tab's last two pictures, the one used last first: tabs flip between two looks
// (selected or not, pressed or not), and a click changes the looks of two tabs.
using TabPictureSlots = std::array<TabPicture, 2>;

// The drawing modes of a DC that the tab's drawing does not set itself.
struct TabDcModes {
    COLORREF text = 0;
    COLORREF bk = 0;
    int bkMode = 0;
    int rop2 = 0;
    int stretchMode = 0;
    int polyFillMode = 0;
    int charExtra = 0;
    UINT textAlign = 0;
    bool operator==(const TabDcModes&) const = default;
    static TabDcModes Of(HDC dc);
    void ApplyTo(HDC dc) const;
};

// The bytes of pixels a control's pictures hold (each picture gives its share back when
// it goes, whether replaced, dropped or freed with its item).
using TabPictureBytes = std::shared_ptr<size_t>;

// What every tab's pixels depend on.
struct TabPictureEnv {
    static constexpr int kColors = COLOR_MENUBAR + 1;
    std::array<COLORREF, kColors> colors{};
    LOGFONTW font{};
    TabDcModes modes;
    HIMAGELIST images = nullptr;
    uint64_t imagesGeneration = 0; // zyn::gdi::ImageListGeneration; 0: cannot be followed
    bool operator==(const TabPictureEnv& o) const;
};

// One paint's use of the pictures. Made before the tabs are painted: it decides whether
// pictures can serve this DC and drops those the shared state no longer matches.
class TabPictures {
public:
    TabPictures(TabState& s, HDC target, HFONT font);
    ~TabPictures();
    TabPictures(const TabPictures&) = delete;
    TabPictures& operator=(const TabPictures&) = delete;

    // Paints the tab from its picture, making the picture first when it is missing or
    // stale. False when the tab has to be drawn directly.
    bool Paint(TabItem& item, const TabLook& look);
    // True when the tab, drawn in `drawn`, lies outside the paint's area and its last
    // picture stayed inside its rectangle: it needs nothing (not even its look worked out).
    bool LeavesAlone(const TabItem& item, const RECT& drawn) const;

private:
    class Scratch;
    bool Make(const TabItem& item, const TabLook& look, TabPicture& into);

    TabState& m_s;
    HDC m_target;
    std::shared_ptr<zyn::gdi::Dc> m_dc;
    HFONT m_font;
    bool m_usable = false;
    std::unique_ptr<Scratch> m_scratch;
};

// Drops every tab's picture (the font, the image list or the system colours changed).
void DropTabPictures(TabState& s);

} // namespace zyn::comctl::detail
