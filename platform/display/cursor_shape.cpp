// The cursor shapes (see cursor_shape.h).
#include "platform/display/cursor_shape.h"

#include "platform/gdi/icon.h"

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
    return CursorShape::Arrow;
}

} // namespace zyn::display
