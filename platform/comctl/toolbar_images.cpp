// Toolbar images: the bitmaps added with TB_ADDBITMAP / TB_LOADIMAGES (cut into an image
// list the control owns) and the image lists an application sets (normal, hot, disabled,
// pressed; those stay the application's).
//
// TB_ADDBITMAP takes a bitmap resource (module + ID), an HBITMAP (module null; the caller
// keeps its bitmap, the control copies the images) or a standard bitmap (HINST_COMMCTRL).
// The strip is cut at the bitmap size; its light-grey pixels (0xC0C0C0, the classic
// toolbar-bitmap background) become transparent, so the button face shows through. The
// same source added again answers its first index without adding images. The answer is
// the index of the first image, -1 on failure.
//
// The standard bitmaps are drawn here (there is no system bitmap to load): each image is
// a framed square in a colour of its own, so images tell apart; they are offered for
// completeness, not for their looks.
#include <algorithm>

#include "platform/comctl/toolbar_state.h"
#include "platform/gdi/rect.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"

namespace zyn::comctl::tb {

namespace {

constexpr COLORREF kBitmapBackground = RGB(192, 192, 192);

int StandardCount(UINT_PTR id)
{
    switch (id) {
    case IDB_STD_SMALL_COLOR:
    case IDB_STD_LARGE_COLOR:
        return 15;
    case IDB_VIEW_SMALL_COLOR:
    case IDB_VIEW_LARGE_COLOR:
        return 12;
    case IDB_HIST_SMALL_COLOR:
    case IDB_HIST_LARGE_COLOR:
        return 5;
    default:
        return 0;
    }
}

// A strip of `count` standard images of size cx x cy on the bitmap background.
HBITMAP MakeStandardStrip(UINT_PTR id, int cx, int cy, int count)
{
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, cx * count, cy);
    ::ReleaseDC(nullptr, screen);
    if (!mem || !bmp) {
        if (mem)
            ::DeleteDC(mem);
        if (bmp)
            ::DeleteObject(bmp);
        return nullptr;
    }
    HGDIOBJ old = ::SelectObject(mem, bmp);
    RECT all{0, 0, cx * count, cy};
    HBRUSH bg = ::CreateSolidBrush(kBitmapBackground);
    ::FillRect(mem, &all, bg);
    ::DeleteObject(bg);
    for (int i = 0; i < count; ++i) {
        // A hue per image (and per set), framed in black.
        const auto k = static_cast<int>(id) * 7 + i * 37;
        const COLORREF c = RGB((k * 53) % 200 + 20, (k * 97) % 200 + 20, (k * 151) % 200 + 20);
        RECT r{i * cx + 2, 2, i * cx + cx - 2, cy - 2};
        if (r.right <= r.left || r.bottom <= r.top)
            continue;
        HBRUSH fill = ::CreateSolidBrush(c);
        ::FillRect(mem, &r, fill);
        ::DeleteObject(fill);
        HBRUSH frame = ::CreateSolidBrush(RGB(0, 0, 0));
        ::FrameRect(mem, &r, frame);
        ::DeleteObject(frame);
    }
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    return bmp;
}

HIMAGELIST OwnList(ToolbarState& s)
{
    if (!s.ownList)
        s.ownList = ::ImageList_Create(s.bitmap.cx, s.bitmap.cy, ILC_COLOR32 | ILC_MASK, 16, 16);
    return s.ownList;
}

// Adds the images of a bitmap to our list (at most `wanted` when it is above 0); the
// index of the first, -1 when nothing could be added.
int AddStrip(ToolbarState& s, HBITMAP bmp, int wanted)
{
    HIMAGELIST list = OwnList(s);
    if (!list || !bmp)
        return -1;
    const int before = ::ImageList_GetImageCount(list);
    if (::ImageList_AddMasked(list, bmp, kBitmapBackground) < 0)
        return -1;
    const int added = ::ImageList_GetImageCount(list) - before;
    if (wanted > 0 && added > wanted)
        ::ImageList_SetImageCount(list, static_cast<UINT>(before + wanted));
    return before;
}

// The bitmap of a source, loaded or made; `owned` tells whether the caller deletes it.
HBITMAP SourceBitmap(ToolbarState& s, HINSTANCE inst, UINT_PTR id, bool& owned)
{
    owned = true;
    if (inst == HINST_COMMCTRL) {
        const int count = StandardCount(id);
        return count ? MakeStandardStrip(id, s.bitmap.cx, s.bitmap.cy, count) : nullptr;
    }
    if (!inst) {
        owned = false;
        return reinterpret_cast<HBITMAP>(id);
    }
    return ::LoadBitmapW(inst, MAKEINTRESOURCEW(static_cast<WORD>(id)));
}

LRESULT AddBitmap(ToolbarState& s, int buttons, const TBADDBITMAP* add)
{
    if (!add)
        return -1;
    for (const auto& src : s.bitmaps)
        if (src.inst == add->hInst && src.id == add->nID)
            return src.first;
    bool owned = false;
    HBITMAP bmp = SourceBitmap(s, add->hInst, add->nID, owned);
    if (!bmp)
        return -1;
    const int first = AddStrip(s, bmp, buttons);
    if (owned)
        ::DeleteObject(bmp);
    if (first < 0)
        return -1;
    const int count = ::ImageList_GetImageCount(s.ownList) - first;
    s.bitmaps.push_back({add->hInst, add->nID, first, count});
    Changed(s);
    return first;
}

LRESULT ReplaceBitmap(ToolbarState& s, const TBREPLACEBITMAP* rep)
{
    if (!rep || !s.ownList)
        return FALSE;
    auto it = std::find_if(s.bitmaps.begin(), s.bitmaps.end(),
        [&](const ToolbarState::BitmapSource& b) { return b.inst == rep->hInstOld && b.id == rep->nIDOld; });
    if (it == s.bitmaps.end())
        return FALSE;
    bool owned = false;
    HBITMAP bmp = SourceBitmap(s, rep->hInstNew, rep->nIDNew, owned);
    if (!bmp)
        return FALSE;
    HIMAGELIST tmp = ::ImageList_Create(s.bitmap.cx, s.bitmap.cy, ILC_COLOR32 | ILC_MASK, 16, 16);
    const bool ok = tmp && ::ImageList_AddMasked(tmp, bmp, kBitmapBackground) >= 0;
    if (owned)
        ::DeleteObject(bmp);
    if (!ok) {
        if (tmp)
            ::ImageList_Destroy(tmp);
        return FALSE;
    }
    // The images keep their places: the first ones are replaced in place, so the buttons
    // that show them need no change.
    const int have = ::ImageList_GetImageCount(tmp);
    const int n = std::min({have, it->count, rep->nButtons > 0 ? rep->nButtons : have});
    for (int k = 0; k < n; ++k)
        ::ImageList_Copy(s.ownList, it->first + k, tmp, k, ILCF_MOVE);
    ::ImageList_Destroy(tmp);
    it->inst = rep->hInstNew;
    it->id = rep->nIDNew;
    Redraw(s);
    return TRUE;
}

LRESULT SetList(ToolbarState& s, HIMAGELIST& slot, LPARAM lp, bool sizes)
{
    const HIMAGELIST old = slot;
    slot = reinterpret_cast<HIMAGELIST>(lp);
    if (sizes && slot) {
        int cx = 0, cy = 0;
        if (::ImageList_GetIconSize(slot, &cx, &cy)) {
            s.bitmap = SIZE{cx, cy};
            s.bitmapSet = true;
        }
    }
    Changed(s);
    return reinterpret_cast<LRESULT>(old);
}

} // namespace

HIMAGELIST NormalList(const ToolbarState& s) { return s.normal ? s.normal : s.ownList; }

LRESULT HandleImageMessage(ToolbarState& s, UINT msg, WPARAM wp, LPARAM lp, bool& handled)
{
    handled = true;
    switch (msg) {
    case TB_SETBITMAPSIZE: {
        const int cx = LOWORD(static_cast<DWORD>(lp));
        const int cy = HIWORD(static_cast<DWORD>(lp));
        // The strips already cut cannot be cut again at another size.
        if (s.ownList && ::ImageList_GetImageCount(s.ownList) > 0)
            return FALSE;
        s.bitmap = SIZE{cx, cy};
        s.bitmapSet = true;
        if (s.ownList)
            ::ImageList_SetIconSize(s.ownList, std::max(cx, 1), std::max(cy, 1));
        Changed(s);
        return TRUE;
    }
    case TB_ADDBITMAP:
        return AddBitmap(s, static_cast<int>(wp), reinterpret_cast<const TBADDBITMAP*>(lp));
    case TB_REPLACEBITMAP:
        return ReplaceBitmap(s, reinterpret_cast<const TBREPLACEBITMAP*>(lp));
    case TB_LOADIMAGES: {
        if (reinterpret_cast<HINSTANCE>(lp) != HINST_COMMCTRL || !StandardCount(wp))
            return 0;
        const TBADDBITMAP add{HINST_COMMCTRL, wp};
        AddBitmap(s, 0, &add);
        return s.ownList ? ::ImageList_GetImageCount(s.ownList) : 0;
    }
    case TB_CHANGEBITMAP: {
        const int i = IndexOfCommand(s, static_cast<int>(wp));
        if (i < 0)
            return FALSE;
        s.buttons[static_cast<size_t>(i)].image = static_cast<int>(lp);
        Redraw(s);
        return TRUE;
    }
    case TB_GETBITMAP: {
        const int i = IndexOfCommand(s, static_cast<int>(wp));
        return i < 0 ? -1 : s.buttons[static_cast<size_t>(i)].image;
    }
    case TB_GETBITMAPFLAGS:
        return 0;
    case TB_SETIMAGELIST:
        return SetList(s, s.normal, lp, true);
    case TB_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(NormalList(s));
    case TB_SETHOTIMAGELIST:
        return SetList(s, s.hotList, lp, false);
    case TB_GETHOTIMAGELIST:
        return reinterpret_cast<LRESULT>(s.hotList);
    case TB_SETDISABLEDIMAGELIST:
        return SetList(s, s.disabled, lp, false);
    case TB_GETDISABLEDIMAGELIST:
        return reinterpret_cast<LRESULT>(s.disabled);
    case TB_SETPRESSEDIMAGELIST:
        return SetList(s, s.pressedList, lp, false);
    case TB_GETPRESSEDIMAGELIST:
        return reinterpret_cast<LRESULT>(s.pressedList);
    default:
        handled = false;
        return 0;
    }
}

} // namespace zyn::comctl::tb
