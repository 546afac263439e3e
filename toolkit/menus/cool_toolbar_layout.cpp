// COXCoolToolBar's layout: the bar's size in each docking state and the wrap states of its
// buttons. It follows the class library's scheme (wrap flags on a copy of the records, a
// binary search for the narrowest width keeping the rows) with the toolkit's measures:
//   - a button is the bar's button width, or its item width when auto-sized; a drop-down
//     button gains the measured arrow width where the control draws the arrow;
//   - a separator is its iBitmap wide (the control's 8 pixels for 0 or less); buttons do not
//     overlap; the indent widens the size but not the wrap width;
//   - a wrapping separator adds its whole width to the row gap on a flat bar of comctl32
//     4.71 or later, two thirds of it otherwise;
//   - an empty docked bar is half a button long;
//   - a custom button whose window is hidden in the docking state is measured as the image
//     button it shows, and written back as its separator record when a layout is committed.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "toolkit/menus/cool_toolbar.h"

namespace {

bool IsSep(const TBBUTTON& b) { return (b.fsStyle & TBSTYLE_SEP) != 0; }
bool IsHidden(const TBBUTTON& b) { return (b.fsState & TBSTATE_HIDDEN) != 0; }
bool Wraps(const TBBUTTON& b) { return (b.fsState & TBSTATE_WRAP) != 0; }
int SepWidth(const TBBUTTON& b) { return b.iBitmap > 0 ? b.iBitmap : 8; }
bool IsTextPointer(INT_PTR v) { return v != -1 && !IS_INTRESOURCE(reinterpret_cast<LPCWSTR>(v)); }

// A window held by a separator and where it stood before a committed layout moved it.
struct HeldWindow {
    int index;
    HWND hWnd;
    POINT itemTopLeft;   // screen
    POINT windowTopLeft; // screen
};

} // namespace

int COXCoolToolBar::LayoutButtonWidth(const TBBUTTON& button) const
{
    auto* self = const_cast<COXCoolToolBar*>(this);
    if (button.fsStyle & TBSTYLE_AUTOSIZE) {
        const int index = CommandToIndex(static_cast<UINT>(button.idCommand));
        RECT rc{};
        if (index >= 0 && self->DefWindowProc(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc)))
            return rc.right - rc.left;
        return m_sizeButton.cx;
    }
    int cx = m_sizeButton.cx;
    const bool flat = (CWnd::GetStyle() & TBSTYLE_FLAT) != 0;
    const bool arrow = ((button.fsStyle & TBSTYLE_DROPDOWN) && IsDropDownArrow()) ||
        (button.fsStyle & BTNS_WHOLEDROPDOWN);
    if (arrow && !(flat && !HasComCtl471()))
        cx += m_nDropDownArrowWidth;
    return cx;
}

CSize COXCoolToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CalcLayout((bHorz ? LM_HORZ : 0) | (bStretch ? LM_STRETCH : 0), -1);
}

CSize COXCoolToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT)) && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZDOCK) != 0);
    return CalcLayout(dwMode, nLength);
}

CSize COXCoolToolBar::CalcLayout(DWORD dwMode, int nLength)
{
    const int nCount = m_hWnd ? static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0)) : 0;
    CSize size(0, 0);
    if (nCount > 0) {
        // The fixed layout of a docked bar names no side: the bar's own place does, as it
        // does for showing the custom buttons' windows.
        const int state = (dwMode & LM_HORZDOCK) ? OXCBD_SHOWHORZ
            : (dwMode & LM_VERTDOCK)            ? OXCBD_SHOWVERT
                                                 : CurrentShowFlag();
        std::vector<TBBUTTON> data(static_cast<size_t>(nCount));
        // Own texts are copied: the control's memory moves when buttons are rewritten.
        std::vector<std::wstring> texts(static_cast<size_t>(nCount));
        std::vector<std::pair<bool, TBBUTTON>> kept(static_cast<size_t>(nCount), {false, TBBUTTON{}});
        for (int i = 0; i < nCount; ++i) {
            TBBUTTON& b = data[static_cast<size_t>(i)];
            _GetButton(i, &b);
            if (IsTextPointer(b.iString)) {
                texts[static_cast<size_t>(i)] = reinterpret_cast<LPCWSTR>(b.iString);
                b.iString = reinterpret_cast<INT_PTR>(texts[static_cast<size_t>(i)].c_str());
            }
            const auto it = m_mapCustomButtons.find(i);
            if (it != m_mapCustomButtons.end() && it->second.m_nFlags < OXCBD_SHOWANY &&
                !(it->second.m_nFlags & state)) {
                kept[static_cast<size_t>(i)] = {true, b};
                b.fsStyle &= static_cast<BYTE>(~TBSTYLE_SEP);
                b.iBitmap = it->second.m_nImageIndex;
            }
        }
        if (!(m_dwStyle & CBRS_SIZE_FIXED)) {
            const bool dynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0;
            if (dynamic && (dwMode & LM_MRUWIDTH)) {
                SizeToolBar(data.data(), nCount, m_nMRUWidth, FALSE);
            } else if (dynamic && (dwMode & LM_HORZDOCK)) {
                SizeToolBar(data.data(), nCount, 32767, FALSE);
            } else if (dynamic && (dwMode & LM_VERTDOCK)) {
                SizeToolBar(data.data(), nCount, 0, FALSE);
            } else if (dynamic && nLength != -1) {
                CRect rect(0, 0, 0, 0);
                CalcInsideRect(rect, (dwMode & LM_HORZ) != 0);
                const BOOL bVert = (dwMode & LM_LENGTHY) != 0;
                SizeToolBar(data.data(), nCount, nLength + (bVert ? rect.Height() : rect.Width()), bVert);
            } else if (dynamic && (m_dwStyle & CBRS_FLOATING)) {
                SizeToolBar(data.data(), nCount, m_nMRUWidth, FALSE);
            } else {
                SizeToolBar(data.data(), nCount, (dwMode & LM_HORZ) ? 32767 : 0, FALSE);
            }
        }
        size = CalcSize(data.data(), nCount);
        if (dwMode & LM_COMMIT) {
            const BOOL bDelayed = m_bDelayedButtonLayout;
            m_bDelayedButtonLayout = FALSE;
            std::vector<HeldWindow> held;
            for (int i = 0; i < nCount; ++i) {
                const TBBUTTON& b = kept[static_cast<size_t>(i)].first ? kept[static_cast<size_t>(i)].second
                                                                        : data[static_cast<size_t>(i)];
                if (!IsSep(b) || b.idCommand == 0)
                    continue;
                const HWND hChild = ::GetDlgItem(m_hWnd, b.idCommand);
                RECT item{};
                if (!hChild ||
                    !DefWindowProc(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
                    continue;
                RECT win{};
                ::GetWindowRect(hChild, &win);
                POINT at{item.left, item.top};
                ::ClientToScreen(m_hWnd, &at);
                held.push_back(HeldWindow{i, hChild, at, POINT{win.left, win.top}});
            }
            if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC))
                m_nMRUWidth = size.cx;
            for (int i = 0; i < nCount; ++i) {
                if (kept[static_cast<size_t>(i)].first) {
                    TBBUTTON b = kept[static_cast<size_t>(i)].second;
                    b.fsState = static_cast<BYTE>((b.fsState & ~TBSTATE_WRAP) |
                        (data[static_cast<size_t>(i)].fsState & TBSTATE_WRAP));
                    _SetButton(i, &b);
                } else {
                    _SetButton(i, &data[static_cast<size_t>(i)]);
                }
            }
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
    } else {
        // An empty bar keeps a button's room; docked, half of it along the bar.
        size = GetButtonsSize();
        const bool floating = (m_dwStyle & CBRS_FLOATING) != 0;
        if (!floating) {
            if (dwMode & LM_HORZ)
                size.cx /= 2;
            else
                size.cy /= 2;
        }
    }
    CRect rect(0, 0, 0, 0);
    CalcInsideRect(rect, (dwMode & LM_HORZ) != 0);
    size.cx -= rect.Width();
    size.cy -= rect.Height();
    const CSize least = CControlBar::CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
    size.cx = std::max(size.cx, least.cx);
    size.cy = std::max(size.cy, least.cy);
    return size;
}

CSize COXCoolToolBar::CalcSize(TBBUTTON* pData, int nCount)
{
    const bool flat = m_hWnd && (CWnd::GetStyle() & TBSTYLE_FLAT) != 0;
    CPoint cur(0, 0);
    CSize size(0, 0);
    for (int i = 0; i < nCount; ++i) {
        const TBBUTTON& b = pData[i];
        const int w = SepWidth(b);
        const int cySep = (flat && HasComCtl471()) ? w : w * 2 / 3;
        if (IsHidden(b))
            continue;
        if (IsSep(b)) {
            if (Wraps(b)) {
                size.cy = std::max<LONG>(size.cy, cur.y + m_sizeButton.cy + cySep);
            } else {
                size.cx = std::max<LONG>(size.cx, cur.x + w);
                size.cy = std::max<LONG>(size.cy, cur.y + m_sizeButton.cy);
            }
            cur.x += w;
        } else {
            const int cx = LayoutButtonWidth(b);
            size.cx = std::max<LONG>(size.cx, cur.x + cx);
            size.cy = std::max<LONG>(size.cy, cur.y + m_sizeButton.cy);
            cur.x += cx;
        }
        if (Wraps(b)) {
            cur.x = 0;
            cur.y += m_sizeButton.cy + (IsSep(b) ? cySep : 0);
        }
    }
    size.cx += m_nIndent;
    return size;
}

int COXCoolToolBar::WrapToolBar(TBBUTTON* pData, int nCount, int nWidth)
{
    int nWraps = 0;
    int x = 0;
    for (int i = 0; i < nCount; ++i) {
        pData[i].fsState &= static_cast<BYTE>(~TBSTATE_WRAP);
        if (IsHidden(pData[i]))
            continue;
        const int dx = IsSep(pData[i]) ? SepWidth(pData[i]) : LayoutButtonWidth(pData[i]);
        if (x + dx <= nWidth) {
            x += dx;
            continue;
        }
        // Back to the last plain separator of this row (this record included); a record
        // that already wraps ends the row and is no candidate itself.
        int at = -1;
        for (int j = i; j >= 0 && !Wraps(pData[j]); --j) {
            if (IsSep(pData[j]) && pData[j].idCommand == 0 && !IsHidden(pData[j])) {
                at = j;
                break;
            }
        }
        // Else after the record before this one, unless it is hidden or holds a window.
        if (at < 0) {
            for (int j = i - 1; j >= 0 && !Wraps(pData[j]); --j) {
                if (IsHidden(pData[j]) || (IsSep(pData[j]) && pData[j].idCommand != 0))
                    continue;
                at = j;
                break;
            }
        }
        if (at < 0) {
            x += dx;
            continue;
        }
        pData[at].fsState |= TBSTATE_WRAP;
        ++nWraps;
        x = 0;
        i = at;
    }
    return nWraps + 1;
}

void COXCoolToolBar::SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert)
{
    if (!bVert) {
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
        // The indent is no room for buttons.
        WrapToolBar(pData, nCount, size.cx - m_nIndent);
        return;
    }
    WrapToolBar(pData, nCount, 0);
    CSize sizeMin = CalcSize(pData, nCount);
    WrapToolBar(pData, nCount, 32767);
    CSize sizeMax = CalcSize(pData, nCount);
    // Each round halves the width range; the guard only keeps an odd measure from spinning.
    for (int guard = 0; guard < 64 && sizeMin.cx < sizeMax.cx; ++guard) {
        const int mid = (sizeMin.cx + sizeMax.cx) / 2;
        WrapToolBar(pData, nCount, mid - m_nIndent);
        const CSize sizeMid = CalcSize(pData, nCount);
        if (nLength < sizeMid.cy) {
            if (sizeMin == sizeMid) {
                WrapToolBar(pData, nCount, sizeMax.cx - m_nIndent);
                return;
            }
            sizeMin = sizeMid;
        } else if (nLength > sizeMid.cy) {
            sizeMax = sizeMid;
        } else {
            return;
        }
    }
}

BOOL COXCoolToolBar::_SetButton(int nIndex, TBBUTTON* pButton)
{
    if (!pButton || !m_hWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    TBBUTTON current{};
    if (!DefWindowProc(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&current))) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    TBBUTTON record = *pButton;
    std::fill(std::begin(record.bReserved), std::end(record.bReserved), BYTE{0});
    record.fsState ^= TBSTATE_ENABLED;
    // Texts by content: the same text may live at another address.
    std::wstring newText, oldText;
    const bool newIsText = IsTextPointer(record.iString), oldIsText = IsTextPointer(current.iString);
    if (newIsText) {
        newText = reinterpret_cast<LPCWSTR>(record.iString);
        record.iString = reinterpret_cast<INT_PTR>(newText.c_str());
    }
    if (oldIsText) {
        oldText = reinterpret_cast<LPCWSTR>(current.iString);
        current.iString = reinterpret_cast<INT_PTR>(oldText.c_str());
    }
    const bool sameText = newIsText == oldIsText && (newIsText ? newText == oldText : record.iString == current.iString);
    if (record.iBitmap == current.iBitmap && record.idCommand == current.idCommand &&
        record.fsState == current.fsState && record.fsStyle == current.fsStyle && record.dwData == current.dwData &&
        sameText)
        return TRUE;
    CRect rectOld;
    if (!DefWindowProc(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rectOld)))
        rectOld.SetRectEmpty();
    // The window is hidden while the button is replaced, so nothing paints the gap.
    const bool visible = (CWnd::GetStyle() & WS_VISIBLE) != 0;
    if (visible)
        ModifyStyle(WS_VISIBLE, 0);
    BOOL ok = FALSE;
    if (DefWindowProc(TB_DELETEBUTTON, static_cast<WPARAM>(nIndex), 0)) {
        ok = static_cast<BOOL>(
            DefWindowProc(TB_INSERTBUTTONW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&record)));
        if (!ok) // the control refused the record: the button it had goes back
            DefWindowProc(TB_INSERTBUTTONW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&current));
    }
    if (visible)
        ModifyStyle(0, WS_VISIBLE);
    if (!ok) {
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const bool sepSame = ((record.fsStyle ^ current.fsStyle) & TBSTYLE_SEP) == 0;
    const bool widthSame = !(record.fsStyle & TBSTYLE_SEP) || record.iBitmap == current.iBitmap;
    if (sepSame && widthSame && !rectOld.IsRectEmpty())
        InvalidateRect(&rectOld);
    else
        Invalidate();
    return TRUE;
}
