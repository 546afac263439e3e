#pragma once
// Drawing helpers shared by the menu bar and the popup menus: the menu font in a DC, the
// bitmaps an item can show, and the rule for when owner-drawn items may be asked to
// measure and draw themselves.
#include "platform/base/wintypes.h"
#include "platform/gdi/gdi_types.h"
#include "platform/user/menu_internal.h"

namespace zyn::user::detail {

// The menu font (bold for a default item) selected into a DC for the life of the object.
class MenuFontDc {
public:
    // hdc null: a memory DC of our own, for measuring.
    explicit MenuFontDc(HDC hdc, bool bold = false);
    ~MenuFontDc();
    MenuFontDc(const MenuFontDc&) = delete;
    MenuFontDc& operator=(const MenuFontDc&) = delete;
    HDC Dc() const { return m_dc; }
    HFONT Font() const { return m_font; }

private:
    HDC m_own = nullptr;
    HDC m_dc = nullptr;
    HFONT m_font = nullptr;
    HGDIOBJ m_old = nullptr;
};

// The menu font, owned by the caller (null when it cannot be made).
HFONT CreateMenuFont(bool bold);

// Owner-drawn items are measured and drawn by messages, sent only on the owner's own
// thread: the window system may be calling with its lock held.
bool OwnerOnThisThread(HWND owner);

// HBMMENU_CALLBACK and the HBMMENU_* pictures the system draws itself.
bool IsSystemBitmap(HBITMAP b);
// The bitmap an item shows (its MFT_BITMAP picture, else its hbmpItem), if any.
HBITMAP ItemBitmap(const MenuItemData& it);
// The size of a real bitmap; `systemSize` for the system's pictures; 0 x 0 for none.
SIZE BitmapSize(HBITMAP b, SIZE systemSize);
// Copies a bitmap into `r` (left-aligned, vertically centred, clipped to `r`).
void DrawBitmapInto(HDC dc, HBITMAP b, const RECT& r);

} // namespace zyn::user::detail
