// The cursor shapes (see cursor_shape.h).
#include "platform/display/cursor_shape.h"

#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"

namespace zyn::display {

CursorShape ShapeOfCursor(HCURSOR cursor, bool shown)
{
    if (!cursor || !shown)
        return CursorShape::Hidden;
    struct Row {
        zyn::base::IntResource id;
        CursorShape shape;
    };
    static const Row kRows[] = {
        {IDC_ARROW, CursorShape::Arrow}, {IDC_IBEAM, CursorShape::IBeam}, {IDC_WAIT, CursorShape::Wait},
        {IDC_CROSS, CursorShape::Crosshair}, {IDC_APPSTARTING, CursorShape::WaitArrow},
        {IDC_SIZENWSE, CursorShape::SizeNWSE}, {IDC_SIZENESW, CursorShape::SizeNESW},
        {IDC_SIZEWE, CursorShape::SizeWE}, {IDC_SIZENS, CursorShape::SizeNS}, {IDC_SIZEALL, CursorShape::SizeAll},
        {IDC_SIZE, CursorShape::SizeAll}, {IDC_NO, CursorShape::No}, {IDC_HAND, CursorShape::Hand},
        {IDC_UPARROW, CursorShape::Arrow}, {IDC_HELP, CursorShape::Arrow},
    };
    // System cursors are shared: loading one again gives the same handle.
    for (const Row& r : kRows)
        if (LoadCursorW(nullptr, r.id) == cursor)
            return r.shape;
    return CursorShape::Own;
}

bool PictureOfCursor(HCURSOR cursor, CursorPicture& out)
{
    ICONINFO ii{};
    if (!cursor || !GetIconInfo(cursor, &ii))
        return false;
    // GetIconInfo hands out copies of both planes; they go whatever happens.
    struct Planes {
        ICONINFO& ii;
        ~Planes()
        {
            if (ii.hbmMask)
                DeleteObject(ii.hbmMask);
            if (ii.hbmColor)
                DeleteObject(ii.hbmColor);
        }
    } planes{ii};
    BITMAP bm{};
    if (!ii.hbmMask || !GetObjectW(ii.hbmMask, sizeof bm, &bm))
        return false;
    // A monochrome cursor keeps its image under its mask in one bitmap of double height.
    const int w = bm.bmWidth, h = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    if (w <= 0 || h <= 0 || w > 256 || h > 256)
        return false;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    if (!mem || !canvas) {
        if (canvas)
            DeleteObject(canvas);
        if (mem)
            DeleteDC(mem);
        return false;
    }
    HGDIOBJ old = SelectObject(mem, canvas);
    // The mask ANDed onto white, then the image XORed onto black: the two planes as drawn.
    std::vector<COLORREF> mask(size_t(w) * h), image(size_t(w) * h);
    PatBlt(mem, 0, 0, w, h, WHITENESS);
    DrawIconEx(mem, 0, 0, cursor, w, h, 0, nullptr, DI_MASK);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            mask[size_t(y) * w + x] = GetPixel(mem, x, y);
    PatBlt(mem, 0, 0, w, h, BLACKNESS);
    DrawIconEx(mem, 0, 0, cursor, w, h, 0, nullptr, DI_IMAGE);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image[size_t(y) * w + x] = GetPixel(mem, x, y);
    SelectObject(mem, old);
    DeleteObject(canvas);
    DeleteDC(mem);

    out.width = w;
    out.height = h;
    out.hotspot = POINT{static_cast<LONG>(ii.xHotspot), static_cast<LONG>(ii.yHotspot)};
    out.argb.assign(size_t(w) * h, 0);
    for (size_t i = 0; i < out.argb.size(); ++i) {
        const COLORREF c = image[i] & 0xFFFFFFu;
        const bool transparent = (mask[i] & 0xFFFFFFu) == 0xFFFFFFu;
        if (transparent)
            out.argb[i] = c ? 0xFF000000u : 0u; // an inverting pixel shows black
        else
            out.argb[i] = 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
    }
    return true;
}

} // namespace zyn::display
