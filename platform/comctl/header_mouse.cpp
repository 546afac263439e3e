// The header control's mouse: pressing items (HDS_BUTTONS) and tracking dividers.
#include <algorithm>

#include "platform/user/winuser.h"
#include "platform/comctl/header_state.h"
#include "platform/gdi/icon.h"
#include "platform/user/input.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"

namespace zyn::comctl::detail {

namespace {

bool ValidIndex(const HeaderState& s, int i) { return i >= 0 && i < static_cast<int>(s.items.size()); }

// The width the divider's position asks for.
int WidthAt(const HeaderState& s, POINT pt)
{
    RECT rc{};
    if (!HeaderItemRect(s, s.modeItem, rc))
        return 0;
    return std::max(0, pt.x - s.trackGrab - rc.left);
}

// Ends the press or the track without sending anything; the capture goes.
void EndMode(HeaderState& s)
{
    s.mode = HeaderMode::None;
    s.modeItem = -1;
    s.pressedInside = false;
    if (::GetCapture() == s.self)
        ::ReleaseCapture();
}

void BeginTrack(HeaderState& s, int item, POINT pt)
{
    HDITEMW info{};
    info.mask = HDI_WIDTH;
    info.cxy = s.items[static_cast<size_t>(item)].width;
    if (NotifyHeader(s, HDN_BEGINTRACKW, item, 0, &info) || s.destroyed || !ValidIndex(s, item))
        return; // the parent refused
    RECT rc{};
    HeaderItemRect(s, item, rc);
    s.mode = HeaderMode::Tracking;
    s.modeItem = item;
    s.trackStartWidth = s.items[static_cast<size_t>(item)].width;
    s.trackWidth = s.trackStartWidth;
    s.trackGrab = pt.x - rc.right;
    ::SetCapture(s.self);
}

// Ends a track with a width: HDN_ENDTRACK, then the width through the change notifications.
void FinishTrack(HeaderState& s, int width)
{
    const int item = s.modeItem;
    EndMode(s);
    if (!ValidIndex(s, item))
        return;
    HDITEMW info{};
    info.mask = HDI_WIDTH;
    info.cxy = width;
    NotifyHeader(s, HDN_ENDTRACKW, item, 0, &info);
    if (s.destroyed || !ValidIndex(s, item))
        return;
    if (s.items[static_cast<size_t>(item)].width != width)
        ChangeItemWidth(s, item, width);
    RedrawHeader(s);
}

} // namespace

void HeaderButtonDown(HeaderState& s, POINT pt, bool dblclk)
{
    if (s.mode != HeaderMode::None)
        return;
    UINT flags = 0;
    const int item = HeaderHitTest(s, pt, flags);
    if (item < 0)
        return;
    if (flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) {
        if (dblclk)
            NotifyHeader(s, HDN_DIVIDERDBLCLICKW, item, 0, nullptr);
        else
            BeginTrack(s, item, pt);
        return;
    }
    if (dblclk) {
        NotifyHeader(s, HDN_ITEMDBLCLICKW, item, 0, nullptr);
        if (s.destroyed || !ValidIndex(s, item))
            return;
    }
    // A second click of a double click presses the item again, so that quick clicks
    // (sorting a column up and down) each count.
    if (!(::GetWindowLongW(s.self, GWL_STYLE) & HDS_BUTTONS))
        return;
    s.mode = HeaderMode::Pressing;
    s.modeItem = item;
    s.pressedInside = true;
    ::SetCapture(s.self);
    RedrawHeader(s);
}

void HeaderMouseMove(HeaderState& s, POINT pt)
{
    if (s.mode == HeaderMode::Pressing) {
        UINT flags = 0;
        const bool inside = HeaderHitTest(s, pt, flags) == s.modeItem && (flags & HHT_ONHEADER);
        if (inside != s.pressedInside) {
            s.pressedInside = inside;
            RedrawHeader(s);
        }
        return;
    }
    if (s.mode != HeaderMode::Tracking)
        return;
    const int item = s.modeItem;
    const int width = WidthAt(s, pt);
    HDITEMW info{};
    info.mask = HDI_WIDTH;
    info.cxy = width;
    if (NotifyHeader(s, HDN_TRACKW, item, 0, &info)) {
        // The parent ends the track here, with the width reached so far.
        if (!s.destroyed && s.mode == HeaderMode::Tracking)
            FinishTrack(s, s.trackWidth);
        return;
    }
    if (s.destroyed || s.mode != HeaderMode::Tracking)
        return;
    s.trackWidth = width;
    if (::GetWindowLongW(s.self, GWL_STYLE) & HDS_FULLDRAG) {
        if (!ChangeItemWidth(s, item, width) && !s.destroyed && ValidIndex(s, item))
            s.trackWidth = s.items[static_cast<size_t>(item)].width;
    }
}

void HeaderButtonUp(HeaderState& s, POINT pt)
{
    if (s.mode == HeaderMode::Pressing) {
        const int item = s.modeItem;
        UINT flags = 0;
        const bool inside = HeaderHitTest(s, pt, flags) == item && (flags & HHT_ONHEADER);
        EndMode(s);
        RedrawHeader(s);
        if (inside)
            NotifyHeader(s, HDN_ITEMCLICKW, item, 0, nullptr);
        return;
    }
    if (s.mode == HeaderMode::Tracking)
        FinishTrack(s, WidthAt(s, pt));
}

void HeaderCancelMode(HeaderState& s)
{
    if (s.mode == HeaderMode::Pressing) {
        EndMode(s);
        RedrawHeader(s);
        return;
    }
    if (s.mode != HeaderMode::Tracking)
        return;
    // The width goes back to where the track began.
    FinishTrack(s, s.trackStartWidth);
}

bool HeaderSetCursor(HeaderState& s)
{
    POINT pt{};
    ::GetCursorPos(&pt);
    ::ScreenToClient(s.self, &pt);
    UINT flags = 0;
    if (s.mode == HeaderMode::Tracking || (HeaderHitTest(s, pt, flags) >= 0 && (flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)))) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
        return true;
    }
    return false;
}

} // namespace zyn::comctl::detail
