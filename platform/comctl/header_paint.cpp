// The header control's classic painting: raised buttons on the button face, each item's
// image and text, owner-drawn items through WM_DRAWITEM and custom draw for the rest.
#include <algorithm>

#include "platform/user/winuser.h"
#include "platform/comctl/header_state.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"

namespace zyn::comctl::detail {

namespace {

LRESULT CustomDraw(HeaderState& s, DWORD stage, HDC hdc, const RECT& rc, int item, UINT state)
{
    NMCUSTOMDRAW cd{};
    cd.hdr.hwndFrom = s.self;
    cd.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(s.self));
    cd.hdr.code = NM_CUSTOMDRAW;
    cd.dwDrawStage = stage;
    cd.hdc = hdc;
    cd.rc = rc;
    cd.dwItemSpec = static_cast<DWORD_PTR>(item < 0 ? 0 : item);
    cd.uItemState = state;
    if (item >= 0 && item < static_cast<int>(s.items.size()))
        cd.lItemlParam = s.items[static_cast<size_t>(item)].lParam;
    const HWND parent = ::GetParent(s.self);
    return parent ? ::SendMessageW(parent, WM_NOTIFY, cd.hdr.idFrom, reinterpret_cast<LPARAM>(&cd)) : 0;
}

void DrawItemContent(HeaderState& s, HDC hdc, int index, RECT rc, bool pressed)
{
    const HeaderItem item = s.items[static_cast<size_t>(index)];
    RECT inner = rc;
    ::DrawEdge(hdc, &inner, pressed ? (BDR_SUNKENOUTER | BDR_SUNKENINNER) : EDGE_RAISED, BF_RECT | BF_SOFT | BF_ADJUST);
    if (pressed)
        ::OffsetRect(&inner, 1, 1);
    RECT text{inner.left + kHeaderTextPad - 2, inner.top, inner.right - kHeaderTextPad + 2, inner.bottom};
    int cx = 0, cy = 0;
    const bool image = (item.fmt & HDF_IMAGE) && s.images && ::ImageList_GetIconSize(s.images, &cx, &cy);
    if (image && text.right - text.left > 0) {
        const int y = inner.top + (inner.bottom - inner.top - cy) / 2;
        if (item.fmt & HDF_BITMAP_ON_RIGHT) {
            const int x = std::max(text.left, text.right - cx);
            ::ImageList_Draw(s.images, item.image, hdc, x, y, ILD_TRANSPARENT);
            text.right = x - kHeaderTextPad;
        } else {
            ::ImageList_Draw(s.images, item.image, hdc, text.left, y, ILD_TRANSPARENT);
            text.left += cx + kHeaderTextPad;
        }
    }
    if ((item.fmt & HDF_STRING) || !(item.fmt & (HDF_BITMAP | HDF_IMAGE))) {
        const std::wstring label = HeaderItemText(s, index);
        UINT flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
        const int justify = item.fmt & HDF_JUSTIFYMASK;
        flags |= justify == HDF_RIGHT ? DT_RIGHT : justify == HDF_CENTER ? DT_CENTER : DT_LEFT;
        ::SetBkMode(hdc, TRANSPARENT);
        ::SetTextColor(hdc, ::GetSysColor(COLOR_BTNTEXT));
        ::DrawTextW(hdc, label.c_str(), static_cast<int>(label.size()), &text, flags);
    }
}

} // namespace

void RedrawHeader(HeaderState& s)
{
    if (s.redraw && !s.destroyed)
        ::InvalidateRect(s.self, nullptr, TRUE);
}

void PaintHeader(HeaderState& s, HDC hdc)
{
    RECT client{};
    ::GetClientRect(s.self, &client);
    ::FillRect(hdc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    const HGDIOBJ oldFont = ::SelectObject(hdc, HeaderFont(s));
    const LRESULT pre = CustomDraw(s, CDDS_PREPAINT, hdc, client, -1, 0);
    if (s.destroyed) {
        ::SelectObject(hdc, oldFont);
        return;
    }
    int64_t x = 0;
    const std::vector<int> order = s.order;
    for (const int index : order) {
        if (s.destroyed || index >= static_cast<int>(s.items.size()))
            break;
        const int w = std::max(0, s.items[static_cast<size_t>(index)].width);
        const RECT rc{ClampEdge(x), 0, ClampEdge(x + w), client.bottom};
        x += w;
        if (w == 0 || rc.left >= client.right)
            continue;
        const bool pressed = s.mode == HeaderMode::Pressing && s.modeItem == index && s.pressedInside;
        if (s.items[static_cast<size_t>(index)].fmt & HDF_OWNERDRAW) {
            RECT edge = rc;
            ::DrawEdge(hdc, &edge, pressed ? (BDR_SUNKENOUTER | BDR_SUNKENINNER) : EDGE_RAISED, BF_RECT | BF_SOFT);
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_HEADER;
            dis.CtlID = static_cast<UINT>(::GetDlgCtrlID(s.self));
            dis.itemID = static_cast<UINT>(index);
            dis.itemAction = ODA_DRAWENTIRE;
            dis.itemState = pressed ? ODS_SELECTED : 0;
            dis.hwndItem = s.self;
            dis.hDC = hdc;
            dis.rcItem = rc;
            dis.itemData = static_cast<ULONG_PTR>(s.items[static_cast<size_t>(index)].lParam);
            if (const HWND parent = ::GetParent(s.self))
                ::SendMessageW(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
            continue;
        }
        LRESULT answer = CDRF_DODEFAULT;
        const int saved = ::SaveDC(hdc);
        if (pre & CDRF_NOTIFYITEMDRAW)
            answer = CustomDraw(s, CDDS_ITEMPREPAINT, hdc, rc, index, pressed ? CDIS_SELECTED : 0);
        if (!s.destroyed && !(answer & CDRF_SKIPDEFAULT)) {
            ::IntersectClipRect(hdc, rc.left, rc.top, rc.right, rc.bottom);
            DrawItemContent(s, hdc, index, rc, pressed);
        }
        ::RestoreDC(hdc, saved);
        if (!s.destroyed && (answer & CDRF_NOTIFYPOSTPAINT))
            CustomDraw(s, CDDS_ITEMPOSTPAINT, hdc, rc, index, pressed ? CDIS_SELECTED : 0);
    }
    if (!s.destroyed && x < client.right) {
        // The empty rest of the bar is one more raised button.
        RECT rest{ClampEdge(x), 0, client.right, client.bottom};
        ::DrawEdge(hdc, &rest, EDGE_RAISED, BF_RECT | BF_SOFT);
    }
    if (!s.destroyed && (pre & CDRF_NOTIFYPOSTPAINT))
        CustomDraw(s, CDDS_POSTPAINT, hdc, client, -1, 0);
    ::SelectObject(hdc, oldFont);
}

} // namespace zyn::comctl::detail
