// CToolBar's layout: the size of the bar for a side or a length, the wrap states of its
// buttons, and committing them to the control. The rules are written in bartool.h.
#include <algorithm>
#include <vector>

#include "platform/afx/bartool.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace {

// A separator's width as the control draws it: iBitmap, or 8 pixels for 0.
int SeparatorWidth(const TBBUTTON& button) { return button.iBitmap > 0 ? button.iBitmap : 8; }

bool IsSeparator(const TBBUTTON& button) { return (button.fsStyle & TBSTYLE_SEP) != 0; }
bool IsHidden(const TBBUTTON& button) { return (button.fsState & TBSTATE_HIDDEN) != 0; }
bool Wraps(const TBBUTTON& button) { return (button.fsState & TBSTATE_WRAP) != 0; }

// A window a separator holds (its command is the window's ID), where it stood before a
// committed layout moved the separator.
struct HeldWindow {
    int index;
    HWND hWnd;
    POINT itemTopLeft;   // screen
    POINT windowTopLeft; // screen
};

} // namespace

// The drop-down arrow's width: Marlett's down arrow at the height of a menu check mark,
// the control's own measure.
int CToolBar::DropDownArrowWidth()
{
    LOGFONTW lf{};
    lf.lfHeight = ::GetSystemMetrics(SM_CYMENUCHECK);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SYMBOL_CHARSET;
    wcscpy(lf.lfFaceName, L"Marlett");
    const HFONT font = ::CreateFontIndirectW(&lf);
    const HDC dc = ::GetDC(nullptr);
    int width = 0;
    if (font && dc) {
        const HGDIOBJ old = ::SelectObject(dc, font);
        if (!::GetCharWidth32W(dc, L'6', L'6', &width))
            width = 0;
        ::SelectObject(dc, old);
    }
    if (dc)
        ::ReleaseDC(nullptr, dc);
    if (font)
        ::DeleteObject(font);
    return width;
}

int CToolBar::ButtonWidth(const TBBUTTON& button) const
{
    int cx = m_sizeButton.cx;
    auto* self = const_cast<CToolBar*>(this);
    if ((button.fsStyle & TBSTYLE_AUTOSIZE) && m_hWnd) {
        // An auto-sized button is as wide as the control made it.
        const int index = CommandToIndex(static_cast<UINT>(button.idCommand));
        RECT rc{};
        if (index >= 0 && self->DefWindowProc(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc)))
            cx = rc.right - rc.left;
        return cx;
    }
    const DWORD exStyle = m_hWnd ? static_cast<DWORD>(self->DefWindowProc(TB_GETEXTENDEDSTYLE, 0, 0)) : 0;
    const bool arrow = ((button.fsStyle & BTNS_DROPDOWN) && (exStyle & TBSTYLE_EX_DRAWDDARROWS)) ||
        (button.fsStyle & BTNS_WHOLEDROPDOWN);
    if (arrow)
        cx += DropDownArrowWidth();
    return cx;
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    DWORD dwMode = bStretch ? LM_STRETCH : 0;
    if (bHorz)
        dwMode |= LM_HORZ;
    return CalcLayout(dwMode);
}

CSize CToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    // A docked bar asked by the layout pass is measured as a fixed one of its side.
    if (nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT)) && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZDOCK) != 0);
    return CalcLayout(dwMode, nLength);
}

CSize CToolBar::CalcLayout(DWORD dwMode, int nLength)
{
    const int nCount = m_hWnd ? static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0)) : 0;
    CSize size(0, 0);
    if (nCount > 0) {
        std::vector<TBBUTTON> data(static_cast<size_t>(nCount));
        for (int i = 0; i < nCount; ++i)
            _GetButton(i, &data[static_cast<size_t>(i)]);
        if (!(m_dwStyle & CBRS_SIZE_FIXED)) {
            const bool dynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0;
            if (dynamic && (dwMode & LM_MRUWIDTH)) {
                SizeToolBar(data.data(), nCount, m_nMRUWidth);
            } else if (dynamic && (dwMode & LM_HORZDOCK)) {
                SizeToolBar(data.data(), nCount, 32767);
            } else if (dynamic && (dwMode & LM_VERTDOCK)) {
                SizeToolBar(data.data(), nCount, 0);
            } else if (dynamic && nLength != -1) {
                // The length given is the bar's outer one: the margins do not hold buttons.
                CRect rect;
                rect.SetRectEmpty();
                CalcInsideRect(rect, (dwMode & LM_HORZ) != 0);
                const BOOL bVert = (dwMode & LM_LENGTHY) != 0;
                SizeToolBar(data.data(), nCount, nLength + (bVert ? rect.Height() : rect.Width()), bVert);
            } else if (dynamic && (m_dwStyle & CBRS_FLOATING)) {
                SizeToolBar(data.data(), nCount, m_nMRUWidth);
            } else {
                SizeToolBar(data.data(), nCount, (dwMode & LM_HORZ) ? 32767 : 0);
            }
        }
        size = CalcSize(data.data(), nCount);
        if (dwMode & LM_COMMIT) {
            const BOOL bDelayed = m_bDelayedButtonLayout;
            m_bDelayedButtonLayout = FALSE;
            // Windows held by separators move with them.
            std::vector<HeldWindow> held;
            for (int i = 0; i < nCount; ++i) {
                const TBBUTTON& b = data[static_cast<size_t>(i)];
                if (!IsSeparator(b) || b.idCommand == 0)
                    continue;
                const HWND hChild = ::GetDlgItem(m_hWnd, b.idCommand);
                RECT item{};
                if (!hChild || !DefWindowProc(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
                    continue;
                RECT win{};
                ::GetWindowRect(hChild, &win);
                POINT at{item.left, item.top};
                ::ClientToScreen(m_hWnd, &at);
                held.push_back(HeldWindow{i, hChild, at, POINT{win.left, win.top}});
            }
            if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC))
                m_nMRUWidth = size.cx;
            for (int i = 0; i < nCount; ++i)
                _SetButton(i, &data[static_cast<size_t>(i)]);
            for (const HeldWindow& h : held) {
                RECT item{};
                if (!::IsWindow(h.hWnd) ||
                    !DefWindowProc(TB_GETITEMRECT, static_cast<WPARAM>(h.index), reinterpret_cast<LPARAM>(&item)))
                    continue;
                POINT at{item.left, item.top};
                ::ClientToScreen(m_hWnd, &at);
                POINT to{at.x + (h.windowTopLeft.x - h.itemTopLeft.x), at.y + (h.windowTopLeft.y - h.itemTopLeft.y)};
                ::ScreenToClient(m_hWnd, &to);
                ::SetWindowPos(h.hWnd, nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            m_bDelayedButtonLayout = bDelayed;
        }
    }
    // The margins, borders and gripper round the buttons; never less than a plain bar.
    CRect rect;
    rect.SetRectEmpty();
    CalcInsideRect(rect, (dwMode & LM_HORZ) != 0);
    size.cx -= rect.Width();
    size.cy -= rect.Height();
    const CSize least = CControlBar::CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
    size.cx = std::max(size.cx, least.cx);
    size.cy = std::max(size.cy, least.cy);
    return size;
}

CSize CToolBar::CalcSize(TBBUTTON* pData, int nCount)
{
    const bool flat = m_hWnd && (GetStyle() & TBSTYLE_FLAT) != 0;
    CPoint cur(0, 0);
    CSize size(0, 0);
    for (int i = 0; i < nCount; ++i) {
        const TBBUTTON& b = pData[i];
        if (IsHidden(b))
            continue;
        if (IsSeparator(b)) {
            const int w = SeparatorWidth(b);
            // Between rows a wrapping separator is a gap: its whole width on a flat bar,
            // two thirds of it on others (the control's rule).
            const int cySep = flat ? w : w * 2 / 3;
            if (Wraps(b)) {
                size.cy = std::max<LONG>(size.cy, cur.y + m_sizeButton.cy + cySep);
            } else {
                size.cx = std::max<LONG>(size.cx, cur.x + w);
                size.cy = std::max<LONG>(size.cy, cur.y + m_sizeButton.cy);
            }
            cur.x += w;
            if (Wraps(b)) {
                cur.x = 0;
                cur.y += m_sizeButton.cy + cySep;
            }
        } else {
            const int cx = ButtonWidth(b);
            size.cx = std::max<LONG>(size.cx, cur.x + cx);
            size.cy = std::max<LONG>(size.cy, cur.y + m_sizeButton.cy);
            cur.x += cx;
            if (Wraps(b)) {
                cur.x = 0;
                cur.y += m_sizeButton.cy;
            }
        }
    }
    return size;
}

int CToolBar::WrapToolBar(TBBUTTON* pData, int nCount, int nWidth)
{
    int nWraps = 0;
    int x = 0;
    for (int i = 0; i < nCount; ++i) {
        pData[i].fsState &= static_cast<BYTE>(~TBSTATE_WRAP);
        if (IsHidden(pData[i]))
            continue;
        const int dx = IsSeparator(pData[i]) ? SeparatorWidth(pData[i]) : ButtonWidth(pData[i]);
        if (x + dx <= nWidth) {
            x += dx;
            continue;
        }
        // The row breaks at the last plain separator of the row (this item included)...
        int at = -1;
        for (int j = i; j >= 0 && !Wraps(pData[j]); --j) {
            if (IsSeparator(pData[j]) && pData[j].idCommand == 0 && !IsHidden(pData[j])) {
                at = j;
                break;
            }
        }
        // ...else after the item before this one, unless that holds a window or is hidden.
        if (at < 0) {
            for (int j = i - 1; j >= 0 && !Wraps(pData[j]); --j) {
                if (IsHidden(pData[j]) || (IsSeparator(pData[j]) && pData[j].idCommand != 0))
                    continue;
                at = j;
                break;
            }
        }
        if (at < 0) {
            x += dx;   // nowhere to break: the item stays on the row
            continue;
        }
        pData[at].fsState |= TBSTATE_WRAP;
        ++nWraps;
        x = 0;
        i = at;   // the scan goes on after the break
    }
    return nWraps + 1;
}

void CToolBar::SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert)
{
    if (!bVert) {
        // The narrowest width that keeps the rows that the length gives.
        const int nTarget = WrapToolBar(pData, nCount, nLength);
        const int nCurrent = WrapToolBar(pData, nCount, 0);
        if (nCurrent != nTarget) {
            int nMin = 0, nMax = nLength;
            while (nMin < nMax) {
                const int nMid = nMin + (nMax - nMin) / 2;
                if (WrapToolBar(pData, nCount, nMid) == nTarget) {
                    nMax = nMid;
                } else {
                    if (nMin == nMid) {
                        WrapToolBar(pData, nCount, nMax);
                        break;
                    }
                    nMin = nMid;
                }
            }
        }
        const CSize size = CalcSize(pData, nCount);
        WrapToolBar(pData, nCount, size.cx);
        return;
    }
    // A height asked for: search the widths between one column and one row for the
    // wrapping whose height is nearest above it.
    WrapToolBar(pData, nCount, 0);
    CSize sizeMin = CalcSize(pData, nCount);
    WrapToolBar(pData, nCount, 32767);
    CSize sizeMax = CalcSize(pData, nCount);
    // Each round halves the width range; the guard only makes sure no odd measure spins.
    for (int guard = 0; guard < 64 && sizeMin.cx < sizeMax.cx; ++guard) {
        const int mid = (sizeMin.cx + sizeMax.cx) / 2;
        WrapToolBar(pData, nCount, mid);
        const CSize sizeMid = CalcSize(pData, nCount);
        if (nLength < sizeMid.cy) {
            if (sizeMin == sizeMid) {
                WrapToolBar(pData, nCount, sizeMax.cx);
                return;
            }
            sizeMin = sizeMid;
        } else if (nLength > sizeMid.cy) {
            if (sizeMax == sizeMid)
                return;
            sizeMax = sizeMid;
        } else {
            return;
        }
    }
}

void CToolBar::Layout()
{
    m_bDelayedButtonLayout = FALSE;
    if (!m_hWnd)
        return;
    if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC))
        CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    else if (m_dwStyle & CBRS_ORIENT_HORZ)
        CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    else
        CalcDynamicLayout(0, LM_VERTDOCK | LM_COMMIT);
}
