// The non-client menu bar: layout, drawing and hit testing in the classic look, and the
// hooks through which the window system's non-client code calls them.
#include <algorithm>

#include "platform/base/lasterror.h"
#include "platform/base/threads.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/menu_draw_util.h"
#include "platform/user/menu_internal.h"
#include "platform/user/menu_tracker.h"
#include "platform/user/messages.h"
#include "platform/user/paint.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::user {
namespace {

using detail::IsSystemBitmap;
using detail::ItemBitmap;
using detail::MenuFontDc;
using detail::MenuItemData;
using detail::OwnerOnThisThread;

// Space left and right of an item's text.
constexpr int kTextPadding = 6;
// The width a separator takes in a bar.
constexpr int kSeparatorWidth = 8;

struct BarGeometry {
    std::vector<MenuItemData> items;
    std::vector<RECT> rects; // relative to the bar's top-left corner
    int height = 0;
    HBRUSH back = nullptr;
};

SIZE BitmapSize(HBITMAP b)
{
    return detail::BitmapSize(b, SIZE{GetSystemMetrics(SM_CXMENUSIZE), GetSystemMetrics(SM_CYMENUSIZE)});
}

// The text shown in the bar: up to a tab (accelerator texts belong to popups).
std::wstring BarText(const MenuItemData& it)
{
    if (!it.text || (it.type & (MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR)))
        return {};
    return it.text->substr(0, it.text->find(L'\t'));
}

SIZE MeasureItem(const MenuItemData& it, HDC dc, HWND owner)
{
    const int row = GetSystemMetrics(SM_CYMENU);
    if (it.type & MFT_OWNERDRAW) {
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, it.id, 0, static_cast<UINT>(row), it.data};
        if (OwnerOnThisThread(owner))
            SendMessageW(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
        else
            mis.itemWidth = static_cast<UINT>(2 * GetSystemMetrics(SM_CXMENUCHECK));
        return SIZE{static_cast<LONG>(std::min<UINT>(mis.itemWidth, 0x7FFF)),
            std::max<LONG>(row, static_cast<LONG>(std::min<UINT>(mis.itemHeight, 0x7FFF)))};
    }
    if (it.type & MFT_SEPARATOR)
        return SIZE{kSeparatorWidth, row};
    SIZE size{0, row};
    const SIZE bmp = BitmapSize(ItemBitmap(it));
    const std::wstring text = BarText(it);
    if (bmp.cx > 0) {
        size.cx = bmp.cx + (text.empty() ? 0 : 2);
        size.cy = std::max<LONG>(row, bmp.cy);
    }
    if (!text.empty()) {
        RECT r{0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
        size.cx += (r.right - r.left) + 2 * kTextPadding;
    }
    return size;
}

void StoreRects(HMENU menu, const std::vector<RECT>& rects)
{
    auto lock = detail::LockMenus();
    auto d = detail::GetMenuData(menu);
    if (!d || d->items.size() != rects.size())
        return; // changed meanwhile: the next layout stores its own
    for (size_t i = 0; i < rects.size(); ++i)
        d->items[i].rect = rects[i];
}

// Rows from left to right; an item starts a new row when it does not fit (unless it is
// the first of its row) or breaks the row; MFT_RIGHTJUSTIFY moves an item and those after
// it in its row to the right end.
BarGeometry LayoutBar(HMENU menu, int width, HWND owner, HDC dc)
{
    BarGeometry g;
    const int rowHeight = GetSystemMetrics(SM_CYMENU);
    auto items = detail::SnapshotItems(menu, nullptr, &g.back);
    if (!items) {
        g.height = rowHeight; // a stale menu keeps the frame's geometry
        return g;
    }
    g.items = std::move(*items);
    const size_t n = g.items.size();
    g.rects.assign(n, RECT{});
    int x = 0, y = 0, rowMax = rowHeight;
    size_t rowStart = 0;
    auto finishRow = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) {
            g.rects[i].top = y;
            g.rects[i].bottom = y + rowMax;
        }
        for (size_t j = from; j < to; ++j) {
            if (!(g.items[j].type & MFT_RIGHTJUSTIFY))
                continue;
            const int shift = width - g.rects[to - 1].right;
            if (shift > 0)
                for (size_t k = j; k < to; ++k)
                    OffsetRect(&g.rects[k], shift, 0);
            break;
        }
    };
    for (size_t i = 0; i < n; ++i) {
        const SIZE s = MeasureItem(g.items[i], dc, owner);
        const bool breaks = (g.items[i].type & (MFT_MENUBREAK | MFT_MENUBARBREAK)) != 0;
        if (i > rowStart && (breaks || x + s.cx > width)) {
            finishRow(rowStart, i);
            y += rowMax;
            x = 0;
            rowStart = i;
            rowMax = rowHeight;
        }
        g.rects[i] = RECT{x, y, x + s.cx, y + s.cy};
        x += s.cx;
        rowMax = std::max<int>(rowMax, s.cy);
    }
    if (n)
        finishRow(rowStart, n);
    g.height = y + rowMax;
    StoreRects(menu, g.rects);
    return g;
}

void DrawSystemBitmap(HDC dc, HBITMAP b, const RECT& r, const MenuItemData& it, HWND owner)
{
    const auto v = reinterpret_cast<intptr_t>(b);
    UINT glyph = 0;
    bool inactive = false;
    switch (v) {
    case 1: { // HBMMENU_SYSTEM: the icon of the window the item names (an MDI child)
        const HWND wnd = reinterpret_cast<HWND>(it.data);
        HICON icon = nullptr;
        if (wnd && OwnerOnThisThread(wnd))
            icon = reinterpret_cast<HICON>(SendMessageW(wnd, WM_GETICON, ICON_SMALL, 0));
        if (!icon && wnd && IsWindow(wnd))
            icon = reinterpret_cast<HICON>(GetClassLongPtrW(wnd, GCLP_HICONSM));
        if (icon) {
            const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
            DrawIconEx(dc, r.left + (r.right - r.left - cx) / 2, r.top + (r.bottom - r.top - cy) / 2, icon, cx, cy, 0,
                nullptr, DI_NORMAL);
        }
        return;
    }
    case 2: glyph = DFCS_CAPTIONRESTORE; break;
    case 3: glyph = DFCS_CAPTIONMIN; break;
    case 5: glyph = DFCS_CAPTIONCLOSE; break;
    case 6: glyph = DFCS_CAPTIONCLOSE; inactive = true; break;
    case 7: glyph = DFCS_CAPTIONMIN; inactive = true; break;
    case 8: glyph = DFCS_CAPTIONCLOSE; break;
    case 9: glyph = DFCS_CAPTIONRESTORE; break;
    case 10: glyph = DFCS_CAPTIONMAX; break;
    case 11: glyph = DFCS_CAPTIONMIN; break;
    default:
        return; // HBMMENU_CALLBACK: drawn by the popup layer's owner
    }
    (void)owner;
    RECT box = r;
    InflateRect(&box, -1, -2);
    DrawFrameControl(dc, &box, DFC_CAPTION, glyph | (inactive ? DFCS_INACTIVE : 0));
}

void DrawItem(HDC dc, const MenuItemData& it, const RECT& r, HMENU menu, HWND owner)
{
    const bool hilite = (it.state & MFS_HILITE) != 0;
    const bool grayed = (it.state & MF_GRAYED) != 0;
    if (it.type & MFT_OWNERDRAW) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemID = it.id;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = (hilite ? ODS_SELECTED : 0) | (grayed ? ODS_GRAYED : 0) |
            ((it.state & MF_DISABLED) ? ODS_DISABLED : 0) | ((it.state & MFS_CHECKED) ? ODS_CHECKED : 0) |
            ((it.state & MFS_DEFAULT) ? ODS_DEFAULT : 0);
        dis.hwndItem = reinterpret_cast<HWND>(menu);
        dis.hDC = dc;
        dis.rcItem = r;
        dis.itemData = it.data;
        if (OwnerOnThisThread(owner))
            SendMessageW(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    if (it.type & MFT_SEPARATOR)
        return;
    RECT content = r;
    if (hilite) {
        RECT edge = r;
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
        OffsetRect(&content, 1, 1);
    }
    const HBITMAP bmp = ItemBitmap(it);
    if (bmp) {
        const SIZE s = BitmapSize(bmp);
        RECT box{content.left, content.top, content.left + s.cx, content.bottom};
        if (BarText(it).empty())
            box = content;
        if (IsSystemBitmap(bmp))
            DrawSystemBitmap(dc, bmp, box, it, owner);
        else
            detail::DrawBitmapInto(dc, bmp, box);
        content.left = box.right;
    }
    const std::wstring text = BarText(it);
    if (text.empty())
        return;
    SetTextColor(dc, GetSysColor(grayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &content, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

bool BarItemRect(HMENU menu, const RECT& bar, int pos, RECT& out, HWND owner)
{
    MenuFontDc m(nullptr);
    const BarGeometry g = LayoutBar(menu, bar.right - bar.left, owner, m.Dc());
    if (pos < 0 || static_cast<size_t>(pos) >= g.rects.size())
        return false;
    out = g.rects[static_cast<size_t>(pos)];
    OffsetRect(&out, bar.left, bar.top);
    return true;
}

// The bar of a window in screen coordinates; false when `menu` is not its bar.
bool ScreenBar(HWND hWnd, HMENU menu, RECT& bar)
{
    if (!hWnd || !IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (!menu || GetMenu(hWnd) != menu) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return false;
    }
    RECT window{};
    GetWindowRect(hWnd, &window);
    bar = MenuBarRect(hWnd);
    OffsetRect(&bar, window.left, window.top);
    return !IsRectEmpty(&bar);
}

struct InstallHooks {
    InstallHooks()
    {
        MenuBarHooks h;
        h.barHeight = [](HWND hwnd, HMENU menu, int width) { return MenuBarHeight(menu, width, hwnd); };
        h.drawBar = [](HWND hwnd, HMENU menu, HDC hdc, const RECT& bar) { DrawMenuBarInto(hdc, bar, menu, hwnd); };
        h.loadMenu = [](HINSTANCE module, LPCWSTR name) { return LoadMenuW(module, name); };
        h.isMenu = [](HMENU menu) { return IsMenu(menu) != FALSE; };
        h.destroyMenu = [](HMENU menu) { DestroyMenu(menu); };
        h.track = [](HWND hwnd, WPARAM command, LPARAM lParam) { detail::TrackMenuBar(hwnd, command, lParam); };
        SetMenuBarHooks(std::move(h));
    }
};
const InstallHooks g_installHooks;

} // namespace

int MenuBarHeight(HMENU menu, int width, HWND owner)
{
    MenuFontDc m(nullptr);
    return LayoutBar(menu, std::max(0, width), owner, m.Dc()).height;
}

void DrawMenuBarInto(HDC hdc, const RECT& bar, HMENU menu, HWND owner)
{
    if (!hdc || IsRectEmpty(&bar))
        return;
    MenuFontDc m(hdc);
    const BarGeometry g = LayoutBar(menu, bar.right - bar.left, owner, hdc);
    FillRect(hdc, &bar, g.back ? g.back : GetSysColorBrush(COLOR_MENU));
    const int oldMode = SetBkMode(hdc, TRANSPARENT);
    const COLORREF oldColor = GetTextColor(hdc);
    for (size_t i = 0; i < g.items.size(); ++i) {
        RECT r = g.rects[i];
        OffsetRect(&r, bar.left, bar.top);
        RECT visible;
        if (!IntersectRect(&visible, &r, &bar))
            continue;
        DrawItem(hdc, g.items[i], r, menu, owner);
    }
    SetTextColor(hdc, oldColor);
    SetBkMode(hdc, oldMode);
}

int MenuBarItemFromPoint(HMENU menu, const RECT& bar, POINT pt, HWND owner)
{
    if (!PtInRect(&bar, pt))
        return -1;
    MenuFontDc m(nullptr);
    const BarGeometry g = LayoutBar(menu, bar.right - bar.left, owner, m.Dc());
    const POINT local{pt.x - bar.left, pt.y - bar.top};
    for (size_t i = 0; i < g.rects.size(); ++i)
        if (PtInRect(&g.rects[i], local))
            return static_cast<int>(i);
    return -1;
}

bool MenuBarItemRect(HMENU menu, const RECT& bar, int pos, RECT& out, HWND owner)
{
    return BarItemRect(menu, bar, pos, out, owner);
}

void RepaintMenuBar(HWND hwnd)
{
    const HMENU menu = IsWindow(hwnd) ? GetMenu(hwnd) : nullptr;
    const RECT bar = menu ? MenuBarRect(hwnd) : RECT{};
    if (IsRectEmpty(&bar))
        return;
    if (HDC dc = GetWindowDC(hwnd)) {
        DrawMenuBarInto(dc, bar, menu, hwnd);
        ReleaseDC(hwnd, dc);
    }
}

} // namespace zyn::user

BOOL GetMenuItemRect(HWND hWnd, HMENU hMenu, UINT uItem, LPRECT lprcItem)
{
    if (!lprcItem) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A popup shown now: its window holds the item.
    if (const auto view = zyn::user::detail::FindOpenPopupView(hWnd, hMenu)) {
        if (uItem >= view->layout.rects.size()) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return FALSE;
        }
        *lprcItem = view->ItemRect(static_cast<int>(uItem));
        MapWindowPoints(view->hwnd, nullptr, reinterpret_cast<POINT*>(lprcItem), 2);
        return TRUE;
    }
    RECT bar;
    if (!zyn::user::ScreenBar(hWnd, hMenu, bar))
        return FALSE;
    if (uItem > 0x7FFFFFFF || !zyn::user::MenuBarItemRect(hMenu, bar, static_cast<int>(uItem), *lprcItem, hWnd)) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}

int MenuItemFromPoint(HWND hWnd, HMENU hMenu, POINT ptScreen)
{
    if (const auto view = zyn::user::detail::FindOpenPopupView(hWnd, hMenu)) {
        POINT client = ptScreen;
        ScreenToClient(view->hwnd, &client);
        return view->ItemFromPoint(client);
    }
    RECT bar;
    if (!zyn::user::ScreenBar(hWnd, hMenu, bar))
        return -1;
    return zyn::user::MenuBarItemFromPoint(hMenu, bar, ptScreen, hWnd);
}
