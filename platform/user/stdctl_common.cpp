// Helpers shared by the standard controls.
#include "platform/user/stdctl_common.h"

#include <algorithm>

#include "platform/gdi/gdi_object.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"

namespace zyn::user::ctl {

HWND NotifyTarget(HWND ctl)
{
    const LONG_PTR style = GetWindowLongPtrW(ctl, GWL_STYLE);
    if (style & WS_CHILD)
        return GetParent(ctl);
    return GetWindow(ctl, GW_OWNER);
}

void Notify(HWND ctl, WORD code, HWND to)
{
    if (!to)
        to = NotifyTarget(ctl);
    if (!to)
        return;
    const WORD id = static_cast<WORD>(GetWindowLongPtrW(ctl, GWLP_ID));
    SendMessageW(to, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(ctl));
}

HBRUSH CtlColor(HWND ctl, HDC dc, UINT msg, HWND to)
{
    if (!to)
        to = NotifyTarget(ctl);
    LRESULT r = 0;
    if (to)
        r = SendMessageW(to, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(ctl));
    HBRUSH b = reinterpret_cast<HBRUSH>(r);
    if (!b || GetObjectType(b) != OBJ_BRUSH)
        b = reinterpret_cast<HBRUSH>(DefWindowProcW(ctl, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(ctl)));
    return b;
}

HFONT FontOrSystem(HFONT font)
{
    if (font && GetObjectType(font) == OBJ_FONT)
        return font;
    return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

FontInfo MeasureFont(HFONT font)
{
    FontInfo fi;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return fi;
    HGDIOBJ old = SelectObject(dc, FontOrSystem(font));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    fi.height = tm.tmHeight;
    fi.ascent = tm.tmAscent;
    fi.aveWidth = tm.tmAveCharWidth;
    fi.scalable = (tm.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) != 0;
    // The documented rule for a font's dialog base unit.
    static const wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE sz{};
    GetTextExtentPoint32W(dc, kLetters, 52, &sz);
    fi.baseUnitX = (sz.cx / 26 + 1) / 2;
    if (fi.baseUnitX <= 0)
        fi.baseUnitX = std::max(1, fi.aveWidth);
    SelectObject(dc, old);
    DeleteDC(dc);
    return fi;
}

bool KeyIsDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

void Beep() { MessageBeep(0); }

ClientDc::ClientDc(HWND hwnd, HFONT font) : m_hwnd(hwnd), m_dc(GetDC(hwnd))
{
    if (m_dc)
        m_oldFont = SelectObject(m_dc, FontOrSystem(font));
}

ClientDc::~ClientDc()
{
    if (!m_dc)
        return;
    if (m_oldFont)
        SelectObject(m_dc, m_oldFont);
    ReleaseDC(m_hwnd, m_dc);
}

PaintScope::PaintScope(HWND hwnd, HFONT font) : m_hwnd(hwnd)
{
    if (BeginPaint(hwnd, &m_ps) && m_ps.hdc)
        m_oldFont = SelectObject(m_ps.hdc, FontOrSystem(font));
}

PaintScope::~PaintScope()
{
    if (!m_ps.hdc)
        return;
    if (m_oldFont)
        SelectObject(m_ps.hdc, m_oldFont);
    EndPaint(m_hwnd, &m_ps);
}

} // namespace zyn::user::ctl
