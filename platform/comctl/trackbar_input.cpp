// The trackbar's mouse and keyboard: thumb drags with the capture, page clicks repeating
// on a window timer of the process clock, and the keys, each reported to the parent as
// WM_HSCROLL / WM_VSCROLL (the sequences are in trackbar.h).
#include <algorithm>
#include <cstdint>

#include "platform/comctl/trackbar_state.h"
#include "platform/gdi/rect.h"
#include "platform/user/control_common.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {
namespace {

DWORD StyleOf(const TrackbarState& s) { return static_cast<DWORD>(::GetWindowLongPtrW(s.self, GWL_STYLE)); }

int Along(const TrackbarLayout& l, POINT pt) { return l.vertical ? pt.y : pt.x; }
int ThumbStart(const TrackbarLayout& l) { return l.vertical ? l.thumb.top : l.thumb.left; }
int ThumbEnd(const TrackbarLayout& l) { return l.vertical ? l.thumb.bottom : l.thumb.right; }

int Offset(int pos, int64_t delta) { return static_cast<int>(std::clamp<int64_t>(pos + delta, INT32_MIN, INT32_MAX)); }

// One page towards the pointer, unless the thumb has reached it.
void PageStep(TrackbarState& s, bool first)
{
    const TrackbarLayout l = LayoutOf(s);
    const int at = Along(l, s.lastPt);
    const bool up = s.drag == TbDrag::PageUp;
    if (!first && (up ? at >= ThumbStart(l) : at < ThumbEnd(l)))
        return; // the thumb is under the pointer: wait for it to move on
    MoveThumb(s, Offset(s.pos, up ? -int64_t(s.pageSize) : int64_t(s.pageSize)));
    NotifyScroll(s, up ? TB_PAGEUP : TB_PAGEDOWN);
}

void EndTracking(TrackbarState& s)
{
    const TbDrag was = s.drag;
    if (was == TbDrag::None)
        return;
    s.drag = TbDrag::None;
    ::KillTimer(s.self, kTbRepeatTimer);
    if (::GetCapture() == s.self)
        ::ReleaseCapture();
    UpdatePositionTip(s, false);
    if (was == TbDrag::Thumb) {
        RedrawTrackbar(s); // the thumb is no longer pressed
        if (s.tracked)
            NotifyScroll(s, TB_THUMBPOSITION, s.pos);
    }
    NotifyScroll(s, TB_ENDTRACK);
    NMHDR hdr{};
    SendNotify(s.self, NM_RELEASEDCAPTURE, hdr);
}

// The code a key sends, with the horizontal TBS_DOWNISLEFT exchange; false for other keys.
bool KeyCode(DWORD style, WPARAM vk, WORD& code)
{
    if (!(style & TBS_VERT) && (style & TBS_DOWNISLEFT)) {
        switch (vk) {
        case VK_UP: vk = VK_DOWN; break;
        case VK_DOWN: vk = VK_UP; break;
        case VK_PRIOR: vk = VK_NEXT; break;
        case VK_NEXT: vk = VK_PRIOR; break;
        default: break;
        }
    }
    switch (vk) {
    case VK_LEFT:
    case VK_UP: code = TB_LINEUP; return true;
    case VK_RIGHT:
    case VK_DOWN: code = TB_LINEDOWN; return true;
    case VK_PRIOR: code = TB_PAGEUP; return true;
    case VK_NEXT: code = TB_PAGEDOWN; return true;
    case VK_HOME: code = TB_TOP; return true;
    case VK_END: code = TB_BOTTOM; return true;
    default: return false;
    }
}

} // namespace

void NotifyScroll(const TrackbarState& s, WORD code, int pos)
{
    const HWND target = zyn::user::NotifyTarget(s.self);
    if (!target)
        return;
    const UINT msg = (StyleOf(s) & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    const WORD hi = (code == TB_THUMBTRACK || code == TB_THUMBPOSITION) ? static_cast<WORD>(pos) : 0;
    ::SendMessageW(target, msg, MAKEWPARAM(code, hi), reinterpret_cast<LPARAM>(s.self));
}

bool MoveThumb(TrackbarState& s, int p)
{
    p = ClampPosition(s, p);
    if (p == s.pos)
        return false;
    s.pos = p;
    RedrawTrackbar(s);
    if (s.drag == TbDrag::Thumb)
        UpdatePositionTip(s, true);
    return true;
}

void TrackbarButtonDown(TrackbarState& s, POINT pt)
{
    if (s.drag != TbDrag::None)
        return;
    if (::GetFocus() != s.self)
        ::SetFocus(s.self);
    if (!::IsWindow(s.self))
        return;
    const DWORD style = StyleOf(s);
    const TrackbarLayout l = LayoutOf(s);
    if (!(style & TBS_NOTHUMB) && ::PtInRect(&l.thumb, pt)) {
        s.drag = TbDrag::Thumb;
        s.grabOffset = Along(l, pt) - PositionToPixel(l, s, s.pos);
        s.tracked = false;
        ::SetCapture(s.self);
        RedrawTrackbar(s);
        UpdatePositionTip(s, true);
        return;
    }
    const int at = Along(l, pt);
    if (at >= ThumbStart(l) && at < ThumbEnd(l))
        return; // on the place of a hidden thumb: nothing to page towards
    s.drag = at < ThumbStart(l) ? TbDrag::PageUp : TbDrag::PageDown;
    s.lastPt = pt;
    ::SetCapture(s.self);
    ::SetTimer(s.self, kTbRepeatTimer, kTbFirstRepeatMs, nullptr);
    PageStep(s, true);
}

void TrackbarMouseMove(TrackbarState& s, POINT pt)
{
    switch (s.drag) {
    case TbDrag::Thumb: {
        const TrackbarLayout l = LayoutOf(s);
        const int p = PixelToPosition(l, s, Along(l, pt) - s.grabOffset);
        if (MoveThumb(s, p)) {
            s.tracked = true;
            NotifyScroll(s, TB_THUMBTRACK, s.pos);
        }
        break;
    }
    case TbDrag::PageUp:
    case TbDrag::PageDown:
        s.lastPt = pt;
        break;
    case TbDrag::None:
        break;
    }
}

void TrackbarButtonUp(TrackbarState& s) { EndTracking(s); }

void TrackbarCaptureLost(TrackbarState& s) { EndTracking(s); }

void TrackbarTimer(TrackbarState& s)
{
    if (s.drag != TbDrag::PageUp && s.drag != TbDrag::PageDown) {
        ::KillTimer(s.self, kTbRepeatTimer);
        return;
    }
    ::SetTimer(s.self, kTbRepeatTimer, kTbRepeatMs, nullptr);
    PageStep(s, false);
}

bool TrackbarKeyDown(TrackbarState& s, WPARAM vk)
{
    WORD code = 0;
    if (!KeyCode(StyleOf(s), vk, code))
        return false;
    if (s.drag != TbDrag::None)
        return true; // the mouse has the thumb
    int p = s.pos;
    switch (code) {
    case TB_LINEUP: p = Offset(s.pos, -int64_t(s.lineSize)); break;
    case TB_LINEDOWN: p = Offset(s.pos, s.lineSize); break;
    case TB_PAGEUP: p = Offset(s.pos, -int64_t(s.pageSize)); break;
    case TB_PAGEDOWN: p = Offset(s.pos, s.pageSize); break;
    case TB_TOP: p = s.rangeMin; break;
    case TB_BOTTOM: p = RangeHigh(s); break;
    default: break;
    }
    // A step towards the end the thumb already stands at moves nothing and says nothing.
    const bool step = code == TB_LINEUP || code == TB_LINEDOWN || code == TB_PAGEUP || code == TB_PAGEDOWN;
    if (step && ClampPosition(s, p) == s.pos)
        return true;
    MoveThumb(s, p);
    NotifyScroll(s, code);
    return true;
}

bool TrackbarKeyUp(TrackbarState& s, WPARAM vk)
{
    WORD code = 0;
    if (!KeyCode(StyleOf(s), vk, code))
        return false;
    if (s.drag == TbDrag::None)
        NotifyScroll(s, TB_ENDTRACK);
    return true;
}

} // namespace zyn::comctl::detail
