// Drawing helpers shared by the menu bar and the popup menus.
#include "platform/user/menu_draw_util.h"

#include <algorithm>

#include "platform/base/threads.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/window.h"

namespace zyn::user::detail {

HFONT CreateMenuFont(bool bold)
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        return nullptr;
    if (bold)
        ncm.lfMenuFont.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&ncm.lfMenuFont);
}

MenuFontDc::MenuFontDc(HDC hdc, bool bold)
    : m_own(hdc ? nullptr : CreateCompatibleDC(nullptr)), m_dc(hdc ? hdc : m_own), m_font(CreateMenuFont(bold))
{
    if (m_dc && m_font)
        m_old = SelectObject(m_dc, m_font);
}

MenuFontDc::~MenuFontDc()
{
    if (m_dc && m_old)
        SelectObject(m_dc, m_old);
    if (m_font)
        DeleteObject(m_font);
    if (m_own)
        DeleteDC(m_own);
}

bool OwnerOnThisThread(HWND owner)
{
    return owner && IsWindow(owner) && GetWindowThreadProcessId(owner, nullptr) == GetCurrentThreadId();
}

bool IsSystemBitmap(HBITMAP b)
{
    const auto v = reinterpret_cast<intptr_t>(b);
    return v == -1 || (v >= 1 && v <= 11);
}

HBITMAP ItemBitmap(const MenuItemData& it)
{
    if (it.type & MFT_BITMAP)
        return reinterpret_cast<HBITMAP>(it.typeData);
    return it.bmpItem;
}

SIZE BitmapSize(HBITMAP b, SIZE systemSize)
{
    if (!b)
        return SIZE{0, 0};
    if (IsSystemBitmap(b))
        return systemSize;
    BITMAP bm{};
    if (GetObjectW(b, sizeof bm, &bm) != sizeof bm)
        return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

void DrawBitmapInto(HDC dc, HBITMAP b, const RECT& r)
{
    BITMAP bm{};
    if (!b || IsSystemBitmap(b) || GetObjectW(b, sizeof bm, &bm) != sizeof bm)
        return;
    const HDC mem = CreateCompatibleDC(dc);
    if (!mem)
        return;
    const HGDIOBJ old = SelectObject(mem, b);
    BitBlt(dc, r.left, r.top + (r.bottom - r.top - bm.bmHeight) / 2, std::min<int>(bm.bmWidth, r.right - r.left),
        std::min<int>(bm.bmHeight, r.bottom - r.top), mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
}

} // namespace zyn::user::detail
